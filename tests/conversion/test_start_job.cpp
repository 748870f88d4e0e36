#include "RecordingVideoEdit.h"
#include "conversion/NumberText.h"
#include "conversion/StartJob.h"
#include "fixtures/TempDir.h"
#include "ManualScheduler.h"
#include "settings/Presets.h"
#include "settings/cdSettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace pellucor;
using namespace pellucor::engine;
using Params = std::vector<std::pair<std::string, std::string>>;

namespace {

struct StartJobTest : ::testing::Test {
    test::ManualScheduler scheduler;
    test::RecordingVideoEdit edit{scheduler};
    TcdSettings settings;
    fixtures::TempDir dir;

    std::string dest(const std::string& name) { return (dir.path() / name).string(); }
};

} // namespace

TEST_F(StartJobTest, ResetsAddsInputsAndStartsInOrder)
{
    settings.PageIndex = 1;
    conversion::StartJob(edit, settings, "/in/clip.avi", dest("clip.mp4"));
    const std::vector<std::string> expected = {
        "Display_Reset",
        "Audio_Volume_Envelope_Clear",
        "Internal_List_Clear",
        "Input_Clear_List",
        "Video_Effects_Clear",
        "Additional_Filters_Clear",
        "Input_AddAudioFile /in/clip.avi -1 -1 -1 true 1.000000",
        "Input_AddVideoFile /in/clip.avi -1 -1 -1 /in/clip.avi 0 0 1.000000",
        "Start",
    };
    EXPECT_EQ(edit.calls, expected);
    EXPECT_FALSE(edit.Audio_Preview_Enabled);
    EXPECT_FALSE(edit.Debug_Mode);
    EXPECT_EQ(edit.Output_File_Name, dest("clip.mp4"));
}

TEST_F(StartJobTest, StandardFormatsSendTheThirteenParametersInOrder)
{
    settings.MPEGAudioChannels = "Mono";
    settings.MP4AudioChannels = "mono";  // only "Mono" exactly is one channel
    struct Case {
        int page;
        const char* file;
        Params expected;
    } cases[] = {
        {0, "a.mpeg",
         {{"OUTPUT_FORMAT", "MPEG1"}, {"VIDEO_FORMAT", "MPEG2"}, {"ASPECT_RATIO", "1:1"},
          {"VIDEO_BITRATE_MODE", "MVBR"}, {"AUDIO_FORMAT", "MP2"}, {"CONSTRAINT", "NTSC"},
          {"WIDTH", "0"}, {"HEIGHT", "0"}, {"FRAMERATE", "29.97"}, {"VIDEO_BITRATE", "1150"},
          {"AUDIO_CHANNELS", "1"}, {"AUDIO_SAMPLE_RATE", "44100"}, {"AUDIO_BITRATE", "224"}}},
        {1, "a.mp4",
         {{"OUTPUT_FORMAT", "MPEG4"}, {"VIDEO_FORMAT", "MPEG4"}, {"ASPECT_RATIO", "1:1"},
          {"VIDEO_BITRATE_MODE", "MVBR"}, {"AUDIO_FORMAT", "MP3"}, {"CONSTRAINT", "NTSC"},
          {"WIDTH", "640"}, {"HEIGHT", "480"}, {"FRAMERATE", "30"}, {"VIDEO_BITRATE", "1150"},
          {"AUDIO_CHANNELS", "2"}, {"AUDIO_SAMPLE_RATE", "48000"}, {"AUDIO_BITRATE", "256"}}},
        {4, "a.MOV ",
         {{"OUTPUT_FORMAT", "MPEG4"}, {"VIDEO_FORMAT", "MPEG4"}, {"ASPECT_RATIO", "4:3"},
          {"VIDEO_BITRATE_MODE", "MVBR"}, {"AUDIO_FORMAT", "AAC"}, {"CONSTRAINT", "PAL"},
          {"WIDTH", "640"}, {"HEIGHT", "480"}, {"FRAMERATE", "25"}, {"VIDEO_BITRATE", "1150"},
          {"AUDIO_CHANNELS", "2"}, {"AUDIO_SAMPLE_RATE", "48000"}, {"AUDIO_BITRATE", "320"}}},
        {3, "a.flv",
         {{"OUTPUT_FORMAT", "FLV"}, {"VIDEO_FORMAT", "FLV"}, {"ASPECT_RATIO", "1:1"},
          {"VIDEO_BITRATE_MODE", "MVBR"}, {"AUDIO_FORMAT", "MP3"}, {"CONSTRAINT", "PAL"},
          {"WIDTH", "0"}, {"HEIGHT", "0"}, {"FRAMERATE", "25"}, {"VIDEO_BITRATE", "768"},
          {"AUDIO_CHANNELS", "2"}, {"AUDIO_SAMPLE_RATE", "44100"}, {"AUDIO_BITRATE", "256"}}},
    };
    for (const auto& c : cases) {
        settings.PageIndex = c.page;
        edit.Encoder_Param_Add("LEFT_OVER", "from an earlier job");
        conversion::StartJob(edit, settings, "/in/a.avi", dest(c.file));
        EXPECT_EQ(edit.Output_Format, Format_IndStr_Standard_MPEG) << c.file;
        EXPECT_EQ(edit.Encoder_Params(), c.expected) << c.file;
    }
}

TEST_F(StartJobTest, FlvIgnoresItsCompressionAndConstraintTexts)
{
    settings.PageIndex = 3;
    settings.FLVCompression = "Flash Video";
    settings.FLVConstraint = "NTSC";
    conversion::StartJob(edit, settings, "/in/a.avi", dest("a.flv"));
    const auto& p = edit.Encoder_Params();
    ASSERT_EQ(p.size(), 13u);
    EXPECT_EQ(p[0].second, "FLV");
    EXPECT_EQ(p[5].second, "PAL");
}

TEST_F(StartJobTest, WmvSetsTheCustomProperties)
{
    settings.PageIndex = 2;
    settings.WMVPeakBitrate = "900";
    settings.WMVWidth = "640";
    settings.WMVHeight = "480";
    settings.WMVFramerate = "29.97";
    settings.WMVTragetBitrate = "1150";
    settings.WMVTVFormat = 7;
    settings.WMVVedioMode = 2;
    conversion::StartJob(edit, settings, "/in/a.avi", dest("a.wmv"));
    EXPECT_EQ(edit.Output_Format, Format_WMV);
    EXPECT_EQ(edit.WMV_Mode, VF_WM_CustomSettings);
    EXPECT_EQ(edit.WMV_Custom_Audio_Codec, "Windows Media Audio 9.2");
    EXPECT_EQ(edit.WMV_Custom_Audio_Format, "128 kbps, 44 kHz, stereo CBR");
    EXPECT_EQ(edit.WMV_Custom_Audio_PeakBitrate, 900);
    EXPECT_EQ(edit.WMV_Custom_Audio_Mode, VF_SM_CBR);
    EXPECT_TRUE(edit.WMV_Custom_Audio_StreamPresent);
    EXPECT_EQ(edit.WMV_Custom_Video_Codec, "Windows Media Video 9");
    EXPECT_EQ(edit.WMV_Custom_Video_Width, 640);
    EXPECT_EQ(edit.WMV_Custom_Video_Height, 480);
    EXPECT_DOUBLE_EQ(edit.WMV_Custom_Video_FrameRate, 29.97);
    EXPECT_EQ(edit.WMV_Custom_Video_KeyFrameInterval, 1);
    EXPECT_EQ(edit.WMV_Custom_Video_Bitrate, 1150);
    EXPECT_EQ(edit.WMV_Custom_Video_Quality, 95);
    EXPECT_EQ(edit.WMV_Custom_Video_Mode, VF_SM_VBR_PeakBitrate);
    EXPECT_EQ(edit.WMV_Custom_Video_PeakBitRate, 900);  // the peak reaches the video too
    EXPECT_EQ(edit.WMV_Custom_Video_TVSystem, VF_TS_Other);
    EXPECT_TRUE(edit.WMV_Custom_Video_StreamPresent);
    EXPECT_EQ(edit.starts, 1);
}

TEST_F(StartJobTest, WmvModesAndTvSystems)
{
    settings.PageIndex = 2;
    struct Case {
        int mode;
        TVF_WMV_Stream_Mode expected;
        int tv;
        TVFTVSystem expectedTv;
    } cases[] = {
        {0, VF_SM_CBR, 0, VF_TS_PAL},
        {1, VF_SM_VBR_Bitrate, 1, VF_TS_NTSC},
        {2, VF_SM_VBR_PeakBitrate, 2, VF_TS_Other},
        {9, VF_SM_VBR_PeakBitrate, -1, VF_TS_Other},  // unknown mode keeps the last one
    };
    for (const auto& c : cases) {
        settings.WMVVedioMode = c.mode;
        settings.WMVTVFormat = c.tv;
        conversion::StartJob(edit, settings, "/in/a.avi", dest("a.wmv"));
        EXPECT_EQ(edit.WMV_Custom_Video_Mode, c.expected) << "mode " << c.mode;
        EXPECT_EQ(edit.WMV_Custom_Video_TVSystem, c.expectedTv) << "tv " << c.tv;
        EXPECT_EQ(edit.WMV_Custom_Video_PeakBitRate, c.mode == 2 ? 6000 : 0) << "mode " << c.mode;
    }
}

TEST_F(StartJobTest, Mp3WritesARealMp3WithTheProfileAudio)
{
    settings.PageIndex = 5;
    settings.MP3Channels = "Mono";
    settings.MP3Bitrate = "16";
    settings.MP3Samplerate = "48000";
    conversion::StartJob(edit, settings, "/in/a.avi", dest("a.mp3"));
    EXPECT_EQ(edit.Output_Format, Format_MP3);
    EXPECT_EQ(edit.Audio_Channels, 1);
    EXPECT_EQ(edit.Audio_BPS, 16);
    EXPECT_EQ(edit.Audio_SampleRate, 48000);

    settings.MP3Channels = "stereo";  // neither text exactly: channels stay as they were
    conversion::StartJob(edit, settings, "/in/a.avi", dest("a.mp3"));
    EXPECT_EQ(edit.Audio_Channels, 1);
}

TEST_F(StartJobTest, ANonNumericProfileTextFailsBeforeTheComponentStarts)
{
    struct Case {
        const char* name;
        int page;
        std::string TcdSettings::*field;
        const char* file;
    } cases[] = {
        {"wmv width", 2, &TcdSettings::WMVWidth, "a.wmv"},
        {"wmv bit rate", 2, &TcdSettings::WMVTragetBitrate, "a.wmv"},
        {"wmv peak", 2, &TcdSettings::WMVPeakBitrate, "a.wmv"},
        {"wmv frame rate", 2, &TcdSettings::WMVFramerate, "a.wmv"},
        {"mp3 bits", 5, &TcdSettings::MP3Bitrate, "a.mp3"},
        {"mp3 rate", 5, &TcdSettings::MP3Samplerate, "a.mp3"},
    };
    for (const auto& c : cases) {
        TcdSettings s;
        s.PageIndex = c.page;
        s.*c.field = "abc";
        edit.starts = 0;
        try {
            conversion::StartJob(edit, s, "/in/a.avi", dest(c.file));
            ADD_FAILURE() << c.name << ": no error";
        } catch (const conversion::ConversionError& e) {
            EXPECT_NE(std::string(e.what()).find("'abc' is not a valid"), std::string::npos) << c.name;
        }
        EXPECT_EQ(edit.starts, 0) << c.name;
    }
}

TEST_F(StartJobTest, CreatesAMissingNestedOutputFolder)
{
    settings.PageIndex = 0;
    const std::string target = dest("one/two/three/a.mpeg");
    conversion::StartJob(edit, settings, "/in/a.avi", target);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "one/two/three"));
    EXPECT_EQ(edit.starts, 1);
}

TEST_F(StartJobTest, PresetValuesArriveAsTheyAreStored)
{
    // DVD PAL: the values a preset writes are the values the component receives.
    settings.PageIndex = 0;
    ApplyPreset(settings, 0, 3);
    conversion::StartJob(edit, settings, "/in/a.avi", dest("a.mpeg"));
    const Params expected = {
        {"OUTPUT_FORMAT", "MPEG2"}, {"VIDEO_FORMAT", "MPEG2"}, {"ASPECT_RATIO", "1:1"},
        {"VIDEO_BITRATE_MODE", "MVBR"}, {"AUDIO_FORMAT", "MP2"}, {"CONSTRAINT", "PAL"},
        {"WIDTH", "720"}, {"HEIGHT", "576"}, {"FRAMERATE", "25"}, {"VIDEO_BITRATE", "4000"},
        {"AUDIO_CHANNELS", "2"}, {"AUDIO_SAMPLE_RATE", "48000"}, {"AUDIO_BITRATE", "224"}};
    EXPECT_EQ(edit.Encoder_Params(), expected);
}
