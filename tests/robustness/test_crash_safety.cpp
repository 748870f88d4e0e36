// Crash safety: a child process saves the settings, converts, or appends log lines in a loop and
// is killed with SIGKILL at random moments (a fixed seed, so a failure can be replayed). After
// every kill what the next run finds must be whole: the hive loads and equals one of the two sets
// of values exactly, the destination is the earlier file or the complete new one, and every
// acknowledged log line is there, ended by CR LF (the start of the line a kill interrupted may
// follow them, and the next append removes it).
#include "EngineRun.h"
#include "ForkedChild.h"
#include "conversion/ConversionLog.h"
#include "conversion/StartJob.h"
#include "fixtures/AviFixture.h"
#include "fixtures/TempDir.h"
#include "settings/cdSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <set>
#include <sstream>
#include <thread>

namespace pellucor::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;

constexpr unsigned kSeed = 20240611;

using fixtures::readFile;
using fixtures::writeFile;


using fixtures::namesIn;

// Sleeps a random part of `span`: the moment of the kill.
void sleepRandomPart(std::mt19937& rng, microseconds span) {
    std::uniform_int_distribution<long> pick(0, std::max<long>(1, span.count()));
    std::this_thread::sleep_for(microseconds(pick(rng)));
}

// ---- settings ----------------------------------------------------------------------------

const std::string kKey = "Software\\Tamrix\\Pellucor\\Setting";

std::unique_ptr<TcdSettings> settingsOn(const fs::path& hive) {
    auto s = std::make_unique<TcdSettings>();
    s->HivePath = hive;
    s->AutoLoad = false;  // only the saves the test makes
    s->RegistryKey = kKey;
    return s;
}

std::vector<std::string> texts(const TcdSettings& s) {
    std::vector<std::string> out;
    for (int p = 4; p < s.PublishedPropertyCount(); ++p) out.push_back(s.propertyText(p));
    return out;
}

void apply(TcdSettings& s, const std::vector<std::string>& values) {
    for (int p = 4; p < s.PublishedPropertyCount(); ++p) s.setPropertyText(p, values[p - 4]);
}

// A second set in which every property differs from the defaults, with texts that need quoting
// and the hex form, long enough that a save takes more than a moment.
std::vector<std::string> otherValues(const TcdSettings& defaults) {
    std::vector<std::string> out;
    for (int p = 4; p < defaults.PublishedPropertyCount(); ++p) {
        switch (defaults.PublishedProperty(p).kind) {
        case PropertyKind::String:
            out.push_back("B\"" + std::to_string(p) + "\" \\ é\r\nline " + std::string(150 + p, 'x'));
            break;
        case PropertyKind::Integer: out.push_back(std::to_string(-7 * p - 1)); break;
        case PropertyKind::Boolean: out.push_back(defaults.propertyText(p) == "true" ? "false" : "true"); break;
        }
    }
    return out;
}

TEST(CrashSafety, SettingsSavedInALoopAreAlwaysTheOldOrTheNewValues) {
    fixtures::TempDir dir;
    const fs::path hive = dir / "config" / "user.reg";
    const std::vector<std::string> a = texts(*settingsOn(hive));
    const std::vector<std::string> b = otherValues(*settingsOn(hive));
    ASSERT_NE(a, b);

    // The first save, and how long a save takes here, which sets the span of the kill moments.
    auto first = settingsOn(hive);
    const auto t0 = Clock::now();
    for (int i = 0; i < 4; ++i) first->SaveSettings();
    const auto saveTime = std::chrono::duration_cast<microseconds>(Clock::now() - t0) / 4;

    std::mt19937 rng(kSeed);
    int sawA = 0, sawB = 0, leftovers = 0;
    for (int round = 0; round < 30; ++round) {
        const std::string what = "round " + std::to_string(round);
        ForkedChild child([&](ForkedChild& self) -> std::string {
            auto s = settingsOn(hive);
            for (int i = 0;; ++i) {
                apply(*s, i % 2 ? a : b);
                s->SaveSettings();
                self.send(".");
            }
        });
        // Let a few saves through (none, sometimes), then kill somewhere inside the next ones.
        const std::size_t saves = std::uniform_int_distribution<std::size_t>(0, 3)(rng);
        child.readAtLeast(saves, milliseconds(60000));
        sleepRandomPart(rng, 2 * saveTime);
        child.kill();
        const ChildEnd end = child.wait(milliseconds(60000));
        ASSERT_EQ(end.signal, SIGKILL) << what << ": the saving child " << end.describe() << ": " << end.reply;

        for (const std::string& name : namesIn(hive.parent_path())) {
            if (name.rfind("user.reg.tmp-", 0) == 0) ++leftovers;
            else EXPECT_TRUE(name == "user.reg" || name == "user.reg.lock") << what << ": unexpected file " << name;
        }
        auto loaded = settingsOn(hive);
        const std::vector<std::string> messages = loaded->LoadSettings();
        EXPECT_TRUE(messages.empty()) << what << ": " << (messages.empty() ? "" : messages.front());
        const std::vector<std::string> got = texts(*loaded);
        ASSERT_TRUE(got == a || got == b) << what << ": the hive holds a mix of the two sets";
        (got == a ? sawA : sawB)++;
    }
    std::cout << "[   INFO   ] hive: " << sawA << " kills left the defaults, " << sawB
              << " the other set; " << leftovers << " left a temporary file behind\n";

    // The next writer clears the temporary files a killed one left.
    first->SaveSettings();
    EXPECT_EQ(namesIn(hive.parent_path()), (std::set<std::string>{"user.reg", "user.reg.lock"}));
}

// ---- a conversion ------------------------------------------------------------------------

std::string convertOnce(const std::string& source, const std::string& destination) {
    TcdSettings settings;
    settings.PageIndex = 3;  // FLV: the quickest of the video formats
    EngineRun run;
    run.edit.Video_Preview_Enabled = false;
    conversion::StartJob(run.edit, settings, source, destination);
    if (!run.waitForEnd(std::chrono::seconds(600))) return "unfinished";
    return run.edit.LastJobCompleted() ? "completed" : run.describe();
}

TEST(CrashSafety, AConversionKilledMidwayLeavesTheEarlierFileOrTheWholeNewOne) {
    fixtures::TempDir dir;
    fixtures::AviSpec spec;
    spec.seconds = 0.4;
    const std::string source = fixtures::writeAvi(dir / "clip.avi", spec);
    const std::string sourceBytes = readFile(source);
    fs::create_directories(dir / "reference");
    fs::create_directories(dir / "out");

    // What a job that runs through writes (the engine is deterministic), and how long the whole
    // child takes, which sets the span of the kill moments.
    const auto t0 = Clock::now();
    ForkedChild reference([&](ForkedChild&) { return convertOnce(source, (dir / "reference" / "clip.flv").string()); });
    const ChildEnd refEnd = reference.wait(milliseconds(300000));
    const auto jobTime = std::chrono::duration_cast<microseconds>(Clock::now() - t0);
    ASSERT_EQ(refEnd.reply, "completed") << refEnd.describe();
    const std::string complete = readFile(dir / "reference" / "clip.flv");

    const fs::path dest = dir / "out" / "clip.flv";
    const std::string earlier = "the earlier clip.flv, which must survive a killed job\n";
    writeFile(dest, earlier);
    // The engine's temporary name: ".clip.flv.part-" and six letters or digits.
    auto temporary = [](const std::string& name) {
        const std::string prefix = ".clip.flv.part-";
        return name.size() == prefix.size() + 6 && name.rfind(prefix, 0) == 0 &&
               std::all_of(name.begin() + prefix.size(), name.end(), [](unsigned char c) { return std::isalnum(c); });
    };

    std::mt19937 rng(kSeed);
    int keptEarlier = 0, replaced = 0;
    for (int round = 0; round < 20; ++round) {
        const std::string what = "round " + std::to_string(round);
        ForkedChild child([&](ForkedChild&) { return convertOnce(source, dest.string()); });
        sleepRandomPart(rng, jobTime + jobTime / 4);
        child.kill();
        const ChildEnd end = child.wait(milliseconds(300000));
        ASSERT_TRUE(end.signal == SIGKILL || end.reply == "completed") << what << ": " << end.describe() << " " << end.reply;

        ASSERT_TRUE(fs::exists(dest)) << what << ": the earlier file is gone";
        const std::string now = readFile(dest);
        if (now == earlier) {
            ++keptEarlier;
        } else {
            ASSERT_EQ(now.size(), complete.size()) << what << ": the destination holds a half-written file";
            ASSERT_TRUE(now == complete) << what << ": the destination holds something else than the job's output";
            ++replaced;
            writeFile(dest, earlier);  // the next round starts from an earlier file again
        }
        for (const std::string& name : namesIn(dir / "out"))
            EXPECT_TRUE(name == "clip.flv" || temporary(name)) << what << ": unexpected file " << name;
        EXPECT_EQ(readFile(source), sourceBytes) << what << ": the source was touched";
    }
    const std::size_t left = namesIn(dir / "out").size() - 1;

    // A later job that runs through: it replaces the destination and removes the temporary
    // files the killed jobs left (their locks died with them).
    // Every round's job already removed the rounds before it; one more leftover stands for the
    // last kill, whether or not it left one.
    writeFile(dir / "out" / ".clip.flv.part-k1lled", "from a killed job");
    ForkedChild later([&](ForkedChild&) { return convertOnce(source, dest.string()); });
    EXPECT_EQ(later.wait(milliseconds(300000)).reply, "completed");
    EXPECT_EQ(readFile(dest), complete);
    EXPECT_EQ(namesIn(dir / "out"), std::set<std::string>{"clip.flv"});
    std::cout << "[   INFO   ] conversion: " << keptEarlier << " kills kept the earlier file, " << replaced
              << " came after the new one was in place; " << left << " temporary files left by killed jobs, "
              << namesIn(dir / "out").size() - 1 << " after a later complete job\n";
}

// ---- the hot-directory log ---------------------------------------------------------------

// Line i of the log: numbered, of lengths from a few bytes to several pages, as long paths make.
std::string logLine(int i) {
    const std::size_t pad = static_cast<std::size_t>(i) * 7919u % 9000u;
    return "Load: /in/clip" + std::to_string(i) + "/" + std::string(pad, 'p') + ".avi [Success]";
}

// The file as whole lines (each ended by CR LF) and what follows the last of them.
std::pair<std::vector<std::string>, std::string> splitLog(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t end; (end = text.find("\r\n", from)) != std::string::npos; from = end + 2)
        lines.push_back(text.substr(from, end - from));
    return {lines, text.substr(from)};
}

TEST(CrashSafety, EveryLogLineWrittenBeforeAKillIsThereWhole) {
    fixtures::TempDir dir;
    fs::create_directories(dir / "log");
    const std::string file = conversion::LogFilePath((dir / "log").string(), std::time(nullptr));

    const auto t0 = Clock::now();
    conversion::AppendLogLine(logLine(0), file);
    const auto appendTime = std::chrono::duration_cast<microseconds>(Clock::now() - t0);

    std::mt19937 rng(kSeed);
    int next = 1;  // whole lines in the file
    int torn = 0;
    for (int round = 0; round < 25; ++round) {
        const std::string what = "round " + std::to_string(round);
        ForkedChild child([&](ForkedChild& self) -> std::string {
            for (int i = next;; ++i) {
                conversion::AppendLogLine(logLine(i), file);
                self.send(std::to_string(i) + "\n");  // acknowledged: AppendLogLine has returned
            }
        });
        const std::size_t acks = std::uniform_int_distribution<std::size_t>(0, 3)(rng);
        child.readAtLeast(acks * 3, milliseconds(60000));
        sleepRandomPart(rng, 2 * appendTime);
        child.kill();
        const ChildEnd end = child.wait(milliseconds(60000));
        ASSERT_EQ(end.signal, SIGKILL) << what << ": the logging child " << end.describe() << ": " << end.reply;

        int lastAcked = next - 1;
        std::istringstream acked(end.reply);
        for (int i; acked >> i;) lastAcked = i;

        // Every line before, whole and in order: a fragment a kill left in an earlier round was
        // cut off by this round's first append instead of running into its line.
        const auto [lines, tail] = splitLog(readFile(file));
        const int count = static_cast<int>(lines.size());
        ASSERT_GE(count - 1, lastAcked) << what << ": an acknowledged line is missing";
        ASSERT_LE(count - 1, lastAcked + 1) << what << ": more lines than were written";
        for (int i = 0; i < count; ++i) ASSERT_EQ(lines[i], logLine(i)) << what << ": line " << i << " is not whole";
        // The kernel writes page by page, so a kill inside an append may leave the start of that
        // line, never acknowledged, and nothing else.
        if (!tail.empty()) {
            ++torn;
            EXPECT_EQ(count - 1, lastAcked) << what << ": a fragment after an unacknowledged line";
            EXPECT_EQ((logLine(count) + "\r\n").rfind(tail, 0), 0u) << what << ": the end of the log is not the start of line " << count;
        }
        next = count;
    }
    // The next append after the last kill leaves only whole lines.
    conversion::AppendLogLine(logLine(next), file);
    const auto [lines, tail] = splitLog(readFile(file));
    EXPECT_EQ(tail, "");
    ASSERT_EQ(static_cast<int>(lines.size()), next + 1);
    for (int i = 0; i <= next; ++i) ASSERT_EQ(lines[i], logLine(i)) << "line " << i;
    std::cout << "[   INFO   ] log: " << next + 1 << " lines; " << torn
              << " kills left the start of a line, which the next append removed\n";
}

// What a kill inside an append leaves, and what the next append makes of it: the torn start of
// a line is cut off, whole lines stay, the new line follows the last whole one.
TEST(CrashSafety, TheStartOfALineAKillLeftIsCutOffByTheNextAppend) {
    fixtures::TempDir dir;
    const std::string whole = "Start: [10:00:00]\r\nLoad: /in/a.avi [Success]\r\n";
    struct Case {
        const char* name;
        std::string before, after;
    } cases[] = {
        {"no file yet", "", ""},
        {"whole lines", whole, whole},
        {"a few bytes of a line", whole + "Save t", whole},
        {"a line without its line feed", whole + "Save to: /out/a.flv [Success]\r", whole},
        {"a torn first line", "Start: [10:", ""},
        {"a torn line longer than a page", whole + std::string(10000, 'p'), whole},
        {"a torn line of carriage returns", whole + "\r\r\r", whole},
    };
    for (const Case& c : cases) {
        const fs::path file = dir / (std::string(c.name) + ".log");
        if (!c.before.empty()) writeFile(file, c.before);
        conversion::AppendLogLine("Finish: [10:00:01]", file.string());
        EXPECT_EQ(readFile(file), c.after + "Finish: [10:00:01]\r\n") << c.name;
    }
}

} // namespace
} // namespace pellucor::test
