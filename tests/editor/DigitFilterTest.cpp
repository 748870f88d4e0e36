// The digit filter of the WMV peak fields: typed characters and pasted text.
#include "QtEnvironment.h"

#include "editor/DigitFilter.h"

#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace pellucor::editor {
namespace {

TEST(DigitFilter, TypedCharacters)
{
    struct Case {
        const char* name;
        QString typed;
        bool accepted;
    };
    const Case cases[] = {
        {"digit 0", "0", true},
        {"digit 9", "9", true},
        {"letter", "a", false},
        {"minus sign", "-", false},
        {"blank", " ", false},
        {"decimal point", ".", false},
        {"Arabic-Indic three", QString(QChar(0x0663)), false},
        {"Backspace", "\b", true},
        {"Enter", "\r", true},
        {"Ctrl+V", QString(QChar(0x16)), true},
        {"key without text", "", true},
    };
    for (const Case& c : cases) EXPECT_EQ(IsTypedTextAccepted(c.typed), c.accepted) << c.name;
}

TEST(DigitFilter, InsertedTextKeepsItsDigits)
{
    struct Case {
        const char* name;
        QString before;
        QString after;
        int cursor;
        DigitEdit kept;
    };
    const Case cases[] = {
        {"letter typed at the end", "12", "12a", 3, {"12", 2}},
        {"digit typed", "12", "123", 3, {"123", 3}},
        {"paste at the end", "12", "123x4", 5, {"1234", 4}},
        {"paste in the middle", "1234", "12x5y34", 5, {"12534", 3}},
        {"paste over a selection", "1234", "1a94", 3, {"194", 2}},
        {"paste of letters only", "", "abc", 3, {"", 0}},
        {"paste of a signed decimal", "", "-12.5", 5, {"125", 3}},
        {"paste of other scripts' digits", "7", QString("7") + QChar(0x0661) + QChar(0x0662), 3, {"7", 1}},
        {"stored text keeps its own letters", "6,000", "6,0001", 6, {"6,0001", 6}},
        {"letter typed after a stored letter", "1a", "1aa", 3, {"1a", 2}},
        {"deletion", "123", "13", 1, {"13", 1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeepInsertedDigits(c.before, c.after, c.cursor), c.kept) << c.name;
}

class DigitField : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallDigitFilter(&edit_);
        edit_.show();
    }
    QLineEdit edit_;
};

TEST_F(DigitField, TypingKeepsDigitsBackspaceAndEnter)
{
    QTest::keyClicks(&edit_, "12a3- .");
    EXPECT_EQ(edit_.text(), "123");
    QTest::keyClick(&edit_, Qt::Key_Backspace);
    EXPECT_EQ(edit_.text(), "12");
    QTest::keyClick(&edit_, Qt::Key_Return);
    EXPECT_EQ(edit_.text(), "12");
}

TEST_F(DigitField, ADiscardedCharacterLeavesTheSelection)
{
    edit_.setText("123");
    edit_.selectAll();
    QTest::keyClicks(&edit_, "x");
    EXPECT_EQ(edit_.text(), "123");
    EXPECT_EQ(edit_.selectedText(), "123");
}

TEST_F(DigitField, PasteKeepsOnlyTheDigits)
{
    edit_.setText("12");
    edit_.end(false);
    QGuiApplication::clipboard()->setText("3 kbps, 4");
    edit_.paste();
    EXPECT_EQ(edit_.text(), "1234");
    EXPECT_EQ(edit_.cursorPosition(), 4);

    QGuiApplication::clipboard()->setText("x5");
    QTest::keyClick(&edit_, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit_.text(), "12345");
}

TEST_F(DigitField, TextSetByTheProgramIsNotFiltered)
{
    edit_.setText("6,000");
    EXPECT_EQ(edit_.text(), "6,000");
    QTest::keyClicks(&edit_, "1");
    EXPECT_EQ(edit_.text(), "6,0001");
}

} // namespace
} // namespace pellucor::editor
