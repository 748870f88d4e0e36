// Where the program, its data files and the user's documents are.
#include "platform/Paths.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace pellucor::platform;
using pellucor::fixtures::writeFile;

namespace {

// Removes a file (and the folders made for it) at the end of a test, whatever happens.
struct RemoveLater {
    std::vector<std::filesystem::path> paths;
    ~RemoveLater()
    {
        std::error_code ec;
        for (auto it = paths.rbegin(); it != paths.rend(); ++it) std::filesystem::remove(*it, ec);
    }
};

TEST(Paths, TheProgramIsTheRunningFile)
{
    EXPECT_EQ(programFile(), std::filesystem::read_symlink("/proc/self/exe"));
    EXPECT_EQ(programDirectory(), programFile().parent_path().string() + "/");
}

TEST(Paths, DataFilesBesideTheProgramComeBeforeTheSharedFolder)
{
    const std::string name = "pellucor-paths-test-" + std::to_string(::getpid()) + ".lng";
    const std::filesystem::path beside = std::filesystem::path(programDirectory()) / name;
    const std::filesystem::path shareDir = programFile().parent_path().parent_path() / "share" / "pellucor";
    const std::filesystem::path shared = shareDir / name;
    RemoveLater cleanup;
    if (!std::filesystem::exists(shareDir.parent_path())) cleanup.paths.push_back(shareDir.parent_path());
    if (!std::filesystem::exists(shareDir)) cleanup.paths.push_back(shareDir);
    cleanup.paths.push_back(shared);
    cleanup.paths.push_back(beside);

    EXPECT_EQ(dataFilePath(name), beside) << "neither exists: the program folder's path";
    writeFile(shared, "shared");
    EXPECT_EQ(dataFilePath(name), shared);
    writeFile(beside, "beside");
    EXPECT_EQ(dataFilePath(name), beside);
}

TEST(Paths, DocumentsFollowTheXdgUserDirs)
{
    pellucor::fixtures::TempDir home;
    const char* oldHome = std::getenv("HOME");
    const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    const std::optional<std::string> savedConfig = oldConfig ? std::optional<std::string>(oldConfig) : std::nullopt;
    ::setenv("HOME", home.path().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home / "cfg").c_str(), 1);
    writeFile(home / "cfg" / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Papiere/\"\n");
    std::filesystem::create_directories(home / "Papiere");
    const std::string documents = documentsFolder();
    ::setenv("HOME", savedHome.c_str(), 1);
    if (savedConfig) ::setenv("XDG_CONFIG_HOME", savedConfig->c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(documents, (home / "Papiere").string()) << "no trailing slash";
}

} // namespace
