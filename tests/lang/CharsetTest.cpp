#include "lang/Charset.h"

#include <gtest/gtest.h>

namespace pellucor::lang {
namespace {

TEST(CharsetFromName, Cases) {
    struct {
        const char* name;
        int expected;
    } cases[] = {
        {"russian", 204},          {"RUSSIAN_CHARSET", 204},   {"Russian_Charset", 204},
        {"Cyrillic", 1},           {"", 1},                    {"ansi", 0},
        {"DEFAULT", 1},            {"symbol", 2},              {"MAC_CHARSET", 77},
        {"ShiftJIS", 128},         {"hangeul", 129},           {"johab", 130},
        {"GB2312", 134},           {"chinesebig5", 136},       {"greek", 161},
        {"turkish", 162},          {"vietnamese", 163},        {"hebrew", 177},
        {"arabic", 178},           {"baltic", 186},            {"thai", 222},
        {"EastEurope", 238},       {"oem", 255},
        // "_CHARSET" anywhere stops the suffix from being added; then only an exact name counts.
        {"RUSSIAN_CHARSETX", 1},   {"_CHARSET", 1},            {" russian", 1},
        {"russian ", 1},           {"204", 1},                 {"HANGUL", 1},
        // Only ASCII letters change case: a dotless capital I is no I.
        {"Russ\xC4\xB0" "an", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(CharsetFromName(c.name), c.expected) << "'" << c.name << "'";
}

} // namespace
} // namespace pellucor::lang
