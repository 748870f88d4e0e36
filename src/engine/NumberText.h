#pragma once
// Numbers in profile texts, read the same way whatever the user's locale says.
//
// Profile values arrive as texts ("29.97", "1150", "4:3"). The settings store fractions with a
// "."; a hand-edited hive or an older build may hold a ",". Neither strtod nor stream input
// is used here, because both follow LC_NUMERIC. Pure functions, any thread.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pellucor::engine {

// A positive fraction; {0, 1} stands for "not given".
struct Fraction {
    int num = 0;
    int den = 1;
    bool valid() const { return num > 0 && den > 0; }
    double value() const { return den ? static_cast<double>(num) / den : 0.0; }
    friend bool operator==(const Fraction&, const Fraction&) = default;
};

// Blanks (space, tab, CR, LF) cut from both ends.
std::string_view trimmed(std::string_view text);
// ASCII letters lowered, everything else kept.
std::string lowerAscii(std::string_view text);

// "42", " -7 ": an optional sign and decimal digits, nothing else. "4.0" is not an integer.
std::optional<std::int64_t> parseInteger(std::string_view text);
// "29.97", "29,97", "25", ".5": one optional decimal separator, either "." or ",".
std::optional<double> parseDecimal(std::string_view text);

// Frame rates as exact fractions: the NTSC family by its usual short names ("23.976" and the
// common misspelling "23.979" -> 24000/1001, "29.97" -> 30000/1001, "59.94" -> 60000/1001),
// whole numbers as n/1, anything else to a thousandth. Empty, zero or nonsense: nullopt.
std::optional<Fraction> parseFrameRate(std::string_view text);
std::optional<Fraction> frameRateOf(double fps);

// Ratios: "4:3", "16:9", "2.21:1", "16/9" or a single number "1.85" (which means 1.85:1).
std::optional<Fraction> parseRatio(std::string_view text);

// The fraction reduced to lowest terms (den > 0 kept).
Fraction reduced(Fraction f);

} // namespace pellucor::engine
