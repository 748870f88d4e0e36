#pragma once
// The rules of the profile editor's pages, kept apart from the widgets: filling a format's page
// from the settings when the dialog opens, the two WMV rules that act while it is open, and
// OK's write-back of the page into the settings, property by property in a fixed order.
//
// The page is reached through PageControls by object name, so the same rules run on the real
// form (TfrmEdit) and on a plain table in tests. Main thread only, like the settings.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace pellucor {
class TcdSettings;
}

namespace pellucor::editor {

// The controls of one page, by object name.
class PageControls {
public:
    virtual ~PageControls() = default;

    // Selected position of a drop-down list, -1 when nothing is selected.
    virtual int position(std::string_view list) const = 0;
    // Text of a list's selected entry (empty when nothing is selected), or a field's content.
    virtual std::string text(std::string_view control) const = 0;

    // Selects a list's entry; -1 leaves the list without selection.
    virtual void select(std::string_view list, int position) = 0;
    virtual void setText(std::string_view field, const std::string& text) = 0;
    virtual void setEnabled(std::string_view control, bool enabled) = 0;
    virtual void setVisible(std::string_view control, bool visible) = 0;
};

// One property written by OK or by a rule, with the value it received.
struct PropertyWrite {
    std::string property;
    std::variant<std::string, std::int32_t> value;
    bool operator==(const PropertyWrite&) const = default;
};
using WriteLog = std::vector<PropertyWrite>;

// Fills the page of format (0 to 5) from settings: every list by its rule (lookups with their
// fallbacks, the channel and MP3 rules, stored positions, the WMV frame-size rule; a position
// the page's list lacks leaves it without selection), the WMV peak fields with their stored
// texts, the video peak field enabled only for "VBR(Peak)", and the WMV audio format list of
// the selected codec made the visible one. The hidden width and height fields stay empty.
// Other formats do nothing.
void FillPage(int format, const TcdSettings& settings, PageControls& page);

// OK: writes the page of format into settings in the page's order. A list without selection
// leaves its property as it was; a frame size that SplitFrameSize does not know (a list without
// selection) leaves width and height as they were; each WMV name is written from the entry
// selected in its list, and not written when that list has no selection. Every write is
// appended to log when one is given.
void WritePage(int format, PageControls& page, TcdSettings& settings, WriteLog* log = nullptr);

// The user chose a WMV mode: WMVVedioMode takes the mode list's position at once (a later
// Cancel keeps it), and the video peak field is enabled for "VBR(Peak)" only. The field keeps
// its text either way.
void ApplyModeChange(PageControls& page, TcdSettings& settings, WriteLog* log = nullptr);

// The user chose a WMV audio codec: its format list becomes the visible one with its first
// entry selected; the other two are hidden and keep their selections. Writes no setting.
void ApplyAudioCodecChange(PageControls& page);

// Shows the WMV audio format list of codec position 0 to 2 and hides the other two; any other
// position changes nothing.
void ShowFormatListOf(PageControls& page, int codecPosition);

} // namespace pellucor::editor
