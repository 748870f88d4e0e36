#pragma once
// The value lists of the profile editor and the lookups that turn a stored profile text into a
// list position.
//
// A profile value is stored as the exact text of a list entry, so these lists are the settings'
// vocabulary, not user-interface wording: a language file never translates them. Eight kinds of
// value have a master list with a fallback position for a text that equals no entry; a page's
// list shows either the whole master list or its first entries. The WMV page has a frame-size
// list of its own, in its own order and without "Original".
//
// Everything here is constant data and pure functions; any thread may use it.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pellucor::editor {

using ValueList = std::span<const std::string_view>;

// Master lists, in their fixed order.
ValueList FrameSizes();      // 43 entries, "Original" last
ValueList AspectRatios();    // 4
ValueList VideoBitrates();   // 20, in kbps
ValueList FrameRates();      // 8
ValueList AudioCodecs();     // 7
ValueList AudioBitrates();   // 9, in kbps
ValueList SampleRates();     // 9, in Hz
ValueList Constraints();     // 8

// Lists that are not looked up in a master list.
ValueList WmvFrameSizes();   // 42 sizes, its own order, no "Original"
ValueList Channels();        // "Mono", "Stereo"
ValueList MpegCompressions();
ValueList Mp4Compressions(); // also the MOV page's
ValueList FlvCompressions();
ValueList FlvConstraints();
ValueList Mp3Bits();
ValueList WmvModes();
ValueList WmvTvFormats();
ValueList WmvVideoCodecs();
ValueList WmvAudioCodecs();
ValueList WmvAudioFormats1(); // formats of "Windows Media Audio Voice 9"
ValueList WmvAudioFormats2(); // formats of "Windows Media Audio 9.2"
ValueList WmvAudioFormats3(); // formats of "Windows Media Audio 10 Professional"

// Shorter page lists: how many master entries they show.
inline constexpr int kFlvVideoBitrateCount = 6;
inline constexpr int kMp4MovAudioBitrateCount = 4;

// The eight lookups: the position of the entry equal to text in the kind's master list (same
// characters, same case, same length, no trimming), else the kind's fallback position.
int FrameSizeIndex(std::string_view text);     // fallback 42, "Original"
int AspectRatioIndex(std::string_view text);   // fallback 0, "1:1"
int VideoBitrateIndex(std::string_view text);  // fallback 5, "1150"
int FrameRateIndex(std::string_view text);     // fallback 3, "29.97"
int AudioCodecIndex(std::string_view text);    // fallback 2, "MP2"
int AudioBitrateIndex(std::string_view text);  // fallback 6, "224"
int SampleRateIndex(std::string_view text);    // fallback 1, "44100"
int ConstraintIndex(std::string_view text);    // fallback 0, "None"

// Position of the entry equal to text in list, -1 when none is equal.
int ExactIndex(ValueList list, std::string_view text);

// The position a page list of count entries selects for a looked-up position: the position
// itself when the list has it, else -1 (no selection).
int PagePosition(int position, int count);

// A stored integer list position: itself when 0 <= value < count, else -1.
int StoredPosition(std::int32_t value, int count);

// Rules of single lists on opening; -1 means no selection.
int ChannelPosition(std::string_view text);         // "Mono" 0, "Stereo" 1, else -1
int Mp3ChannelPosition(std::string_view text);      // "Mono" 0, anything else 1 ("Stereo")
int Mp3BitsPosition(std::string_view text);         // "8" 0, "16" 1, else -1
int MpegCompressionPosition(std::string_view text); // "MPEG1" 0, anything else 1 ("MPEG2")
int WmvFrameSizePosition(std::string_view text);    // exact, in the WMV list; else -1

struct FrameSizeSplit {
    std::string width;
    std::string height;
    bool operator==(const FrameSizeSplit&) const = default;
};

// Width and height texts of a size of the master frame-size list: "720*576" gives "720" and
// "576", "Original" gives "0" and "0". Any other text, the empty one included, gives nothing,
// and the caller leaves its width and height as they are.
std::optional<FrameSizeSplit> SplitFrameSize(std::string_view text);

} // namespace pellucor::editor
