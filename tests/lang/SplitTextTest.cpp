// SplitText as the form sections use it: backslash escapes, double quotes group.
#include "lang/SplitText.h"

#include <gtest/gtest.h>

namespace pellucor::lang {
namespace {

using Pieces = std::vector<std::string>;

TEST(SplitText, Cases) {
    struct {
        const char* name;
        std::string text;
        std::string separator;
        Pieces expected;
    } cases[] = {
        {"empty text gives one empty piece", "", "=", {""}},
        {"no separator gives the text itself", "abc", "=", {"abc"}},
        {"key and value", "lbl2.Caption=First", "=", {"lbl2.Caption", "First"}},
        {"blanks are kept", " a = b ", "=", {" a ", " b "}},
        {"unescaped equals gives three pieces", "lbl2.Caption=a=b", "=", {"lbl2.Caption", "a", "b"}},
        {"escaped equals is literal", "lbl2.Caption=a\\=b", "=", {"lbl2.Caption", "a=b"}},
        {"quoted equals is literal, quotes dropped", "lbl2.Caption=\"a=b\" c", "=", {"lbl2.Caption", "a=b c"}},
        {"double backslash is one backslash", "lbl2.Caption=C:\\\\Temp", "=", {"lbl2.Caption", "C:\\Temp"}},
        {"escaped quote is literal", "k=say \\\"hi\\\"", "=", {"k", "say \"hi\""}},
        {"backslash before a plain letter just drops", "k=\\a\\b", "=", {"k", "ab"}},
        {"backslash at the very end adds nothing", "k=abc\\", "=", {"k", "abc"}},
        {"only a backslash", "\\", "=", {""}},
        {"unbalanced quote quotes the rest", "k=\"a=b", "=", {"k", "a=b"}},
        {"escape works inside quotes", "k=\"a\\\"=b\"", "=", {"k", "a\"=b"}},
        {"separator at both ends gives empty pieces", "=a=", "=", {"", "a", ""}},
        {"only separators", "==", "=", {"", "", ""}},
        {"key at the dot", "lbl6.Caption", ".", {"lbl6", "Caption"}},
        {"three dots give four pieces", "a.b.c.d", ".", {"a", "b", "c", "d"}},
        {"empty component name", ".Caption", ".", {"", "Caption"}},
        {"quoted dot is literal", "\"a.b\".Caption", ".", {"a.b", "Caption"}},
        {"two-character separator", "One||Two||Three", "||", {"One", "Two", "Three"}},
        {"one bar is no separator", "a|b||c", "||", {"a|b", "c"}},
        {"three bars: separator, then a bar", "a|||b", "||", {"a", "|b"}},
        {"separator cut off at the end", "a|", "||", {"a|"}},
        {"empty separator never matches", "a=b", "", {"a=b"}},
        {"UTF-8 text passes unchanged", "k=\xD0\x9F\xD1\x80\xD0\xB8", "=", {"k", "\xD0\x9F\xD1\x80\xD0\xB8"}},
        {"escaped UTF-8 character stays whole", "k=\\\xC3\xA9t\xC3\xA9", "=", {"k", "\xC3\xA9t\xC3\xA9"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitText(c.text, c.separator, '\\', "\""), c.expected) << c.name;
}

TEST(SplitText, QuoteSetAndEscapeAreTheCallersChoice) {
    EXPECT_EQ(SplitText("'a=b'=c", "=", '\\', "'\""), (Pieces{"a=b", "c"}));
    EXPECT_EQ(SplitText("a\\=b", "=", '^', ""), (Pieces{"a\\", "b"}));
    EXPECT_EQ(SplitText("a^=b\"=\"", "=", '^', ""), (Pieces{"a=b\"", "\""}));
}

} // namespace
} // namespace pellucor::lang
