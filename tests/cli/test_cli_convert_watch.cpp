// pellucor-cli convert and watch, run as the real program on a temporary home: the conversions
// are real, the settings those of a fresh account.
#include "fixtures/AviFixture.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using pellucor::fixtures::AviSpec;
using pellucor::fixtures::TempDir;
using pellucor::fixtures::writeAvi;

namespace {

std::string readAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// One run of pellucor-cli with HOME and XDG_CONFIG_HOME in the test's folder.
class Cli {
public:
    explicit Cli(const fs::path& home) : home_(home) {}

    pid_t start(const std::vector<std::string>& args)
    {
        const pid_t pid = fork();
        if (pid == 0) {
            setenv("HOME", home_.c_str(), 1);
            setenv("XDG_CONFIG_HOME", (home_ / "config").c_str(), 1);
            int out = open((home_ / "stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            int err = open((home_ / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(out, 1);
            dup2(err, 2);
            std::vector<char*> argv{const_cast<char*>(PELLUCOR_CLI_PATH)};
            for (auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(PELLUCOR_CLI_PATH, argv.data());
            _exit(127);
        }
        return pid;
    }
    static int wait(pid_t pid)
    {
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    int run(const std::vector<std::string>& args) { return wait(start(args)); }
    std::string out() const { return readAll(home_ / "stdout"); }
    std::string err() const { return readAll(home_ / "stderr"); }

private:
    fs::path home_;
};

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

} // namespace

TEST(CliConvert, ConvertsEveryFileAndKeepsTheStoredSettings)
{
    TempDir home;
    Cli cli(home.path());
    const std::string a = writeAvi(home / "a.avi", {});
    const std::string b = writeAvi(home / "b clip.avi", {});
    ASSERT_EQ(cli.run({"settings", "set", "PageIndex", "4"}), 0);

    const fs::path out = home / "out";
    EXPECT_EQ(cli.run({"convert", "--format", "mp4", "--preset", "1", "--output", out.string(), a, b}), 0)
        << cli.err();
    EXPECT_TRUE(fs::file_size(out / "a.mp4") > 0);
    EXPECT_TRUE(fs::file_size(out / "b clip.mp4") > 0);
    const std::string text = cli.out();
    for (const char* line : {"Task begin\n", "]Load: a.avi [Success]\n", "]Convert to: a.mp4 [Success]\n",
                             "]Load: b clip.avi [Success]\n", "]Convert to: b clip.mp4 [Success]\n", "Task End\n"})
        EXPECT_TRUE(contains(text, line)) << line << " missing in:\n" << text;
    EXPECT_LT(text.find("a.mp4"), text.find("b clip.avi"));

    // The run's format and preset were for that run only.
    ASSERT_EQ(cli.run({"settings", "get", "PageIndex"}), 0);
    EXPECT_EQ(cli.out(), "4\n");
    ASSERT_EQ(cli.run({"settings", "get", "MP4Width"}), 0);
    EXPECT_EQ(cli.out(), "640\n");
}

TEST(CliConvert, AFailingFileIsReportedAndTheOthersConvert)
{
    TempDir home;
    Cli cli(home.path());
    const fs::path bad = home / "bad.avi";
    std::ofstream(bad) << "RIFF this is not a video at all";
    const std::string good = writeAvi(home / "good.avi", {});
    EXPECT_EQ(cli.run({"convert", "--format", "flv", "--output", (home / "out").string(), bad.string(), good}), 1);
    EXPECT_TRUE(contains(cli.out(), "[Error message]: ")) << cli.out();
    EXPECT_TRUE(contains(cli.out(), "]Convert to: good.flv [Success]")) << cli.out();
    EXPECT_FALSE(fs::exists(home / "out" / "bad.flv"));
}

TEST(CliConvert, UsageErrorsExitWithTwo)
{
    TempDir home;
    Cli cli(home.path());
    const std::string a = writeAvi(home / "a.avi", {});
    struct Case {
        const char* name;
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {"no files", {"convert"}, "usage: pellucor-cli convert"},
        {"unknown format", {"convert", "--format", "avi", a}, "unknown format 'avi'"},
        {"preset not a number", {"convert", "--preset", "x", a}, "'x' is not a preset number"},
        {"preset out of range", {"convert", "--format", "mp3", "--preset", "4", a}, "presets are 0 to 3"},
        {"unknown option", {"convert", "--fast", a}, "unknown option '--fast'"},
        {"missing file", {"convert", (home / "gone.avi").string()}, "no such file"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cli.run(c.args), 2) << c.name;
        EXPECT_TRUE(contains(cli.err(), c.message)) << c.name << ": " << cli.err();
    }
}

TEST(CliWatch, RefusesFoldersWithTheLanguageFilesMessages)
{
    TempDir home;
    Cli cli(home.path());
    fs::create_directories(home / "in" / "out");
    fs::create_directories(home / "log");
    const std::string in = (home / "in").string();
    EXPECT_EQ(cli.run({"watch", "--in", (home / "nope").string(), "--out", in, "--log", in}), 2);
    EXPECT_TRUE(contains(cli.err(), "input")) << cli.err();
    EXPECT_EQ(cli.run({"watch", "--in", in, "--out", in + "/out", "--log", (home / "log").string()}), 2);
    EXPECT_TRUE(contains(cli.err(), "pellucor-cli: ")) << cli.err();
    EXPECT_EQ(cli.run({"watch", "--in", in}), 2);
}

TEST(CliWatch, ConvertsACopiedFileIntoTheMirroredTreeAndEndsOnSigint)
{
    TempDir home;
    Cli cli(home.path());
    for (auto d : {"in/day1", "out", "log", "src"}) fs::create_directories(home / d);
    const std::string source = writeAvi(home / "src" / "clip.avi", {});

    const pid_t pid = cli.start({"watch", "--in", (home / "in").string(), "--out", (home / "out").string(),
                                 "--log", (home / "log").string(), "--subdir", "--format", "mov"});
    // Give the watcher its start, then copy the file in under a temporary name and rename it,
    // as a careful copier would.
    const fs::path target = home / "out" / "day1" / "clip.mov";
    for (int i = 0; i < 200 && !contains(cli.err(), "watching"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    fs::copy_file(source, home / "in" / "day1" / "clip.part");
    fs::rename(home / "in" / "day1" / "clip.part", home / "in" / "day1" / "clip.avi");
    for (int i = 0; i < 600 && !contains(cli.out(), "Finish: ["); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    kill(pid, SIGINT);
    EXPECT_EQ(Cli::wait(pid), 0) << cli.err();

    EXPECT_TRUE(fs::exists(target)) << cli.out() << cli.err();
    std::string log;
    for (auto& e : fs::directory_iterator(home / "log")) log += readAll(e.path());
    EXPECT_TRUE(contains(log, "Load: " + (home / "in" / "day1" / "clip.avi").string() + " [Success]\r\n")) << log;
    EXPECT_TRUE(contains(log, "Save to: " + target.string() + " [Success]\r\n")) << log;

    ASSERT_EQ(cli.run({"settings", "get", "Indir"}), 0);
    EXPECT_EQ(cli.out(), (home / "in").string() + "\n");
}
