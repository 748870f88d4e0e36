#pragma once
// Which list each control of the profile editor shows, and the names that tie an output format
// to its page and caption.
//
// The form's .ui file holds the same entries; the editor's tests hold the two together, so the
// lists the user sees are exactly the lists the page logic counts with. Constant data; any
// thread.
#include "editor/ValueLists.h"

#include <string>
#include <string_view>

namespace pellucor::editor {

// Output format index: 0 MPEG, 1 MP4, 2 WMV, 3 FLV, 4 MOV, 5 MP3.
inline constexpr int kFormatCount = 6;

// Object name of the format's page in pgcedit ("tsMPEG" ...); empty outside 0 to 5.
std::string_view PageName(int format);

// The dialog's caption for a format: "Edit MPEG Profiles" ...; empty outside 0 to 5.
std::string EditCaption(int format);

// The entries of the drop-down list with this object name, as the page shows them (the FLV
// video bit rates and the MP4 and MOV audio bit rates are the first entries of their master
// lists). An empty list for a name that is not a list of the dialog.
ValueList PageListItems(std::string_view control);

// The object names of every drop-down list of the dialog, page by page.
std::span<const std::string_view> AllPageLists();

// The WMV audio format list that belongs to an audio codec position (0 to 2), else empty.
std::string_view WmvFormatListOf(int codecPosition);

} // namespace pellucor::editor
