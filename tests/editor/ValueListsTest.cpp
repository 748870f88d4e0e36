// The editor's value lists, the eight lookups with their fallbacks, the single-list rules and
// the frame-size split.
#include "editor/PageLists.h"
#include "editor/ValueLists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace pellucor::editor {
namespace {

std::vector<std::string> split(const std::string& joined)
{
    std::vector<std::string> out;
    std::stringstream in(joined);
    for (std::string piece; std::getline(in, piece, '|');) out.push_back(piece);
    return out;
}

std::vector<std::string> strings(ValueList list) { return {list.begin(), list.end()}; }

// The lists as the users know them; written out here once more, so a slip in either place shows.
TEST(ValueLists, HoldTheSettingsValuesInTheirOrder)
{
    struct Case {
        const char* name;
        ValueList list;
        const char* entries;
    };
    const Case cases[] = {
        {"frame sizes", FrameSizes(),
         "80*60|96*72|128*96|160*120|176*96|176*120|176*144|192*144|208*160|240*176|240*180|"
         "320*176|320*180|320*192|320*200|320*240|352*240|352*288|368*208|384*160|400*192|"
         "416*176|480*160|480*272|480*480|480*576|512*384|640*360|640*480|720*432|720*480|"
         "720*576|800*450|800*600|960*540|960*720|1024*576|1024*768|1024*1080|1280*720|"
         "1280*960|1440*1080|Original"},
        {"aspect ratios", AspectRatios(), "1:1|4:3|16:9|2.21:1"},
        {"video bit rates", VideoBitrates(),
         "128|256|512|768|1024|1150|2048|2376|2500|3000|3500|4000|4500|5000|8000|9000|10000|"
         "11000|12000|15000"},
        {"frame rates", FrameRates(), "23.979|24|25|29.97|30|50|59.94|60"},
        {"audio codecs", AudioCodecs(), "None|MP3|MP2|PCM|AAC|AC3|WAV"},
        {"audio bit rates", AudioBitrates(), "64|96|112|128|160|192|224|256|320"},
        {"sample rates", SampleRates(), "48000|44100|32000|24000|22050|16000|12000|11025|8000"},
        {"constraints", Constraints(), "None|PAL|NTSC|iPod|iPod Nano|iPhone|Film|HD"},
        {"channels", Channels(), "Mono|Stereo"},
        {"MPEG compression", MpegCompressions(), "MPEG1|MPEG2"},
        {"MP4 compression", Mp4Compressions(), "MPEG4"},
        {"FLV compression", FlvCompressions(), "Flash Video"},
        {"FLV constraint", FlvConstraints(), "PAL"},
        {"MP3 bits", Mp3Bits(), "8|16"},
        {"WMV modes", WmvModes(), "CBR|VBR|VBR(Peak)"},
        {"WMV TV formats", WmvTvFormats(), "PAL|NTSC|Other"},
        {"WMV video codecs", WmvVideoCodecs(), "Windows Media Video 9 Screen|Windows Media Video 9"},
        {"WMV audio codecs", WmvAudioCodecs(),
         "Windows Media Audio Voice 9|Windows Media Audio 9.2|Windows Media Audio 10 Professional"},
        {"WMV voice formats", WmvAudioFormats1(),
         "4 kbps, 8 kHz, mono|8 kbps, 8 kHz, mono|16 kbps, 16 kHz, mono|20 kbps, 22.05 kHz, mono"},
        {"WMV 9.2 formats", WmvAudioFormats2(),
         "  8 kbps,  8 kHz, mono CBR| 12 kbps,  8 kHz, stereo CBR| 20 kbps, 16 kHz, stereo CBR|"
         " 32 kbps, 22 kHz, stereo CBR| 48 kbps, 32 kHz, stereo CBR| 96 kbps, 44 kHz, stereo CBR|"
         "128 kbps, 44 kHz, stereo CBR|192 kbps, 48 kHz, stereo CBR"},
        {"WMV 10 Professional formats", WmvAudioFormats3(),
         " 32 kbps, 32 kHz, 2 channel 16 bit CBR| 48 kbps, 44 kHz, 2 channel 16 bit CBR|"
         " 64 kbps, 44 kHz, 2 channel 16 bit CBR| 96 kbps, 44 kHz, 2 channel 16 bit CBR|"
         "128 kbps, 44 kHz, 2 channel 24 bit CBR|192 kbps, 44 kHz, 2 channel 24 bit CBR"},
    };
    for (const Case& c : cases) EXPECT_EQ(strings(c.list), split(c.entries)) << c.name;
}

// The WMV list is the master list without "Original", with 512*384 moved before 480*576 and the
// two 1280 sizes before 1024*1080.
TEST(ValueLists, WmvFrameSizesFollowTheirOwnOrder)
{
    std::vector<std::string> expected = strings(FrameSizes());
    expected.pop_back();
    const auto at = [&](const char* size) {
        return std::find(expected.begin(), expected.end(), size);
    };
    std::iter_swap(at("480*576"), at("512*384"));
    std::rotate(at("1024*1080"), at("1280*720"), at("1440*1080"));
    EXPECT_EQ(strings(WmvFrameSizes()), expected);

    struct Case {
        const char* text;
        int position;
    };
    const Case cases[] = {{"480*576", 26},   {"512*384", 25},  {"1024*1080", 40},
                          {"1280*720", 38},  {"1440*1080", 41}, {"80*60", 0},
                          {"Original", -1},  {"320*240 ", -1},  {"", -1}};
    for (const Case& c : cases)
        EXPECT_EQ(WmvFrameSizePosition(c.text), c.position) << '"' << c.text << '"';
}

TEST(ValueLists, LookupsCompareExactlyAndFallBack)
{
    using Lookup = int (*)(std::string_view);
    struct Case {
        const char* lookup;
        Lookup fn;
        const char* text;
        int position;
    };
    const Case cases[] = {
        {"FrameSizeIndex", FrameSizeIndex, "80*60", 0},
        {"FrameSizeIndex", FrameSizeIndex, "480*576", 25},
        {"FrameSizeIndex", FrameSizeIndex, "1024*1080", 38},
        {"FrameSizeIndex", FrameSizeIndex, "1440*1080", 41},
        {"FrameSizeIndex", FrameSizeIndex, "Original", 42},
        {"FrameSizeIndex", FrameSizeIndex, "original", 42},
        {"FrameSizeIndex", FrameSizeIndex, "720*576 ", 42},
        {"FrameSizeIndex", FrameSizeIndex, "720x576", 42},
        {"FrameSizeIndex", FrameSizeIndex, "", 42},
        {"AspectRatioIndex", AspectRatioIndex, "1:1", 0},
        {"AspectRatioIndex", AspectRatioIndex, "16:9", 2},
        {"AspectRatioIndex", AspectRatioIndex, "2.21:1", 3},
        {"AspectRatioIndex", AspectRatioIndex, "16:10", 0},
        {"VideoBitrateIndex", VideoBitrateIndex, "128", 0},
        {"VideoBitrateIndex", VideoBitrateIndex, "2376", 7},
        {"VideoBitrateIndex", VideoBitrateIndex, "15000", 19},
        {"VideoBitrateIndex", VideoBitrateIndex, "2000", 5},
        {"VideoBitrateIndex", VideoBitrateIndex, " 128", 5},
        {"VideoBitrateIndex", VideoBitrateIndex, "786", 5},
        {"FrameRateIndex", FrameRateIndex, "23.979", 0},
        {"FrameRateIndex", FrameRateIndex, "25", 2},
        {"FrameRateIndex", FrameRateIndex, "60", 7},
        {"FrameRateIndex", FrameRateIndex, "29,97", 3},
        {"FrameRateIndex", FrameRateIndex, "25.0", 3},
        {"AudioCodecIndex", AudioCodecIndex, "None", 0},
        {"AudioCodecIndex", AudioCodecIndex, "AAC", 4},
        {"AudioCodecIndex", AudioCodecIndex, "WAV", 6},
        {"AudioCodecIndex", AudioCodecIndex, "mp3", 2},
        {"AudioBitrateIndex", AudioBitrateIndex, "64", 0},
        {"AudioBitrateIndex", AudioBitrateIndex, "256", 7},
        {"AudioBitrateIndex", AudioBitrateIndex, "320", 8},
        {"AudioBitrateIndex", AudioBitrateIndex, "7", 6},
        {"SampleRateIndex", SampleRateIndex, "48000", 0},
        {"SampleRateIndex", SampleRateIndex, "8000", 8},
        {"SampleRateIndex", SampleRateIndex, "44.1", 1},
        {"ConstraintIndex", ConstraintIndex, "None", 0},
        {"ConstraintIndex", ConstraintIndex, "iPod Nano", 4},
        {"ConstraintIndex", ConstraintIndex, "HD", 7},
        {"ConstraintIndex", ConstraintIndex, "ipod", 0},
        {"ConstraintIndex", ConstraintIndex, "NTSC ", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.fn(c.text), c.position) << c.lookup << "(\"" << c.text << "\")";
}

TEST(ValueLists, SingleListRules)
{
    using Rule = int (*)(std::string_view);
    struct Case {
        const char* rule;
        Rule fn;
        const char* text;
        int position;
    };
    const Case cases[] = {
        {"channels", ChannelPosition, "Mono", 0},
        {"channels", ChannelPosition, "Stereo", 1},
        {"channels", ChannelPosition, "stereo", -1},
        {"channels", ChannelPosition, "", -1},
        {"MP3 channels", Mp3ChannelPosition, "Mono", 0},
        {"MP3 channels", Mp3ChannelPosition, "Stereo", 1},
        {"MP3 channels", Mp3ChannelPosition, "", 1},
        {"MP3 channels", Mp3ChannelPosition, "mono", 1},
        {"MP3 bits", Mp3BitsPosition, "8", 0},
        {"MP3 bits", Mp3BitsPosition, "16", 1},
        {"MP3 bits", Mp3BitsPosition, "24", -1},
        {"MP3 bits", Mp3BitsPosition, "", -1},
        {"MPEG compression", MpegCompressionPosition, "MPEG1", 0},
        {"MPEG compression", MpegCompressionPosition, "MPEG2", 1},
        {"MPEG compression", MpegCompressionPosition, "mpeg1", 1},
        {"MPEG compression", MpegCompressionPosition, "", 1},
        {"MPEG compression", MpegCompressionPosition, "MPEG4", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.fn(c.text), c.position) << c.rule << " \"" << c.text << '"';
}

TEST(ValueLists, PositionsOutsideAListSelectNothing)
{
    struct Case {
        const char* name;
        int got;
        int expected;
    };
    const Case cases[] = {
        {"stored 0 of 3", StoredPosition(0, 3), 0},
        {"stored 2 of 3", StoredPosition(2, 3), 2},
        {"stored 3 of 3", StoredPosition(3, 3), -1},
        {"stored -1", StoredPosition(-1, 3), -1},
        {"stored INT_MIN", StoredPosition(INT32_MIN, 3), -1},
        {"page 5 of 6", PagePosition(5, kFlvVideoBitrateCount), 5},
        {"page 6 of 6", PagePosition(6, kFlvVideoBitrateCount), -1},
        {"page 6 of 4", PagePosition(6, kMp4MovAudioBitrateCount), -1},
        {"page 3 of 4", PagePosition(3, kMp4MovAudioBitrateCount), 3},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.expected) << c.name;
}

TEST(ValueLists, SplitFrameSize)
{
    struct Case {
        const char* text;
        std::optional<FrameSizeSplit> split;
    };
    const Case cases[] = {
        {"720*576", FrameSizeSplit{"720", "576"}},
        {"Original", FrameSizeSplit{"0", "0"}},
        {"480*480", FrameSizeSplit{"480", "480"}},
        {"1440*1080", FrameSizeSplit{"1440", "1080"}},
        {"80*60", FrameSizeSplit{"80", "60"}},
        {"1024*1080", FrameSizeSplit{"1024", "1080"}},
        {"", std::nullopt},
        {"original", std::nullopt},
        {"720x576", std::nullopt},
        {"100*100", std::nullopt},
        {" 720*576", std::nullopt},
        {"*", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitFrameSize(c.text), c.split) << '"' << c.text << '"';
}

TEST(PageLists, ShorterPageListsAreTheFirstMasterEntries)
{
    EXPECT_EQ(strings(PageListItems("cbbflvbitrate")), split("128|256|512|768|1024|1150"));
    EXPECT_EQ(strings(PageListItems("cbbmp4audiobitrate")), split("64|96|112|128"));
    EXPECT_EQ(strings(PageListItems("cbbmovbitrate")), split("64|96|112|128"));
    EXPECT_EQ(strings(PageListItems("cbbflvaudiobitrate")), strings(AudioBitrates()));
    EXPECT_EQ(strings(PageListItems("cbbwmvframesize")), strings(WmvFrameSizes()));
    EXPECT_TRUE(PageListItems("edtWidth").empty());
    EXPECT_TRUE(PageListItems("cbbframesize").empty()) << "names compare exactly";
}

TEST(PageLists, CaptionsAndPagesByFormat)
{
    const char* captions[] = {"Edit MPEG Profiles", "Edit MP4 Profiles", "Edit WMV Profiles",
                              "Edit FLV Profiles",  "Edit MOV Profiles", "Edit MP3 Profiles"};
    const char* pages[] = {"tsMPEG", "tsMP4", "tsWMV", "tsFLV", "tsMOV", "tsMP3"};
    for (int format = 0; format < kFormatCount; ++format) {
        EXPECT_EQ(EditCaption(format), captions[format]) << format;
        EXPECT_EQ(PageName(format), pages[format]) << format;
    }
    EXPECT_EQ(EditCaption(6), "");
    EXPECT_EQ(PageName(-1), "");
}

} // namespace
} // namespace pellucor::editor
