// The profile editor and its language files: the file is applied first thing, the caption set
// on opening wins over it, and the English and German [frmEdit] sections cover every text of
// the dialog while leaving the value lists alone.
#include "EditorForm.h"
#include "QtEnvironment.h"

#include "editor/PageLists.h"
#include "fixtures/TempDir.h"
#include "lang/IniFile.h"
#include "lang/forms/ApplyLanguage.h"

#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QStackedWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace pellucor::editor {
namespace {

using test::Child;

const std::string kDataDir = PELLUCOR_DATA_DIR;

// component -> caption, from the [frmEdit] section of a language file as the dialog reads it.
std::map<std::string, std::string> captionsIn(const std::string& path)
{
    const lang::IniFile file{std::filesystem::path(path)};
    EXPECT_TRUE(file.sectionExists("frmEdit")) << path;
    std::map<std::string, std::string> captions;
    for (const std::string& line : file.readSectionValues("frmEdit")) {
        const auto equals = line.find('=');
        const auto dot = line.find('.');
        EXPECT_TRUE(equals != std::string::npos && dot < equals) << path << ": " << line;
        if (equals == std::string::npos || dot > equals) continue;
        EXPECT_EQ(line.substr(dot + 1, equals - dot - 1), "Caption") << path << ": " << line;
        captions[line.substr(0, dot)] = line.substr(equals + 1);
    }
    return captions;
}

QString textOf(const TfrmEdit& dialog, const std::string& component)
{
    if (component == "frmEdit") return dialog.windowTitle();
    if (auto* label = dialog.findChild<QLabel*>(QString::fromStdString(component)))
        return label->text();
    return Child<QPushButton>(dialog, component).text();
}

// Every label and button of the dialog, by name.
std::set<std::string> textComponents(const TfrmEdit& dialog)
{
    std::set<std::string> names{"frmEdit"};
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        names.insert(label->objectName().toStdString());
    for (const QPushButton* button : dialog.findChildren<QPushButton*>())
        names.insert(button->objectName().toStdString());
    return names;
}

class EditorLanguage : public ::testing::Test {
protected:
    TcdSettings settings_;
};

TEST_F(EditorLanguage, EnglishSectionIsTheDesign)
{
    const auto english = captionsIn(kDataDir + "/English.lng");
    TfrmEdit dialog(settings_, 0, {}, "");
    std::set<std::string> keys;
    for (const auto& [component, text] : english) {
        keys.insert(component);
        EXPECT_EQ(textOf(dialog, component).toStdString(), text) << component;
    }
    EXPECT_EQ(keys, textComponents(dialog));
}

TEST_F(EditorLanguage, GermanTranslatesEveryTextAndNoList)
{
    const std::string german = kDataDir + "/German.lng";
    const auto captions = captionsIn(german);
    TfrmEdit dialog(settings_, 2, {}, german);
    std::set<std::string> keys;
    for (const auto& [component, text] : captions) {
        keys.insert(component);
        if (component != "frmEdit") { // the caption belongs to the opener
            EXPECT_EQ(textOf(dialog, component).toStdString(), text) << component;
        }
    }
    EXPECT_EQ(keys, textComponents(dialog));
    EXPECT_EQ(Child<QLabel>(dialog, "lblmdoe").text(), "Modus:");
    EXPECT_EQ(Child<QPushButton>(dialog, "btnCancel").text(), "Abbrechen");

    for (std::string_view name : AllPageLists()) {
        const auto& combo = Child<QComboBox>(dialog, std::string(name));
        ASSERT_EQ(combo.count(), static_cast<int>(PageListItems(name).size())) << name;
        for (int i = 0; i < combo.count(); ++i)
            EXPECT_EQ(combo.itemText(i).toStdString(), PageListItems(name)[static_cast<std::size_t>(i)]) << name;
    }

    dialog.show();
    const auto& pages = Child<QStackedWidget>(dialog, "pgcedit");
    for (int format = 0; format < kFormatCount; ++format) {
        QLayout* layout = pages.widget(format)->layout();
        layout->invalidate();
        EXPECT_LE(layout->totalMinimumSize().width(), 446) << "German " << PageName(format);
    }
}

TEST_F(EditorLanguage, AppliedFirstAndOverruledByTheCaption)
{
    fixtures::TempDir folder;
    const std::string path = (folder / "Test.lng").string();
    std::ofstream(path) << "[frmEdit]\n"
                           ".Caption=Bearbeiten\n"
                           "lblmdoe.Caption=Modus:\n"
                           "cbbMP3BitRate.Items=8||16||24\n";
    QWidget mainWindow;
    test::GlobalsForTest globals(settings_, path);
    QString caption, mode;
    int bitsItems = 0, bitsPosition = 0;
    test::WhenModal([&](TfrmEdit& dialog) {
        caption = dialog.windowTitle();
        mode = Child<QLabel>(dialog, "lblmdoe").text();
        bitsItems = Child<QComboBox>(dialog, "cbbMP3BitRate").count();
        bitsPosition = Child<QComboBox>(dialog, "cbbMP3BitRate").currentIndex();
        dialog.reject();
    });
    RunProfileEditor(&mainWindow, 2, {});
    EXPECT_EQ(caption, "Edit WMV Profiles");
    EXPECT_EQ(mode, "Modus:");
    EXPECT_EQ(bitsItems, 3);
    EXPECT_EQ(bitsPosition, -1) << "a list the file re-filled still starts without selection";
}

} // namespace
} // namespace pellucor::editor
