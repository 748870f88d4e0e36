// Broken AVI files converted to every format through the job builder with the default presets:
// each job ends in exactly one OnError with a clear text, or one OnStop with a readable output,
// in bounded time and memory, and never crashes. Every job runs in a child process of its own, so
// a crash or a hang is reported with the file and format instead of taking the test down.
#include "BrokenAvi.h"
#include "EngineRun.h"
#include "ForkedChild.h"
#include "Probe.h"
#include "conversion/OutputName.h"
#include "conversion/StartJob.h"
#include "fixtures/TempDir.h"
#include "settings/cdSettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace pellucor::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPageNames[] = {"MPEG", "MP4", "WMV", "FLV", "MOV", "MP3"};
// Far above a tiny job's needs (about 150 MB under the sanitizers), far below a runaway one's.
constexpr long kMaxRssKb = 600 * 1024;
// Only a hung job comes near this.
constexpr std::chrono::seconds kGuard{120};

// The child: one job through StartJob on a fresh component, pumped to its end. The reply is
// "stop <completed> <ends>" or "error <ends>" followed by the error text on the next line.
std::string convertInChild(const std::string& source, const std::string& destination, int page) {
    boundAddressSpace(1536);
    TcdSettings settings;  // the defaults of a fresh account; RegistryKey is empty, nothing is saved
    settings.PageIndex = page;
    EngineRun run;
    run.edit.Video_Preview_Enabled = false;
    conversion::StartJob(run.edit, settings, source, destination);
    if (!run.waitForEnd(std::chrono::seconds(600))) return "unfinished";
    std::ostringstream reply;
    if (run.failed())
        reply << "error " << run.ends << "\n" << run.errorText;
    else
        reply << "stop " << run.edit.LastJobCompleted() << " " << run.ends;
    return reply.str();
}

bool allows(Outcome expected, bool failed) {
    return expected == Outcome::Either || (expected == Outcome::MustFail) == failed;
}

std::vector<std::string> partFiles(const fs::path& folder) {
    std::vector<std::string> found;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().filename().string().find(".part-") != std::string::npos) found.push_back(e.path().filename());
    return found;
}

TEST(HostileMedia, EveryBrokenFileEndsOnceClearlyInEveryFormat) {
    fixtures::TempDir dir;
    fs::create_directories(dir / "src");
    const std::vector<BrokenAvi> corpus = brokenAviCorpus(dir.path());
    int failures = 0, conversions = 0;
    for (const BrokenAvi& avi : corpus) {
        const fs::path source = dir / "src" / (avi.name + ".avi");
        std::ofstream(source, std::ios::binary) << avi.bytes;
        for (int page = 0; page < 6; ++page) {
            const std::string what = avi.name + " -> " + kPageNames[page];
            const fs::path out = dir / "out" / kPageNames[page];
            fs::create_directories(out);
            const fs::path dest = out / conversion::BuildOutputName(source.string(), page);

            ForkedChild child([&](ForkedChild&) { return convertInChild(source.string(), dest.string(), page); });
            const ChildEnd end = child.wait(kGuard);
            ASSERT_TRUE(end.exited) << what << ": the job " << end.describe() << "; it said: " << end.reply;
            EXPECT_LT(end.maxRssKb, kMaxRssKb) << what << ": took " << end.maxRssKb / 1024 << " MB";

            std::istringstream reply(end.reply);
            std::string kind;
            int ends = 0;
            reply >> kind;
            const Outcome expected = page == 5 ? avi.mp3 : avi.video;
            if (kind == "error") {
                ++failures;
                std::string text;
                reply >> ends;
                reply.ignore(1);
                std::getline(reply, text, '\0');
                EXPECT_EQ(ends, 1) << what;
                // Clear: it says which file (or that the source) is at fault, not just a code.
                EXPECT_TRUE(text.find(source.filename().string()) != std::string::npos ||
                            text.find("source") != std::string::npos)
                    << what << ": the message does not say what is wrong with which file: '" << text << "'";
                EXPECT_TRUE(allows(expected, true)) << what << ": failed although it should convert: " << text;
                EXPECT_FALSE(fs::exists(dest)) << what << ": a failed job left a file under the final name";
            } else {
                ASSERT_EQ(kind, "stop") << what << ": " << end.reply;
                ++conversions;
                bool completed = false;
                reply >> completed >> ends;
                EXPECT_EQ(ends, 1) << what;
                EXPECT_TRUE(completed) << what << ": a job nobody stopped ended as stopped";
                EXPECT_TRUE(allows(expected, false)) << what << ": converted although it cannot be";
                ASSERT_TRUE(fs::exists(dest)) << what << ": OnStop without an output";
                EXPECT_GT(fs::file_size(dest), 0u) << what;
                EXPECT_TRUE(probe(dest.string()).readable) << what << ": the output cannot be read back";
            }
            EXPECT_EQ(partFiles(out), std::vector<std::string>{}) << what << ": temporary files left behind";
        }
    }
    // The control and the one-stream files must convert, the hopeless ones fail: both kinds of
    // end were really seen, so the checks above ran on both branches.
    EXPECT_GT(failures, 0);
    EXPECT_GT(conversions, 0);
}

} // namespace
} // namespace pellucor::test
