// Every preset of every format converts a small AVI into a file that ffprobe reads with the
// codec, frame size, frame rate, sample rate and channels the preset asks for.
#include "EngineRun.h"
#include "PresetJobs.h"
#include "Probe.h"
#include "fixtures/AviFixture.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace pellucor::test {
namespace {

using engine::presets::Page;
namespace presets = engine::presets;

struct Expected {
    int page, index;
    const char* video;  // codec name, "" for none
    int width, height;
    const char* rate;
    const char* audio;
    int sampleRate, channels;
    int packetSize;  // disc multiplex: the file is made of packs of this size; 0 otherwise
};

std::string nameOf(const Expected& e) {
    return std::string(presets::pageName(e.page)) + "_" + std::to_string(e.index);
}

// The source is 160x120 at 25 frames/s with 44.1 kHz stereo, so "Original" sizes are 160x120.
const Expected kPresets[] = {
    {Page::Mpeg, 0, "mpeg1video", 160, 120, "30000/1001", "mp2", 44100, 2, 0},
    {Page::Mpeg, 1, "mpeg2video", 160, 120, "30000/1001", "mp2", 44100, 2, 0},
    {Page::Mpeg, 2, "mpeg2video", 720, 480, "30000/1001", "mp2", 48000, 2, 2048},  // DVD NTSC
    {Page::Mpeg, 3, "mpeg2video", 720, 576, "25/1", "mp2", 48000, 2, 2048},        // DVD PAL
    {Page::Mpeg, 4, "mpeg2video", 480, 480, "30000/1001", "mp2", 44100, 2, 2324},  // SVCD NTSC
    {Page::Mpeg, 5, "mpeg2video", 480, 576, "25/1", "mp2", 44100, 2, 2324},        // SVCD PAL
    {Page::Mpeg, 6, "mpeg1video", 352, 240, "30000/1001", "mp2", 44100, 2, 2324},  // VCD NTSC
    {Page::Mpeg, 7, "mpeg1video", 352, 288, "25/1", "mp2", 44100, 2, 2324},        // VCD PAL
    {Page::Mp4, 0, "mpeg4", 640, 480, "30/1", "aac", 48000, 2, 0},
    {Page::Mp4, 1, "mpeg4", 320, 240, "24/1", "aac", 48000, 2, 0},
    {Page::Mp4, 2, "mpeg4", 320, 240, "24/1", "aac", 48000, 2, 0},
    {Page::Mp4, 3, "mpeg4", 320, 240, "24/1", "aac", 48000, 2, 0},
    {Page::Wmv, 0, "wmv2", 320, 240, "30000/1001", "wmav2", 44100, 2, 0},
    {Page::Wmv, 1, "wmv2", 640, 480, "30/1", "wmav2", 44100, 2, 0},
    {Page::Wmv, 2, "wmv2", 320, 240, "30000/1001", "wmav2", 44100, 2, 0},
    {Page::Wmv, 3, "wmv2", 640, 480, "30000/1001", "wmav2", 44100, 2, 0},
    {Page::Wmv, 4, "wmv2", 640, 480, "30000/1001", "wmav2", 44100, 2, 0},
    {Page::Wmv, 5, "wmv2", 320, 240, "30000/1001", "wmav2", 44100, 2, 0},
    {Page::Flv, 0, "flv1", 160, 120, "25/1", "mp3", 44100, 2, 0},
    {Page::Flv, 1, "flv1", 160, 120, "25/1", "mp3", 22050, 2, 0},
    {Page::Flv, 2, "flv1", 160, 120, "25/1", "mp3", 22050, 2, 0},
    {Page::Flv, 3, "flv1", 160, 120, "25/1", "mp3", 11025, 2, 0},
    {Page::Mov, 0, "mpeg4", 640, 480, "25/1", "aac", 48000, 2, 0},
    {Page::Mov, 1, "mpeg4", 352, 288, "25/1", "mp3", 44100, 2, 0},
    {Page::Mov, 2, "mpeg4", 160, 120, "25/1", "mp3", 44100, 2, 0},
    {Page::Mov, 3, "mpeg4", 176, 144, "25/1", "mp3", 44100, 2, 0},
    {Page::Mov, 4, "mpeg4", 160, 120, "25/1", "mp3", 44100, 2, 0},
    {Page::Mp3, 0, "", 0, 0, "", "mp3", 44100, 2, 0},
    {Page::Mp3, 1, "", 0, 0, "", "mp3", 48000, 2, 0},
    {Page::Mp3, 2, "", 0, 0, "", "mp3", 44100, 2, 0},
    {Page::Mp3, 3, "", 0, 0, "", "mp3", 48000, 2, 0},
};

class PresetConversion : public ::testing::TestWithParam<Expected> {
protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<fixtures::TempDir>();
        source_ = fixtures::writeAvi(folder_->path() / "clip.avi", fixtures::AviSpec{});
    }
    static void TearDownTestSuite() { folder_.reset(); }
    static std::unique_ptr<fixtures::TempDir> folder_;
    static std::string source_;
};
std::unique_ptr<fixtures::TempDir> PresetConversion::folder_;
std::string PresetConversion::source_;

TEST_P(PresetConversion, WritesWhatThePresetAsksFor) {
    const Expected& e = GetParam();
    const std::string dest = (folder_->path() / (nameOf(e) + presets::extensionOf(e.page))).string();
    EngineRun run;
    presets::configure(run.edit, e.page, e.index, source_, dest);
    run.edit.Start();
    ASSERT_TRUE(run.waitForEnd()) << nameOf(e) << ": the job never ended";
    ASSERT_TRUE(run.stopped()) << nameOf(e) << ": " << run.describe();
    EXPECT_TRUE(run.edit.LastJobCompleted()) << nameOf(e);

    const Probed p = probe(dest);
    ASSERT_TRUE(p.readable) << nameOf(e) << ": ffprobe cannot read " << dest;
    EXPECT_NEAR(p.duration, 1.0, 0.2) << nameOf(e);
    const ProbedStream* v = p.first("video");
    if (*e.video) {
        ASSERT_NE(v, nullptr) << nameOf(e) << ": no video stream";
        EXPECT_EQ(v->get("codec_name"), e.video) << nameOf(e);
        EXPECT_EQ(v->integer("width"), e.width) << nameOf(e);
        EXPECT_EQ(v->integer("height"), e.height) << nameOf(e);
        EXPECT_EQ(v->get("r_frame_rate"), e.rate) << nameOf(e);
    } else {
        EXPECT_EQ(v, nullptr) << nameOf(e) << ": an audio format with a video stream";
    }
    const ProbedStream* a = p.first("audio");
    ASSERT_NE(a, nullptr) << nameOf(e) << ": no audio stream";
    EXPECT_EQ(a->get("codec_name"), e.audio) << nameOf(e);
    EXPECT_EQ(a->integer("sample_rate"), e.sampleRate) << nameOf(e);
    EXPECT_EQ(a->integer("channels"), e.channels) << nameOf(e);
    if (e.packetSize) {  // disc multiplexes are cut into packs of the disc's sector payload
        EXPECT_EQ(std::filesystem::file_size(dest) % e.packetSize, 0u) << nameOf(e);
    }
    if (e.page == Page::Mpeg && e.packetSize == 2048) {  // only the DVD multiplex writes navigation packs
        EXPECT_NE(p.first("data"), nullptr) << nameOf(e) << ": no DVD navigation packets";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryPreset, PresetConversion, ::testing::ValuesIn(kPresets),
                         [](const auto& info) { return nameOf(info.param); });

} // namespace
} // namespace pellucor::test
