// The profile editor as a form: its make-up from the .ui file, opening through the main
// window's entry point, and the wiring of its handlers to the page rules.
#include "EditorForm.h"
#include "PageTables.h"
#include "QtEnvironment.h"

#include "editor/PageLists.h"
#include "editor/UfrmEdit.h"
#include "settings/Presets.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

namespace pellucor::editor {
namespace {

using test::Child;
using test::Choose;
using test::PageTables;

std::vector<std::string> itemsOf(const QComboBox& combo)
{
    std::vector<std::string> items;
    for (int i = 0; i < combo.count(); ++i) items.push_back(combo.itemText(i).toStdString());
    return items;
}

class FrmEdit : public ::testing::Test {
protected:
    // A dialog built the way the entry point builds it, without the modal loop.
    std::unique_ptr<TfrmEdit> open(int format, std::function<void()> preset = {},
                                   const std::string& languageFile = "")
    {
        auto dialog = std::make_unique<TfrmEdit>(settings_, format, preset, languageFile);
        dialog->ShowFormatPage(format);
        dialog->show();
        return dialog;
    }

    TcdSettings settings_;
};

TEST_F(FrmEdit, IsAFixedDialogOfSixPagesAndAButtonPanel)
{
    TfrmEdit dialog(settings_, 0, {}, "");
    EXPECT_EQ(dialog.objectName(), "frmEdit");
    EXPECT_EQ(dialog.windowTitle(), "Edit");
    EXPECT_EQ(dialog.minimumSize(), QSize(446, 514));
    EXPECT_EQ(dialog.maximumSize(), QSize(446, 514));
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint);

    const auto& pages = Child<QStackedWidget>(dialog, "pgcedit");
    ASSERT_EQ(pages.count(), kFormatCount);
    const char* titles[] = {"MPEG", "MP4", "WMV", "FLV", "MOV", "MP3"};
    for (int format = 0; format < kFormatCount; ++format) {
        EXPECT_EQ(pages.widget(format)->objectName().toStdString(), PageName(format));
        EXPECT_EQ(pages.widget(format)->windowTitle(), titles[format]);
    }
    EXPECT_TRUE(dialog.findChildren<QTabBar*>().isEmpty());

    dialog.show();
    const auto& panel = Child<QWidget>(dialog, "pnl1");
    const auto& ok = Child<QPushButton>(dialog, "btnOK");
    const auto& cancel = Child<QPushButton>(dialog, "btnCancel");
    EXPECT_EQ(panel.height(), 48);
    EXPECT_EQ(panel.geometry().bottom(), dialog.height() - 1);
    EXPECT_EQ(ok.text(), "OK");
    EXPECT_EQ(cancel.text(), "Cancel");
    EXPECT_EQ(ok.size(), QSize(82, 34));
    EXPECT_EQ(cancel.size(), QSize(82, 34));
    EXPECT_TRUE(ok.isDefault());
    EXPECT_LT(ok.x(), cancel.x());
}

TEST_F(FrmEdit, ListsHoldThePageListsAndStartWithoutSelection)
{
    TfrmEdit dialog(settings_, 0, {}, "");
    std::set<std::string> expected;
    for (std::string_view name : AllPageLists()) {
        expected.insert(std::string(name));
        const auto& combo = Child<QComboBox>(dialog, std::string(name));
        const ValueList items = PageListItems(name);
        EXPECT_EQ(itemsOf(combo), std::vector<std::string>(items.begin(), items.end())) << name;
        EXPECT_FALSE(combo.isEditable()) << name;
        EXPECT_EQ(combo.currentIndex(), -1) << name;
    }
    std::set<std::string> actual;
    for (const QComboBox* combo : dialog.findChildren<QComboBox*>())
        actual.insert(combo->objectName().toStdString());
    EXPECT_EQ(actual, expected);
}

TEST_F(FrmEdit, PagesCarryTheirLabelsHeadingsAndHiddenSizeFields)
{
    TfrmEdit dialog(settings_, 0, {}, "");
    for (const test::PageTable& table : PageTables()) {
        const auto& page = Child<QWidget>(dialog, table.page);
        for (const auto& [name, text] : table.labels) {
            const auto& label = Child<QLabel>(page, name);
            EXPECT_EQ(label.text().toStdString(), text) << table.page << ' ' << name;
            const bool heading = text == "Image" || text == "Video" || text == "Audio";
            EXPECT_EQ(label.font().pointSize(), heading ? 12 : 10) << name;
        }
        for (const std::string& control : table.tabOrder) {
            Child<QWidget>(page, control); // every control lives on its own page
            if (control.rfind("edt", 0) == 0 && control.find("eak") == std::string::npos) {
                EXPECT_TRUE(Child<QLineEdit>(page, control).isHidden()) << control;
            }
        }
    }
}

TEST_F(FrmEdit, TabOrderFollowsThePageTables)
{
    TfrmEdit dialog(settings_, 0, {}, "");
    for (const test::PageTable& table : PageTables()) {
        const std::set<std::string> own(table.tabOrder.begin(), table.tabOrder.end());
        std::vector<std::string> chain;
        QWidget* first = &Child<QWidget>(dialog, table.tabOrder.front());
        QWidget* at = first;
        do {
            if (own.count(at->objectName().toStdString())) chain.push_back(at->objectName().toStdString());
            at = at->nextInFocusChain();
        } while (at != first && chain.size() < own.size());
        EXPECT_EQ(chain, table.tabOrder) << table.page;
    }
}

TEST_F(FrmEdit, EveryPageFitsTheFixedDialog)
{
    TfrmEdit dialog(settings_, 0, {}, "");
    dialog.show();
    const auto& pages = Child<QStackedWidget>(dialog, "pgcedit");
    for (int format = 0; format < kFormatCount; ++format) {
        QLayout* layout = pages.widget(format)->layout();
        layout->invalidate();
        const QSize needed = layout->totalMinimumSize();
        EXPECT_LE(needed.width(), 446) << PageName(format);
        EXPECT_LE(needed.height(), 514 - 48) << PageName(format);
    }
}

// Through the main window's entry point: caption and page by format, the preset applied before
// the page is filled, only that page filled, and the dialog gone afterwards.
TEST_F(FrmEdit, OpensEachFormatOnItsOwnPage)
{
    // Each format with a preset whose value differs from the default, so the page shows it
    // only if the preset was written before the page was filled.
    struct Case {
        int format;
        int presetItem;
        const char* list;
        const char* shown;
    };
    const Case cases[] = {
        {0, 3, "cbbFrameSize", "720*576"},       // DVD PAL
        {1, 2, "cbbmp4constraint", "iPod"},      // iPod
        {2, 1, "cbbwmvframesize", "640*480"},    // Zune (2Gen)
        {3, 3, "cbbflvfrequency", "11025"},      // FLV 128kbps
        {4, 1, "cbbmovaudiocodec", "MP3"},       // Optimal Quality
        {5, 1, "cbbMP3SampleRate", "48000"},     // For Media Play
    };
    QWidget mainWindow;
    mainWindow.setGeometry(40, 30, 700, 560);
    mainWindow.show();
    for (const Case& c : cases) {
        TcdSettings settings;
        test::GlobalsForTest globals(settings, "");
        int presets = 0;
        bool looked = false;
        test::WhenModal([&](TfrmEdit& dialog) {
            looked = true;
            EXPECT_EQ(dialog.windowTitle().toStdString(), EditCaption(c.format));
            EXPECT_EQ(dialog.parentWidget(), &mainWindow);
            const QPoint offCentre = dialog.frameGeometry().center() - mainWindow.frameGeometry().center();
            EXPECT_LE(offCentre.manhattanLength(), 2) << "centred over the main window";
            const auto& pages = Child<QStackedWidget>(dialog, "pgcedit");
            EXPECT_EQ(pages.currentWidget()->objectName().toStdString(), PageName(c.format));
            for (int other = 0; other < kFormatCount; ++other)
                EXPECT_EQ(pages.widget(other)->isVisible(), other == c.format) << other;
            EXPECT_EQ(Child<QComboBox>(dialog, c.list).currentText(), c.shown) << c.format;
            // Only the current page is filled.
            const QWidget* current = pages.currentWidget();
            for (const QComboBox* combo : dialog.findChildren<QComboBox*>()) {
                if (!current->isAncestorOf(combo)) {
                    EXPECT_EQ(combo->currentIndex(), -1) << combo->objectName().toStdString();
                }
            }
            Child<QPushButton>(dialog, "btnCancel").click();
        });
        const int result = RunProfileEditor(&mainWindow, c.format, [&] {
            ++presets;
            ApplyPreset(settings, c.format, c.presetItem);
        });
        EXPECT_TRUE(looked) << c.format;
        EXPECT_EQ(presets, 1) << c.format;
        EXPECT_EQ(result, QDialog::Rejected) << c.format;
        EXPECT_TRUE(mainWindow.findChildren<TfrmEdit*>().isEmpty()) << "released " << c.format;
    }
}

TEST_F(FrmEdit, OkThroughTheEntryPointWritesThePage)
{
    QWidget mainWindow;
    test::GlobalsForTest globals(settings_, "");
    test::WhenModal([](TfrmEdit& dialog) {
        Choose(dialog, "cbbmp4audiobitrate", "96");
        Child<QPushButton>(dialog, "btnOK").click();
    });
    EXPECT_EQ(RunProfileEditor(&mainWindow, 1, {}), QDialog::Accepted);
    EXPECT_EQ(settings_.MP4AudioBitrate, "96");
    EXPECT_EQ(settings_.MP4Width, "640");
}

TEST_F(FrmEdit, WmvCodecChangeAndOk)
{
    settings_.WMVAudioFormat1 = 2;
    settings_.WMVAudioFormat2 = 5;
    settings_.WMVAudioFormat3 = 4;
    auto dialog = open(2);
    EXPECT_TRUE(Child<QComboBox>(*dialog, "cbbWMVFormat2").isVisible());

    Choose(*dialog, "cbbaudioCodec", "Windows Media Audio 10 Professional");
    const auto& formats3 = Child<QComboBox>(*dialog, "cbbWMVFormat3");
    EXPECT_TRUE(formats3.isVisible());
    EXPECT_FALSE(Child<QComboBox>(*dialog, "cbbWMVFormat1").isVisible());
    EXPECT_FALSE(Child<QComboBox>(*dialog, "cbbWMVFormat2").isVisible());
    EXPECT_EQ(formats3.currentText(), " 32 kbps, 32 kHz, 2 channel 16 bit CBR");
    EXPECT_EQ(settings_.WMVAudioCodec, 1) << "a codec change alone writes nothing";

    Child<QPushButton>(*dialog, "btnOK").click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(settings_.WMVAudioCodec, 2);
    EXPECT_EQ(settings_.WMVAudioFormat3, 0);
    EXPECT_EQ(settings_.WMVAudioFormat1, 2);
    EXPECT_EQ(settings_.WMVAudioFormat2, 5);
    EXPECT_EQ(settings_.G_WMVAudioCodec, "Windows Media Audio 10 Professional");
    EXPECT_EQ(settings_.G_WMVAudioFormat, " 32 kbps, 32 kHz, 2 channel 16 bit CBR");
    EXPECT_EQ(settings_.G_WMVVedioCodec, "Windows Media Video 9");
    EXPECT_EQ(settings_.WMVWidth, "320");
}

TEST_F(FrmEdit, WmvFormatListsShareOnePlace)
{
    auto dialog = open(2);
    QRect places[3];
    const char* codecs[] = {"Windows Media Audio Voice 9", "Windows Media Audio 9.2",
                            "Windows Media Audio 10 Professional"};
    for (int codec = 0; codec < 3; ++codec) {
        Choose(*dialog, "cbbaudioCodec", codecs[codec]);
        QWidget& list = Child<QWidget>(*dialog, "cbbWMVFormat" + std::to_string(codec + 1));
        dialog->layout()->activate();
        list.parentWidget()->layout()->activate();
        places[codec] = list.geometry();
    }
    EXPECT_EQ(places[0].topLeft(), places[1].topLeft());
    EXPECT_EQ(places[0].topLeft(), places[2].topLeft());
}

TEST_F(FrmEdit, ModeChangeIsStoredAtOnceAndSurvivesCancel)
{
    settings_.WMVVedioMode = 2;
    settings_.WMVPeakBitrate = "6000";
    settings_.WMVFrameSize = "640*480";
    auto dialog = open(2);
    auto& peak = Child<QLineEdit>(*dialog, "edtPeakbitrate");
    EXPECT_TRUE(peak.isEnabled());
    EXPECT_EQ(peak.text(), "6000");

    Choose(*dialog, "cbbwmvframesize", "320*240");
    Choose(*dialog, "cbbwmvmode", "VBR");
    EXPECT_EQ(settings_.WMVVedioMode, 1);
    EXPECT_FALSE(peak.isEnabled());
    EXPECT_EQ(peak.text(), "6000");
    Choose(*dialog, "cbbwmvmode", "VBR(Peak)");
    EXPECT_TRUE(peak.isEnabled());
    Choose(*dialog, "cbbwmvmode", "VBR");

    Child<QPushButton>(*dialog, "btnCancel").click();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(settings_.WMVVedioMode, 1);
    EXPECT_EQ(settings_.WMVFrameSize, "640*480");
    EXPECT_EQ(settings_.WMVWidth, "320");
}

TEST_F(FrmEdit, EscapeAndCloseWriteNothing)
{
    for (const char* how : {"Esc", "close"}) {
        settings_.MPEGFrameSize = "Original";
        settings_.MPEGWidth = "0";
        auto dialog = open(0);
        Choose(*dialog, "cbbFrameSize", "720*576");
        if (std::string(how) == "Esc")
            QTest::keyClick(&Child<QComboBox>(*dialog, "cbbFrameSize"), Qt::Key_Escape);
        else
            dialog->close();
        EXPECT_FALSE(dialog->isVisible()) << how;
        EXPECT_EQ(dialog->result(), QDialog::Rejected) << how;
        EXPECT_EQ(settings_.MPEGFrameSize, "Original") << how;
        EXPECT_EQ(settings_.MPEGWidth, "0") << how;
    }
}

TEST_F(FrmEdit, EnterActsAsOkFromAListOrAField)
{
    for (const char* focus : {"cbbwmvframesize", "edtauPeakbitrate"}) {
        settings_.WMVFrameSize = "320*240";
        auto dialog = open(2);
        Choose(*dialog, "cbbwmvframesize", "720*576");
        QTest::keyClick(&Child<QWidget>(*dialog, focus), Qt::Key_Return);
        EXPECT_EQ(dialog->result(), QDialog::Accepted) << focus;
        EXPECT_EQ(settings_.WMVFrameSize, "720*576") << focus;
        EXPECT_EQ(settings_.WMVHeight, "576") << focus;
    }
}

TEST_F(FrmEdit, PeakFieldsTakeDigitsOnly)
{
    settings_.WMVPeakBitrate = "";
    settings_.WMVAudioPeakBitrate = "";
    settings_.WMVVedioMode = 2;
    auto dialog = open(2);
    for (const char* field : {"edtPeakbitrate", "edtauPeakbitrate"}) {
        auto& edit = Child<QLineEdit>(*dialog, field);
        QTest::keyClicks(&edit, "12a3.");
        EXPECT_EQ(edit.text(), "123") << field;
        QGuiApplication::clipboard()->setText("4 kbps");
        edit.paste();
        EXPECT_EQ(edit.text(), "1234") << field;
    }
    Child<QPushButton>(*dialog, "btnOK").click();
    EXPECT_EQ(settings_.WMVPeakBitrate, "1234");
    EXPECT_EQ(settings_.WMVAudioPeakBitrate, "1234");
}

TEST_F(FrmEdit, EachOpeningIsANewDialog)
{
    QWidget mainWindow;
    test::GlobalsForTest globals(settings_, "");
    settings_.MP3Channels = "Mono";
    test::WhenModal([](TfrmEdit& dialog) {
        Choose(dialog, "cbbMP3Channels", "Stereo");
        Child<QPushButton>(dialog, "btnCancel").click();
    });
    RunProfileEditor(&mainWindow, 5, {});
    std::string shown;
    test::WhenModal([&](TfrmEdit& dialog) {
        shown = Child<QComboBox>(dialog, "cbbMP3Channels").currentText().toStdString();
        dialog.reject();
    });
    RunProfileEditor(&mainWindow, 5, {});
    EXPECT_EQ(shown, "Mono");
}

} // namespace
} // namespace pellucor::editor
