#include "conversion/NumberText.h"

#include <cctype>
#include <charconv>
#include <limits>

namespace pellucor::conversion {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

[[noreturn]] void notInteger(const std::string& text)
{
    throw ConversionError("'" + text + "' is not a valid integer value");
}

} // namespace

std::int32_t StrToInt(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) notInteger(text);
    // Parse the magnitude wide, so that "-2147483648" and hexadecimal bit patterns fit.
    std::uint64_t magnitude = 0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    auto [end, ec] = std::from_chars(first, last, magnitude, base);
    if (ec != std::errc() || end != last) notInteger(text);
    if (base == 16) {
        // Hexadecimal texts name a 32-bit pattern: $FFFFFFFF is -1.
        if (magnitude > std::numeric_limits<std::uint32_t>::max()) notInteger(text);
        const auto bits = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
        return negative ? static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(bits)) : bits;
    }
    const std::uint64_t limit = negative ? 2147483648ull : 2147483647ull;
    if (magnitude > limit) notInteger(text);
    return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                    : static_cast<std::int32_t>(magnitude);
}

double StrToFloat(const std::string& text)
{
    std::string t = text;
    while (!t.empty() && isBlank(t.front())) t.erase(t.begin());
    while (!t.empty() && isBlank(t.back())) t.pop_back();
    // Settings store "."; a comma typed by hand in a comma locale means the same.
    for (char& c : t)
        if (c == ',') c = '.';
    double value = 0;
    const char* first = t.data();
    if (!t.empty() && t.front() == '+') ++first;
    auto [end, ec] = std::from_chars(first, t.data() + t.size(), value, std::chars_format::fixed);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size())
        throw ConversionError("'" + text + "' is not a valid floating point value");
    return value;
}

} // namespace pellucor::conversion
