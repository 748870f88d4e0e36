// The AVI generator every other test relies on: what it writes is what was asked for, as a
// reader sees it, and impossible requests are refused with a reason instead of a bad file.
#include "Probe.h"
#include "fixtures/AviFixture.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace pellucor::test {
namespace {

using fixtures::AviSpec;

TEST(AviFixture, WritesTheStreamsAsked) {
    fixtures::TempDir dir;
    struct Case {
        const char* name;
        AviSpec spec;
        const char* video;
        const char* rate;
        const char* audio;
    } cases[] = {
        {"defaults", AviSpec{}, "mjpeg", "25/1", "pcm_s16le"},
        {"mpeg4 and mp3 at 29.97", [] { AviSpec s; s.video = AviSpec::Video::MPEG4; s.audio = AviSpec::Audio::MP3;
                                        s.fpsNum = 30000; s.fpsDen = 1001; s.width = 320; s.height = 240; return s; }(),
         "mpeg4", "30000/1001", "mp3"},
        {"video only", [] { AviSpec s; s.audio = AviSpec::Audio::None; return s; }(), "mjpeg", "25/1", ""},
        {"audio only, mono 22050", [] { AviSpec s; s.video = AviSpec::Video::None; s.channels = 1; s.sampleRate = 22050;
                                        return s; }(),
         "", "", "pcm_s16le"},
    };
    for (const auto& c : cases) {
        const auto path = dir / (std::string(c.name) + ".avi");
        EXPECT_EQ(fixtures::writeAvi(path, c.spec), path.string()) << c.name;
        const Probed p = probe(path.string());
        ASSERT_TRUE(p.readable) << c.name;
        EXPECT_EQ(p.formatName, "avi") << c.name;
        EXPECT_NEAR(p.duration, c.spec.seconds, 0.1) << c.name;
        const ProbedStream* v = p.first("video");
        ASSERT_EQ(v != nullptr, *c.video != 0) << c.name;
        if (v) {
            EXPECT_EQ(v->get("codec_name"), c.video) << c.name;
            EXPECT_EQ(v->integer("width"), c.spec.width) << c.name;
            EXPECT_EQ(v->integer("height"), c.spec.height) << c.name;
            EXPECT_EQ(v->get("r_frame_rate"), c.rate) << c.name;
        }
        const ProbedStream* a = p.first("audio");
        ASSERT_EQ(a != nullptr, *c.audio != 0) << c.name;
        if (a) {
            EXPECT_EQ(a->get("codec_name"), c.audio) << c.name;
            EXPECT_EQ(a->integer("sample_rate"), c.spec.sampleRate) << c.name;
            EXPECT_EQ(a->integer("channels"), c.spec.channels) << c.name;
        }
    }
}

TEST(AviFixture, ThePictureMoves) {
    fixtures::TempDir dir;
    const std::string path = fixtures::writeAvi(dir / "moving.avi", AviSpec{});
    const auto first = greyFrame(path, 0.0, 160, 120);
    const auto later = greyFrame(path, 0.5, 160, 120);
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(later.empty());
    EXPECT_NE(first, later) << "a still picture cannot show dropped or repeated frames";
}

TEST(AviFixture, RefusesImpossibleRequests) {
    fixtures::TempDir dir;
    struct Case { const char* name; AviSpec spec; std::filesystem::path file; } cases[] = {
        {"nothing asked", [] { AviSpec s; s.video = AviSpec::Video::None; s.audio = AviSpec::Audio::None; return s; }(),
         dir / "a.avi"},
        {"odd width", [] { AviSpec s; s.width = 161; return s; }(), dir / "b.avi"},
        {"no duration", [] { AviSpec s; s.seconds = 0; return s; }(), dir / "c.avi"},
        {"zero frame rate", [] { AviSpec s; s.fpsNum = 0; return s; }(), dir / "d.avi"},
        {"unwritable place", AviSpec{}, dir / "missing" / "e.avi"},
    };
    for (const auto& c : cases) {
        try {
            fixtures::writeAvi(c.file, c.spec);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find("writeAvi"), std::string::npos) << c.name << ": " << e.what();
        }
    }
}

} // namespace
} // namespace pellucor::test
