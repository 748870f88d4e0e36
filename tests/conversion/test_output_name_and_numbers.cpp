#include "conversion/NumberText.h"
#include "conversion/OutputName.h"

#include <gtest/gtest.h>

using namespace pellucor::conversion;

TEST(BuildOutputName, NamesTheOutputAfterTheSource)
{
    struct Case {
        const char* name;
        std::string source;
        int page;
        std::string expected;
    } cases[] = {
        {"last dot only", "/in/clip.final.avi", 1, "clip.final.mp4"},
        {"no dot keeps whole name", "/in/movie", 4, "movie.mov"},
        {"dot in folder only", "/in.dir/movie", 0, "movie.mpeg"},
        {"wmv", "clip.AVI", 2, "clip.wmv"},
        {"flv", "a.b.c.avi", 3, "a.b.c.flv"},
        {"mp3", "song.avi", 5, "song.mp3"},
        {"hidden file", "/x/.avi", 1, ".mp4"},
    };
    for (const auto& c : cases) EXPECT_EQ(BuildOutputName(c.source, c.page), c.expected) << c.name;
}

TEST(BuildOutputName, DestinationIsTheSameWithOrWithoutTrailingSlash)
{
    EXPECT_EQ(AddTrailingSlash("/out") + BuildOutputName("clip.final.avi", 1), "/out/clip.final.mp4");
    EXPECT_EQ(AddTrailingSlash("/out/") + BuildOutputName("clip.final.avi", 1), "/out/clip.final.mp4");
    EXPECT_EQ(AddTrailingSlash(""), "");
}

TEST(NumberText, IntegersFollowTheStandardConversion)
{
    struct Case {
        std::string text;
        bool ok;
        int value;
    } cases[] = {
        {"720", true, 720},       {" 42", true, 42},         {"-1", true, -1},
        {"+7", true, 7},          {"$FF", true, 255},        {"0x10", true, 16},
        {"$FFFFFFFF", true, -1},  {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
        {"2147483648", false, 0}, {"", false, 0},          {"abc", false, 0},
        {"12a", false, 0},        {"1.5", false, 0},       {"42 ", false, 0},
        {"-", false, 0},          {"0x", false, 0},
    };
    for (const auto& c : cases) {
        if (c.ok) {
            EXPECT_EQ(StrToInt(c.text), c.value) << "'" << c.text << "'";
        } else {
            try {
                StrToInt(c.text);
                ADD_FAILURE() << "'" << c.text << "' was accepted";
            } catch (const ConversionError& e) {
                EXPECT_EQ(std::string(e.what()), "'" + c.text + "' is not a valid integer value");
            }
        }
    }
}

TEST(NumberText, FloatsReadDotOrCommaWhateverTheLocale)
{
    EXPECT_DOUBLE_EQ(StrToFloat("29.97"), 29.97);
    EXPECT_DOUBLE_EQ(StrToFloat("29,97"), 29.97);
    EXPECT_DOUBLE_EQ(StrToFloat(" 25 "), 25.0);
    EXPECT_DOUBLE_EQ(StrToFloat("23.979"), 23.979);
    for (const std::string bad : {"", "abc", "29.97fps", "1.2.3"}) {
        try {
            StrToFloat(bad);
            ADD_FAILURE() << "'" << bad << "' was accepted";
        } catch (const ConversionError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + bad + "' is not a valid floating point value");
        }
    }
}
