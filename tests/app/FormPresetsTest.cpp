// The six profile lists of the format pages: their items, choosing a preset (always the current
// format's list, whichever list was clicked), the custom item, and restoring and storing the
// selections.
#include "FormFixture.h"
#include "QtEnvironment.h"

#include "app/ProfileLists.h"
#include "editor/PageLists.h"
#include "settings/Presets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QTimer>

namespace pellucor::app {
namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new test::QtEnvironment);

const char* const kLists[] = {"cbbmpeg", "cbbmp4profile", "cbbwmvprofile", "cbbflvprofile", "cbbmovprofile", "cbbMP3profile"};

class FormPresets : public test::FormFixture {
public:
    // What the user's choice of item in list does.
    void choose(const char* listName, int item) {
        auto* list = find<QComboBox>(listName);
        list->setCurrentIndex(item);
        emit list->activated(item);
    }
    void goToFormat(int format) {
        const char* entries[] = {"mniFormatMPEG", "mniFormatMP4", "mniFormatWMV", "mniFormatFLV", "mniFormatMOV", "mniFormatMP3"};
        trigger(entries[format]);
    }
};

TEST_F(FormPresets, ListsOfferThePresetsAndTheCustomItemLastAndCannotBeTypedIn) {
    open();
    const struct {
        const char* list;
        int count;
        const char* third;
        const char* last;
    } expected[] = {
        {"cbbmpeg", 9, "DVD NTSC compatible(MPEG2, 4000kbps, 29.97fps, 720*480)", "[Custom MPEG]"},
        {"cbbmp4profile", 5, "MPEG-4 iPod - Normal Quality(MPEG-4, 24fps, 320*240 iPod Standard)", "[Custom MP4]"},
        {"cbbwmvprofile", 7, "Microsoft Zune - VBR Quality (320*240, near 512kbps, VBR)", "[Custom WMV]"},
        {"cbbflvprofile", 5, "Video: FLV, 256kbps; Audio: MP3, 64kbps", "[Custom FLV]"},
        {"cbbmovprofile", 6, "Quick Time - Highest Available Quality (MPEG4; MP3 112kbps)", "[Custom MOV]"},
        {"cbbMP3profile", 5, "Nomal Quality -MP3:44100 Hz, Stereo, 16bit", "[Custom MP3]"},
    };
    for (const auto& e : expected) {
        auto* list = find<QComboBox>(e.list);
        ASSERT_EQ(list->count(), e.count) << e.list;
        EXPECT_EQ(list->itemText(2).toStdString(), e.third) << e.list;
        EXPECT_EQ(list->itemText(e.count - 1).toStdString(), e.last) << e.list;
        EXPECT_FALSE(list->isEditable()) << e.list;
    }
}

TEST_F(FormPresets, ChoosingAPresetWritesItsValuesAndTheCustomItemWritesNothing) {
    open();
    trigger("actNext");
    choose("cbbmpeg", 3);  // DVD PAL
    EXPECT_EQ(AppSettings->MPEGFrameSize, "720*576");
    EXPECT_EQ(AppSettings->MPEGTragetBitrate, "4000");
    EXPECT_EQ(AppSettings->MPEGFrameRate, "25");
    EXPECT_EQ(AppSettings->MPEGCompression, "MPEG2");
    EXPECT_EQ(AppSettings->MPEGAudioFrequency, "48000");
    EXPECT_EQ(AppSettings->MPEGAudioCodec, "MP2");

    choose("cbbmpeg", 8);  // [Custom MPEG]: the DVD PAL values stay
    EXPECT_EQ(AppSettings->MPEGFrameSize, "720*576");
    EXPECT_EQ(AppSettings->MPEGTragetBitrate, "4000");
    EXPECT_EQ(AppSettings->MPEGCbbIdx, 0) << "choosing never stores the selection";
}

TEST_F(FormPresets, TheCurrentFormatsListIsAppliedWhicheverListWasClicked) {
    open();
    trigger("actNext");
    goToFormat(FormatWMV);
    find<QComboBox>("cbbwmvprofile")->setCurrentIndex(1);  // Zune 2nd gen, 640*480 at 30 fps
    const std::string mp4Before = AppSettings->MP4FrameSize;
    choose("cbbmp4profile", 2);  // a click on another format's list
    EXPECT_EQ(AppSettings->WMVFrameSize, "640*480");
    EXPECT_EQ(AppSettings->WMVFramerate, "30");
    EXPECT_EQ(AppSettings->G_WMVAudioCodec, "Windows Media Audio 9.2");
    EXPECT_EQ(AppSettings->MP4FrameSize, mp4Before) << "the clicked list's own format is untouched";
}

TEST_F(FormPresets, ApplyProfilePresetMatchesThePresetTablesForEveryItemOfEveryFormat) {
    open();
    trigger("actNext");
    for (int format = 0; format < kOutputFormatCount; ++format) {
        goToFormat(format);
        for (int item = 0; item <= PresetCount(format); ++item) {
            TcdSettings expected;
            expected.Assign(*AppSettings);
        expected.AutoLoad = false;  // a scratch copy: never saved
            expected.AutoLoad = false;  // a copy for comparing: never saved anywhere
            ApplyPreset(expected, format, item);
            choose(kLists[format], item);
            for (int p = 4; p < AppSettings->PublishedPropertyCount(); ++p) {  // past Name ... RegistryKey
                ASSERT_EQ(AppSettings->propertyText(p), expected.propertyText(p))
                    << kLists[format] << " item " << item << ", property " << AppSettings->PublishedPropertyName(p);
            }
        }
    }
}

TEST_F(FormPresets, ShowingTheWindowRestoresTheStoredSelectionsWithoutApplyingThem) {
    AppSettings->MPEGCbbIdx = 3;
    AppSettings->MP4CbbIdx = 99;
    AppSettings->WMVCbbIdx = -1;
    AppSettings->FLVCbbIdx = 4;
    AppSettings->MOVCbbIdx = 5;
    AppSettings->MP3CbbIdx = 1;
    TfrmPellucor& f = open();
    const int expected[] = {3, -1, -1, 4, 5, 1};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(find<QComboBox>(kLists[i])->currentIndex(), expected[i]) << kLists[i];
    EXPECT_EQ(AppSettings->MPEGFrameSize, "Original") << "restoring applies no preset";

    // The user chooses another item; back from the tray the list shows the stored one again,
    // while the values stay those of the chosen item.
    trigger("actNext");
    choose("cbbmpeg", 2);
    f.hide();
    f.show();
    EXPECT_EQ(find<QComboBox>("cbbmpeg")->currentIndex(), 3);
    EXPECT_EQ(AppSettings->MPEGFrameSize, "720*480");
}

TEST_F(FormPresets, StoringTheSelectionsWritesEveryListAndMinusOneForNone) {
    TfrmPellucor& f = open();
    find<QComboBox>("cbbmpeg")->setCurrentIndex(7);
    find<QComboBox>("cbbmp4profile")->setCurrentIndex(-1);
    find<QComboBox>("cbbMP3profile")->setCurrentIndex(4);
    f.StorePresetSelections();
    EXPECT_EQ(AppSettings->MPEGCbbIdx, 7);
    EXPECT_EQ(AppSettings->MP4CbbIdx, -1);
    EXPECT_EQ(AppSettings->MP3CbbIdx, 4);
    EXPECT_EQ(AppSettings->WMVCbbIdx, 0);
}

TEST_F(FormPresets, NoSelectionAppliesNothing) {
    AppSettings->MPEGCbbIdx = 99;
    TfrmPellucor& f = open();
    AppSettings->MPEGFrameSize = "kept";
    f.ApplyProfilePreset();
    EXPECT_EQ(AppSettings->MPEGFrameSize, "kept");
}

TEST_F(FormPresets, EditOpensTheEditorForTheCurrentFormatAfterApplyingItsPreset) {
    open();
    trigger("actNext");
    goToFormat(FormatMOV);
    find<QComboBox>("cbbmovprofile")->setCurrentIndex(3);  // 176*144
    AppSettings->MOVFrameSize = "edited";
    QString caption;
    std::string frameSizeWhileOpen;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        caption = dialog->windowTitle();
        frameSizeWhileOpen = AppSettings->MOVFrameSize;
        dialog->close();
    });
    find<QAbstractButton>("btnmovedit")->click();  // every format page's Edit... runs actEdit
    EXPECT_EQ(caption, "Edit MOV Profiles");
    EXPECT_EQ(frameSizeWhileOpen, "176*144") << "the selected preset is applied before the editor shows";
    EXPECT_EQ(find<QComboBox>("cbbmovprofile")->currentIndex(), 3) << "the selection stays";
}

TEST_F(FormPresets, EditOnEveryFormatShowsOnlyThatFormatsPageWithItsSelectedPresetApplied) {
    open();
    trigger("actNext");
    const char* buttons[] = {"btnmpegedit", "btnmp4edit", "btnwmvedit", "btnflvedit", "btnmovedit", "btnmp3edit"};
    const char* pages[] = {"tsMPEG", "tsMP4", "tsWMV", "tsFLV", "tsMOV", "tsMP3"};
    for (int format = 0; format < 6; ++format) {
        goToFormat(format);
        find<QComboBox>(kLists[format])->setCurrentIndex(1);  // selected, not yet applied
        TcdSettings expected;
        expected.Assign(*AppSettings);
        expected.AutoLoad = false;  // a scratch copy: never saved
        ApplyPreset(expected, format, 1);
        int changes = 0;  // the preset must change something, or applying it would go unseen
        for (int p = 4; p < expected.PublishedPropertyCount(); ++p)
            changes += AppSettings->propertyText(p) != expected.propertyText(p);
        ASSERT_GT(changes, 0) << pages[format];

        QString caption;
        QStringList visiblePages;
        std::vector<std::string> differences;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            caption = dialog->windowTitle();
            for (const char* page : pages)
                if (auto* w = dialog->findChild<QWidget*>(page); w && w->isVisible()) visiblePages << page;
            for (int p = 4; p < expected.PublishedPropertyCount(); ++p)  // past Name, Tag, AutoLoad, RegistryKey
                if (AppSettings->propertyText(p) != expected.propertyText(p))
                    differences.emplace_back(expected.PublishedPropertyName(p));
            dialog->close();
        });
        find<QAbstractButton>(buttons[format])->click();
        EXPECT_EQ(caption.toStdString(), editor::EditCaption(format)) << pages[format];
        EXPECT_EQ(visiblePages, QStringList{pages[format]}) << pages[format];
        EXPECT_TRUE(differences.empty()) << pages[format] << ": " << differences.front();
    }
}

} // namespace
} // namespace pellucor::app
