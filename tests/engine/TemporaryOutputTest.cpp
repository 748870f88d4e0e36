// The job's temporary file: created beside the destination and locked while the job lives;
// what killed jobs left behind for the same destination is removed by the next job, and nothing
// else is touched: not a file a living job holds, not another destination's, not a look-alike
// name, not what a symbolic link points at.
#include "engine/EngineError.h"
#include "engine/TemporaryOutput.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>

namespace pellucor::engine {
namespace {

namespace fs = std::filesystem;

using fixtures::namesIn;

void touch(const fs::path& path, const std::string& text = "left") { std::ofstream(path) << text; }

TEST(TemporaryOutput, IsCreatedBesideTheDestinationUnderItsHiddenName) {
    fixtures::TempDir dir;
    const TemporaryFile t = createTemporaryBeside((dir / "clip.mp4").string());
    const std::string name = fs::path(t.path).filename().string();
    EXPECT_EQ(fs::path(t.path).parent_path(), dir.path());
    EXPECT_EQ(name.rfind(".clip.mp4.part-", 0), 0u) << name;
    EXPECT_EQ(name.size(), std::string(".clip.mp4.part-").size() + 6) << name;
    EXPECT_TRUE(t.lock.valid());
    EXPECT_EQ(fs::file_size(t.path), 0u);
}

TEST(TemporaryOutput, LeftoversOfKilledJobsGoAndNothingElseIsTouched) {
    fixtures::TempDir dir;
    touch(dir / ".clip.mp4.part-abc123");    // a killed job's file: nobody holds it
    touch(dir / ".clip.mp4.part-ZZ9zz9");    // another one
    touch(dir / ".clip.flv.part-abc123");    // another destination's
    touch(dir / ".clip.mp4.part-abc");       // not the engine's name: too short
    touch(dir / ".clip.mp4.part-abc12!");    // not the engine's name: not a letter or digit
    touch(dir / "clip.mp4.part-abc123");     // not hidden
    touch(dir / "clip.mp4", "the earlier output");
    fs::create_directories(dir / "elsewhere");
    touch(dir / "elsewhere" / "precious");
    fs::create_symlink(dir / "elsewhere" / "precious", dir / ".clip.mp4.part-link00");

    const TemporaryFile t = createTemporaryBeside((dir / "clip.mp4").string());
    std::set<std::string> expected{".clip.flv.part-abc123", ".clip.mp4.part-abc",     ".clip.mp4.part-abc12!",
                                   "clip.mp4.part-abc123",  "clip.mp4",               "elsewhere",
                                   ".clip.mp4.part-link00", fs::path(t.path).filename().string()};
    EXPECT_EQ(namesIn(dir.path()), expected);
    EXPECT_TRUE(fs::exists(dir / "elsewhere" / "precious"));
    std::ifstream earlier(dir / "clip.mp4");
    std::string text;
    std::getline(earlier, text);
    EXPECT_EQ(text, "the earlier output");
}

TEST(TemporaryOutput, AFileALivingJobHoldsStaysUntilThatJobIsGone) {
    fixtures::TempDir dir;
    const std::string destination = (dir / "clip.mp4").string();
    std::optional<TemporaryFile> running = createTemporaryBeside(destination);
    const std::string held = running->path;

    const TemporaryFile second = createTemporaryBeside(destination);
    EXPECT_TRUE(fs::exists(held)) << "the running job's file was taken for a leftover";
    EXPECT_NE(second.path, held);

    running.reset();  // the first job dies without removing its file: its lock goes with it
    removeAbandonedTemporaries(destination);
    EXPECT_FALSE(fs::exists(held));
    EXPECT_TRUE(fs::exists(second.path)) << "the second job still runs";
}

TEST(TemporaryOutput, AFolderThatCannotTakeAFileIsNamed) {
    fixtures::TempDir dir;
    try {
        createTemporaryBeside((dir / "missing" / "clip.mp4").string());
        FAIL() << "no error for a missing folder";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.code(), Error_Output);
        EXPECT_NE(std::string(e.what()).find((dir / "missing").string()), std::string::npos) << e.what();
    }
}

} // namespace
} // namespace pellucor::engine
