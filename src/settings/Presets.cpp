#include "settings/Presets.h"

#include "settings/cdSettings.h"

#include <array>
#include <cstdint>
#include <variant>

namespace pellucor {

namespace {

using Member = std::variant<std::string TcdSettings::*, std::int32_t TcdSettings::*>;
using Value = std::variant<const char*, std::int32_t>;

struct Cell {
    Member member;
    Value value;
};

struct PresetTable {
    std::vector<std::string> items;  // custom item last
    std::vector<Cell> common;        // written by every preset of the format
    std::vector<Member> columns;
    std::vector<std::vector<Value>> rows;  // one per preset item, in column order
};

using S = TcdSettings;

const std::array<PresetTable, kOutputFormatCount> kTables = {{
    // MPEG
    {{"MPEG Video: MPEG1, 1150kbps, 29.97fps, Original frame size; Audio: 224kbps",
      "MPEG Video: MPEG2, 2376kbps, 29.97fps, Original frame size; Audio: 224kbps",
      "DVD NTSC compatible(MPEG2, 4000kbps, 29.97fps, 720*480)",
      "DVD PAL compatible(MPEG2, 4000kbps, 25fps, 720*576)",
      "SVCD NTSC compatible(MPEG2, 2376kbps, 29.97fps, 480*480)",
      "SVCD PAL compatible(MPEG2, 2376kbps, 25fps, 480*576)",
      "VCD NTSC compatible(MPEG1, 1150kbps, 29.97fps, 352*240)",
      "VCD PAL compatible(MPEG1, 1150kbps, 25fps, 352*288)",
      "[Custom MPEG]"},
     {{&S::MPEGAudioCodec, "MP2"}, {&S::MPEGAudioBitrate, "224"}, {&S::MPEGAudioChannels, "Stereo"}},
     {&S::MPEGFrameSize, &S::MPEGAspectRatio, &S::MPEGTragetBitrate, &S::MPEGFrameRate, &S::MPEGCompression,
      &S::MPEGAudioFrequency, &S::MPEGWidth, &S::MPEGHeight, &S::MPEGConstraint},
     {{"Original", "1:1", "1150", "29.97", "MPEG1", "44100", "0", "0", "NTSC"},
      {"Original", "1:1", "2376", "29.97", "MPEG2", "44100", "0", "0", "NTSC"},
      {"720*480", "1:1", "4000", "29.97", "MPEG2", "48000", "720", "480", "NTSC"},
      {"720*576", "1:1", "4000", "25", "MPEG2", "48000", "720", "576", "PAL"},
      {"480*480", "4:3", "2376", "29.97", "MPEG2", "44100", "480", "480", "NTSC"},
      {"480*576", "4:3", "2048", "25", "MPEG2", "44100", "480", "576", "PAL"},
      {"352*240", "4:3", "1150", "29.97", "MPEG1", "44100", "352", "240", "NTSC"},
      {"352*288", "4:3", "1150", "25", "MPEG1", "44100", "352", "288", "PAL"}}},
    // MP4
    {{"MPEG-4 iPhone - Highest Available Quality (MPEG-4, 30fps, 640*480, iPhone Standard)",
      "MPEG-4 iPhone - Normal Quality(MPEG-4, 24fps, 320*240 PAL Standard)",
      "MPEG-4 iPod - Normal Quality(MPEG-4, 24fps, 320*240 iPod Standard)",
      "MPEG-4 iPod Nano - Normal Quality(iPod Nano, 24kbps, 320*240  iPod Nano Standard)",
      "[Custom MP4]"},
     {{&S::MP4Compression, "MPEG4"}, {&S::MP4AudioCodec, "AAC"}, {&S::MP4AudioBitrate, "128"},
      {&S::MP4AudioChannels, "Stereo"}, {&S::MP4AudioFrequency, "48000"}},
     {&S::MP4FrameSize, &S::MP4AspectRatio, &S::MP4TragetBitrate, &S::MP4FrameRate, &S::MP4Width, &S::MP4Height,
      &S::MP4constraint},
     {{"640*480", "1:1", "1150", "30", "640", "480", "NTSC"},
      {"320*240", "1:1", "1150", "24", "320", "240", "PAL"},
      {"320*240", "4:3", "768", "24", "320", "240", "iPod"},
      {"320*240", "4:3", "768", "24", "320", "240", "iPod Nano"}}},
    // WMV
    {{"Microsoft Zune - Normal Quality (320*240, near 512kbps, CBR)",
      "Microsoft Zune(2Gen) - High Quality (640*480, near 1300kbps, CBR)",
      "Microsoft Zune - VBR Quality (320*240, near 512kbps, VBR)",
      "Microsoft Zune - VBR High Quality (640*480, 1150kbps, VBR)",
      "Microsoft Zune - VBR(Peak) Quality(640*480, 1150, VBR(Peak))",
      "Windows Media Video Standard Quality",
      "[Custom WMV]"},
     {{&S::WMVAudioFormat1, 0}, {&S::WMVAudioFormat2, 6}, {&S::WMVAudioFormat3, 0}, {&S::WMVPeakBitrate, "6000"},
      {&S::WMVAudioPeakBitrate, "384"}, {&S::G_WMVAudioCodec, "Windows Media Audio 9.2"},
      {&S::G_WMVAudioFormat, "128 kbps, 44 kHz, stereo CBR"}, {&S::G_WMVVedioCodec, "Windows Media Video 9"}},
     {&S::WMVFrameSize, &S::WMVTragetBitrate, &S::WMVFramerate, &S::WMVWidth, &S::WMVHeight, &S::WMVVedioMode},
     {{"320*240", "512", "29.97", "320", "240", 0},
      {"640*480", "1150", "30", "640", "480", 0},
      {"320*240", "1150", "29.97", "320", "240", 1},
      {"640*480", "1150", "29.97", "640", "480", 1},
      {"640*480", "1150", "29.97", "640", "480", 2},
      {"320*240", "786", "29.97", "320", "240", 0}}},
    // FLV
    {{"Video: FLV, 768kbps; Audio: MP3, 256kbps",
      "Video: FLV, 512kbps; Audio: MP3, 128kbps",
      "Video: FLV, 256kbps; Audio: MP3, 64kbps",
      "Video: FLV, 128kbps; Audio: MP3, 64kbps",
      "[Custom FLV]"},
     {{&S::FLVFrameSize, "Original"}, {&S::FLVAspectRatio, "1:1"}, {&S::FLVFrameRate, "25"},
      {&S::FLVCompression, "Flash Vedio"}, {&S::FLVAudioCodec, "MP3"}, {&S::FLVAudioChannels, "Stereo"},
      {&S::FLVWidth, "0"}, {&S::FLVHeight, "0"}, {&S::FLVConstraint, "PAL"}},
     {&S::FLVTragetBitrate, &S::FLVAudioBitrate, &S::FLVAudioFrequency},
     {{"768", "256", "44100"}, {"512", "128", "22050"}, {"256", "64", "22050"}, {"128", "64", "11025"}}},
    // MOV
    {{"Quick Time - HD Quality 480p(640*480; MP2, 128kbps)",
      "Quick Time - Optimal Quality (352*288; MP3, 128kbps)",
      "Quick Time - Highest Available Quality (MPEG4; MP3 112kbps)",
      "Quick Time - Standard Quality (176*144; MP3, 128kbps)",
      "Quick Time - Balanced Quality (MPEG4; MP3, 96kbps)",
      "[Custom MOV]"},
     {{&S::MOVFrameRate, "25"}, {&S::MOVCompression, "MPEG4"}, {&S::MOVAudioChannels, "Stereo"},
      {&S::MOVconstraint, "PAL"}},
     {&S::MOVFrameSize, &S::MOVAspectRatio, &S::MOVTragetBitrate, &S::MOVAudioCodec, &S::MOVAudioBitrate,
      &S::MOVAudioFrequency, &S::MOVWidth, &S::MOVHeight},
     {{"640*480", "4:3", "1150", "AAC", "128", "48000", "640", "480"},
      {"352*288", "1:1", "1150", "MP3", "128", "44100", "352", "288"},
      {"Original", "1:1", "1150", "MP3", "112", "44100", "0", "0"},
      {"176*144", "1:1", "1024", "MP3", "128", "44100", "176", "144"},
      {"Original", "1:1", "768", "MP3", "96", "44100", "0", "0"}}},
    // MP3
    {{"For Mobile - MP3:44100 Hz, Stereo, 8bit",
      "For Media Play -MP3:48000 Hz, Stereo, 8bit",
      "Nomal Quality -MP3:44100 Hz, Stereo, 16bit",
      "Best Quality -MP3:48000 Hz, Stereo, 16bit",
      "[Custom MP3]"},
     {{&S::MP3Channels, "Stereo"}},
     {&S::MP3Bitrate, &S::MP3Samplerate},
     {{"8", "44100"}, {"8", "48000"}, {"16", "44100"}, {"16", "48000"}}},
}};

void write(TcdSettings& settings, const Member& member, const Value& value)
{
    if (const auto* text = std::get_if<std::string TcdSettings::*>(&member))
        settings.*(*text) = std::get<const char*>(value);
    else
        settings.*std::get<std::int32_t TcdSettings::*>(member) = std::get<std::int32_t>(value);
}

} // namespace

int PresetCount(int format)
{
    if (format < 0 || format >= kOutputFormatCount) return 0;
    return static_cast<int>(kTables[static_cast<std::size_t>(format)].rows.size());
}

const std::vector<std::string>& PresetItems(int format)
{
    static const std::vector<std::string> none;
    if (format < 0 || format >= kOutputFormatCount) return none;
    return kTables[static_cast<std::size_t>(format)].items;
}

void ApplyPreset(TcdSettings& settings, int format, int item)
{
    if (item < 0 || item >= PresetCount(format)) return;  // the custom item, no selection, nonsense
    const PresetTable& table = kTables[static_cast<std::size_t>(format)];
    for (const Cell& cell : table.common) write(settings, cell.member, cell.value);
    const std::vector<Value>& row = table.rows[static_cast<std::size_t>(item)];
    for (std::size_t c = 0; c < table.columns.size(); ++c) write(settings, table.columns[c], row[c]);
}

} // namespace pellucor
