// Saving and loading the settings through the registry hive: what is written, what is read, and
// how a load treats values it cannot read.
#include "ExpectedSettings.h"
#include "fixtures/TempDir.h"
#include "platform/RegFile.h"
#include "platform/Registry.h"
#include "settings/cdSettings.h"

#include <gtest/gtest.h>

using pellucor::PropertyKind;
using pellucor::TcdSettings;
using pellucor::platform::RegistryKey;
using pellucor::testing::expectedSettings;
using pellucor::fixtures::readFile;
using pellucor::fixtures::TempDir;
using pellucor::fixtures::writeFile;
namespace regfile = pellucor::platform::regfile;

namespace {

const std::string kKey = "Software\\Tamrix\\Pellucor\\Setting";
const std::string kSection = "[HKEY_CURRENT_USER\\Software\\Tamrix\\Pellucor\\Setting]\n";
const std::string kHeader = "Windows Registry Editor Version 5.00\n\n";

struct SettingsTest : ::testing::Test {
    TempDir dir;
    std::filesystem::path hive = dir / "user.reg";

    // A settings object on the test's hive that does not save when destroyed.
    std::unique_ptr<TcdSettings> make(bool withKey = true)
    {
        auto s = std::make_unique<TcdSettings>();
        s->HivePath = hive;
        s->AutoLoad = false;
        if (withKey) s->RegistryKey = kKey;
        return s;
    }

    // Every property's text, in position order (the base's four left out).
    static std::vector<std::string> texts(const TcdSettings& s)
    {
        std::vector<std::string> out;
        for (int p = 4; p < s.PublishedPropertyCount(); ++p) out.push_back(s.propertyText(p));
        return out;
    }

    // The value names of the settings key in file order.
    std::vector<std::string> storedNames() const
    {
        const regfile::ParseResult parsed = regfile::parse(readFile(hive));
        std::vector<std::string> out;
        if (!parsed.hive) return out;
        if (const regfile::Section* s = parsed.hive->findSection("HKEY_CURRENT_USER\\" + kKey))
            for (const regfile::Entry& e : s->entries)
                if (e.isValue) out.push_back(e.name);
        return out;
    }
};

TEST_F(SettingsTest, AFreshAccountGetsTheEmptyKeyThenAllValuesInOrder)
{
    auto s = make();
    EXPECT_TRUE(s->LoadSettings().empty());
    EXPECT_EQ(texts(*s), texts(*make())) << "nothing stored: every property keeps its default";
    RegistryKey key(hive);
    EXPECT_TRUE(key.openKey(kKey, false)) << "the load created the key";
    key.closeKey();
    EXPECT_TRUE(storedNames().empty());

    s->SaveSettings();
    std::vector<std::string> expected;
    for (const auto& e : expectedSettings()) expected.push_back(e.name);
    EXPECT_EQ(storedNames(), expected);
    const std::string text = readFile(hive);
    EXPECT_NE(text.find("\"LogDir\"=\"\"\n"), std::string::npos) << "an empty text is an empty REG_SZ";
    EXPECT_NE(text.find("\"SubDir\"=dword:00000000\n"), std::string::npos);
    EXPECT_NE(text.find("\"WMVAudioFormat2\"=dword:00000006\n"), std::string::npos);
    EXPECT_NE(text.find("\"FLVCompression\"=\"Flash Vedio\"\n"), std::string::npos);
}

TEST_F(SettingsTest, EveryPropertyRoundTrips)
{
    auto s = make();
    for (int p = 4; p < s->PublishedPropertyCount(); ++p) {
        switch (s->PublishedProperty(p).kind) {
        case PropertyKind::String: s->setPropertyText(p, p % 3 ? "text \"" + std::to_string(p) + "\" \\ é\nline" : ""); break;
        case PropertyKind::Integer: s->setPropertyText(p, std::to_string(p % 2 ? -p : p * 1000)); break;
        case PropertyKind::Boolean: s->setPropertyText(p, "true"); break;
        }
    }
    s->MPEGCbbIdx = -1;
    s->SaveSettings();
    EXPECT_NE(readFile(hive).find("\"MPEGCbbIdx\"=dword:ffffffff\n"), std::string::npos);
    auto loaded = make();
    EXPECT_TRUE(loaded->LoadSettings().empty());
    EXPECT_EQ(texts(*loaded), texts(*s));
    EXPECT_EQ(loaded->MPEGCbbIdx, -1);
}

struct BooleanCase {
    const char* stored;
    bool expected;
};

TEST_F(SettingsTest, ABooleanIsTrueForAnyNumberButZero)
{
    for (const BooleanCase& c : {BooleanCase{"00000000", false}, {"00000001", true}, {"00000002", true},
                                 {"ffffffff", true}, {"80000000", true}}) {
        writeFile(hive, kHeader + kSection + "\"SubDir\"=dword:" + c.stored + "\n");
        auto s = make();
        s->SubDir = !c.expected;
        EXPECT_TRUE(s->LoadSettings().empty()) << c.stored;
        EXPECT_EQ(s->SubDir, c.expected) << c.stored;
    }
}

TEST_F(SettingsTest, AKeyWithOnlyPageIndexLoadsThatAlone)
{
    writeFile(hive, kHeader + kSection + "\"PageIndex\"=dword:00000003\n");
    auto s = make();
    EXPECT_TRUE(s->LoadSettings().empty());
    auto defaults = make();
    defaults->PageIndex = 3;
    EXPECT_EQ(texts(*s), texts(*defaults));
}

TEST_F(SettingsTest, TheBaseNamesAreNeverReadNorWritten)
{
    const std::string stored = "\"Name\"=\"Hacked\"\n\"tag\"=dword:00000009\n\"AutoLoad\"=dword:00000000\n"
                               "\"REGISTRYKEY\"=\"Software\\\\Else\"\n";
    writeFile(hive, kHeader + kSection + stored);
    auto s = make();
    s->AutoLoad = true;
    EXPECT_TRUE(s->LoadSettings().empty());
    EXPECT_EQ(s->Name, "");
    EXPECT_EQ(s->Tag, 0);
    EXPECT_TRUE(s->AutoLoad);
    EXPECT_EQ(s->RegistryKey, kKey);
    s->Name = "Mine";
    s->Tag = 5;
    s->SaveSettings();
    s->AutoLoad = false;
    EXPECT_NE(readFile(hive).find(stored), std::string::npos) << "the hand-written lines are untouched";
    const auto names = storedNames();
    EXPECT_EQ(names.size(), 4u + 81u);

    std::filesystem::remove(hive);
    s->SaveSettings();
    for (const std::string& name : storedNames())
        for (const char* base : {"Name", "Tag", "AutoLoad", "RegistryKey"})
            EXPECT_FALSE(regfile::equalsNoCase(name, base)) << name;
}

struct WrongTypeCase {
    const char* name;
    std::string storedLine;
    std::string message;
};

// A value of the wrong type keeps its default and is reported; the load goes on, so the values
// after it are loaded and the next save does not write defaults over them.
TEST_F(SettingsTest, AWrongTypeIsReportedAndTheLoadGoesOn)
{
    const std::vector<WrongTypeCase> cases = {
        {"a Boolean stored as the text \"1\"", "\"SubDir\"=\"1\"", "Invalid data type for 'SubDir'"},
        {"an Integer stored as a long text", "\"PageIndex\"=\"12345\"", "Failed to get data for 'PageIndex'"},
        {"an Integer stored as binary", "\"MPEGCbbIdx\"=hex:01", "Invalid data type for 'MPEGCbbIdx'"},
        {"an Integer stored as a qword", "\"MP4CbbIdx\"=hex(b):01,00,00,00,00,00,00,00", "Failed to get data for 'MP4CbbIdx'"},
        {"a String stored as a DWORD", "\"OutDir\"=dword:00000001", "Invalid data type for 'OutDir'"},
        {"a String stored as binary", "\"WMVWidth\"=hex:31,00", "Invalid data type for 'WMVWidth'"},
    };
    for (const WrongTypeCase& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(hive, kHeader + kSection + "\"LogDir\"=\"/before\"\n" + c.storedLine + "\n"
                            + "\"G_WMVVedioCodec\"=\"after\"\n\"Applocation\"=\"/opt/old/pellucor\"\n"
                            + "\"WMVTVFormat\"=dword:00000002\n");
        auto s = make();
        const auto messages = s->LoadSettings();
        EXPECT_EQ(messages, std::vector<std::string>{c.message});
        EXPECT_EQ(s->LogDir, "/before");
        EXPECT_EQ(s->G_WMVVedioCodec, "after");
        EXPECT_EQ(s->Applocation, "/opt/old/pellucor");
        EXPECT_EQ(s->WMVTVFormat, 2);
        auto defaults = make();
        defaults->LogDir = "/before";
        defaults->G_WMVVedioCodec = "after";
        defaults->Applocation = "/opt/old/pellucor";
        defaults->WMVTVFormat = 2;
        EXPECT_EQ(texts(*s), texts(*defaults)) << "the bad value keeps its default";

        s->SaveSettings();  // what the save at exit does after such a load
        auto again = make();
        EXPECT_TRUE(again->LoadSettings().empty());
        EXPECT_EQ(again->G_WMVVedioCodec, "after") << "the user's values survive the save";
        EXPECT_EQ(again->WMVTVFormat, 2);
    }
}

TEST_F(SettingsTest, SeveralBadValuesAreReportedInOrder)
{
    writeFile(hive, kHeader + kSection + "\"Applocation\"=dword:00000001\n\"SubDir\"=\"x\"\n\"PageIndex\"=hex:\n");
    auto s = make();
    EXPECT_EQ(s->LoadSettings(), (std::vector<std::string>{"Invalid data type for 'SubDir'",
                                                          "Invalid data type for 'PageIndex'",
                                                          "Invalid data type for 'Applocation'"}));
}

TEST_F(SettingsTest, AnUnrelatedValueSurvivesEverySave)
{
    const std::string unrelated = "\"Somebody\"=\"else's\"\n\"Raw\"=hex(b):01,02,03,04,05,06,07,08\n";
    writeFile(hive, kHeader + kSection + unrelated + "\n[HKEY_CURRENT_USER\\Software\\Tamrix\\Pellucor]\n"
                        + "\"Language\"=\"English.lng\"\n");
    auto s = make();
    s->LoadSettings();
    for (int i = 0; i < 3; ++i) {
        s->PageIndex = i;
        s->SaveSettings();
    }
    const std::string text = readFile(hive);
    EXPECT_NE(text.find(unrelated), std::string::npos) << text;
    EXPECT_NE(text.find("\"Language\"=\"English.lng\"\n"), std::string::npos);
    EXPECT_NE(text.find("\"PageIndex\"=dword:00000002\n"), std::string::npos);
}

TEST_F(SettingsTest, NoKeyMeansNoLoadAndNoSave)
{
    auto s = make(false);
    s->PageIndex = 4;
    EXPECT_TRUE(s->LoadSettings().empty());
    s->SaveSettings();
    EXPECT_FALSE(std::filesystem::exists(hive));
    EXPECT_EQ(s->PageIndex, 4);
}

TEST_F(SettingsTest, DestroyingSavesOnlyWithAutoLoad)
{
    {
        auto s = make();
        s->AutoLoad = true;
        s->OutDir = "/saved/at/exit";
    }
    auto loaded = make();
    loaded->LoadSettings();
    EXPECT_EQ(loaded->OutDir, "/saved/at/exit");
    {
        auto s = make();
        s->OutDir = "/not/saved";  // AutoLoad false
    }
    loaded->LoadSettings();
    EXPECT_EQ(loaded->OutDir, "/saved/at/exit");
    EXPECT_TRUE(make()->Loaded().empty());
}

TEST_F(SettingsTest, AFailedSaveRaisesButNeverLeavesTheDestructor)
{
    writeFile(dir / "file", "a file where the folder should be");
    auto s = make();
    s->HivePath = dir / "file" / "user.reg";
    try {
        s->SaveSettings();
        ADD_FAILURE() << "no error";
    } catch (const pellucor::platform::RegistryError& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'LogDir'");
    }
    s->AutoLoad = true;
    EXPECT_NO_THROW(s.reset());
}

} // namespace
