// The path text routines: trailing separator, trimming and ASCII-only lowering, and the
// extension filter that decides which changed names the monitor waits for.
#include "hotdir/PathText.h"

#include <gtest/gtest.h>

#include <string>

using namespace pellucor::hotdir;

namespace {

struct TextCase {
    const char* name;
    std::string input;
    std::string expected;
};

TEST(PathText, AddTrailingSlash) {
    const TextCase cases[] = {
        {"empty stays empty", "", ""},
        {"appended", "/data/in", "/data/in/"},
        {"already there", "/data/in/", "/data/in/"},
        {"root", "/", "/"},
        {"backslash is an ordinary character", "C:\\In", "C:\\In/"},
        {"relative", "in", "in/"},
    };
    for (const auto& c : cases) EXPECT_EQ(AddTrailingSlash(c.input), c.expected) << c.name;
}

TEST(PathText, LowerTrim) {
    const TextCase cases[] = {
        {"empty", "", ""},
        {"only blanks and controls", " \t\r\n\x01 ", ""},
        {"trims both ends", "  /Data/In \t", "/data/in"},
        {"inner blanks kept", " My Clips ", "my clips"},
        {"ASCII letters lowered", "ABCXYZ abcxyz 019", "abcxyz abcxyz 019"},
        {"non-ASCII left alone", " \xC3\x84pfel.AVI ", "\xC3\x84pfel.avi"},
        {"byte 0x7F is not a control by this rule", "\x7F" "A", "\x7F" "a"},
        {"high bytes not trimmed", "\xA0x\xA0", "\xA0x\xA0"},
    };
    for (const auto& c : cases) EXPECT_EQ(LowerTrim(c.input), c.expected) << c.name;
}

TEST(PathText, TrimBlanksKeepsCase) {
    const TextCase cases[] = {
        {"mixed case kept", "  /Data/In  ", "/Data/In"},
        {"controls trimmed", "\n/Data\t", "/Data"},
        {"nothing to trim", "/Data", "/Data"},
    };
    for (const auto& c : cases) EXPECT_EQ(TrimBlanks(c.input), c.expected) << c.name;
}

TEST(PathText, LowerFileExtension) {
    const TextCase cases[] = {
        {"simple", "/in/clip.avi", ".avi"},
        {"upper case lowered", "/in/clip.AVI", ".avi"},
        {"last dot counts", "/in/clip.avi.tmp", ".tmp"},
        {"no dot", "/in/clip", ""},
        {"dot only in a folder name", "/in/sub.d/clip", ""},
        {"bare dot at the end", "/in/clip.", "."},
        {"hidden file", "/in/.avi", ".avi"},
    };
    for (const auto& c : cases) EXPECT_EQ(LowerFileExtension(c.input), c.expected) << c.name;
}

TEST(PathText, ExtFilter) {
    struct Case {
        const char* name;
        std::string path;
        std::string filter;
        bool passes;
    };
    const Case cases[] = {
        {"exact", "/in/clip.avi", ".avi", true},
        {"upper case", "/in/clip.AVI", ".avi", true},
        {"prefix of the filter", "/in/clip.av", ".avi", true},
        {"single letter", "/in/clip.a", ".avi", true},
        {"bare dot", "/in/clip.", ".avi", true},
        {"longer than the filter", "/in/clip.avi2", ".avi", false},
        {"other format", "/in/clip.mpg", ".avi", false},
        {"temporary copy", "/in/clip.avi.tmp", ".avi", false},
        {"no extension", "/in/clip", ".avi", false},
        {"dot only in the folder", "/in/x.avi/clip", ".avi", false},
        {"empty filter takes all", "/in/clip", "", true},
        {"filter compared as it is", "/in/clip.avi", ".AVI", false},
    };
    for (const auto& c : cases) EXPECT_EQ(PassesExtFilter(c.path, c.filter), c.passes) << c.name;
}

} // namespace
