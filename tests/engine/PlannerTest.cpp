// The planner's reading of parameter texts, without running FFmpeg: numbers whatever the
// locale, exact frame rates, containers by extension, disc multiplexes, fallbacks to values
// the encoders accept, pictures that keep their shape, and the drop/repeat timeline.
#include "engine/AudioChoice.h"
#include "engine/EncoderSettings.h"
#include "engine/EngineError.h"
#include "engine/FrameTimeline.h"
#include "engine/NumberText.h"
#include "engine/VideoChoice.h"
#include "engine/WmvSettings.h"

#include <gtest/gtest.h>

#include <functional>

namespace pellucor::engine {
namespace {

TEST(NumberText, DecimalsReadWithEitherSeparator) {
    struct Case { const char* text; std::optional<double> value; } cases[] = {
        {"29.97", 29.97}, {"29,97", 29.97}, {" 25 ", 25.0}, {"0.5", 0.5}, {".5", 0.5}, {"-2.5", -2.5},
        {"", std::nullopt}, {"abc", std::nullopt}, {"1.2.3", std::nullopt}, {"1,2.3", std::nullopt},
        {"12a", std::nullopt}, {".", std::nullopt}, {"1e3", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto got = parseDecimal(c.text);
        ASSERT_EQ(got.has_value(), c.value.has_value()) << "'" << c.text << "'";
        if (got) {
            EXPECT_DOUBLE_EQ(*got, *c.value) << "'" << c.text << "'";
        }
    }
}

TEST(NumberText, IntegersAreDigitsOnly) {
    struct Case { const char* text; std::optional<std::int64_t> value; } cases[] = {
        {"1150", 1150}, {" 720 ", 720}, {"+5", 5}, {"-1", -1}, {"4.0", std::nullopt}, {"", std::nullopt},
        {"12 34", std::nullopt}, {"0x10", std::nullopt}, {"99999999999", 99999999999LL},
    };
    for (const auto& c : cases) EXPECT_EQ(parseInteger(c.text), c.value) << "'" << c.text << "'";
}

TEST(NumberText, FrameRateTextsBecomeExactFractions) {
    struct Case { const char* text; std::optional<Fraction> rate; } cases[] = {
        {"29.97", Fraction{30000, 1001}}, {"29,97", Fraction{30000, 1001}}, {"23.979", Fraction{24000, 1001}},
        {"23.976", Fraction{24000, 1001}}, {"59.94", Fraction{60000, 1001}}, {"25", Fraction{25, 1}},
        {"30", Fraction{30, 1}},           {"12.5", Fraction{25, 2}},        {"0", std::nullopt},
        {"", std::nullopt},                {"fast", std::nullopt},           {"-25", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parseFrameRate(c.text), c.rate) << "'" << c.text << "'";
}

TEST(NumberText, RatiosReduce) {
    struct Case { const char* text; std::optional<Fraction> ratio; } cases[] = {
        {"4:3", Fraction{4, 3}},       {"16:9", Fraction{16, 9}}, {"2.21:1", Fraction{221, 100}},
        {"1:1", Fraction{1, 1}},       {"8:6", Fraction{4, 3}},   {"16/9", Fraction{16, 9}},
        {"1.85", Fraction{37, 20}},    {"", std::nullopt},        {"4:0", std::nullopt},
        {"wide", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parseRatio(c.text), c.ratio) << "'" << c.text << "'";
}

TEST(WmaFormatText, NamesRateChannelsAndBitRate) {
    struct Case { const char* text; std::int64_t bitRate; int rate, channels; bool parsed; } cases[] = {
        {"128 kbps, 44 kHz, stereo CBR", 128000, 44100, 2, true},
        {"  64 kbps, 22.05 kHz, mono CBR", 64000, 22050, 1, true},
        {"32 kbps, 22 kHz, mono CBR", 32000, 22050, 1, true},
        {"192 kbps, 48 kHz, stereo CBR", 192000, 48000, 2, true},
        {"Quality 90, 44 kHz, stereo VBR", 0, 44100, 2, true},
        {"5 kbps, 8 kHz, mono CBR", 5000, 8000, 1, true},
        {"440 kbps, 48 kHz, 5.1 channel 24 bit CBR", 440000, 48000, 6, true},
        {"", 0, 0, 0, false},
        {"high quality", 0, 0, 0, false},
    };
    for (const auto& c : cases) {
        const auto f = parseWmaFormat(c.text);
        ASSERT_EQ(f.has_value(), c.parsed) << "'" << c.text << "'";
        if (!f) continue;
        EXPECT_EQ(f->bitRate, c.bitRate) << "'" << c.text << "'";
        EXPECT_EQ(f->sampleRate, c.rate) << "'" << c.text << "'";
        EXPECT_EQ(f->channels, c.channels) << "'" << c.text << "'";
    }
}

TEST(FrameTimeline, RepeatsAndDropsToHoldTheRate) {
    // Source frame times in, output frames each source frame fills out (the last one at finish).
    struct Case {
        const char* name;
        Fraction rate;
        std::vector<double> times;
        double end;
        std::vector<std::int64_t> counts;  // per arrival (for the previous frame), then finish
    } cases[] = {
        {"same rate", {25, 1}, {0.0, 0.04, 0.08}, 0.12, {0, 1, 1, 1}},
        {"25 to 50 repeats every frame", {50, 1}, {0.0, 0.04, 0.08}, 0.12, {0, 2, 2, 2}},
        {"50 to 25 drops every second frame", {25, 1}, {0.0, 0.02, 0.04, 0.06}, 0.08, {0, 1, 0, 1, 0}},
        {"late start is padded with the first picture", {25, 1}, {0.2, 0.24}, 0.28, {5, 1, 1}},
        {"a gap repeats the frame before it", {25, 1}, {0.0, 0.4}, 0.44, {0, 10, 1}},
        {"timestamps going back drop the frame", {25, 1}, {0.0, 0.04, 0.02}, 0.08, {0, 1, 0, 1}},
        {"a single short frame still gives one frame", {25, 1}, {0.0}, 0.001, {0, 1}},
    };
    for (const auto& c : cases) {
        FrameTimeline timeline(c.rate);
        std::vector<std::int64_t> got;
        for (double t : c.times) got.push_back(timeline.arrive(t));
        got.push_back(timeline.finish(c.end));
        EXPECT_EQ(got, c.counts) << c.name;
    }
}

TEST(PictureFit, KeepsTheSourceShapeWithBars) {
    struct Case {
        const char* name;
        int srcW, srcH;
        Fraction srcSar;
        int w, h;
        Fraction sar;
        PictureRect expect;
    } cases[] = {
        {"same shape fills", 160, 120, {1, 1}, 640, 480, {1, 1}, {0, 0, 640, 480}},
        {"4:3 into square 720x480 is pillarboxed", 160, 120, {1, 1}, 720, 480, {1, 1}, {40, 0, 640, 480}},
        {"16:9 into 4:3 is letterboxed", 320, 180, {1, 1}, 640, 480, {1, 1}, {0, 60, 640, 360}},
        {"4:3 into a 4:3 DVD frame fills", 160, 120, {1, 1}, 720, 480, {8, 9}, {0, 0, 720, 480}},
        {"4:3 into a 16:9 frame of 4:3 pixels", 160, 120, {1, 1}, 640, 480, {4, 3}, {80, 0, 480, 480}},
        {"anamorphic DV keeps its display shape", 720, 480, {10, 11}, 640, 480, {1, 1}, {0, 6, 640, 468}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fitPicture(c.srcW, c.srcH, c.srcSar, c.w, c.h, c.sar), c.expect) << c.name;
}

TEST(AudioChoice, RefusedValuesBecomeTheNearestAccepted) {
    struct Case {
        const char* name;
        Muxer muxer;
        AudioPlan wanted;
        AudioCodec codec;
        int rate, channels;
        std::int64_t bitRate;
        bool noted;
    } cases[] = {
        {"MP3 in FLV at 48 kHz", Muxer::Flv, {AudioCodec::Mp3, 48000, 2, 128000}, AudioCodec::Mp3, 44100, 2, 128000, true},
        {"MP3 in FLV at 16 kHz", Muxer::Flv, {AudioCodec::Mp3, 16000, 2, 64000}, AudioCodec::Mp3, 11025, 2, 64000, true},
        {"MP2 at 22.05 kHz keeps to 160 kbit/s", Muxer::Mpeg, {AudioCodec::Mp2, 22050, 2, 224000}, AudioCodec::Mp2, 22050, 2, 160000, true},
        {"MP2 odd bit rate", Muxer::Mpeg, {AudioCodec::Mp2, 44100, 2, 200000}, AudioCodec::Mp2, 44100, 2, 192000, true},
        {"MP2 in FLV becomes MP3", Muxer::Flv, {AudioCodec::Mp2, 44100, 2, 128000}, AudioCodec::Mp3, 44100, 2, 128000, true},
        {"PCM in MP4 becomes AAC", Muxer::Mp4, {AudioCodec::PcmS16le, 48000, 2, 128000}, AudioCodec::Aac, 48000, 2, 128000, true},
        {"MP2 in MP4 becomes MP3", Muxer::Mp4, {AudioCodec::Mp2, 44100, 2, 224000}, AudioCodec::Mp3, 44100, 2, 224000, true},
        {"PCM in MOV is big-endian, no note", Muxer::Mov, {AudioCodec::PcmS16le, 44100, 2, 0}, AudioCodec::PcmS16be, 44100, 2, 0, false},
        {"PCM in an MPEG-1 system stream becomes MP2", Muxer::Mpeg, {AudioCodec::PcmS16le, 44100, 2, 224000}, AudioCodec::Mp2, 44100, 2, 224000, true},
        {"WMA above 48 kHz", Muxer::Asf, {AudioCodec::Wmav2, 96000, 2, 128000}, AudioCodec::Wmav2, 48000, 2, 128000, true},
        {"WMA below 24 kbit/s", Muxer::Asf, {AudioCodec::Wmav2, 22050, 1, 5000}, AudioCodec::Wmav2, 22050, 1, 24000, true},
        {"six channels become two", Muxer::Asf, {AudioCodec::Wmav2, 48000, 6, 192000}, AudioCodec::Wmav2, 48000, 2, 192000, true},
        {"AC3 at 22.05 kHz", Muxer::Mp4, {AudioCodec::Ac3, 22050, 2, 192000}, AudioCodec::Ac3, 32000, 2, 192000, true},
        {"AAC bit rate capped by the frame size", Muxer::Mp4, {AudioCodec::Aac, 8000, 1, 320000}, AudioCodec::Aac, 8000, 1, 48000, true},
        {"accepted values stay", Muxer::Mp4, {AudioCodec::Aac, 48000, 2, 128000}, AudioCodec::Aac, 48000, 2, 128000, false},
    };
    for (const auto& c : cases) {
        std::vector<std::string> notes;
        const AudioPlan got = legalAudio(c.muxer, nullptr, c.wanted, notes);
        EXPECT_EQ(got.codec, c.codec) << c.name;
        EXPECT_EQ(got.sampleRate, c.rate) << c.name;
        EXPECT_EQ(got.channels, c.channels) << c.name;
        EXPECT_EQ(got.bitRate, c.bitRate) << c.name;
        EXPECT_EQ(!notes.empty(), c.noted) << c.name;
    }
}

// A source like the test fixtures: 160x120, 25 frames/s, 44.1 kHz stereo.
SourceFacts clip() {
    SourceFacts s;
    s.hasVideo = s.hasAudio = true;
    s.width = 160;
    s.height = 120;
    s.frameRate = {25, 1};
    s.sampleRate = 44100;
    s.channels = 2;
    return s;
}

JobRequest standard(const std::string& file, std::vector<std::pair<std::string, std::string>> params) {
    JobRequest r;
    r.Output_Format = Format_IndStr_Standard_MPEG;
    r.Output_File_Name = file;
    r.params = std::move(params);
    return r;
}

TEST(Planner, ReadsTheParametersOfEachFormat) {
    struct Case {
        const char* name;
        JobRequest request;
        SourceFacts source;
        std::function<void(const JobPlan&)> check;
    } cases[] = {
        {"empty texts give the MP4 defaults", standard("a.mp4", {{"WIDTH", ""}, {"FRAMERATE", ""}, {"AUDIO_FORMAT", ""}}),
         clip(),
         [](const JobPlan& p) {
             EXPECT_EQ(p.container.muxer, Muxer::Mp4);
             EXPECT_EQ(p.video.codec, VideoCodec::Mpeg4);
             EXPECT_EQ(p.video.width, 640);
             EXPECT_EQ(p.video.height, 480);
             EXPECT_EQ(p.video.frameRate, (Fraction{30, 1}));
             EXPECT_EQ(p.audio.codec, AudioCodec::Mp3);
             EXPECT_EQ(p.audio.sampleRate, 48000);
             EXPECT_EQ(p.video.rate.bitRate, 1150000);
         }},
        {"MPEG1 in .mpeg is an MPEG-1 system stream", standard("a.mpeg", {{"OUTPUT_FORMAT", "MPEG1"}, {"VIDEO_FORMAT", "MPEG2"}}),
         clip(),
         [](const JobPlan& p) {
             EXPECT_EQ(p.container.muxer, Muxer::Mpeg);
             EXPECT_EQ(p.video.codec, VideoCodec::Mpeg1);
             EXPECT_EQ(p.video.width, 160);
             EXPECT_EQ(p.video.frameRate, (Fraction{30000, 1001}));
         }},
        {"MPEG2 at DVD PAL size is a DVD", standard("a.MPEG", {{"OUTPUT_FORMAT", "MPEG2"}, {"CONSTRAINT", "PAL"},
                                                               {"WIDTH", "720"}, {"HEIGHT", "576"}, {"FRAMERATE", "25"},
                                                               {"VIDEO_BITRATE", "4000"}, {"AUDIO_SAMPLE_RATE", "44100"}}),
         clip(),
         [](const JobPlan& p) {
             EXPECT_EQ(p.container.muxer, Muxer::Dvd);
             EXPECT_EQ(p.container.packetSize, 2048);
             EXPECT_EQ(p.container.muxRate, 10080000);
             EXPECT_EQ(p.video.gopSize, 15);
             EXPECT_EQ(p.video.rate.maxRate, 9000000);
             EXPECT_EQ(p.video.rate.bufferSize, 1835008);
             EXPECT_EQ(p.audio.sampleRate, 48000);  // a DVD has no 44.1 kHz
         }},
        {"VCD NTSC holds its constant rate and 29.97", standard("v.mpg", {{"OUTPUT_FORMAT", "MPEG1"}, {"CONSTRAINT", "NTSC"},
                                                                        {"WIDTH", "352"}, {"HEIGHT", "240"}, {"FRAMERATE", "30"},
                                                                        {"VIDEO_BITRATE", "2000"}, {"AUDIO_BITRATE", "128"}}),
         clip(),
         [](const JobPlan& p) {
             EXPECT_EQ(p.container.muxer, Muxer::Vcd);
             EXPECT_EQ(p.video.frameRate, (Fraction{30000, 1001}));
             EXPECT_EQ(p.video.rate.minRate, 1150000);
             EXPECT_EQ(p.video.rate.maxRate, 1150000);
             EXPECT_EQ(p.video.gopSize, 18);
             EXPECT_EQ(p.audio.bitRate, 224000);
             EXPECT_EQ(p.container.packetSize, 2324);
             EXPECT_FALSE(p.notes.empty());
         }},
        {"MPEG2 at VCD size is no disc", standard("v.mpeg", {{"OUTPUT_FORMAT", "MPEG2"}, {"CONSTRAINT", "NTSC"},
                                                            {"WIDTH", "352"}, {"HEIGHT", "240"}}),
         clip(), [](const JobPlan& p) { EXPECT_EQ(p.container.muxer, Muxer::Vob); }},
        {"SVCD PAL sets the scan offset", standard("s.mpeg", {{"OUTPUT_FORMAT", "MPEG2"}, {"CONSTRAINT", "PAL"},
                                                             {"WIDTH", "480"}, {"HEIGHT", "576"}}),
         clip(),
         [](const JobPlan& p) {
             EXPECT_EQ(p.container.muxer, Muxer::Svcd);
             EXPECT_TRUE(p.video.scanOffset);
             EXPECT_EQ(p.video.rate.maxRate, 2516000);
         }},
        {"MPEG rates snap to the standard ones", standard("a.mpeg", {{"FRAMERATE", "15"}}), clip(),
         [](const JobPlan& p) { EXPECT_EQ(p.video.frameRate, (Fraction{24000, 1001})); }},
        {"framerate 0 keeps the source's", standard("a.mp4", {{"FRAMERATE", "0"}}), clip(),
         [](const JobPlan& p) { EXPECT_EQ(p.video.frameRate, (Fraction{25, 1})); }},
        {"23.979 is film NTSC", standard("a.mov", {{"FRAMERATE", "23.979"}}), clip(),
         [](const JobPlan& p) { EXPECT_EQ(p.video.frameRate, (Fraction{24000, 1001})); }},
        {"odd sizes become even", standard("a.mp4", {{"WIDTH", "321"}, {"HEIGHT", "239"}}), clip(),
         [](const JobPlan& p) {
             EXPECT_EQ(p.video.width, 320);
             EXPECT_EQ(p.video.height, 238);
         }},
        {"16:9 display aspect on 640x480 gives wide pixels", standard("a.mp4", {{"ASPECT_RATIO", "16:9"}}), clip(),
         [](const JobPlan& p) {
             EXPECT_EQ(p.video.sampleAspect, (Fraction{4, 3}));
             EXPECT_EQ(p.video.picture, (PictureRect{80, 0, 480, 480}));
         }},
        {"MVBR: peak and buffer around the target", standard("a.mp4", {{"VIDEO_BITRATE_MODE", "MVBR"}, {"VIDEO_BITRATE", "1000"}}),
         clip(),
         [](const JobPlan& p) {
             EXPECT_EQ(p.video.rate.bitRate, 1000000);
             EXPECT_EQ(p.video.rate.maxRate, 1500000);
             EXPECT_EQ(p.video.rate.bufferSize, 1000000);
             EXPECT_EQ(p.video.rate.tolerance, 250000);
             EXPECT_EQ(p.video.rate.minQuantiser, 1);
         }},
        {"CBR holds the rate", standard("a.mp4", {{"VIDEO_BITRATE_MODE", "CBR"}, {"VIDEO_BITRATE", "800"}}), clip(),
         [](const JobPlan& p) {
             EXPECT_EQ(p.video.rate.minRate, 800000);
             EXPECT_EQ(p.video.rate.maxRate, 800000);
         }},
        {"iPod keeps Simple Profile within its limits", standard("i.mp4", {{"CONSTRAINT", "iPod"}, {"WIDTH", "640"},
                                                                          {"HEIGHT", "480"}, {"VIDEO_BITRATE", "4000"},
                                                                          {"FRAMERATE", "60"}}),
         clip(),
         [](const JobPlan& p) {
             EXPECT_EQ(p.video.profile, 0);
             EXPECT_EQ(p.video.maxBFrames, 0);
             EXPECT_LE(p.video.width, 480);
             EXPECT_LE(p.video.height, 480);
             EXPECT_EQ(p.video.width * 3, p.video.height * 4);
             EXPECT_EQ(p.video.rate.bitRate, 2500000);
             EXPECT_EQ(p.video.frameRate, (Fraction{30, 1}));
         }},
        {"Film uses B-frames", standard("f.mp4", {{"CONSTRAINT", "Film"}}), clip(),
         [](const JobPlan& p) { EXPECT_EQ(p.video.maxBFrames, 2); }},
        {"FLV ignores a codec it cannot carry", standard("a.flv", {{"OUTPUT_FORMAT", "MPEG2"}}), clip(),
         [](const JobPlan& p) {
             EXPECT_EQ(p.video.codec, VideoCodec::Flv1);
             EXPECT_FALSE(p.notes.empty());
         }},
        {"AUDIO_FORMAT None leaves audio out", standard("a.mp4", {{"AUDIO_FORMAT", "None"}}), clip(),
         [](const JobPlan& p) { EXPECT_EQ(p.audio.codec, AudioCodec::None); }},
        {"nonsense numbers fall back to the default", standard("a.mp4", {{"VIDEO_BITRATE", "lots"}, {"WIDTH", "wide"}}), clip(),
         [](const JobPlan& p) {
             EXPECT_EQ(p.video.rate.bitRate, 1150000);
             EXPECT_EQ(p.video.width, 640);
             EXPECT_EQ(p.notes.size(), 2u);
         }},
        {"parameter names in any case, the last one wins", standard("a.mp4", {{"width", "320"}, {"WIDTH", "480"}}), clip(),
         [](const JobPlan& p) { EXPECT_EQ(p.video.width, 480); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.check(planJob(c.request, c.source));
    }
}

TEST(Planner, WmvAviAndMp3FollowTheirProperties) {
    JobRequest wmv;
    wmv.Output_Format = Format_WMV;
    wmv.Output_File_Name = "w.wmv";
    wmv.WMV_Mode = VF_WM_CustomSettings;
    wmv.WMV_Custom_Audio_StreamPresent = wmv.WMV_Custom_Video_StreamPresent = true;
    wmv.WMV_Custom_Audio_Format = "64 kbps, 22 kHz, mono CBR";
    wmv.WMV_Custom_Video_Width = 321;
    wmv.WMV_Custom_Video_Height = 240;
    wmv.WMV_Custom_Video_FrameRate = 29.97;
    wmv.WMV_Custom_Video_KeyFrameInterval = 2;
    wmv.WMV_Custom_Video_Bitrate = 1150;
    wmv.WMV_Custom_Video_PeakBitRate = 6000;
    wmv.WMV_Custom_Video_Mode = VF_SM_VBR_PeakBitrate;
    JobPlan p = planJob(wmv, clip());
    EXPECT_EQ(p.container.muxer, Muxer::Asf);
    EXPECT_EQ(p.video.codec, VideoCodec::Wmv2);
    EXPECT_EQ(p.video.width, 320);
    EXPECT_EQ(p.video.frameRate, (Fraction{30000, 1001}));
    EXPECT_EQ(p.video.gopSize, 60);
    EXPECT_EQ(p.video.rate.bitRate, 1150000);
    EXPECT_EQ(p.video.rate.maxRate, 6000000);  // the peak the user typed caps the video
    EXPECT_EQ(p.audio.codec, AudioCodec::Wmav2);
    EXPECT_EQ(p.audio.sampleRate, 22050);
    EXPECT_EQ(p.audio.channels, 1);
    EXPECT_EQ(p.audio.bitRate, 64000);

    wmv.WMV_Custom_Video_Mode = VF_SM_CBR;
    wmv.WMV_Custom_Video_FrameRate = 0;
    wmv.WMV_Custom_Video_TVSystem = VF_TS_NTSC;
    wmv.WMV_Custom_Audio_StreamPresent = false;
    p = planJob(wmv, clip());
    EXPECT_EQ(p.video.rate.minRate, p.video.rate.maxRate);
    EXPECT_EQ(p.video.frameRate, (Fraction{30000, 1001}));
    EXPECT_EQ(p.audio.codec, AudioCodec::None);

    JobRequest avi;
    avi.Output_Format = Format_AVI;
    avi.Output_File_Name = "x.mp3";  // the writer, not the name, decides
    avi.Audio_BPS = 8;
    avi.Audio_Channels = 1;
    avi.Audio_SampleRate = 22050;
    p = planJob(avi, clip());
    EXPECT_EQ(p.container.muxer, Muxer::Avi);
    EXPECT_EQ(p.video.codec, VideoCodec::Mjpeg);
    EXPECT_EQ(p.audio.codec, AudioCodec::PcmU8);
    EXPECT_EQ(p.audio.channels, 1);
    EXPECT_EQ(p.audio.sampleRate, 22050);

    JobRequest mp3;
    mp3.Output_Format = Format_MP3;
    mp3.Output_File_Name = "s.mp3";
    for (const auto& [bits, quality] : {std::pair{8, 5}, {16, 2}, {24, 2}}) {
        mp3.Audio_BPS = bits;
        p = planJob(mp3, clip());
        EXPECT_EQ(p.audio.codec, AudioCodec::Mp3) << bits << " bits";
        EXPECT_EQ(p.audio.vbrQuality, quality) << bits << " bits";
        EXPECT_EQ(p.video.codec, VideoCodec::None) << bits << " bits";
    }
}

TEST(Planner, RefusesWhatCannotBeWritten) {
    SourceFacts silent = clip();
    silent.hasAudio = false;
    SourceFacts nothing;
    JobRequest mp3;
    mp3.Output_Format = Format_MP3;
    mp3.Output_File_Name = "s.mp3";
    struct Case { const char* name; JobRequest request; SourceFacts source; int code; } cases[] = {
        {"MP3 from a source without audio", mp3, silent, Error_Nothing},
        {"a source without streams", standard("a.mp4", {}), nothing, Error_Nothing},
        {"an extension no format writes", standard("a.xyz", {}), clip(), Error_Settings},
        {"no audio asked from an audio-only source", standard("a.mp4", {{"AUDIO_FORMAT", "None"}}),
         [] { SourceFacts s = clip(); s.hasVideo = false; return s; }(), Error_Nothing},
    };
    for (const auto& c : cases) {
        try {
            planJob(c.request, c.source);
            ADD_FAILURE() << c.name << ": planned anyway";
        } catch (const EngineError& e) {
            EXPECT_EQ(e.code(), c.code) << c.name;
            EXPECT_FALSE(std::string(e.what()).empty()) << c.name;
        }
    }
}

TEST(Planner, AudioOnlySourceGivesAnAudioOnlyPlan) {
    SourceFacts s = clip();
    s.hasVideo = false;
    for (const char* file : {"a.mpeg", "a.mp4", "a.mov", "a.flv", "a.wmv"}) {
        const JobPlan p = planJob(standard(file, {}), s);
        EXPECT_EQ(p.video.codec, VideoCodec::None) << file;
        EXPECT_NE(p.audio.codec, AudioCodec::None) << file;
    }
}

} // namespace
} // namespace pellucor::engine
