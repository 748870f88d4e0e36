// Each output format with representative parameter sets beyond the presets, from sources of
// the kinds AVI files carry: codec fallbacks, exact rates, the AVI and WMV writers, empty
// texts, and pictures that keep their shape.
#include "EngineRun.h"
#include "Probe.h"
#include "fixtures/AviFixture.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>

namespace pellucor::test {
namespace {

using fixtures::AviSpec;
using Params = std::vector<std::pair<std::string, std::string>>;

enum class Source { Mjpeg25Pcm, Mpeg4NtscMp3, Mjpeg16x9, VideoOnly, AudioOnly };

AviSpec specOf(Source s) {
    AviSpec spec;
    switch (s) {
    case Source::Mjpeg25Pcm: break;
    case Source::Mpeg4NtscMp3:
        spec.video = AviSpec::Video::MPEG4;
        spec.audio = AviSpec::Audio::MP3;
        spec.fpsNum = 30000;
        spec.fpsDen = 1001;
        break;
    case Source::Mjpeg16x9:
        spec.width = 320;
        spec.height = 180;
        break;
    case Source::VideoOnly: spec.audio = AviSpec::Audio::None; break;
    case Source::AudioOnly:
        spec.video = AviSpec::Video::None;
        spec.sampleRate = 22050;
        spec.channels = 1;
        break;
    }
    return spec;
}

struct Case {
    const char* name;
    Source source;
    const char* extension;
    std::function<void(engine::VideoEdit&)> configure;
    const char* video;  // "" = no video stream expected
    int width, height;
    const char* rate;
    const char* audio;  // "" = no audio stream expected
    int sampleRate, channels;
};

std::function<void(engine::VideoEdit&)> standard(Params params) {
    return [params](engine::VideoEdit& e) {
        e.Output_Format = engine::Format_IndStr_Standard_MPEG;
        for (const auto& [n, v] : params) e.Encoder_Param_Add(n, v);
    };
}

std::function<void(engine::VideoEdit&)> aviWriter(int bits, int channels, int rate, const char* codec = "PCM") {
    return [=](engine::VideoEdit& e) {
        e.Output_Format = engine::Format_AVI;
        e.Audio_Codec = codec;
        e.Audio_BPS = bits;
        e.Audio_Channels = channels;
        e.Audio_SampleRate = rate;
    };
}

std::function<void(engine::VideoEdit&)> wmv(std::function<void(engine::VideoEdit&)> more) {
    return [more](engine::VideoEdit& e) {
        e.Output_Format = engine::Format_WMV;
        more(e);
    };
}

const Case kCases[] = {
    {"mpeg1_pcm_becomes_mp2", Source::Mjpeg25Pcm, ".mpeg", standard({{"OUTPUT_FORMAT", "MPEG1"}, {"AUDIO_FORMAT", "PCM"}}),
     "mpeg1video", 160, 120, "30000/1001", "mp2", 44100, 2},
    {"mpeg2_ac3", Source::Mjpeg25Pcm, ".mpeg",
     standard({{"OUTPUT_FORMAT", "MPEG2"}, {"AUDIO_FORMAT", "AC3"}, {"AUDIO_SAMPLE_RATE", "48000"}, {"AUDIO_BITRATE", "192"}}),
     "mpeg2video", 160, 120, "30000/1001", "ac3", 48000, 2},
    {"mpeg2_pcm_is_lpcm", Source::Mjpeg25Pcm, ".mpg",
     standard({{"OUTPUT_FORMAT", "MPEG2"}, {"AUDIO_FORMAT", "WAV"}, {"AUDIO_SAMPLE_RATE", "48000"}}), "mpeg2video", 160, 120,
     "30000/1001", "pcm_dvd", 48000, 2},
    {"mpeg_film_ntsc_rate", Source::Mpeg4NtscMp3, ".mpeg", standard({{"FRAMERATE", "23.979"}, {"AUDIO_CHANNELS", "1"}}),
     "mpeg1video", 160, 120, "24000/1001", "mp2", 44100, 1},
    {"mp4_empty_texts_are_defaults", Source::Mjpeg25Pcm, ".mp4",
     standard({{"OUTPUT_FORMAT", ""}, {"WIDTH", ""}, {"HEIGHT", ""}, {"FRAMERATE", ""}, {"AUDIO_FORMAT", ""},
               {"AUDIO_SAMPLE_RATE", ""}, {"VIDEO_BITRATE", ""}, {"CONSTRAINT", ""}}),
     "mpeg4", 640, 480, "30/1", "mp3", 48000, 2},
    {"mp4_ac3", Source::Mpeg4NtscMp3, ".mp4", standard({{"AUDIO_FORMAT", "AC3"}, {"FRAMERATE", "29.97"}}), "mpeg4", 640,
     480, "30000/1001", "ac3", 48000, 2},
    {"mp4_pcm_becomes_aac", Source::Mjpeg25Pcm, ".mp4", standard({{"AUDIO_FORMAT", "PCM"}, {"CONSTRAINT", "Film"}}),
     "mpeg4", 640, 480, "30/1", "aac", 48000, 2},
    {"mp4_no_audio_asked", Source::Mjpeg25Pcm, ".m4v", standard({{"AUDIO_FORMAT", "None"}}), "mpeg4", 640, 480, "30/1",
     "", 0, 0},
    {"mov_pcm_big_endian", Source::Mjpeg25Pcm, ".mov", standard({{"AUDIO_FORMAT", "PCM"}, {"AUDIO_SAMPLE_RATE", "44100"}}),
     "mpeg4", 640, 480, "25/1", "pcm_s16be", 44100, 2},
    {"mov_mp2", Source::Mpeg4NtscMp3, ".mov", standard({{"AUDIO_FORMAT", "MP2"}, {"WIDTH", "0"}, {"HEIGHT", "0"}}),
     "mpeg4", 160, 120, "25/1", "mp2", 48000, 2},
    {"flv_aac_48k", Source::Mjpeg25Pcm, ".flv", standard({{"AUDIO_FORMAT", "AAC"}, {"AUDIO_SAMPLE_RATE", "48000"}}),
     "flv1", 160, 120, "25/1", "aac", 48000, 2},
    {"flv_pcm_mono_22k", Source::Mjpeg25Pcm, ".flv",
     standard({{"AUDIO_FORMAT", "PCM"}, {"AUDIO_SAMPLE_RATE", "22050"}, {"AUDIO_CHANNELS", "1"}}), "flv1", 160, 120, "25/1",
     "pcm_s16le", 22050, 1},
    {"flv_mp3_48k_becomes_44k", Source::Mjpeg25Pcm, ".flv",
     standard({{"AUDIO_FORMAT", "MP3"}, {"AUDIO_SAMPLE_RATE", "48000"}, {"FRAMERATE", "29.97"}}), "flv1", 160, 120,
     "30000/1001", "mp3", 44100, 2},
    {"flv_mp2_becomes_mp3", Source::Mjpeg25Pcm, ".flv", standard({{"AUDIO_FORMAT", "MP2"}}), "flv1", 160, 120, "25/1",
     "mp3", 44100, 2},
    {"avi_writer_8bit_mono", Source::Mjpeg25Pcm, ".avi", aviWriter(8, 1, 22050), "mjpeg", 160, 120, "25/1", "pcm_u8",
     22050, 1},
    {"avi_writer_16bit_from_mpeg4", Source::Mpeg4NtscMp3, ".avi", aviWriter(16, 2, 48000), "mjpeg", 160, 120,
     "30000/1001", "pcm_s16le", 48000, 2},
    {"avi_writer_mp3", Source::Mjpeg25Pcm, ".avi", aviWriter(16, 2, 44100, "MP3"), "mjpeg", 160, 120, "25/1", "mp3",
     44100, 2},
    {"wmv_custom_mono_22k", Source::Mjpeg25Pcm, ".wmv", wmv([](engine::VideoEdit& e) {
         e.WMV_Mode = engine::VF_WM_CustomSettings;
         e.WMV_Custom_Video_StreamPresent = e.WMV_Custom_Audio_StreamPresent = true;
         e.WMV_Custom_Audio_Format = "32 kbps, 22 kHz, mono CBR";
         e.WMV_Custom_Video_Width = 176;
         e.WMV_Custom_Video_Height = 144;
         e.WMV_Custom_Video_FrameRate = 15;
         e.WMV_Custom_Video_Bitrate = 300;
         e.WMV_Custom_Video_Mode = engine::VF_SM_VBR_Quality;
         e.WMV_Custom_Video_Quality = 80;
     }),
     "wmv2", 176, 144, "15/1", "wmav2", 22050, 1},
    {"wmv_without_audio_stream", Source::Mjpeg25Pcm, ".wmv", wmv([](engine::VideoEdit& e) {
         e.WMV_Mode = engine::VF_WM_CustomSettings;
         e.WMV_Custom_Video_StreamPresent = true;
         e.WMV_Custom_Video_Width = 320;
         e.WMV_Custom_Video_Height = 240;
         e.WMV_Custom_Video_TVSystem = engine::VF_TS_NTSC;
     }),
     "wmv2", 320, 240, "30000/1001", "", 0, 0},
    {"wmv_external_profile_keeps_the_source", Source::Mjpeg25Pcm, ".wmv", wmv([](engine::VideoEdit&) {}), "wmv2", 160,
     120, "25/1", "wmav2", 44100, 2},
    {"wmv_extension_under_standard", Source::Mjpeg25Pcm, ".wmv", standard({{"AUDIO_FORMAT", "MP3"}}), "wmv2", 160, 120,
     "25/1", "wmav2", 44100, 2},
    {"audio_only_source_to_mp4", Source::AudioOnly, ".mp4", standard({}), "", 0, 0, "", "mp3", 48000, 2},
    {"audio_only_source_to_mpeg", Source::AudioOnly, ".mpeg", standard({{"AUDIO_CHANNELS", "1"}}), "", 0, 0, "", "mp2",
     44100, 1},
    {"audio_only_source_to_wmv", Source::AudioOnly, ".wmv", wmv([](engine::VideoEdit&) {}), "", 0, 0, "", "wmav2", 44100,
     2},
    {"video_only_source_to_flv", Source::VideoOnly, ".flv", standard({}), "flv1", 160, 120, "25/1", "", 0, 0},
    {"video_only_source_to_dvd", Source::VideoOnly, ".mpeg",
     standard({{"OUTPUT_FORMAT", "MPEG2"}, {"CONSTRAINT", "PAL"}, {"WIDTH", "720"}, {"HEIGHT", "576"}}), "mpeg2video", 720,
     576, "25/1", "", 0, 0},
};

class FormatMatrix : public ::testing::TestWithParam<Case> {
protected:
    static void SetUpTestSuite() { folder_ = std::make_unique<fixtures::TempDir>(); }
    static void TearDownTestSuite() {
        sources_.clear();
        folder_.reset();
    }
    static std::string source(Source s) {
        auto it = sources_.find(s);
        if (it != sources_.end()) return it->second;
        const std::string path = (folder_->path() / ("source" + std::to_string(static_cast<int>(s)) + ".avi")).string();
        return sources_[s] = fixtures::writeAvi(path, specOf(s));
    }
    static std::unique_ptr<fixtures::TempDir> folder_;
    static std::map<Source, std::string> sources_;
};
std::unique_ptr<fixtures::TempDir> FormatMatrix::folder_;
std::map<Source, std::string> FormatMatrix::sources_;

TEST_P(FormatMatrix, WritesWhatWasAskedOrTheNearestItCan) {
    const Case& c = GetParam();
    const std::string input = source(c.source);
    const std::string dest = (folder_->path() / (std::string(c.name) + c.extension)).string();
    EngineRun run;
    run.edit.Input_AddVideoFile(input, -1, -1, -1, input, 0, 0, 1.0);
    run.edit.Input_AddAudioFile(input, -1, -1, -1, true, 1.0);
    run.edit.Output_File_Name = dest;
    c.configure(run.edit);
    run.edit.Start();
    ASSERT_TRUE(run.waitForEnd()) << c.name;
    ASSERT_TRUE(run.stopped() && run.edit.LastJobCompleted()) << c.name << ": " << run.describe();

    const Probed p = probe(dest);
    ASSERT_TRUE(p.readable) << c.name;
    const ProbedStream* v = p.first("video");
    if (*c.video) {
        ASSERT_NE(v, nullptr) << c.name;
        EXPECT_EQ(v->get("codec_name"), c.video) << c.name;
        EXPECT_EQ(v->integer("width"), c.width) << c.name;
        EXPECT_EQ(v->integer("height"), c.height) << c.name;
        EXPECT_EQ(v->get("r_frame_rate"), c.rate) << c.name;
    } else {
        EXPECT_EQ(v, nullptr) << c.name << ": unexpected video";
    }
    const ProbedStream* a = p.first("audio");
    if (*c.audio) {
        ASSERT_NE(a, nullptr) << c.name;
        EXPECT_EQ(a->get("codec_name"), c.audio) << c.name;
        EXPECT_EQ(a->integer("sample_rate"), c.sampleRate) << c.name;
        EXPECT_EQ(a->integer("channels"), c.channels) << c.name;
    } else {
        EXPECT_EQ(a, nullptr) << c.name << ": unexpected audio";
    }
    EXPECT_NEAR(p.duration, 1.0, 0.2) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Representative, FormatMatrix, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The picture keeps its shape: a 4:3 source in a 16:9 frame gets black bars left and right,
// a 16:9 source in a 4:3 frame black bars above and below; the picture itself is not black.
TEST(PictureShape, BarsInsteadOfStretching) {
    fixtures::TempDir folder;
    struct Shape {
        const char* name;
        AviSpec spec;
        Params params;
        int width, height;
        bool sideBars;
        int bar;  // pixels of bar expected on each side
    } shapes[] = {
        {"4:3 source in a 16:9 frame", AviSpec{}, {{"WIDTH", "640"}, {"HEIGHT", "480"}, {"ASPECT_RATIO", "16:9"}}, 640, 480,
         true, 80},
        {"16:9 source in a 4:3 frame", [] { AviSpec s; s.width = 320; s.height = 180; return s; }(),
         {{"WIDTH", "640"}, {"HEIGHT", "480"}, {"ASPECT_RATIO", "4:3"}}, 640, 480, false, 60},
    };
    for (const auto& s : shapes) {
        const std::string input = fixtures::writeAvi(folder / (std::string(s.name) + ".avi"), s.spec);
        const std::string dest = (folder / (std::string(s.name) + ".mp4")).string();
        EngineRun run;
        run.edit.Input_AddVideoFile(input, -1, -1, -1, input, 0, 0, 1.0);
        run.edit.Output_File_Name = dest;
        run.edit.Output_Format = engine::Format_IndStr_Standard_MPEG;
        for (const auto& [n, v] : s.params) run.edit.Encoder_Param_Add(n, v);
        run.edit.Start();
        ASSERT_TRUE(run.waitForEnd()) << s.name;
        ASSERT_TRUE(run.edit.LastJobCompleted()) << s.name << ": " << run.describe();
        const auto grey = greyFrame(dest, 0.5, s.width, s.height);
        ASSERT_FALSE(grey.empty()) << s.name;
        auto at = [&](int x, int y) { return static_cast<int>(grey[static_cast<std::size_t>(y) * s.width + x]); };
        const int inside = s.bar + 4;  // a few pixels into the picture, past the scaler's edge
        for (int i = 0; i < s.bar - 4; i += 8) {
            if (s.sideBars) {
                EXPECT_LE(at(i, s.height / 2), 20) << s.name << ": left bar at x=" << i;
                EXPECT_LE(at(s.width - 1 - i, s.height / 2), 20) << s.name << ": right bar at x=" << i;
            } else {
                EXPECT_LE(at(s.width / 2, i), 20) << s.name << ": top bar at y=" << i;
                EXPECT_LE(at(s.width / 2, s.height - 1 - i), 20) << s.name << ": bottom bar at y=" << i;
            }
        }
        if (s.sideBars) {
            EXPECT_GT(at(inside, s.height / 2), 30) << s.name << ": picture starts later than expected";
        } else {
            EXPECT_GT(at(s.width / 2, inside), 30) << s.name << ": picture starts later than expected";
        }
    }
}

// The picture is the source's at every size: same size (full-range JPEG levels become video
// levels), and a large Motion JPEG source made small, which is decoded at a fraction of its
// size, is not a corner or a smear of it.
TEST(PictureShape, ThePictureIsTheSourcesAtEverySize) {
    fixtures::TempDir folder;
    AviSpec big;
    big.width = 640;
    big.height = 480;
    const std::string input = fixtures::writeAvi(folder / "big.avi", big);
    struct Size { int width, height; } sizes[] = {{640, 480}, {320, 240}, {176, 132}, {160, 120}};
    for (const auto& s : sizes) {
        const std::string name = std::to_string(s.width) + "x" + std::to_string(s.height);
        const std::string dest = (folder / (name + ".mp4")).string();
        EngineRun run;
        run.edit.Input_AddVideoFile(input, -1, -1, -1, input, 0, 0, 1.0);
        run.edit.Output_File_Name = dest;
        run.edit.Output_Format = engine::Format_IndStr_Standard_MPEG;
        for (const auto& [n, v] : Params{{"WIDTH", std::to_string(s.width)}, {"HEIGHT", std::to_string(s.height)},
                                         {"FRAMERATE", "25"}, {"VIDEO_BITRATE", "2000"}})
            run.edit.Encoder_Param_Add(n, v);
        run.edit.Start();
        ASSERT_TRUE(run.waitForEnd()) << name;
        ASSERT_TRUE(run.edit.LastJobCompleted()) << name << ": " << run.describe();
        const auto ours = greyFrame(dest, 0.4, s.width, s.height);
        const auto source = greyFrameScaled(input, 0.4, s.width, s.height);
        ASSERT_FALSE(ours.empty()) << name;
        ASSERT_EQ(ours.size(), source.size()) << name;
        double difference = 0, bias = 0;
        for (std::size_t i = 0; i < ours.size(); ++i) {
            difference += std::abs(int(ours[i]) - int(source[i]));
            bias += int(ours[i]) - int(source[i]);
        }
        EXPECT_LT(difference / ours.size(), 4.0) << name << ": the picture differs from its source";
        // Full-range JPEG levels must become video levels, not be copied as they are.
        EXPECT_LT(std::abs(bias / ours.size()), 1.5) << name << ": the picture is brighter or darker than its source";
    }
}

} // namespace
} // namespace pellucor::test
