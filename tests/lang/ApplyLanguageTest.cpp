// ApplyLanguage on a small form built in code, on the offscreen platform.
#include "lang/forms/ApplyLanguage.h"
#include "lang/forms/PropertyText.h"

#include "QtEnvironment.h"
#include "fixtures/TempDir.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

namespace pellucor::lang {
namespace {

const auto* const kQtEnvironment = ::testing::AddGlobalTestEnvironment(new test::QtEnvironment<>);

// A stand-in for the main window: one component of each kind a language file addresses.
struct Form {
    QWidget window;
    QLabel* lbl6 = new QLabel("Label six", &window);
    QLabel* lbl2 = new QLabel("orig", &window);
    QPushButton* btnAdd = new QPushButton("Add", &window);
    QCheckBox* chkSub = new QCheckBox("Sub", &window);
    QGroupBox* grpOut = new QGroupBox("Group", &window);
    QComboBox* cbbmpeg = new QComboBox(&window);
    QListWidget* lstFiles = new QListWidget(&window);
    QPlainTextEdit* memLog = new QPlainTextEdit(&window);
    QLineEdit* edtIn = new QLineEdit(&window);
    QSpinBox* spnCount = new QSpinBox(&window);
    QTabWidget* pgcFormats = new QTabWidget(&window);
    QWidget* tabMpeg = new QWidget;
    QAction* actConvert = new QAction("Convert", &window);
    QWidget* pnlInner = new QWidget(grpOut);
    QLabel* lblNested = new QLabel("nested", pnlInner);

    Form() {
        window.setObjectName("frmPellucor");
        window.setWindowTitle("Window");
        const std::pair<QObject*, const char*> names[] = {
            {lbl6, "lbl6"},         {lbl2, "lbl2"},           {btnAdd, "btnAdd"},
            {chkSub, "chkSub"},     {grpOut, "grpOut"},       {cbbmpeg, "cbbmpeg"},
            {lstFiles, "lstFiles"}, {memLog, "memLog"},       {edtIn, "edtIn"},
            {spnCount, "spnCount"}, {pgcFormats, "pgcFormats"}, {tabMpeg, "tabMpeg"},
            {actConvert, "actConvert"}, {pnlInner, "pnlInner"}, {lblNested, "lblNested"},
        };
        for (const auto& [object, name] : names) object->setObjectName(name);
        cbbmpeg->addItems({"A", "B", "C"});
        cbbmpeg->setCurrentIndex(1);
        lstFiles->addItems({"x"});
        pgcFormats->addTab(tabMpeg, "Tab");
        btnAdd->setGeometry(1, 2, 30, 40);
        spnCount->setMaximum(99);
    }
};

class ApplyLanguageTest : public ::testing::Test {
protected:
    void SetUp() override { QGuiApplication::setLayoutDirection(Qt::LeftToRight); }
    void TearDown() override { QGuiApplication::setLayoutDirection(Qt::LeftToRight); }

    std::string writeFile(const std::string& text) { return folder_.write("Test.lng", text).string(); }

    fixtures::TempDir folder_;
};

struct LineCase {
    const char* name;
    std::string lines;  // the body of [frmPellucor]
    std::function<QString(Form&)> actual;
    QString expected;
};

QString ItemsOf(QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items.join('|');
}

QString ItemsOf(QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return items.join('|');
}

QString Num(int n) { return QString::number(n); }

TEST_F(ApplyLanguageTest, FormSectionLines) {
    const auto lbl2 = [](Form& f) { return f.lbl2->text(); };
    const auto title = [](Form& f) { return f.window.windowTitle(); };
    const LineCase cases[] = {
        {"two-line caption", "lbl6.Caption=First||Second", [](Form& f) { return f.lbl6->text(); },
         "First\nSecond"},
        {"hint is the tool tip", "btnAdd.Hint=Adds files", [](Form& f) { return f.btnAdd->toolTip(); },
         "Adds files"},
        {"items replace the combo box's list", "cbbmpeg.Items=One||Two||Three",
         [](Form& f) { return ItemsOf(f.cbbmpeg); }, "One|Two|Three"},
        {"items keep the chosen entry", "cbbmpeg.Items=One||Two||Three",
         [](Form& f) { return Num(f.cbbmpeg->currentIndex()); }, "1"},
        {"items of a list", "lstFiles.Items=a||b", [](Form& f) { return ItemsOf(f.lstFiles); }, "a|b"},
        {"escapes and quotes count again inside items", "cbbmpeg.Items=\\\"x||y\\\"||z",
         [](Form& f) { return ItemsOf(f.cbbmpeg); }, "x||y|z"},
        {"lines of a text box", "memLog.Lines=l1||l2", [](Form& f) { return f.memLog->toPlainText(); },
         "l1\nl2"},
        {".Caption is the form", ".Caption=Converter", title, "Converter"},
        {"form name .Caption is the form", "frmPellucor.Caption=Converter", title, "Converter"},
        {"form name in any case", "FRMPELLUCOR.caption=Converter", title, "Converter"},
        {"component and property in any case", "LBL2.CAPTION=x", lbl2, "x"},
        {"check box caption", "chkSub.Caption=Include sub-folders",
         [](Form& f) { return f.chkSub->text(); }, "Include sub-folders"},
        {"group box caption is its title", "grpOut.Caption=Output",
         [](Form& f) { return f.grpOut->title(); }, "Output"},
        {"tab page caption is its tab's text", "tabMpeg.Caption=MPEG",
         [](Form& f) { return f.pgcFormats->tabText(0); }, "MPEG"},
        {"action caption and hint", "actConvert.Caption=Go\nactConvert.Hint=Start",
         [](Form& f) { return f.actConvert->text() + "/" + f.actConvert->toolTip(); }, "Go/Start"},
        {"component deep inside the form", "lblNested.Caption=deep",
         [](Form& f) { return f.lblNested->text(); }, "deep"},
        {"line edit text", "edtIn.Text=abc", [](Form& f) { return f.edtIn->text(); }, "abc"},
        {"combo box text chooses the entry", "cbbmpeg.Text=C",
         [](Form& f) { return Num(f.cbbmpeg->currentIndex()); }, "2"},
        {"any Qt text property by name", "edtIn.placeholderText=Folder||here",
         [](Form& f) { return f.edtIn->placeholderText(); }, "Folder\nhere"},
        {"any Qt integer property by name", "spnCount.Maximum=500",
         [](Form& f) { return Num(f.spnCount->maximum()); }, "500"},
        {"hexadecimal integer", "spnCount.maximum=0x20",
         [](Form& f) { return Num(f.spnCount->maximum()); }, "32"},
        {"position and size",
         "btnAdd.Left=10\nbtnAdd.Top=20\nbtnAdd.Width=90\nbtnAdd.Height=0x1E",
         [](Form& f) {
             const QRect r = f.btnAdd->geometry();
             return QString("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
         },
         "10,20,90,30"},
        {"escaped equals sign", "lbl2.Caption=a\\=b", lbl2, "a=b"},
        {"quoted equals sign", "lbl2.Caption=\"a=b\" c", lbl2, "a=b c"},
        {"double backslash", "lbl2.Caption=C:\\\\Temp", lbl2, "C:\\Temp"},
        {"blanks inside the value kept", "lbl2.Caption=\" spaced \"", lbl2, " spaced "},
        {"blanks around names dropped", "  lbl2 . Caption  =  x  ", lbl2, "x"},
        {"first of a duplicate key counts", "lbl2.Caption=first\nLBL2.caption=second", lbl2, "first"},
        {"UTF-8 text", "lbl2.Caption=\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", lbl2,
         QString::fromUtf8("\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82")},
        {"5000 characters are cut to 2047", "lbl2.Caption=" + std::string(5000, 'w'), lbl2,
         QString(2047, 'w')},
        // Lines that are skipped.
        {"unescaped equals sign: three pieces", "lbl2.Caption=a=b", lbl2, "orig"},
        {"whole value quoted: the quotes go first", "lbl2.Caption=\"a=b\"", lbl2, "orig"},
        {"three pieces in the key", "lbl2.Font.Name=x", lbl2, "orig"},
        {"no dot in the key", "lbl2=x", lbl2, "orig"},
        {"empty property name", "lbl2.=x", lbl2, "orig"},
        {"component the form does not own", "lblMissing.Caption=x\nlbl2.Caption=after", lbl2, "after"},
        {"property the component does not have", "lbl2.Colour=x", lbl2, "orig"},
        {"label has no items", "lbl2.Items=x||y", lbl2, "orig"},
        {"non-integer for an integer property", "btnAdd.Width=wide",
         [](Form& f) { return Num(f.btnAdd->width()); }, "30"},
        {"non-integer for a Qt integer property", "spnCount.Maximum=5x",
         [](Form& f) { return Num(f.spnCount->maximum()); }, "99"},
        {"booleans are left alone", "lbl2.Visible=false\nbtnAdd.Enabled=0",
         [](Form& f) { return Num(f.lbl2->isVisibleTo(&f.window)) + Num(f.btnAdd->isEnabled()); }, "11"},
        {"enumerations are left alone", "lbl2.Alignment=1",
         [](Form& f) { return Num(int(f.lbl2->alignment())); }, Num(int(QLabel().alignment()))},
        {"line edit has no caption", "edtIn.Caption=x", [](Form& f) { return f.edtIn->text(); }, ""},
        {"unbalanced quote", "lbl2.Caption=\"abc", lbl2, "abc"},
        {"backslash at the end", "lbl2.Caption=abc\\", lbl2, "abc"},
    };
    for (const LineCase& c : cases) {
        Form form;
        ApplyLanguage(&form.window, writeFile("[frmPellucor]\n" + c.lines + "\n"));
        EXPECT_EQ(c.actual(form), c.expected) << c.name;
    }
}

TEST_F(ApplyLanguageTest, OnlyTheFormsOwnSectionApplies) {
    Form form;
    ApplyLanguage(&form.window, writeFile("[frmEdit]\nlbl2.Caption=edit\n[FRMpellucor]\nlbl6.Caption=main\n"));
    EXPECT_EQ(form.lbl2->text(), "orig");
    EXPECT_EQ(form.lbl6->text(), "main");
}

TEST_F(ApplyLanguageTest, FontSizeAndNameFromTheFontSection) {
    const QStringList families = QFontDatabase::families();
    ASSERT_FALSE(families.isEmpty()) << "the offscreen platform sees no fonts";
    Form probe;
    QString other;  // an installed family that the form does not use yet
    for (const QString& family : families)
        if (family != probe.window.font().family()) other = family;
    ASSERT_FALSE(other.isEmpty());

    struct {
        const char* name;
        std::string font;
        int expectedSize;  // 0: unchanged
        QString expectedFamily;  // empty: unchanged
    } cases[] = {
        {"size applied", "Size=14", 14, {}},
        {"size 0 ignored", "Size=0", 0, {}},
        {"negative size ignored", "Size=-3", 0, {}},
        {"unreadable size ignored", "Size=big", 0, {}},
        {"installed family in other case", "Name=" + other.toUpper().toStdString(), 0, other},
        {"family that is not installed", "Name=No Such Font Family 4711", 0, {}},
        {"size and family together", "Size=0x10\nName=" + other.toStdString(), 16, other},
    };
    for (const auto& c : cases) {
        Form form;
        const QFont before = form.window.font();
        ApplyLanguage(&form.window, writeFile("[Font]\n" + c.font + "\n"));
        const QFont after = form.window.font();
        EXPECT_EQ(after.pointSize(), c.expectedSize ? c.expectedSize : before.pointSize()) << c.name;
        EXPECT_EQ(after.family(), c.expectedFamily.isEmpty() ? before.family() : c.expectedFamily) << c.name;
        // A label that never chose a font follows the form.
        EXPECT_EQ(form.lbl2->font().pointSize(), after.pointSize()) << c.name;
    }
}

TEST_F(ApplyLanguageTest, CharsetIsKeptAsANumberOnTheForm) {
    struct {
        const char* font;
        int expected;
    } cases[] = {{"CharSet=russian", 204}, {"CharSet=GREEK_CHARSET", 161}, {"CharSet=Cyrillic", 1}, {"", 1}};
    for (const auto& c : cases) {
        Form form;
        ApplyLanguage(&form.window, writeFile(std::string("[Font]\n") + c.font + "\n"));
        EXPECT_EQ(form.window.property(kFontCharsetProperty).toInt(), c.expected) << c.font;
    }
}

TEST_F(ApplyLanguageTest, BiDiModeSetsTheReadingOrderOfApplicationAndForm) {
    struct {
        const char* name;
        std::string font;
        Qt::LayoutDirection before;
        Qt::LayoutDirection expected;
    } cases[] = {
        {"1 is right to left", "BiDiMode=1", Qt::LeftToRight, Qt::RightToLeft},
        {"0 is left to right", "BiDiMode=0", Qt::RightToLeft, Qt::LeftToRight},
        {"2 stays left to right", "BiDiMode=2", Qt::RightToLeft, Qt::LeftToRight},
        {"3 stays left to right", "BiDiMode=3", Qt::RightToLeft, Qt::LeftToRight},
        {"7 changes nothing", "BiDiMode=7", Qt::RightToLeft, Qt::RightToLeft},
        {"-1 changes nothing", "BiDiMode=-1", Qt::RightToLeft, Qt::RightToLeft},
        {"missing key is left to right", "Size=9", Qt::RightToLeft, Qt::LeftToRight},
        {"unreadable value is left to right", "BiDiMode=rtl", Qt::RightToLeft, Qt::LeftToRight},
    };
    for (const auto& c : cases) {
        Form form;
        QGuiApplication::setLayoutDirection(c.before);
        form.window.setLayoutDirection(c.before);
        ApplyLanguage(&form.window, writeFile("[Font]\n" + c.font + "\n"));
        EXPECT_EQ(QGuiApplication::layoutDirection(), c.expected) << c.name;
        EXPECT_EQ(form.window.layoutDirection(), c.expected) << c.name;
        EXPECT_EQ(form.lbl2->layoutDirection(), c.expected) << c.name << ": children follow the form";
    }
}

TEST_F(ApplyLanguageTest, MissingFileSetsOnlyTheDefaults) {
    Form form;
    QGuiApplication::setLayoutDirection(Qt::RightToLeft);
    form.window.setLayoutDirection(Qt::RightToLeft);
    const QFont before = form.window.font();
    ApplyLanguage(&form.window, (folder_.path() / "missing.lng").string());
    EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::LeftToRight);
    EXPECT_EQ(form.window.layoutDirection(), Qt::LeftToRight);
    EXPECT_EQ(form.window.font(), before);
    EXPECT_EQ(form.window.property(kFontCharsetProperty).toInt(), 1);
    EXPECT_EQ(form.window.windowTitle(), "Window");
    EXPECT_EQ(form.lbl2->text(), "orig");
}

TEST_F(ApplyLanguageTest, HostileFileAppliesItsGoodLinesOnly) {
    std::string text = "\xEF\xBB\xBF[frmPellucor]\r\n";
    text += "lbl6.Caption=" + std::string(5000, '"') + "\r\n";
    text += "a.b.c.Caption=x\r\n";
    text += std::string(5000, '.') + "=x\r\n";
    text += "\\=\\\r\n";
    text += "\"unbalanced.Caption=x\r\n";
    text += std::string("lbl6.Hint=nul\0inside\r\n", 22);
    text += "=\r\n.\r\n..=..\r\n[\r\n]\r\n";
    text += "lbl2.Caption=survivor\r\n";
    text += "cbbmpeg.Items=\r\n";
    Form form;
    ApplyLanguage(&form.window, writeFile(text));
    EXPECT_EQ(form.lbl2->text(), "survivor");
    EXPECT_EQ(form.lbl6->text(), "");  // 5000 quotes: every one dropped by SplitText
    EXPECT_EQ(form.cbbmpeg->count(), 1);  // an empty list value is one empty line
}

TEST_F(ApplyLanguageTest, SetPropertyTextReportsWhetherItSetAnything) {
    Form form;
    EXPECT_TRUE(SetPropertyText(form.lbl2, "caption", "x"));
    EXPECT_FALSE(SetPropertyText(form.lbl2, "nothing", "x"));
    EXPECT_FALSE(SetPropertyText(form.btnAdd, "Width", "1.5"));
    EXPECT_FALSE(SetPropertyText(form.lbl2, "enabled", "1"));
    EXPECT_FALSE(SetPropertyText(form.lbl2, "ObjectName", "renamed"));  // the program finds it by name
    EXPECT_EQ(form.lbl2->objectName(), "lbl2");
    EXPECT_FALSE(SetPropertyText(nullptr, "Caption", "x"));
    EXPECT_EQ(FindComponent(&form.window, "LBLNESTED"), form.lblNested);
    EXPECT_EQ(FindComponent(&form.window, "frmPellucor"), nullptr);  // the form is no descendant
}

} // namespace
} // namespace pellucor::lang
