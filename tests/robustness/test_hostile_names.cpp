// Hostile file and folder names: blanks, quotes, command substitutions, backslashes, line breaks,
// bytes that are not UTF-8, a leading dash, a protocol-like prefix, printf and glob characters,
// the longest name a folder takes. Converted by the real pellucor-cli and through the job builder:
// every output has its right name and nothing is ever run, which a file named "pwned" would show.
#include "EngineRun.h"
#include "Probe.h"
#include "conversion/OutputName.h"
#include "conversion/StartJob.h"
#include "fixtures/AviFixture.h"
#include "fixtures/TempDir.h"
#include "settings/cdSettings.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace pellucor::test {
namespace {

namespace fs = std::filesystem;

// Names a user may well give files, each of which breaks a program that builds a command line
// or a format string from a path.
std::vector<std::string> hostileNames() {
    return {
        "with  spaces\tand a tab.avi",
        "quotes ' and \" both.avi",
        "$(touch pwned).avi",
        "`touch pwned`.avi",
        "semi; touch pwned; #.avi",
        "back\\slash \\n \\\\.avi",
        "new\nline.avi",
        "not UTF-8 \xff\xfe\xc0\x80.avi",
        "-leading dash.avi",
        "--output.avi",
        "pipe:1.avi",
        "concat:a.avi|b.avi",
        "percent %d %s %n %%.avi",
        "glob *?[a].avi",
        "many.dots..in.the...name.avi",
        // The longest name a folder entry takes, with the output's extension as long as the input's.
        std::string(251, 'L') + ".avi",
    };
}

// A folder name just as bad, for the output.
const char* kHostileFolder = "out $(touch pwned) 'q' \"d\" \\ \n -end";

using fixtures::readFile;

using fixtures::namesIn;

// Every path under root whose name contains "pwned" outside the names the test made.
std::vector<std::string> pwnedFiles(const fs::path& root) {
    std::vector<std::string> found;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.path().filename().string() == "pwned") found.push_back(e.path().string());
    return found;
}

// Writes the fixture under every hostile name in folder (copies of one small file).
void writeSources(const fs::path& folder) {
    fs::create_directories(folder);
    fixtures::AviSpec spec;
    spec.seconds = 0.3;
    const std::string bytes = readFile(fixtures::writeAvi(folder / "seed", spec));
    fs::remove(folder / "seed");
    for (const std::string& name : hostileNames()) std::ofstream(folder / name, std::ios::binary) << bytes;
}

// pellucor-cli run in `cwd` on a home of its own; returns the exit status, fills out and err.
int runCli(const fs::path& home, const fs::path& cwd, const std::vector<std::string>& args, std::string& out,
           std::string& err) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("HOME", home.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
        if (::chdir(cwd.c_str()) != 0) ::_exit(126);
        const int o = ::open((home / "stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int e = ::open((home / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(o, 1);
        ::dup2(e, 2);
        std::vector<char*> argv{const_cast<char*>(PELLUCOR_CLI_PATH)};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(PELLUCOR_CLI_PATH, argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    out = readFile(home / "stdout");
    err = readFile(home / "stderr");
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(HostileNames, TheCommandLineConvertsEveryNameIntoItsOwnOutput) {
    fixtures::TempDir dir;
    const fs::path src = dir / "src";
    writeSources(src);
    const fs::path out = dir / kHostileFolder;
    fs::create_directories(dir / "home");

    // Relative names, as a user types them in the folder; "--" ends the options, so the names
    // that start with a dash are files.
    std::vector<std::string> args{"convert", "--format", "flv", "--output", out.string(), "--"};
    std::set<std::string> expected;
    for (const std::string& name : hostileNames()) {
        args.push_back(name);
        expected.insert(conversion::BuildOutputName(name, 3));
    }
    std::string stdoutText, stderrText;
    ASSERT_EQ(runCli(dir / "home", src, args, stdoutText, stderrText), 0) << stderrText << stdoutText;
    ASSERT_TRUE(fs::is_directory(out)) << "the output folder was not made under its own name";
    EXPECT_EQ(namesIn(out), expected);
    for (const std::string& name : expected) EXPECT_GT(fs::file_size(out / name), 0u) << name;
    for (const std::string& name : hostileNames())
        EXPECT_NE(stdoutText.find("]Load: " + name + " [Success]"), std::string::npos) << name;
    EXPECT_EQ(pwnedFiles(dir.path()), std::vector<std::string>{});
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"home", "src", kHostileFolder}));
}

TEST(HostileNames, TheJobBuilderConvertsEveryNameIntoItsOwnOutput) {
    fixtures::TempDir dir;
    const fs::path src = dir / "src";
    writeSources(src);
    const fs::path out = dir / kHostileFolder;  // StartJob makes it

    // One format per name in turn, so every format meets some of the names.
    int page = 0;
    std::set<std::string> expected;
    for (const std::string& name : hostileNames()) {
        const std::string output = conversion::BuildOutputName(name, page);
        expected.insert(output);
        TcdSettings settings;
        settings.PageIndex = page;
        EngineRun run;
        run.edit.Video_Preview_Enabled = false;
        conversion::StartJob(run.edit, settings, (src / name).string(), (out / output).string());
        ASSERT_TRUE(run.waitForEnd()) << name;
        EXPECT_TRUE(run.stopped() && run.edit.LastJobCompleted()) << name << ": " << run.describe();
        EXPECT_TRUE(probe((out / output).string()).readable) << name << " as " << output;
        page = (page + 1) % 6;
    }
    EXPECT_EQ(namesIn(out), expected);
    EXPECT_EQ(pwnedFiles(dir.path()), std::vector<std::string>{});
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"src", kHostileFolder}));
}

} // namespace
} // namespace pellucor::test
