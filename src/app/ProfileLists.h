#pragma once
// The six profile lists of the format pages (cbbmpeg, cbbmp4profile, cbbwmvprofile,
// cbbflvprofile, cbbmovprofile, cbbMP3profile), in format index order 0 MPEG ... 5 MP3: their
// preset item texts, restoring and storing their selections, and applying the selected preset
// of one format to the settings. Main thread only; the lists belong to the form.
#include <QComboBox>

#include <array>

namespace pellucor {
class TcdSettings;
}

namespace pellucor::app {

class ProfileLists {
public:
    static constexpr int kFormats = 6;
    explicit ProfileLists(const std::array<QComboBox*, kFormats>& lists);  // fills the items

    const std::array<QComboBox*, kFormats>& lists() const { return lists_; }
    // The selected item of format's list; -1 for no selection or a format outside 0 to 5.
    int selection(int format) const;

    // Each list's selection from its stored index, in the order MPEG, MP4, WMV, MOV, FLV, MP3;
    // an index that is not an item of the list leaves it without a selection. Raises no click.
    void RestoreSelections(const TcdSettings& settings);
    // Each list's selection (-1 for none) into its stored index, in the same order.
    void StoreSelections(TcdSettings& settings) const;
    // ApplyProfilePreset: the preset selected in the list of format, written into settings;
    // the custom item, no selection or a format outside 0 to 5 write nothing.
    void ApplyProfilePreset(int format, TcdSettings& settings) const;

private:
    std::array<QComboBox*, kFormats> lists_;
};

} // namespace pellucor::app
