#include "engine/NumberText.h"

#include <charconv>
#include <cmath>
#include <numeric>

namespace pellucor::engine {

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::optional<std::int64_t> parseInteger(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<double> parseDecimal(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    // from_chars never looks at the locale; it only knows ".", so a "," becomes one.
    std::string plain(text);
    int separators = 0;
    for (char& c : plain) {
        if (c == ',') c = '.';
        if (c == '.') ++separators;
        else if (!(c >= '0' && c <= '9') && !(c == '-' && &c == &plain.front())) return std::nullopt;
    }
    if (plain.empty() || separators > 1 || plain == "." || plain == "-" || plain == "-.")
        return std::nullopt;
    double value = 0;
    const auto [end, ec] =
        std::from_chars(plain.data(), plain.data() + plain.size(), value, std::chars_format::fixed);
    if (ec != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

Fraction reduced(Fraction f) {
    if (f.den == 0) return f;
    if (f.den < 0) {
        f.num = -f.num;
        f.den = -f.den;
    }
    const int g = std::gcd(f.num, f.den);
    if (g > 1) {
        f.num /= g;
        f.den /= g;
    }
    return f;
}

std::optional<Fraction> frameRateOf(double fps) {
    if (!(fps > 0) || fps > 1000) return std::nullopt;
    // The NTSC rates are n*1000/1001; profiles spell them with two or three decimals, so a
    // hundredth of a frame is close enough to know which one is meant.
    for (int n : {24, 30, 48, 60, 120}) {
        if (std::fabs(fps - n * 1000.0 / 1001.0) < 0.01) return Fraction{n * 1000, 1001};
    }
    const double whole = std::round(fps);
    if (std::fabs(fps - whole) < 0.0005) return Fraction{static_cast<int>(whole), 1};
    return reduced(Fraction{static_cast<int>(std::lround(fps * 1000)), 1000});
}

std::optional<Fraction> parseFrameRate(std::string_view text) {
    const auto value = parseDecimal(text);
    if (!value) return std::nullopt;
    return frameRateOf(*value);
}

std::optional<Fraction> parseRatio(std::string_view text) {
    text = trimmed(text);
    auto split = text.find(':');
    if (split == std::string_view::npos) split = text.find('/');
    std::optional<double> a, b;
    if (split == std::string_view::npos) {
        a = parseDecimal(text);
        b = 1.0;
    } else {
        a = parseDecimal(text.substr(0, split));
        b = parseDecimal(text.substr(split + 1));
    }
    if (!a || !b || !(*a > 0) || !(*b > 0) || *a / *b > 100 || *b / *a > 100) return std::nullopt;
    // Ratios like 2.21:1 become 221:100; whole ratios stay as typed, reduced.
    const double scale = (std::floor(*a) == *a && std::floor(*b) == *b) ? 1.0 : 100.0;
    return reduced(Fraction{static_cast<int>(std::lround(*a * scale)),
                            static_cast<int>(std::lround(*b * scale))});
}

} // namespace pellucor::engine
