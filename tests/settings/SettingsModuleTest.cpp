// The module start-up and shutdown of AppSettings: load at start, messages kept, save at the end.
#include "fixtures/TempDir.h"
#include "platform/Registry.h"
#include "settings/SettingsModule.h"
#include "settings/cdSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>

using pellucor::AppSettings;
using pellucor::SettingsModule;
using pellucor::fixtures::readFile;
using pellucor::fixtures::TempDir;
using pellucor::fixtures::writeFile;

namespace {

const std::string kSection = "[HKEY_CURRENT_USER\\Software\\Tamrix\\Pellucor\\Setting]\n";
const std::string kHeader = "Windows Registry Editor Version 5.00\n\n";

TEST(SettingsModule, LoadsAtStartAndSavesAtTheEnd)
{
    TempDir dir;
    const auto hive = dir / "user.reg";
    writeFile(hive, kHeader + kSection + "\"PageIndex\"=dword:00000004\n\"Indir\"=\"/in\"\n");
    {
        SettingsModule module(hive);
        ASSERT_NE(AppSettings, nullptr);
        EXPECT_TRUE(module.messages().empty());
        EXPECT_EQ(AppSettings->RegistryKey, "Software\\Tamrix\\Pellucor\\Setting");
        EXPECT_EQ(AppSettings->PageIndex, 4);
        EXPECT_EQ(AppSettings->Indir, "/in");
        AppSettings->OutDir = "/out";
    }
    EXPECT_EQ(AppSettings, nullptr);
    const std::string text = readFile(hive);
    EXPECT_NE(text.find("\"OutDir\"=\"/out\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"MP3CbbIdx\"=dword:00000000\n"), std::string::npos) << "all values are saved";

    SettingsModule again(hive);
    EXPECT_EQ(AppSettings->OutDir, "/out");
    EXPECT_THROW(SettingsModule{hive}, std::logic_error) << "AppSettings is never replaced";
    EXPECT_EQ(AppSettings->OutDir, "/out");
}

TEST(SettingsModule, CollectsLoadAndHiveMessagesAndGoesOn)
{
    TempDir dir;
    const auto hive = dir / "user.reg";
    writeFile(hive, kHeader + kSection + "\"SubDir\"=\"1\"\n\"LogDir\"=\"/logs\"\n\"FLVCbbIdx\"=dword:00000002\n");
    {
        SettingsModule module(hive);
        EXPECT_EQ(module.messages(), std::vector<std::string>{"Invalid data type for 'SubDir'"});
        EXPECT_EQ(AppSettings->LogDir, "/logs");
        EXPECT_EQ(AppSettings->FLVCbbIdx, 2);
        EXPECT_FALSE(AppSettings->SubDir);
    }
    writeFile(hive, std::string("\x7f" "ELF garbage\0\0\0", 15));
    {
        SettingsModule module(hive);
        ASSERT_EQ(module.messages().size(), 1u);
        EXPECT_NE(module.messages()[0].find(hive.string() + ".bad-"), std::string::npos) << module.messages()[0];
        EXPECT_EQ(AppSettings->LogDir, "") << "a moved-aside hive starts from defaults";
    }
    EXPECT_TRUE(pellucor::platform::takeHiveMessages().empty()) << "the module took them";
    EXPECT_NE(readFile(hive).find("\"LogDir\"=\"\"\n"), std::string::npos) << "a new valid hive was saved";
}

TEST(SettingsModule, UsesTheUsersHiveUnderXdgConfigHome)
{
    TempDir dir;
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
    ::setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
    {
        SettingsModule module;
        AppSettings->MP3Samplerate = "22050";
    }
    if (saved) ::setenv("XDG_CONFIG_HOME", saved->c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_NE(readFile(dir / "Tamrix" / "Pellucor" / "user.reg").find("\"MP3Samplerate\"=\"22050\"\n"),
              std::string::npos);
}

} // namespace
