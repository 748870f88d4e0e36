#include "app/ProfileLists.h"

#include "settings/Presets.h"
#include "settings/cdSettings.h"

#include <QSignalBlocker>

namespace pellucor::app {
namespace {

// The stored preset index of each format, by format index.
std::int32_t TcdSettings::* const kStoredIndex[ProfileLists::kFormats] = {
    &TcdSettings::MPEGCbbIdx, &TcdSettings::MP4CbbIdx, &TcdSettings::WMVCbbIdx,
    &TcdSettings::FLVCbbIdx,  &TcdSettings::MOVCbbIdx, &TcdSettings::MP3CbbIdx,
};

// Restoring and storing walk the lists in this order.
constexpr int kStoreOrder[ProfileLists::kFormats] = {FormatMPEG, FormatMP4, FormatWMV,
                                                     FormatMOV,  FormatFLV, FormatMP3};

} // namespace

ProfileLists::ProfileLists(const std::array<QComboBox*, kFormats>& lists) : lists_(lists) {
    for (int f = 0; f < kFormats; ++f) {
        QComboBox* list = lists_[f];
        const QSignalBlocker quiet(list);
        list->clear();
        for (const std::string& text : PresetItems(f)) list->addItem(QString::fromStdString(text));
        list->setEditable(false);  // a fixed-selection list: nothing can be typed
        list->setCurrentIndex(0);
    }
}

int ProfileLists::selection(int format) const {
    if (format < 0 || format >= kFormats) return -1;
    return lists_[format]->currentIndex();
}

void ProfileLists::RestoreSelections(const TcdSettings& settings) {
    for (int f : kStoreOrder) {
        QComboBox* list = lists_[f];
        const std::int32_t stored = settings.*kStoredIndex[f];
        const QSignalBlocker quiet(list);  // a selection set by the program applies no preset
        list->setCurrentIndex(stored >= 0 && stored < list->count() ? stored : -1);
    }
}

void ProfileLists::StoreSelections(TcdSettings& settings) const {
    for (int f : kStoreOrder) settings.*kStoredIndex[f] = lists_[f]->currentIndex();
}

void ProfileLists::ApplyProfilePreset(int format, TcdSettings& settings) const {
    if (format < 0 || format >= kFormats) return;
    ApplyPreset(settings, format, selection(format));
}

} // namespace pellucor::app
