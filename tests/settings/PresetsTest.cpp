// Every preset row against the values the preset lists are designed to write, and nothing more.
#include "settings/Presets.h"
#include "settings/cdSettings.h"

#include <gtest/gtest.h>

#include <map>

using pellucor::ApplyPreset;
using pellucor::PresetCount;
using pellucor::PresetItems;
using pellucor::PropertyKind;
using pellucor::TcdSettings;

namespace {

using Values = std::map<std::string, std::string>;

// A settings object whose every property holds a value no preset writes, so any write shows.
std::unique_ptr<TcdSettings> marked()
{
    auto s = std::make_unique<TcdSettings>();
    for (int p = 4; p < s->PublishedPropertyCount(); ++p) {  // the base's own four stay as they are
        switch (s->PublishedProperty(p).kind) {
        case PropertyKind::String: s->setPropertyText(p, "untouched"); break;
        case PropertyKind::Integer: s->setPropertyText(p, "-77"); break;
        case PropertyKind::Boolean: s->setPropertyText(p, "true"); break;
        }
    }
    return s;
}

Values changedProperties(const TcdSettings& s)
{
    Values out;
    for (int p = 4; p < s.PublishedPropertyCount(); ++p) {
        const std::string text = s.propertyText(p);
        if (text != "untouched" && text != "-77" && text != "true") out[std::string(s.PublishedPropertyName(p))] = text;
    }
    return out;
}

Values merge(Values common, const Values& row)
{
    common.insert(row.begin(), row.end());
    return common;
}

struct PresetCase {
    int format;
    int item;
    Values expected;
};

std::vector<PresetCase> expectedPresets()
{
    std::vector<PresetCase> cases;
    const Values mpeg = {{"MPEGAudioCodec", "MP2"}, {"MPEGAudioBitrate", "224"}, {"MPEGAudioChannels", "Stereo"}};
    const char* mpegColumns[] = {"MPEGFrameSize", "MPEGAspectRatio", "MPEGTragetBitrate", "MPEGFrameRate",
                                 "MPEGCompression", "MPEGAudioFrequency", "MPEGWidth", "MPEGHeight", "MPEGConstraint"};
    const std::vector<std::vector<const char*>> mpegRows = {
        {"Original", "1:1", "1150", "29.97", "MPEG1", "44100", "0", "0", "NTSC"},
        {"Original", "1:1", "2376", "29.97", "MPEG2", "44100", "0", "0", "NTSC"},  // MPEG2 as its name says
        {"720*480", "1:1", "4000", "29.97", "MPEG2", "48000", "720", "480", "NTSC"},
        {"720*576", "1:1", "4000", "25", "MPEG2", "48000", "720", "576", "PAL"},
        {"480*480", "4:3", "2376", "29.97", "MPEG2", "44100", "480", "480", "NTSC"},
        {"480*576", "4:3", "2048", "25", "MPEG2", "44100", "480", "576", "PAL"},
        {"352*240", "4:3", "1150", "29.97", "MPEG1", "44100", "352", "240", "NTSC"},  // a VCD is MPEG-1
        {"352*288", "4:3", "1150", "25", "MPEG1", "44100", "352", "288", "PAL"},      // VCD PAL is PAL
    };
    const Values mp4 = {{"MP4Compression", "MPEG4"}, {"MP4AudioCodec", "AAC"}, {"MP4AudioBitrate", "128"},
                        {"MP4AudioChannels", "Stereo"}, {"MP4AudioFrequency", "48000"}};
    const char* mp4Columns[] = {"MP4FrameSize", "MP4AspectRatio", "MP4TragetBitrate", "MP4FrameRate",
                                "MP4Width", "MP4Height", "MP4constraint"};
    const std::vector<std::vector<const char*>> mp4Rows = {
        {"640*480", "1:1", "1150", "30", "640", "480", "NTSC"},
        {"320*240", "1:1", "1150", "24", "320", "240", "PAL"},
        {"320*240", "4:3", "768", "24", "320", "240", "iPod"},
        {"320*240", "4:3", "768", "24", "320", "240", "iPod Nano"},
    };
    const Values wmv = {{"WMVAudioFormat1", "0"}, {"WMVAudioFormat2", "6"}, {"WMVAudioFormat3", "0"},
                        {"WMVPeakBitrate", "6000"}, {"WMVAudioPeakBitrate", "384"},
                        {"G_WMVAudioCodec", "Windows Media Audio 9.2"},
                        {"G_WMVAudioFormat", "128 kbps, 44 kHz, stereo CBR"},
                        {"G_WMVVedioCodec", "Windows Media Video 9"}};
    const char* wmvColumns[] = {"WMVFrameSize", "WMVTragetBitrate", "WMVFramerate", "WMVWidth", "WMVHeight", "WMVVedioMode"};
    const std::vector<std::vector<const char*>> wmvRows = {
        {"320*240", "512", "29.97", "320", "240", "0"},  {"640*480", "1150", "30", "640", "480", "0"},
        {"320*240", "1150", "29.97", "320", "240", "1"}, {"640*480", "1150", "29.97", "640", "480", "1"},
        {"640*480", "1150", "29.97", "640", "480", "2"}, {"320*240", "786", "29.97", "320", "240", "0"},
    };
    const Values flv = {{"FLVFrameSize", "Original"}, {"FLVAspectRatio", "1:1"}, {"FLVFrameRate", "25"},
                        {"FLVCompression", "Flash Vedio"}, {"FLVAudioCodec", "MP3"}, {"FLVAudioChannels", "Stereo"},
                        {"FLVWidth", "0"}, {"FLVHeight", "0"}, {"FLVConstraint", "PAL"}};
    const char* flvColumns[] = {"FLVTragetBitrate", "FLVAudioBitrate", "FLVAudioFrequency"};
    const std::vector<std::vector<const char*>> flvRows = {
        {"768", "256", "44100"}, {"512", "128", "22050"}, {"256", "64", "22050"}, {"128", "64", "11025"}};
    const Values mov = {{"MOVFrameRate", "25"}, {"MOVCompression", "MPEG4"}, {"MOVAudioChannels", "Stereo"},
                        {"MOVconstraint", "PAL"}};
    const char* movColumns[] = {"MOVFrameSize", "MOVAspectRatio", "MOVTragetBitrate", "MOVAudioCodec",
                                "MOVAudioBitrate", "MOVAudioFrequency", "MOVWidth", "MOVHeight"};
    const std::vector<std::vector<const char*>> movRows = {
        {"640*480", "4:3", "1150", "AAC", "128", "48000", "640", "480"},
        {"352*288", "1:1", "1150", "MP3", "128", "44100", "352", "288"},
        {"Original", "1:1", "1150", "MP3", "112", "44100", "0", "0"},
        {"176*144", "1:1", "1024", "MP3", "128", "44100", "176", "144"},
        {"Original", "1:1", "768", "MP3", "96", "44100", "0", "0"},
    };
    const Values mp3 = {{"MP3Channels", "Stereo"}};
    const char* mp3Columns[] = {"MP3Bitrate", "MP3Samplerate"};
    const std::vector<std::vector<const char*>> mp3Rows = {{"8", "44100"}, {"8", "48000"}, {"16", "44100"}, {"16", "48000"}};

    auto add = [&](int format, const Values& common, const char* const* columns,
                   const std::vector<std::vector<const char*>>& rows) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            Values row;
            for (std::size_t c = 0; c < rows[i].size(); ++c) row[columns[c]] = rows[i][c];
            cases.push_back({format, static_cast<int>(i), merge(common, row)});
        }
    };
    add(0, mpeg, mpegColumns, mpegRows);
    add(1, mp4, mp4Columns, mp4Rows);
    add(2, wmv, wmvColumns, wmvRows);
    add(3, flv, flvColumns, flvRows);
    add(4, mov, movColumns, movRows);
    add(5, mp3, mp3Columns, mp3Rows);
    return cases;
}

TEST(Presets, EveryRowWritesExactlyItsValues)
{
    const auto cases = expectedPresets();
    ASSERT_EQ(cases.size(), 8u + 4u + 6u + 4u + 5u + 4u);
    for (const PresetCase& c : cases) {
        auto s = marked();
        ApplyPreset(*s, c.format, c.item);
        EXPECT_EQ(changedProperties(*s), c.expected) << "format " << c.format << " item " << c.item;
    }
}

TEST(Presets, ListsCountsAndCustomItems)
{
    const int counts[] = {8, 4, 6, 4, 5, 4};
    const char* custom[] = {"[Custom MPEG]", "[Custom MP4]", "[Custom WMV]", "[Custom FLV]", "[Custom MOV]", "[Custom MP3]"};
    for (int f = 0; f < 6; ++f) {
        EXPECT_EQ(PresetCount(f), counts[f]) << f;
        ASSERT_EQ(PresetItems(f).size(), static_cast<std::size_t>(counts[f] + 1)) << f;
        EXPECT_EQ(PresetItems(f).back(), custom[f]);
    }
    EXPECT_EQ(PresetItems(0)[3], "DVD PAL compatible(MPEG2, 4000kbps, 25fps, 720*576)");
    EXPECT_EQ(PresetItems(1)[3], "MPEG-4 iPod Nano - Normal Quality(iPod Nano, 24kbps, 320*240  iPod Nano Standard)");
    EXPECT_EQ(PresetItems(5)[2], "Nomal Quality -MP3:44100 Hz, Stereo, 16bit");
    EXPECT_EQ(PresetCount(6), 0);
    EXPECT_EQ(PresetCount(-1), 0);
    EXPECT_TRUE(PresetItems(6).empty());
}

TEST(Presets, TheCustomItemNoSelectionAndNonsenseWriteNothing)
{
    const std::vector<std::pair<int, int>> cases = {{0, 8}, {1, 4}, {2, 6}, {3, 4}, {4, 5}, {5, 4},
                                                    {0, -1}, {2, 99}, {6, 0}, {-1, 0}};
    for (const auto& [format, item] : cases) {
        auto s = marked();
        ApplyPreset(*s, format, item);
        EXPECT_TRUE(changedProperties(*s).empty()) << "format " << format << " item " << item;
    }
}

TEST(Presets, TheFirstPresetsOfMpegFlvAndMp3AreTheDefaults)
{
    for (int format : {0, 3, 5}) {
        TcdSettings defaults;
        TcdSettings applied;
        ApplyPreset(applied, format, 0);
        for (int p = 0; p < defaults.PublishedPropertyCount(); ++p)
            EXPECT_EQ(applied.propertyText(p), defaults.propertyText(p)) << format << " " << defaults.PublishedPropertyName(p);
    }
    TcdSettings mp4;
    ApplyPreset(mp4, 1, 0);
    EXPECT_EQ(mp4.MP4AudioCodec, "AAC") << "MP4's defaults are not its first preset";
}

TEST(Presets, AWmvPresetKeepsTheEditorsListPositions)
{
    TcdSettings s;
    s.WMVAudioCodec = 2;
    s.G_WMVAudioCodec = "Windows Media Audio 10 Professional";
    s.WMVTVFormat = 1;
    s.WMVVedioCodec = 0;
    ApplyPreset(s, 2, 3);
    EXPECT_EQ(s.G_WMVAudioCodec, "Windows Media Audio 9.2");
    EXPECT_EQ(s.WMVAudioCodec, 2);
    EXPECT_EQ(s.WMVTVFormat, 1);
    EXPECT_EQ(s.WMVVedioCodec, 0);
}

} // namespace
