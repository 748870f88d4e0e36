// The page rules without widgets: filling a page from the settings, the two WMV rules, and OK's
// write-back in order.
#include "PageTables.h"
#include "TablePage.h"

#include "editor/ProfilePage.h"
#include "settings/Presets.h"
#include "settings/cdSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <ostream>
#include <set>

namespace pellucor::editor {

void PrintTo(const PropertyWrite& write, std::ostream* out)
{
    *out << write.property << '=';
    if (const auto* text = std::get_if<std::string>(&write.value))
        *out << '"' << *text << '"';
    else
        *out << std::get<std::int32_t>(write.value);
}

namespace {

using test::TablePage;
using Store = std::function<void(TcdSettings&)>;
using namespace std::string_literals;

struct FillCase {
    const char* name;
    int format;
    Store store;
    const char* list;
    int position;
};

TEST(FillPage, SelectsByEachListsRule)
{
    const FillCase cases[] = {
        {"MPEG Original", 0, [](TcdSettings& s) { s.MPEGFrameSize = "Original"; }, "cbbFrameSize", 42},
        {"MPEG original in lower case falls back", 0, [](TcdSettings& s) { s.MPEGFrameSize = "original"; }, "cbbFrameSize", 42},
        {"MPEG 720*576", 0, [](TcdSettings& s) { s.MPEGFrameSize = "720*576"; }, "cbbFrameSize", 31},
        {"MPEG aspect 16:9", 0, [](TcdSettings& s) { s.MPEGAspectRatio = "16:9"; }, "cbbAspectRatio", 2},
        {"MPEG bit rate 2000 falls back to 1150", 0, [](TcdSettings& s) { s.MPEGTragetBitrate = "2000"; }, "cbbBitRate", 5},
        {"MPEG bit rate 2376", 0, [](TcdSettings& s) { s.MPEGTragetBitrate = "2376"; }, "cbbBitRate", 7},
        {"MPEG unknown frame rate falls back to 29.97", 0, [](TcdSettings& s) { s.MPEGFrameRate = "31"; }, "cbbmpegframerate", 3},
        {"MPEG compression MPEG1", 0, [](TcdSettings& s) { s.MPEGCompression = "MPEG1"; }, "cbbmpegkcompression", 0},
        {"MPEG compression mpeg1", 0, [](TcdSettings& s) { s.MPEGCompression = "mpeg1"; }, "cbbmpegkcompression", 1},
        {"MPEG compression empty", 0, [](TcdSettings& s) { s.MPEGCompression = ""; }, "cbbmpegkcompression", 1},
        {"MPEG compression MPEG4", 0, [](TcdSettings& s) { s.MPEGCompression = "MPEG4"; }, "cbbmpegkcompression", 1},
        {"MPEG constraint iPhone", 0, [](TcdSettings& s) { s.MPEGConstraint = "iPhone"; }, "cbbmpegconstraint", 5},
        {"MPEG constraint empty falls back to None", 0, [](TcdSettings& s) { s.MPEGConstraint = ""; }, "cbbmpegconstraint", 0},
        {"MPEG codec AC3", 0, [](TcdSettings& s) { s.MPEGAudioCodec = "AC3"; }, "cbbmpegcodec", 5},
        {"MPEG codec unknown falls back to MP2", 0, [](TcdSettings& s) { s.MPEGAudioCodec = "OGG"; }, "cbbmpegcodec", 2},
        {"MPEG audio bit rate 320", 0, [](TcdSettings& s) { s.MPEGAudioBitrate = "320"; }, "cbbAudioBitrate", 8},
        {"MPEG channels Mono", 0, [](TcdSettings& s) { s.MPEGAudioChannels = "Mono"; }, "cbbAudioChannels", 0},
        {"MPEG channels Stereo", 0, [](TcdSettings& s) { s.MPEGAudioChannels = "Stereo"; }, "cbbAudioChannels", 1},
        {"MPEG channels stereo in lower case", 0, [](TcdSettings& s) { s.MPEGAudioChannels = "stereo"; }, "cbbAudioChannels", -1},
        {"MPEG channels empty", 0, [](TcdSettings& s) { s.MPEGAudioChannels = ""; }, "cbbAudioChannels", -1},
        {"MPEG sample rate 22050", 0, [](TcdSettings& s) { s.MPEGAudioFrequency = "22050"; }, "cbbSampleRate", 4},
        {"MP4 Original", 1, [](TcdSettings& s) { s.MP4FrameSize = "Original"; }, "cbbmp4framesize", 42},
        {"MP4 audio bit rate 256 is past the four entries", 1, [](TcdSettings& s) { s.MP4AudioBitrate = "256"; }, "cbbmp4audiobitrate", -1},
        {"MP4 audio bit rate 7 falls back past the four entries", 1, [](TcdSettings& s) { s.MP4AudioBitrate = "7"; }, "cbbmp4audiobitrate", -1},
        {"MP4 audio bit rate 128", 1, [](TcdSettings& s) { s.MP4AudioBitrate = "128"; }, "cbbmp4audiobitrate", 3},
        {"MP4 compression is always MPEG4", 1, [](TcdSettings& s) { s.MP4Compression = "H264"; }, "cbbmp4compression", 0},
        {"MP4 constraint iPod", 1, [](TcdSettings& s) { s.MP4constraint = "iPod"; }, "cbbmp4constraint", 3},
        {"MP4 channels Mono", 1, [](TcdSettings& s) { s.MP4AudioChannels = "Mono"; }, "cbbmp4channels", 0},
        {"MP4 frame rate 30", 1, [](TcdSettings& s) { s.MP4FrameRate = "30"; }, "cbbmp4framerate", 4},
        {"WMV Original is not in its list", 2, [](TcdSettings& s) { s.WMVFrameSize = "Original"; }, "cbbwmvframesize", -1},
        {"WMV 480*576 is its 27th entry", 2, [](TcdSettings& s) { s.WMVFrameSize = "480*576"; }, "cbbwmvframesize", 26},
        {"WMV 1024*1080 is its 41st entry", 2, [](TcdSettings& s) { s.WMVFrameSize = "1024*1080"; }, "cbbwmvframesize", 40},
        {"WMV 320*240", 2, [](TcdSettings& s) { s.WMVFrameSize = "320*240"; }, "cbbwmvframesize", 15},
        {"WMV mode 2", 2, [](TcdSettings& s) { s.WMVVedioMode = 2; }, "cbbwmvmode", 2},
        {"WMV mode 7", 2, [](TcdSettings& s) { s.WMVVedioMode = 7; }, "cbbwmvmode", -1},
        {"WMV mode -1", 2, [](TcdSettings& s) { s.WMVVedioMode = -1; }, "cbbwmvmode", -1},
        {"WMV TV format 1", 2, [](TcdSettings& s) { s.WMVTVFormat = 1; }, "cbbformat", 1},
        {"WMV TV format 3", 2, [](TcdSettings& s) { s.WMVTVFormat = 3; }, "cbbformat", -1},
        {"WMV bit rate 786 falls back", 2, [](TcdSettings& s) { s.WMVTragetBitrate = "786"; }, "cbbwmvvediobitrate", 5},
        {"WMV frame rate 25", 2, [](TcdSettings& s) { s.WMVFramerate = "25"; }, "cbbwmvframerate", 2},
        {"WMV video codec 0", 2, [](TcdSettings& s) { s.WMVVedioCodec = 0; }, "cbbwmvcompression", 0},
        {"WMV video codec 2", 2, [](TcdSettings& s) { s.WMVVedioCodec = 2; }, "cbbwmvcompression", -1},
        {"WMV audio codec 0", 2, [](TcdSettings& s) { s.WMVAudioCodec = 0; }, "cbbaudioCodec", 0},
        {"WMV audio codec 5", 2, [](TcdSettings& s) { s.WMVAudioCodec = 5; }, "cbbaudioCodec", -1},
        {"WMV voice format 3", 2, [](TcdSettings& s) { s.WMVAudioFormat1 = 3; }, "cbbWMVFormat1", 3},
        {"WMV voice format 4", 2, [](TcdSettings& s) { s.WMVAudioFormat1 = 4; }, "cbbWMVFormat1", -1},
        {"WMV 9.2 format 7", 2, [](TcdSettings& s) { s.WMVAudioFormat2 = 7; }, "cbbWMVFormat2", 7},
        {"WMV 9.2 format 8", 2, [](TcdSettings& s) { s.WMVAudioFormat2 = 8; }, "cbbWMVFormat2", -1},
        {"WMV 10 Pro format 5", 2, [](TcdSettings& s) { s.WMVAudioFormat3 = 5; }, "cbbWMVFormat3", 5},
        {"WMV 10 Pro format 6", 2, [](TcdSettings& s) { s.WMVAudioFormat3 = 6; }, "cbbWMVFormat3", -1},
        {"FLV bit rate 2048 is past the six entries", 3, [](TcdSettings& s) { s.FLVTragetBitrate = "2048"; }, "cbbflvbitrate", -1},
        {"FLV bit rate 3 falls back to 1150", 3, [](TcdSettings& s) { s.FLVTragetBitrate = "3"; }, "cbbflvbitrate", 5},
        {"FLV bit rate 768", 3, [](TcdSettings& s) { s.FLVTragetBitrate = "768"; }, "cbbflvbitrate", 3},
        {"FLV compression is always Flash Video", 3, [](TcdSettings& s) { s.FLVCompression = "Flash Vedio"; }, "cbbflvcompression", 0},
        {"FLV constraint is always PAL", 3, [](TcdSettings& s) { s.FLVConstraint = "NTSC"; }, "cbbflvconstraint", 0},
        {"FLV audio bit rate 256", 3, [](TcdSettings& s) { s.FLVAudioBitrate = "256"; }, "cbbflvaudiobitrate", 7},
        {"FLV Original", 3, [](TcdSettings& s) { s.FLVFrameSize = "Original"; }, "cbbflvframesize", 42},
        {"FLV channels stereo in lower case", 3, [](TcdSettings& s) { s.FLVAudioChannels = "stereo"; }, "cbbflvchannels", -1},
        {"MOV audio bit rate 320 is past the four entries", 4, [](TcdSettings& s) { s.MOVAudioBitrate = "320"; }, "cbbmovbitrate", -1},
        {"MOV audio bit rate 96", 4, [](TcdSettings& s) { s.MOVAudioBitrate = "96"; }, "cbbmovbitrate", 1},
        {"MOV compression is always MPEG4", 4, [](TcdSettings& s) { s.MOVCompression = ""; }, "cbbmovvediocompression", 0},
        {"MOV 176*144", 4, [](TcdSettings& s) { s.MOVFrameSize = "176*144"; }, "cbbmovframesize", 6},
        {"MOV constraint Film", 4, [](TcdSettings& s) { s.MOVconstraint = "Film"; }, "cbbmovconstraint", 6},
        {"MOV channels Mono", 4, [](TcdSettings& s) { s.MOVAudioChannels = "Mono"; }, "cbbmovchannels", 0},
        {"MP3 bits 24", 5, [](TcdSettings& s) { s.MP3Bitrate = "24"; }, "cbbMP3BitRate", -1},
        {"MP3 bits 16", 5, [](TcdSettings& s) { s.MP3Bitrate = "16"; }, "cbbMP3BitRate", 1},
        {"MP3 bits 8", 5, [](TcdSettings& s) { s.MP3Bitrate = "8"; }, "cbbMP3BitRate", 0},
        {"MP3 channels empty selects Stereo", 5, [](TcdSettings& s) { s.MP3Channels = ""; }, "cbbMP3Channels", 1},
        {"MP3 channels Mono", 5, [](TcdSettings& s) { s.MP3Channels = "Mono"; }, "cbbMP3Channels", 0},
        {"MP3 sample rate 44.1 falls back", 5, [](TcdSettings& s) { s.MP3Samplerate = "44.1"; }, "cbbMP3SampleRate", 1},
        {"MP3 sample rate 48000", 5, [](TcdSettings& s) { s.MP3Samplerate = "48000"; }, "cbbMP3SampleRate", 0},
    };
    for (const FillCase& c : cases) {
        TcdSettings settings;
        c.store(settings);
        TablePage page;
        FillPage(c.format, settings, page);
        EXPECT_EQ(page.position(c.list), c.position) << c.name;
    }
}

TEST(FillPage, TouchesOnlyItsOwnPageAndLeavesTheSizeFieldsEmpty)
{
    for (const test::PageTable& table : test::PageTables()) {
        TcdSettings settings;
        TablePage page;
        FillPage(table.format, settings, page);
        const std::set<std::string> own(table.tabOrder.begin(), table.tabOrder.end());
        for (const std::string& touched : page.touched())
            EXPECT_TRUE(own.count(touched)) << table.page << " touched " << touched;
        for (const std::string& control : table.tabOrder) {
            const bool sizeField = control.rfind("edt", 0) == 0 && control.find("eak") == std::string::npos;
            if (sizeField)
                EXPECT_FALSE(page.touched().count(control)) << table.page << " filled " << control;
            else
                EXPECT_TRUE(page.touched().count(control)) << table.page << " left " << control;
        }
    }
}

TEST(FillPage, WmvPeakFieldAndVisibleFormatList)
{
    struct Case {
        const char* name;
        std::int32_t mode;
        std::int32_t codec;
        bool peakEnabled;
        const char* visibleList; // nullptr: as creation left them
    };
    const Case cases[] = {
        {"VBR(Peak), voice", 2, 0, true, "cbbWMVFormat1"},
        {"VBR, 10 Professional", 1, 2, false, "cbbWMVFormat3"},
        {"CBR, 9.2", 0, 1, false, "cbbWMVFormat2"},
        {"unknown mode, unknown codec", 7, 5, false, nullptr},
        {"no mode, codec -1", -1, -1, false, nullptr},
    };
    for (const Case& c : cases) {
        TcdSettings settings;
        settings.WMVVedioMode = c.mode;
        settings.WMVAudioCodec = c.codec;
        settings.WMVPeakBitrate = "12a";
        settings.WMVAudioPeakBitrate = "";
        settings.WMVAudioFormat1 = 3;
        settings.WMVAudioFormat2 = 7;
        settings.WMVAudioFormat3 = 5;
        TablePage page;
        FillPage(2, settings, page);
        EXPECT_EQ(page.enabled("edtPeakbitrate"), c.peakEnabled) << c.name;
        EXPECT_EQ(page.text("edtPeakbitrate"), "12a") << c.name;
        EXPECT_EQ(page.text("edtauPeakbitrate"), "") << c.name;
        for (const char* list : {"cbbWMVFormat1", "cbbWMVFormat2", "cbbWMVFormat3"}) {
            if (c.visibleList)
                EXPECT_EQ(page.visible(list), std::string(list) == c.visibleList) << c.name << ' ' << list;
            else
                EXPECT_FALSE(page.hasVisibility(list)) << c.name << ' ' << list;
        }
        // Opening keeps each format list at its own stored position, shown or not.
        EXPECT_EQ(page.position("cbbWMVFormat1"), 3) << c.name;
        EXPECT_EQ(page.position("cbbWMVFormat2"), 7) << c.name;
        EXPECT_EQ(page.position("cbbWMVFormat3"), 5) << c.name;
    }
}

struct WriteCase {
    const char* name;
    int format;
    std::vector<std::pair<const char*, const char*>> choices; // list, entry
    std::vector<std::pair<const char*, const char*>> typed;   // field, text
    WriteLog expected;
};

TEST(WritePage, StoresThePageInOrder)
{
    const WriteCase cases[] = {
        {"MPEG", 0,
         {{"cbbFrameSize", "720*576"}, {"cbbAspectRatio", "4:3"}, {"cbbBitRate", "4000"},
          {"cbbmpegframerate", "25"}, {"cbbmpegkcompression", "MPEG2"}, {"cbbmpegcodec", "MP2"},
          {"cbbAudioChannels", "Mono"}, {"cbbAudioBitrate", "192"}, {"cbbSampleRate", "48000"},
          {"cbbmpegconstraint", "PAL"}},
         {},
         {{"MPEGFrameSize", "720*576"s}, {"MPEGAspectRatio", "4:3"s}, {"MPEGTragetBitrate", "4000"s},
          {"MPEGFrameRate", "25"s}, {"MPEGCompression", "MPEG2"s}, {"MPEGAudioCodec", "MP2"s},
          {"MPEGAudioChannels", "Mono"s}, {"MPEGAudioBitrate", "192"s},
          {"MPEGAudioFrequency", "48000"s}, {"MPEGWidth", "720"s}, {"MPEGHeight", "576"s},
          {"MPEGConstraint", "PAL"s}}},
        {"MP4 with Original", 1,
         {{"cbbmp4framesize", "Original"}, {"cbbmp4aspectratio", "16:9"},
          {"cbbmp4vediobitrate", "2048"}, {"cbbmp4framerate", "23.979"},
          {"cbbmp4compression", "MPEG4"}, {"cbbmp4audiocodec", "AAC"},
          {"cbbmp4audiobitrate", "96"}, {"cbbmp4channels", "Stereo"},
          {"cbbmp4frequency", "32000"}, {"cbbmp4constraint", "iPod Nano"}},
         {},
         {{"MP4FrameSize", "Original"s}, {"MP4AspectRatio", "16:9"s}, {"MP4TragetBitrate", "2048"s},
          {"MP4FrameRate", "23.979"s}, {"MP4Compression", "MPEG4"s}, {"MP4AudioCodec", "AAC"s},
          {"MP4AudioBitrate", "96"s}, {"MP4AudioChannels", "Stereo"s},
          {"MP4AudioFrequency", "32000"s}, {"MP4Width", "0"s}, {"MP4Height", "0"s},
          {"MP4constraint", "iPod Nano"s}}},
        {"WMV with 10 Professional", 2,
         {{"cbbwmvframesize", "1440*1080"}, {"cbbwmvmode", "VBR(Peak)"}, {"cbbformat", "NTSC"},
          {"cbbwmvvediobitrate", "1150"}, {"cbbwmvframerate", "29.97"},
          {"cbbwmvcompression", "Windows Media Video 9 Screen"},
          {"cbbaudioCodec", "Windows Media Audio 10 Professional"},
          {"cbbWMVFormat1", "16 kbps, 16 kHz, mono"},
          {"cbbWMVFormat2", "  8 kbps,  8 kHz, mono CBR"},
          {"cbbWMVFormat3", " 96 kbps, 44 kHz, 2 channel 16 bit CBR"}},
         {{"edtPeakbitrate", "7000"}, {"edtauPeakbitrate", "256"}},
         {{"WMVFrameSize", "1440*1080"s}, {"WMVVedioMode", 2}, {"WMVPeakBitrate", "7000"s},
          {"WMVTVFormat", 1}, {"WMVTragetBitrate", "1150"s}, {"WMVFramerate", "29.97"s},
          {"WMVVedioCodec", 0}, {"WMVAudioCodec", 2}, {"WMVAudioFormat1", 2},
          {"WMVAudioFormat2", 0}, {"WMVAudioFormat3", 3}, {"WMVAudioPeakBitrate", "256"s},
          {"WMVWidth", "1440"s}, {"WMVHeight", "1080"s},
          {"G_WMVVedioCodec", "Windows Media Video 9 Screen"s},
          {"G_WMVAudioCodec", "Windows Media Audio 10 Professional"s},
          {"G_WMVAudioFormat", " 96 kbps, 44 kHz, 2 channel 16 bit CBR"s}}},
        {"WMV with 9.2 and an empty peak field", 2,
         {{"cbbwmvframesize", "512*384"}, {"cbbwmvmode", "VBR"}, {"cbbformat", "Other"},
          {"cbbwmvvediobitrate", "128"}, {"cbbwmvframerate", "60"},
          {"cbbwmvcompression", "Windows Media Video 9"},
          {"cbbaudioCodec", "Windows Media Audio 9.2"},
          {"cbbWMVFormat1", "4 kbps, 8 kHz, mono"},
          {"cbbWMVFormat2", "  8 kbps,  8 kHz, mono CBR"},
          {"cbbWMVFormat3", "192 kbps, 44 kHz, 2 channel 24 bit CBR"}},
         {{"edtPeakbitrate", ""}, {"edtauPeakbitrate", "384"}},
         {{"WMVFrameSize", "512*384"s}, {"WMVVedioMode", 1}, {"WMVPeakBitrate", ""s},
          {"WMVTVFormat", 2}, {"WMVTragetBitrate", "128"s}, {"WMVFramerate", "60"s},
          {"WMVVedioCodec", 1}, {"WMVAudioCodec", 1}, {"WMVAudioFormat1", 0},
          {"WMVAudioFormat2", 0}, {"WMVAudioFormat3", 5}, {"WMVAudioPeakBitrate", "384"s},
          {"WMVWidth", "512"s}, {"WMVHeight", "384"s},
          {"G_WMVVedioCodec", "Windows Media Video 9"s},
          {"G_WMVAudioCodec", "Windows Media Audio 9.2"s},
          {"G_WMVAudioFormat", "  8 kbps,  8 kHz, mono CBR"s}}},
        {"FLV", 3,
         {{"cbbflvframesize", "640*480"}, {"cbbflvaspectratio", "1:1"}, {"cbbflvbitrate", "512"},
          {"cbbflvframerate", "30"}, {"cbbflvcompression", "Flash Video"},
          {"cbbflvconstraint", "PAL"}, {"cbbflvaudiocodec", "MP3"},
          {"cbbflvaudiobitrate", "128"}, {"cbbflvchannels", "Stereo"},
          {"cbbflvfrequency", "22050"}},
         {},
         {{"FLVFrameSize", "640*480"s}, {"FLVAspectRatio", "1:1"s}, {"FLVTragetBitrate", "512"s},
          {"FLVFrameRate", "30"s}, {"FLVCompression", "Flash Video"s}, {"FLVConstraint", "PAL"s},
          {"FLVAudioCodec", "MP3"s}, {"FLVAudioBitrate", "128"s}, {"FLVAudioChannels", "Stereo"s},
          {"FLVAudioFrequency", "22050"s}, {"FLVWidth", "640"s}, {"FLVHeight", "480"s}}},
        {"MOV", 4,
         {{"cbbmovframesize", "352*288"}, {"cbbmovaspectratio", "2.21:1"},
          {"cbbmovvediobitrate", "15000"}, {"cbbmovframerate", "59.94"},
          {"cbbmovvediocompression", "MPEG4"}, {"cbbmovaudiocodec", "WAV"},
          {"cbbmovbitrate", "112"}, {"cbbmovchannels", "Mono"}, {"cbbmovfrequency", "11025"},
          {"cbbmovconstraint", "Film"}},
         {},
         {{"MOVFrameSize", "352*288"s}, {"MOVAspectRatio", "2.21:1"s},
          {"MOVTragetBitrate", "15000"s}, {"MOVFrameRate", "59.94"s}, {"MOVCompression", "MPEG4"s},
          {"MOVAudioCodec", "WAV"s}, {"MOVAudioBitrate", "112"s}, {"MOVAudioChannels", "Mono"s},
          {"MOVAudioFrequency", "11025"s}, {"MOVWidth", "352"s}, {"MOVHeight", "288"s},
          {"MOVconstraint", "Film"s}}},
        {"MP3", 5,
         {{"cbbMP3BitRate", "16"}, {"cbbMP3Channels", "Mono"}, {"cbbMP3SampleRate", "8000"}},
         {},
         {{"MP3Bitrate", "16"s}, {"MP3Samplerate", "8000"s}, {"MP3Channels", "Mono"s}}},
    };
    for (const WriteCase& c : cases) {
        TablePage page;
        for (const auto& [list, entry] : c.choices) page.choose(list, entry);
        for (const auto& [field, text] : c.typed) page.type(field, text);
        TcdSettings settings;
        WriteLog log;
        WritePage(c.format, page, settings, &log);
        EXPECT_EQ(log, c.expected) << c.name;
    }
}

TEST(WritePage, StoresIntoTheSettingsAndTheSizeFields)
{
    TablePage page;
    page.choose("cbbwmvframesize", "480*576");
    page.choose("cbbaudioCodec", "Windows Media Audio Voice 9");
    page.choose("cbbWMVFormat1", "20 kbps, 22.05 kHz, mono");
    page.type("edtauPeakbitrate", "99");
    TcdSettings settings;
    WritePage(2, page, settings);
    EXPECT_EQ(settings.WMVFrameSize, "480*576");
    EXPECT_EQ(settings.WMVWidth, "480");
    EXPECT_EQ(settings.WMVHeight, "576");
    EXPECT_EQ(page.text("edtwmvwidth"), "480");
    EXPECT_EQ(page.text("edtwmvheight"), "576");
    EXPECT_EQ(settings.WMVAudioCodec, 0);
    EXPECT_EQ(settings.WMVAudioFormat1, 3);
    EXPECT_EQ(settings.G_WMVAudioCodec, "Windows Media Audio Voice 9");
    EXPECT_EQ(settings.G_WMVAudioFormat, "20 kbps, 22.05 kHz, mono");
    EXPECT_EQ(settings.WMVAudioPeakBitrate, "99");
}

// Opening on values a list lacks and pressing OK without a change must not wipe them.
TEST(WritePage, AListWithoutSelectionLeavesItsValue)
{
    struct Case {
        const char* name;
        int format;
        Store store;
        std::vector<std::string> untouched; // properties OK must not write
        std::function<void(const TcdSettings&)> check;
    };
    const Case cases[] = {
        {"WMV frame size Original", 2,
         [](TcdSettings& s) { s.WMVFrameSize = "Original"; s.WMVWidth = "320"; s.WMVHeight = "240"; },
         {"WMVFrameSize", "WMVWidth", "WMVHeight"},
         [](const TcdSettings& s) {
             EXPECT_EQ(s.WMVFrameSize, "Original");
             EXPECT_EQ(s.WMVWidth, "320");
             EXPECT_EQ(s.WMVHeight, "240");
         }},
        {"MP4 audio bit rate 256", 1, [](TcdSettings& s) { s.MP4AudioBitrate = "256"; },
         {"MP4AudioBitrate"}, [](const TcdSettings& s) { EXPECT_EQ(s.MP4AudioBitrate, "256"); }},
        {"FLV video bit rate 2048", 3, [](TcdSettings& s) { s.FLVTragetBitrate = "2048"; },
         {"FLVTragetBitrate"}, [](const TcdSettings& s) { EXPECT_EQ(s.FLVTragetBitrate, "2048"); }},
        {"MPEG channels stereo", 0, [](TcdSettings& s) { s.MPEGAudioChannels = "stereo"; },
         {"MPEGAudioChannels"}, [](const TcdSettings& s) { EXPECT_EQ(s.MPEGAudioChannels, "stereo"); }},
        {"MP3 bits 24", 5, [](TcdSettings& s) { s.MP3Bitrate = "24"; },
         {"MP3Bitrate"}, [](const TcdSettings& s) { EXPECT_EQ(s.MP3Bitrate, "24"); }},
        {"WMV mode 7", 2, [](TcdSettings& s) { s.WMVVedioMode = 7; },
         {"WMVVedioMode"}, [](const TcdSettings& s) { EXPECT_EQ(s.WMVVedioMode, 7); }},
        {"WMV audio codec 5", 2,
         [](TcdSettings& s) { s.WMVAudioCodec = 5; s.G_WMVAudioCodec = "kept codec"; s.G_WMVAudioFormat = "kept format"; },
         {"WMVAudioCodec", "G_WMVAudioCodec", "G_WMVAudioFormat"},
         [](const TcdSettings& s) {
             EXPECT_EQ(s.WMVAudioCodec, 5);
             EXPECT_EQ(s.G_WMVAudioCodec, "kept codec");
             EXPECT_EQ(s.G_WMVAudioFormat, "kept format");
         }},
        {"WMV video codec -1", 2,
         [](TcdSettings& s) { s.WMVVedioCodec = -1; s.G_WMVVedioCodec = "kept"; },
         {"WMVVedioCodec", "G_WMVVedioCodec"},
         [](const TcdSettings& s) {
             EXPECT_EQ(s.WMVVedioCodec, -1);
             EXPECT_EQ(s.G_WMVVedioCodec, "kept");
         }},
        {"WMV 9.2 format 99", 2,
         [](TcdSettings& s) { s.WMVAudioCodec = 1; s.WMVAudioFormat2 = 99; s.G_WMVAudioFormat = "kept"; },
         {"WMVAudioFormat2", "G_WMVAudioFormat"},
         [](const TcdSettings& s) {
             EXPECT_EQ(s.WMVAudioFormat2, 99);
             EXPECT_EQ(s.G_WMVAudioFormat, "kept");
             EXPECT_EQ(s.G_WMVAudioCodec, "Windows Media Audio 9.2");
         }},
    };
    for (const Case& c : cases) {
        TcdSettings settings;
        c.store(settings);
        TablePage page;
        FillPage(c.format, settings, page);
        WriteLog log;
        WritePage(c.format, page, settings, &log);
        for (const std::string& property : c.untouched)
            EXPECT_TRUE(std::none_of(log.begin(), log.end(),
                                     [&](const PropertyWrite& w) { return w.property == property; }))
                << c.name << " wrote " << property;
        SCOPED_TRACE(c.name);
        c.check(settings);
    }
}

// Every preset's values are entries of the page lists: opening on a preset and pressing OK
// stores the same values again. The two exceptions are where the page shows something else:
// the FLV compression list says "Flash Video" where the presets write "Flash Vedio", and the
// WMV bit rate 786 of "Windows Media Video Standard Quality" is no list entry, so the page
// falls back to 1150.
TEST(WritePage, OkOnAnUnchangedPresetStoresThePresetAgain)
{
    for (int format = 0; format < kOutputFormatCount; ++format) {
        for (int item = 0; item < PresetCount(format); ++item) {
            TcdSettings settings;
            ApplyPreset(settings, format, item);
            std::map<std::string, std::string> before;
            for (int p = 0; p < settings.PublishedPropertyCount(); ++p)
                before[std::string(settings.PublishedPropertyName(p))] = settings.propertyText(p);

            TablePage page;
            FillPage(format, settings, page);
            WritePage(format, page, settings);

            std::map<std::string, std::string> expected = before;
            if (format == FormatFLV) expected["FLVCompression"] = "Flash Video";
            if (format == FormatWMV && item == 5) expected["WMVTragetBitrate"] = "1150";
            for (int p = 0; p < settings.PublishedPropertyCount(); ++p) {
                const std::string name(settings.PublishedPropertyName(p));
                EXPECT_EQ(settings.propertyText(p), expected[name])
                    << "format " << format << " preset " << item << ' ' << name;
            }
        }
    }
}

TEST(WmvRules, ModeChangeStoresAtOnceAndEnablesThePeakFieldForVbrPeak)
{
    struct Case {
        const char* mode;
        std::int32_t stored;
        bool enabled;
    };
    const Case cases[] = {{"CBR", 0, false}, {"VBR", 1, false}, {"VBR(Peak)", 2, true}};
    for (const Case& c : cases) {
        TcdSettings settings;
        settings.WMVVedioMode = 5;
        TablePage page;
        page.type("edtPeakbitrate", "6000");
        page.choose("cbbwmvmode", c.mode);
        WriteLog log;
        ApplyModeChange(page, settings, &log);
        EXPECT_EQ(settings.WMVVedioMode, c.stored) << c.mode;
        EXPECT_EQ(log, (WriteLog{{"WMVVedioMode", c.stored}})) << c.mode;
        EXPECT_EQ(page.enabled("edtPeakbitrate"), c.enabled) << c.mode;
        EXPECT_EQ(page.text("edtPeakbitrate"), "6000") << c.mode;
    }
}

TEST(WmvRules, AudioCodecChangeShowsItsFormatListAtTheFirstEntry)
{
    const char* lists[] = {"cbbWMVFormat1", "cbbWMVFormat2", "cbbWMVFormat3"};
    const int before[] = {3, 5, 4};
    for (int codec = 0; codec < 3; ++codec) {
        TablePage page;
        for (int i = 0; i < 3; ++i) page.select(lists[i], before[i]);
        page.select("cbbaudioCodec", codec);
        ApplyAudioCodecChange(page);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(page.visible(lists[i]), i == codec) << "codec " << codec << ' ' << lists[i];
            EXPECT_EQ(page.position(lists[i]), i == codec ? 0 : before[i])
                << "codec " << codec << ' ' << lists[i];
        }
    }
}

} // namespace
} // namespace pellucor::editor
