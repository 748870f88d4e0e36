// The component's life around a job: the order of its events, stopping, destinations that
// cannot be written, sources that are damaged or hold only one kind of stream, the user's
// locale, and going away while a job runs.
#include "EngineRun.h"
#include "PresetJobs.h"
#include "Probe.h"
#include "engine/EngineError.h"
#include "engine/NumberText.h"
#include "fixtures/AviFixture.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace pellucor::test {
namespace {

namespace fs = std::filesystem;
namespace presets = engine::presets;
using fixtures::AviSpec;

using fixtures::readFile;
using fixtures::writeFile;

// Names in the folder other than the ones given: a leftover temporary file shows up here.
std::vector<std::string> othersIn(const fs::path& folder, std::vector<std::string> known) {
    std::vector<std::string> others;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (std::find(known.begin(), known.end(), name) == known.end()) others.push_back(name);
    }
    return others;
}

std::string randomBytes(std::size_t n, unsigned seed) {
    std::string s(n, '\0');
    for (char& c : s) {
        seed = seed * 1664525u + 1013904223u;
        c = static_cast<char>(seed >> 24);
    }
    return s;
}

AviSpec seconds(double s) {
    AviSpec spec;
    spec.seconds = s;
    return spec;
}

TEST(EngineEvents, AJobThatRunsThroughStartsProgressesAndStopsOnce) {
    fixtures::TempDir dir;
    const std::string src = fixtures::writeAvi(dir / "clip.avi", seconds(2));
    EngineRun run;
    presets::configure(run.edit, presets::Mp4, 1, src, (dir / "clip.mp4").string());
    run.edit.Start();
    EXPECT_TRUE(run.edit.IsRunning());
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_FALSE(run.edit.IsRunning());
    EXPECT_TRUE(run.edit.LastJobCompleted());

    ASSERT_FALSE(run.events.empty());
    EXPECT_EQ(run.events.front(), "start");
    EXPECT_EQ(run.events.back(), "stop");
    EXPECT_EQ(run.ends, 1);
    EXPECT_EQ(std::count(run.events.begin(), run.events.end(), "start"), 1);
    ASSERT_FALSE(run.percents.empty());
    EXPECT_EQ(run.percents.back(), 100);
    for (std::size_t i = 1; i < run.percents.size(); ++i)
        EXPECT_LT(run.percents[i - 1], run.percents[i]) << "progress fell back or repeated at event " << i;
    for (int p : run.percents) EXPECT_TRUE(p >= 0 && p <= 100) << p;
    // Previews: at least the first picture, small, with the frame's shape and a full buffer.
    ASSERT_FALSE(run.previews.empty());
    for (const auto& p : run.previews) {
        EXPECT_GT(p.width, 0);
        EXPECT_LE(p.width, 192);
        EXPECT_LE(p.height, 144);
        EXPECT_EQ(p.width * 3, p.height * 4);  // 320x240 output
        EXPECT_EQ(p.rgb.size(), static_cast<std::size_t>(p.width) * p.height * 3);
    }
    EXPECT_TRUE(othersIn(dir.path(), {"clip.avi", "clip.mp4"}).empty()) << "a temporary file was left behind";

    // The same component runs the next job just as well.
    run.events.clear();
    run.ends = 0;
    presets::configure(run.edit, presets::Flv, 0, src, (dir / "clip.flv").string());
    run.edit.Video_Preview_Enabled = false;
    run.edit.Start();
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_EQ(run.ends, 1);
    EXPECT_TRUE(run.edit.LastJobCompleted());
    EXPECT_EQ(std::count(run.events.begin(), run.events.end(), "preview"), 0) << "preview while disabled";
    EXPECT_TRUE(probe((dir / "clip.flv").string()).readable);
}

TEST(EngineStop, StoppingEndsWithStopAndKeepsTheEarlierFile) {
    fixtures::TempDir dir;
    const std::string src = fixtures::writeAvi(dir / "long.avi", seconds(30));
    const fs::path dest = dir / "long.mpeg";
    struct Case { const char* name; bool stopAtFirstProgress; } cases[] = {
        {"stop right after start", false},
        {"stop at the first progress", true},
    };
    for (const auto& c : cases) {
        writeFile(dest, "an earlier conversion");
        EngineRun run;
        presets::configure(run.edit, presets::Mpeg, 2, src, dest.string());  // DVD: slow enough
        if (c.stopAtFirstProgress) {
            run.edit.OnProgress = [&run](int p) {
                run.events.push_back("progress");
                run.percents.push_back(p);
                run.edit.Stop();
            };
        }
        run.edit.Start();
        if (!c.stopAtFirstProgress) run.edit.Stop();
        ASSERT_TRUE(run.waitForEnd()) << c.name;
        EXPECT_TRUE(run.stopped()) << c.name << ": " << run.describe();
        EXPECT_EQ(run.ends, 1) << c.name;
        EXPECT_FALSE(run.edit.LastJobCompleted()) << c.name;
        EXPECT_FALSE(run.edit.IsRunning()) << c.name;
        if (c.stopAtFirstProgress) {
            ASSERT_FALSE(run.percents.empty()) << c.name;
            EXPECT_LT(run.percents.back(), 100) << c.name;
        }
        EXPECT_EQ(readFile(dest), "an earlier conversion") << c.name << ": the earlier file was touched";
        EXPECT_TRUE(othersIn(dir.path(), {"long.avi", "long.mpeg"}).empty()) << c.name << ": temporary file left";
    }
}

TEST(EngineDestination, AFolderThatCannotTakeTheFileGivesErrorWithoutStart) {
    fixtures::TempDir dir;
    const std::string src = fixtures::writeAvi(dir / "clip.avi", AviSpec{});
    writeFile(dir / "plain.txt", "not a folder");
    fs::create_directory(dir / "afolder");
    struct Case { const char* name; fs::path dest; } cases[] = {
        {"missing folder", dir / "missing" / "deeper" / "clip.mp4"},
        {"a file where the folder should be", dir / "plain.txt" / "clip.mp4"},
        {"the destination is a folder", dir / "afolder"},
    };
    for (const auto& c : cases) {
        EngineRun run;
        presets::configure(run.edit, presets::Mp4, 0, src, c.dest.string());
        run.edit.Start();
        ASSERT_TRUE(run.waitForEnd()) << c.name;
        EXPECT_EQ(run.events, std::vector<std::string>{"error"}) << c.name << ": " << run.describe();
        EXPECT_EQ(run.errorCode, engine::Error_Output) << c.name;
        EXPECT_FALSE(run.errorText.empty()) << c.name;
        EXPECT_FALSE(run.edit.IsRunning()) << c.name;
        EXPECT_FALSE(run.edit.LastJobCompleted()) << c.name;
    }
}

TEST(EngineDestination, AReadOnlyFolderGivesErrorWithoutStart) {
    if (::geteuid() == 0) GTEST_SKIP() << "running as root, which may write into read-only folders";
    fixtures::TempDir dir;
    const std::string src = fixtures::writeAvi(dir / "clip.avi", AviSpec{});
    fs::create_directory(dir / "locked");
    fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    EngineRun run;
    presets::configure(run.edit, presets::Mp4, 0, src, (dir / "locked" / "clip.mp4").string());
    run.edit.Start();
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_EQ(run.events, std::vector<std::string>{"error"}) << run.describe();
    EXPECT_EQ(run.errorCode, engine::Error_Output);
}

TEST(EngineInput, BadSourcesGiveAClearErrorOrWhatCouldBeRead) {
    fixtures::TempDir dir;
    const std::string good = readFile(fixtures::writeAvi(dir / "good.avi", seconds(2)));
    std::string middle = good;
    const std::string noise = randomBytes(good.size() / 3, 7);
    middle.replace(good.size() / 3, noise.size(), noise);
    struct Case { const char* name; std::string bytes; bool exists; bool mustFail; } cases[] = {
        {"empty file", "", true, true},
        {"random bytes", randomBytes(65536, 1), true, true},
        {"a text file", "hello, this is not a video\n", true, true},
        {"missing file", "", false, true},
        {"only the header", good.substr(0, 4096), true, false},
        {"cut in half", good.substr(0, good.size() / 2), true, false},
        {"garbage in the middle", middle, true, false},
    };
    for (const auto& c : cases) {
        const fs::path src = dir / (std::string(c.name) + ".avi");
        if (c.exists) writeFile(src, c.bytes);
        const fs::path dest = dir / (std::string(c.name) + ".mp4");
        EngineRun run;
        presets::configure(run.edit, presets::Mp4, 1, src.string(), dest.string());
        run.edit.Start();
        ASSERT_TRUE(run.waitForEnd()) << c.name;
        EXPECT_EQ(run.ends, 1) << c.name;
        if (run.failed()) {
            EXPECT_FALSE(run.errorText.empty()) << c.name;
            EXPECT_NE(run.errorText.find(src.filename().string()), std::string::npos)
                << c.name << ": the message does not name the file: " << run.errorText;
            EXPECT_FALSE(fs::exists(dest)) << c.name << ": a failed job left an output";
        } else {
            EXPECT_FALSE(c.mustFail) << c.name << ": converted anyway";
            EXPECT_TRUE(run.edit.LastJobCompleted()) << c.name;
            EXPECT_TRUE(probe(dest.string()).readable) << c.name << ": the partial output is unreadable";
        }
    }
    for (const std::string& name : othersIn(dir.path(), {}))
        EXPECT_EQ(name.find(".part-"), std::string::npos) << "a temporary file was left behind: " << name;
}

TEST(EngineInput, AFailedJobKeepsTheEarlierFileAndASuccessfulOneReplacesIt) {
    fixtures::TempDir dir;
    const fs::path dest = dir / "clip.mp4";
    writeFile(dest, "earlier");
    writeFile(dir / "broken.avi", randomBytes(10000, 3));
    EngineRun failing;
    presets::configure(failing.edit, presets::Mp4, 1, (dir / "broken.avi").string(), dest.string());
    failing.edit.Start();
    ASSERT_TRUE(failing.waitForEnd());
    ASSERT_TRUE(failing.failed()) << failing.describe();
    EXPECT_EQ(readFile(dest), "earlier");

    const std::string src = fixtures::writeAvi(dir / "clip.avi", AviSpec{});
    EngineRun working;
    presets::configure(working.edit, presets::Mp4, 1, src, dest.string());
    working.edit.Start();
    ASSERT_TRUE(working.waitForEnd());
    ASSERT_TRUE(working.edit.LastJobCompleted()) << working.describe();
    EXPECT_TRUE(probe(dest.string()).first("video")) << "the earlier file was not replaced";
}

TEST(EngineInput, Mp3FromASourceWithoutAudioIsAnError) {
    fixtures::TempDir dir;
    AviSpec silent;
    silent.audio = AviSpec::Audio::None;
    const std::string src = fixtures::writeAvi(dir / "silent.avi", silent);
    EngineRun run;
    presets::configure(run.edit, presets::Mp3, 0, src, (dir / "silent.mp3").string());
    run.edit.Start();
    ASSERT_TRUE(run.waitForEnd());
    ASSERT_TRUE(run.failed()) << run.describe();
    EXPECT_EQ(run.errorCode, engine::Error_Nothing);
    EXPECT_NE(run.errorText.find("audio"), std::string::npos) << run.errorText;
    EXPECT_FALSE(fs::exists(dir / "silent.mp3"));
}

TEST(EngineInput, OnlyTheStreamsAddedAsInputsAreConverted) {
    fixtures::TempDir dir;
    const std::string src = fixtures::writeAvi(dir / "clip.avi", AviSpec{});
    struct Case { const char* name; bool addVideo, addAudio; bool video, audio; } cases[] = {
        {"video input only", true, false, true, false},
        {"audio input only", false, true, false, true},
    };
    for (const auto& c : cases) {
        const fs::path dest = dir / (std::string(c.name) + ".mp4");
        EngineRun run;
        presets::configure(run.edit, presets::Mp4, 1, src, dest.string());
        run.edit.Input_Clear_List();
        if (c.addVideo) run.edit.Input_AddVideoFile(src, -1, -1, -1, src, 0, 0, 1.0);
        if (c.addAudio) run.edit.Input_AddAudioFile(src, -1, -1, -1, true, 1.0);
        run.edit.Start();
        ASSERT_TRUE(run.waitForEnd()) << c.name;
        ASSERT_TRUE(run.edit.LastJobCompleted()) << c.name << ": " << run.describe();
        const Probed p = probe(dest.string());
        EXPECT_EQ(p.first("video") != nullptr, c.video) << c.name;
        EXPECT_EQ(p.first("audio") != nullptr, c.audio) << c.name;
    }
}

TEST(EngineInput, InputsTheEngineCannotHonourAreRefusedBeforeStart) {
    fixtures::TempDir dir;
    const std::string a = fixtures::writeAvi(dir / "a.avi", AviSpec{});
    const std::string b = fixtures::writeAvi(dir / "b.avi", AviSpec{});
    struct Case { const char* name; std::function<void(engine::VideoEdit&)> inputs; } cases[] = {
        {"no input", [](engine::VideoEdit&) {}},
        {"two different files", [&](engine::VideoEdit& e) {
             e.Input_AddAudioFile(a, -1, -1, -1, true, 1.0);
             e.Input_AddVideoFile(b, -1, -1, -1, b, 0, 0, 1.0);
         }},
        {"a trimmed input", [&](engine::VideoEdit& e) { e.Input_AddVideoFile(a, 1000, 2000, -1, a, 0, 0, 1.0); }},
        {"double speed", [&](engine::VideoEdit& e) { e.Input_AddVideoFile(a, -1, -1, -1, a, 0, 0, 2.0); }},
    };
    for (const auto& c : cases) {
        EngineRun run;
        presets::configure(run.edit, presets::Mp4, 1, a, (dir / "out.mp4").string());
        run.edit.Input_Clear_List();
        c.inputs(run.edit);
        run.edit.Start();
        ASSERT_TRUE(run.waitForEnd()) << c.name;
        EXPECT_EQ(run.events, std::vector<std::string>{"error"}) << c.name << ": " << run.describe();
        EXPECT_FALSE(run.errorText.empty()) << c.name;
        EXPECT_FALSE(fs::exists(dir / "out.mp4")) << c.name;
    }
}

// Sets LC_NUMERIC to a locale whose decimal separator is a comma, making one with localedef
// in `scratch` when the system has none. Empty when neither works.
std::string commaLocale(const fs::path& scratch) {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"})
        if (std::setlocale(LC_NUMERIC, name)) return name;
    const std::string command = "localedef -i de_DE -f UTF-8 '" + (scratch / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return {};
    ::setenv("LOCPATH", scratch.c_str(), 1);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) return "de_DE.UTF-8";
    ::unsetenv("LOCPATH");
    return {};
}

TEST(EngineLocale, ACommaDecimalLocaleChangesNothing) {
    fixtures::TempDir dir;
    const std::string locale = commaLocale(dir.path());
    if (locale.empty() || std::localeconv()->decimal_point != std::string(","))
        GTEST_SKIP() << "no locale with a decimal comma is installed and localedef could not make one";
    struct Restore {
        ~Restore() {
            std::setlocale(LC_NUMERIC, "C");
            ::unsetenv("LOCPATH");
        }
    } restore;
    // The locale is live: the C library now reads "29.97" as 29.
    EXPECT_NE(std::strtod("29.97", nullptr), 29.97) << "the locale did not take effect";
    EXPECT_EQ(engine::parseFrameRate("29.97"), (engine::Fraction{30000, 1001}));
    EXPECT_EQ(engine::parseFrameRate("29,97"), (engine::Fraction{30000, 1001}));

    const std::string src = fixtures::writeAvi(dir / "clip.avi", AviSpec{});
    struct Case { const char* name; int page, preset; const char* extension; } cases[] = {
        {"MPEG at 29.97", presets::Mpeg, 0, ".mpeg"},
        {"WMV at 29.97", presets::Wmv, 0, ".wmv"},
    };
    for (const auto& c : cases) {
        const fs::path dest = dir / (std::string("out") + c.extension);
        EngineRun run;
        presets::configure(run.edit, c.page, c.preset, src, dest.string());
        run.edit.Start();
        ASSERT_TRUE(run.waitForEnd()) << c.name;
        ASSERT_TRUE(run.edit.LastJobCompleted()) << c.name << ": " << run.describe();
        const Probed p = probe(dest.string());
        const ProbedStream* v = p.first("video");
        ASSERT_NE(v, nullptr) << c.name;
        EXPECT_EQ(v->get("r_frame_rate"), "30000/1001") << c.name << " under " << locale;
    }
}

TEST(EngineLifetime, DestroyingTheComponentDuringAJobStopsItQuietly) {
    fixtures::TempDir dir;
    const std::string src = fixtures::writeAvi(dir / "long.avi", seconds(30));
    ManualScheduler scheduler;
    std::vector<std::string> events;
    {
        engine::VideoEdit edit(scheduler);
        presets::configure(edit, presets::Mpeg, 2, src, (dir / "long.mpeg").string());
        edit.OnStart = [&] { events.push_back("start"); };
        edit.OnStop = [&] { events.push_back("stop"); };
        edit.OnError = [&](int, const std::string&) { events.push_back("error"); };
        edit.OnProgress = [&](int) { events.push_back("progress"); };
        edit.Start();
    }  // the destructor stops and joins the worker
    scheduler.runPosted();  // what the worker had queued must not reach the gone component
    EXPECT_TRUE(events.empty()) << events.size() << " events after the component was destroyed";
    EXPECT_FALSE(fs::exists(dir / "long.mpeg"));
    EXPECT_TRUE(othersIn(dir.path(), {"long.avi"}).empty()) << "a temporary file was left behind";
}

} // namespace
} // namespace pellucor::test
