#include "lang/Charset.h"

#include "lang/AsciiText.h"

#include <array>
#include <string>
#include <utility>

namespace pellucor::lang {

namespace {

// The Windows GDI character-set numbers, which older language files name.
constexpr std::array<std::pair<std::string_view, int>, 19> kCharsets{{
    {"ANSI_CHARSET", 0},        {"DEFAULT_CHARSET", 1},     {"SYMBOL_CHARSET", 2},
    {"MAC_CHARSET", 77},        {"SHIFTJIS_CHARSET", 128},  {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},     {"GB2312_CHARSET", 134},    {"CHINESEBIG5_CHARSET", 136},
    {"GREEK_CHARSET", 161},     {"TURKISH_CHARSET", 162},   {"VIETNAMESE_CHARSET", 163},
    {"HEBREW_CHARSET", 177},    {"ARABIC_CHARSET", 178},    {"BALTIC_CHARSET", 186},
    {"RUSSIAN_CHARSET", 204},   {"THAI_CHARSET", 222},      {"EASTEUROPE_CHARSET", 238},
    {"OEM_CHARSET", 255},
}};

} // namespace

int CharsetFromName(std::string_view name) {
    std::string upper = AsciiUpper(name);
    // Only a text that has no "_CHARSET" anywhere gets one appended: "RUSSIAN_CHARSETX" stays
    // unknown rather than being guessed at.
    if (upper.find("_CHARSET") == std::string::npos) upper += "_CHARSET";
    for (const auto& [charsetName, value] : kCharsets)
        if (upper == charsetName) return value;
    return 1;
}

} // namespace pellucor::lang
