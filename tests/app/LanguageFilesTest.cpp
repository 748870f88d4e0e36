// The language files that ship with the program, against the real main window: every line of
// their [frmPellucor] sections lands on a text of the window, English says what the design says,
// German translates every text the window shows without making it grow, and both fill the
// message table. The files are read from the source tree, the way a translator edits them.
#include "FormFixture.h"
#include "QtEnvironment.h"

#include "lang/AsciiText.h"
#include "lang/FindLanguageFile.h"
#include "lang/IniFile.h"
#include "lang/SplitText.h"
#include "lang/StringTable.h"
#include "lang/forms/ApplyLanguage.h"
#include "lang/forms/PropertyText.h"
#include "platform/Registry.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace pellucor::app {
namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new test::QtEnvironment);

const std::string kData = PELLUCOR_SOURCE_DIR "/data/";
const std::string kEnglish = kData + "English.lng";
const std::string kGerman = kData + "German.lng";

// One line of a form section, taken apart the way ApplyLanguage takes it apart.
struct Line {
    std::string key;  // component.property
    std::string component;
    std::string property;
    QString value;  // as the widget shows it: "||" is a line break
};

std::vector<Line> SectionLines(const std::string& file, const char* section) {
    const lang::IniFile ini{std::filesystem::path(file)};
    EXPECT_TRUE(ini.sectionExists(section)) << file << " has no [" << section << "]";
    std::vector<Line> lines;
    for (const std::string& text : ini.readSectionValues(section)) {
        const std::vector<std::string> keyAndValue = lang::SplitText(text, "=");
        EXPECT_EQ(keyAndValue.size(), 2u) << file << ": " << text << " is not key=value";
        if (keyAndValue.size() != 2) continue;
        const std::string key(lang::TrimBlanks(keyAndValue[0]));
        const std::vector<std::string> names = lang::SplitText(key, ".");
        EXPECT_EQ(names.size(), 2u) << file << ": " << key << " is not component.property";
        if (names.size() != 2) continue;
        lines.push_back({key, std::string(lang::TrimBlanks(names[0])), std::string(lang::TrimBlanks(names[1])),
                         QString::fromStdString(lang::ReplaceLineBreaks(keyAndValue[1], "\n"))});
    }
    return lines;
}

QTabWidget* TabsShowing(QWidget* page) {
    QWidget* stack = page->parentWidget();
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    return tabs && tabs->indexOf(page) >= 0 ? tabs : nullptr;
}

// What the window shows for component.property, read back from the widget; no value for a
// property that our language files do not use.
std::optional<QString> Shown(QObject* component, const std::string& property) {
    const std::string name = lang::AsciiLower(property);
    if (name == "caption") {
        if (auto* b = qobject_cast<QAbstractButton*>(component)) return b->text();
        if (auto* l = qobject_cast<QLabel*>(component)) return l->text();
        if (auto* a = qobject_cast<QAction*>(component)) return a->text();
        if (auto* g = qobject_cast<QGroupBox*>(component)) return g->title();
        if (auto* m = qobject_cast<QMenu*>(component)) return m->title();
        if (auto* w = qobject_cast<QWidget*>(component))
            if (QTabWidget* tabs = TabsShowing(w)) return tabs->tabText(tabs->indexOf(w));
    } else if (name == "hint") {
        if (auto* a = qobject_cast<QAction*>(component)) return a->toolTip();
        if (auto* w = qobject_cast<QWidget*>(component)) return w->toolTip();
    }
    return std::nullopt;
}

// Every text the window shows, by "object.what": captions, titles, tab texts, column headers
// and tool tips of every named object. Empty texts are left out.
std::map<std::string, QString> TextsOf(const QWidget& form) {
    std::map<std::string, QString> texts;
    auto put = [&texts](const QObject* o, const std::string& what, const QString& text) {
        if (!text.isEmpty()) texts[o->objectName().toStdString() + "." + what] = text;
    };
    for (QObject* o : form.findChildren<QObject*>()) {
        if (o->objectName().isEmpty() || o->objectName().startsWith(QLatin1String("qt_"))) continue;
        if (auto* a = qobject_cast<QAction*>(o)) {
            put(o, "text", a->text());
            put(o, "toolTip", a->toolTip());
            continue;
        }
        if (auto* m = qobject_cast<QMenu*>(o)) put(o, "title", m->title());
        if (auto* b = qobject_cast<QAbstractButton*>(o)) put(o, "text", b->text());
        if (auto* l = qobject_cast<QLabel*>(o)) put(o, "text", l->text());
        if (auto* g = qobject_cast<QGroupBox*>(o)) put(o, "title", g->title());
        if (auto* t = qobject_cast<QTabWidget*>(o))
            for (int i = 0; i < t->count(); ++i) put(o, "tab" + std::to_string(i), t->tabText(i));
        if (auto* tree = qobject_cast<QTreeWidget*>(o))
            for (int c = 0; c < tree->columnCount(); ++c)
                put(o, "column" + std::to_string(c), tree->headerItem()->text(c));
        if (auto* w = qobject_cast<QWidget*>(o)) put(o, "toolTip", w->toolTip());
    }
    return texts;
}

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

using LanguageFiles = test::FormFixture;

TEST_F(LanguageFiles, EveryLineOfTheWindowSectionSetsATextOfTheWindow) {
    for (const std::string& file : {kEnglish, kGerman}) {
        TfrmPellucor& f = open();
        const std::vector<Line> lines = SectionLines(file, "frmPellucor");
        EXPECT_FALSE(lines.empty()) << file;
        for (const Line& line : lines) {
            const std::string where = file + ": " + line.key;
            QObject* target = lang::FindComponent(&f, line.component);
            ASSERT_NE(target, nullptr) << where << ": the window has no such component";
            ASSERT_TRUE(Shown(target, line.property).has_value()) << where << ": not a caption or hint";
            EXPECT_TRUE(lang::SetPropertyText(target, QString::fromStdString(line.property), line.value)) << where;
            EXPECT_EQ(Shown(target, line.property), line.value) << where;
        }
    }
}

TEST_F(LanguageFiles, EnglishIsTheDesign) {
    TfrmPellucor& design = open();
    for (const Line& line : SectionLines(kEnglish, "frmPellucor")) {
        QObject* target = lang::FindComponent(&design, line.component);
        ASSERT_NE(target, nullptr) << line.key;
        EXPECT_EQ(Shown(target, line.property), line.value) << line.key;
    }
    const std::map<std::string, QString> designTexts = TextsOf(design);
    const QFont designFont = design.font();

    lang::LanguageFile = kEnglish;
    TfrmPellucor& english = open();
    const std::map<std::string, QString> englishTexts = TextsOf(english);
    for (const auto& [what, text] : designTexts) {
        const auto it = englishTexts.find(what);
        EXPECT_EQ(it == englishTexts.end() ? QString() : it->second, text) << what;
    }
    EXPECT_EQ(englishTexts.size(), designTexts.size());
    EXPECT_EQ(english.font(), designFont);
    EXPECT_EQ(english.layoutDirection(), Qt::LeftToRight);
}

TEST_F(LanguageFiles, GermanHasTheKeysOfEnglishInEverySection) {
    const lang::IniFile english{std::filesystem::path(kEnglish)};
    const lang::IniFile german{std::filesystem::path(kGerman)};
    for (const char* section : {"Font", "Strings", "frmPellucor", "frmEdit"}) {
        EXPECT_FALSE(english.readSection(section).empty()) << section;
        EXPECT_EQ(german.readSection(section), english.readSection(section)) << section;
        for (const std::string& key : german.readSection(section))
            EXPECT_FALSE(german.readString(section, key, "").empty()) << section << " " << key;
    }
}

// Every text the window shows must come from its section: with a file whose every value names
// its own key, no text of the design may be left over.
TEST_F(LanguageFiles, TheWindowSectionReachesEveryTextOfTheWindow) {
    std::ofstream marked(dir / "Marked.lng");
    marked << "[frmPellucor]\n";
    for (const Line& line : SectionLines(kEnglish, "frmPellucor")) marked << line.key << "=@" << line.key << "\n";
    marked.close();
    lang::LanguageFile = (dir / "Marked.lng").string();
    TfrmPellucor& f = open();

    for (const auto& [what, text] : TextsOf(f)) {
        // A language file reaches no column header of the list (as in the design it came from).
        if (what.rfind("lvFiles.column", 0) == 0) continue;
        EXPECT_TRUE(text.startsWith(QLatin1Char('@'))) << what << " shows \"" << text.toStdString()
                                                       << "\", which no line of the section sets";
    }
    // Buttons and menu entries show the texts of their actions.
    const struct {
        const char* client;
        QString shown;
        const char* expected;
    } linked[] = {
        {"btnNext", find<QAbstractButton>("btnNext")->text(), "@actNext.Caption"},
        {"btnConvert", find<QAbstractButton>("btnConvert")->text(), "@actConvert.Caption"},
        {"btnHotdirectory", find<QAbstractButton>("btnHotdirectory")->text(), "@actHotDir.Caption"},
        {"btnsbtreturn", find<QAbstractButton>("btnsbtreturn")->text(), "@actReturnmode.Caption"},
        {"btnmp3edit", find<QAbstractButton>("btnmp3edit")->text(), "@actEdit.Caption"},
        {"btnviewlog", find<QAbstractButton>("btnviewlog")->text(), "@actOpenLogdir.Caption"},
        {"btnAdd tool tip", find<QAbstractButton>("btnAdd")->toolTip(), "@actadd.Hint"},
        {"mniAdd", action("mniAdd")->text(), "@actadd.Caption"},
        {"mniPopClear", action("mniPopClear")->text(), "@actClear.Caption"},
        {"mniPopOpenFolder", action("mniPopOpenFolder")->text(), "@actOpenFolder.Caption"},
        {"mniReturntoBatchMode", action("mniReturntoBatchMode")->text(), "@mniReturntoBatchMode.Caption"},
    };
    for (const auto& l : linked) EXPECT_EQ(l.shown.toStdString(), l.expected) << l.client;
}

TEST_F(LanguageFiles, GermanTranslatesEveryTextOfTheWindow) {
    lang::LanguageFile = kGerman;
    TfrmPellucor& f = open();
    const std::vector<Line> german = SectionLines(kGerman, "frmPellucor");
    for (const Line& line : german) {
        QObject* target = lang::FindComponent(&f, line.component);
        ASSERT_NE(target, nullptr) << line.key;
        EXPECT_EQ(Shown(target, line.property), line.value) << line.key;
    }
    // Only the names of the formats read the same in both languages.
    std::map<std::string, QString> english;
    for (const Line& line : SectionLines(kEnglish, "frmPellucor")) english[line.key] = line.value;
    std::set<std::string> same;
    for (const Line& line : german)
        if (english[line.key] == line.value) same.insert(line.key);
    const std::set<std::string> formatNames{
        "mniformat.Caption",     "mniFormatMPEG.Caption", "mniFormatMP4.Caption", "mniFormatWMV.Caption",
        "mniFormatFLV.Caption", "mniFormatMOV.Caption",  "mniFormatMP3.Caption"};
    EXPECT_EQ(same, formatNames);

    EXPECT_EQ(find<QAbstractButton>("btnNext")->text(), "&Weiter");
    EXPECT_EQ(find<QMenu>("mniFile")->title(), "&Datei");
    EXPECT_EQ(action("mniAdd")->text(), "&Hinzufügen");
    EXPECT_EQ(find<QTabWidget>("pgcConvert")->tabText(2), "NACH WMV");
    EXPECT_EQ(find<QAbstractButton>("btnAdd")->toolTip(), "Hinzufügen");
    EXPECT_EQ(f.windowTitle(), "Tamrix free Pellucor") << "the program's name is not translated";
}

// The German texts are longer; the window still keeps the size of the design on every page.
TEST_F(LanguageFiles, GermanKeepsTheSizeOfTheWindowOnEveryPage) {
    const char* steps[] = {"start", "actNext", "actHotDir"};
    std::vector<QSize> designSizes;
    open();
    for (const char* step : steps) {
        if (std::string(step) != "start") trigger(step);
        designSizes.push_back(form->size());
    }
    lang::LanguageFile = kGerman;
    TfrmPellucor& f = open();
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        if (std::string(steps[i]) != "start") trigger(steps[i]);
        EXPECT_EQ(f.size(), designSizes[i]) << steps[i];
        EXPECT_TRUE(f.minimumSizeHint().width() <= f.width() && f.minimumSizeHint().height() <= f.height())
            << steps[i] << ": nothing clips";
    }
}

TEST_F(LanguageFiles, BothFilesFillExactlyTheMessagesTheProgramShows) {
    lang::TStringTable english, german;
    lang::LoadStringTable(english, lang::kStringTableHighest, kEnglish, "Strings");
    lang::LoadStringTable(german, lang::kStringTableHighest, kGerman, "Strings");
    for (int i = 0; i <= lang::kStringTableHighest; ++i) {
        const bool shown = i >= 12 && i <= 24;
        EXPECT_EQ(!english[i].empty(), shown) << "English entry " << i;
        EXPECT_EQ(!german[i].empty(), shown) << "German entry " << i;
        if (shown) {
            EXPECT_NE(german[i], english[i]) << "entry " << i << " is not translated";
        }
    }
    // The remove question ends in the count the program appends, after a line break.
    EXPECT_EQ(german[13], "Die ausgewählten Dateien aus der Liste entfernen?\r\nAusgewählt:");
    EXPECT_NE(german[17].find("\r\n"), std::string::npos);

    lang::StringTable = german;
    lang::LanguageFile = kGerman;
    open();
    list().AddFileList({"/x/a.avi", "/x/b.avi"});
    form->UpdateListActions();
    list().SelectAll();
    script->answerYes(false);
    trigger("actRemove");
    ASSERT_EQ(script->shown().size(), 1u);
    EXPECT_EQ(script->shown()[0].text.toStdString(), german[13] + " 2 items");
    script->chooseFolder(std::nullopt);
    trigger("actAddFolder");
    ASSERT_EQ(script->shown().size(), 2u);
    EXPECT_EQ(script->shown()[1].title.toStdString(), german[12]);
}

// The build puts German.lng beside the program, so the registry value German finds it there.
TEST_F(LanguageFiles, GermanIsFoundBesideTheProgram) {
    const std::filesystem::path hive = dir / "choice.reg";
    {
        platform::RegistryKey key(hive);
        ASSERT_TRUE(key.openKey("Software\\Tamrix\\Pellucor", true));
        key.writeString("Language", "German");
        key.closeKey();
    }
    const std::string found = lang::FindLanguageFile(lang::kLanguageRegistryValue, {hive, {}});
    EXPECT_EQ(std::filesystem::path(found).filename(), "German.lng") << found;
    EXPECT_EQ(ReadBytes(found), ReadBytes(kGerman)) << found << " is not the current German.lng";
}

} // namespace
} // namespace pellucor::app
