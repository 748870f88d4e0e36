// `pellucor-cli settings`: the verb in process against a test hive, and the real program run on a
// temporary XDG_CONFIG_HOME, where a value set in one run is there in the next.
#include "ExpectedSettings.h"
#include "fixtures/TempDir.h"
#include "app/cli/Cli.h"
#include "settings/SettingsModule.h"
#include "settings/cdSettings.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

using pellucor::AppSettings;
using pellucor::SettingsModule;
using pellucor::testing::expectedSettings;
using pellucor::fixtures::readFile;
using pellucor::fixtures::TempDir;
using pellucor::fixtures::writeFile;

namespace {

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;
};

Outcome runInProcess(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    Outcome r;
    r.code = pellucor::cli::runCli(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

struct VerbCase {
    std::vector<std::string> args;
    int code;
    std::string out;          // exact standard output
    std::string errContains;  // "" : standard error must be empty
};

TEST(CliSettingsVerb, AnswersAndRefusesAsDocumented)
{
    const std::vector<VerbCase> cases = {
        {{"settings", "get", "MPEGTragetBitrate"}, 0, "1150\n", ""},
        {{"settings", "get", "mp4CONSTRAINT"}, 0, "NTSC\n", ""},
        {{"settings", "get", "WMVAudioFormat2"}, 0, "6\n", ""},
        {{"settings", "get", "SubDir"}, 0, "false\n", ""},
        {{"settings", "get", "MPEGTargetBitrate"}, 2, "", "no setting named 'MPEGTargetBitrate'"},
        {{"settings", "get", "AutoLoad"}, 2, "", "no setting named 'AutoLoad'"},
        {{"settings", "get", "RegistryKey"}, 2, "", "no setting named 'RegistryKey'"},
        {{"settings", "get"}, 2, "", "get takes one setting name"},
        {{"settings", "get", "PageIndex", "extra"}, 2, "", "get takes one setting name"},
        {{"settings", "set", "PageIndex", "abc"}, 2, "", "'abc' is not a valid integer value"},
        {{"settings", "set", "PageIndex", "1.5"}, 2, "", "PageIndex is Integer"},
        {{"settings", "set", "PageIndex", "99999999999"}, 2, "", "not a valid integer value"},
        {{"settings", "set", "SubDir", "maybe"}, 2, "", "not a valid Boolean value"},
        {{"settings", "set", "Nothing", "1"}, 2, "", "no setting named 'Nothing'"},
        {{"settings", "set", "PageIndex"}, 2, "", "set takes a setting name and a value"},
        {{"settings", "list", "all"}, 2, "", "list takes no arguments"},
        {{"settings"}, 2, "", "list, get or set is missing"},
        {{"settings", "show"}, 2, "", "unknown action 'show'"},
        {{}, 2, "", "Usage: pellucor-cli VERB"},
        {{"convertt"}, 2, "", "unknown verb 'convertt'"},
    };
    TempDir dir;
    SettingsModule module(dir / "user.reg");
    for (const VerbCase& c : cases) {
        std::string name;
        for (const std::string& a : c.args) name += a + " ";
        const Outcome r = runInProcess(c.args);
        EXPECT_EQ(r.code, c.code) << name;
        EXPECT_EQ(r.out, c.out) << name;
        if (c.errContains.empty()) {
            EXPECT_EQ(r.err, "") << name;
        } else {
            EXPECT_NE(r.err.find(c.errContains), std::string::npos) << name << "\n" << r.err;
        }
    }
    EXPECT_EQ(AppSettings->PageIndex, 0) << "refused values change nothing";
    EXPECT_FALSE(AppSettings->SubDir);
}

TEST(CliSettingsVerb, SetStoresTypedValues)
{
    TempDir dir;
    SettingsModule module(dir / "user.reg");
    EXPECT_EQ(runInProcess({"settings", "set", "PageIndex", "4"}).code, 0);
    EXPECT_EQ(runInProcess({"settings", "set", "subdir", "TRUE"}).code, 0);
    EXPECT_EQ(runInProcess({"settings", "set", "MP3CbbIdx", "-1"}).code, 0);
    EXPECT_EQ(runInProcess({"settings", "set", "LogDir", ""}).code, 0);
    EXPECT_EQ(runInProcess({"settings", "set", "SavePath", "/media/Videos out"}).code, 0);
    EXPECT_EQ(AppSettings->PageIndex, 4);
    EXPECT_TRUE(AppSettings->SubDir);
    EXPECT_EQ(AppSettings->MP3CbbIdx, -1);
    EXPECT_EQ(AppSettings->LogDir, "");
    EXPECT_EQ(AppSettings->SavePath, "/media/Videos out");
    EXPECT_EQ(runInProcess({"settings", "get", "MP3CbbIdx"}).out, "-1\n");
}

TEST(CliSettingsVerb, ListShowsEverySettingInOrder)
{
    TempDir dir;
    SettingsModule module(dir / "user.reg");
    AppSettings->Indir = "two\nlines";
    const Outcome r = runInProcess({"settings", "list"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto listed = lines(r.out);
    const auto& expected = expectedSettings();
    ASSERT_EQ(listed.size(), expected.size()) << r.out;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        std::istringstream row(listed[i]);
        std::string name, kind;
        row >> name >> kind;
        EXPECT_EQ(name, expected[i].name) << listed[i];
        EXPECT_EQ(kind, pellucor::kindName(expected[i].kind)) << listed[i];
        if (expected[i].defaultText && *expected[i].defaultText) {
            std::string value;
            std::getline(row >> std::ws, value);
            EXPECT_EQ(value, expected[i].defaultText) << listed[i];
        }
    }
    EXPECT_NE(r.out.find("two\\nlines"), std::string::npos) << "a line break is shown, not printed";
}

TEST(CliSettingsVerb, HelpGoesToStandardOutput)
{
    const Outcome r = runInProcess({"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("pellucor-cli settings set NAME VALUE"), std::string::npos) << r.out;
}

// The real program, its output in files, with HOME and XDG_CONFIG_HOME in a temporary folder.
class CliProgram : public ::testing::Test {
protected:
    TempDir home;
    std::filesystem::path hive = home / ".config" / "Tamrix" / "Pellucor" / "user.reg";

    Outcome run(const std::vector<std::string>& args)
    {
        const auto outFile = home / "out.txt";
        const auto errFile = home / "err.txt";
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("HOME", home.path().c_str(), 1);
            ::setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
            const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(out, 1);
            ::dup2(err, 2);
            std::vector<char*> argv{const_cast<char*>(PELLUCOR_CLI_PATH)};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(PELLUCOR_CLI_PATH, argv.data());
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        Outcome r;
        r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = readFile(outFile);
        r.err = readFile(errFile);
        return r;
    }
};

TEST_F(CliProgram, AValueSetInOneRunIsThereInTheNext)
{
    Outcome r = run({"settings", "set", "MPEGCbbIdx", "-1"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "");
    const std::string text = readFile(hive);
    EXPECT_NE(text.find("\"MPEGCbbIdx\"=dword:ffffffff\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"Applocation\"=\"" + std::string(PELLUCOR_CLI_PATH) + "\"\n"), std::string::npos)
        << "the module's save at exit wrote every setting";

    r = run({"settings", "get", "MPEGCbbIdx"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "-1\n");

    r = run({"settings", "set", "PageIndex", "five"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("'five' is not a valid integer value"), std::string::npos) << r.err;
    EXPECT_EQ(run({"settings", "get", "PageIndex"}).out, "0\n");
    EXPECT_EQ(run({"settings", "get", "MPEGCbbIdx"}).out, "-1\n");
}

TEST_F(CliProgram, ABrokenHiveIsMovedAsideAndTheRunGoesOn)
{
    writeFile(hive, "this is not a registry file\n");
    const Outcome r = run({"settings", "get", "MOVAudioBitrate"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "320\n");
    EXPECT_NE(r.err.find(hive.string() + ".bad-"), std::string::npos) << r.err;
    EXPECT_NE(readFile(hive).find("Windows Registry Editor Version 5.00"), std::string::npos);
}

TEST_F(CliProgram, AValueOfTheWrongTypeIsReportedAndTheOthersAreKept)
{
    writeFile(hive, "Windows Registry Editor Version 5.00\n\n"
                    "[HKEY_CURRENT_USER\\Software\\Tamrix\\Pellucor\\Setting]\n"
                    "\"SubDir\"=\"1\"\n\"OutDir\"=\"/videos/out\"\n");
    const Outcome r = run({"settings", "get", "OutDir"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "/videos/out\n");
    EXPECT_NE(r.err.find("Invalid data type for 'SubDir'"), std::string::npos) << r.err;
    EXPECT_NE(readFile(hive).find("\"OutDir\"=\"/videos/out\"\n"), std::string::npos);
}

} // namespace
