#pragma once
// The preset lists of the six output formats, as data: the item texts each list shows and the
// values each preset writes into the format's profile properties.
//
// A preset is known only by its item position, never by its text, so a translated list changes
// nothing. The last item of every list is the custom entry, which writes nothing.
//
// Three rows differ from the tables this program grew from, because those gave files that were
// not what the item names: "MPEG2, 2376kbps" now really uses MPEG-2, "VCD NTSC" MPEG-1 (a VCD is
// MPEG-1), and "VCD PAL" the PAL constraint. Every other value is kept as it always was, also
// where it differs from its item text (SVCD PAL's 2048 kbit/s, the WMV rates of items 1 and 2).
//
// Main thread only, like the settings.
#include <string>
#include <vector>

namespace pellucor {

class TcdSettings;

// Output format indices, the order of the format pages and of PageIndex.
enum OutputFormat : int { FormatMPEG = 0, FormatMP4 = 1, FormatWMV = 2, FormatFLV = 3, FormatMOV = 4, FormatMP3 = 5 };
inline constexpr int kOutputFormatCount = 6;

// Number of presets of a format's list, the custom item not counted (8, 4, 6, 4, 5, 4); 0 for a
// format index outside 0 to 5. The custom item's position is this count.
int PresetCount(int format);

// The item texts of a format's list, the custom item ("[Custom MPEG]" ...) last; empty for a
// format index outside 0 to 5.
const std::vector<std::string>& PresetItems(int format);

// Writes preset `item` of `format` into settings: the values common to the format's presets and
// the item's own row. The custom item, no selection (-1) and any index outside the list write
// nothing; nothing else is touched (other formats, the preset indices, the WMV list positions
// WMVTVFormat, WMVVedioCodec and WMVAudioCodec).
void ApplyPreset(TcdSettings& settings, int format, int item);

} // namespace pellucor
