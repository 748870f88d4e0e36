// Hand-written and foreign hive files: what is read from them, what survives our saves, and how
// a file that is not .reg text is moved aside instead of being overwritten.
#include "platform/Registry.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

using pellucor::platform::RegistryKey;
using pellucor::platform::RegType;
using pellucor::platform::takeHiveMessages;
using pellucor::fixtures::readFile;
using pellucor::fixtures::TempDir;
using pellucor::fixtures::writeFile;

namespace {

const std::string kKey = "Software\\Tamrix\\Pellucor\\Setting";
const std::string kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";

std::vector<std::uint8_t> bytes(std::initializer_list<int> list)
{
    std::vector<std::uint8_t> out;
    for (int b : list) out.push_back(static_cast<std::uint8_t>(b));
    return out;
}

std::vector<std::filesystem::path> badFiles(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> out;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        if (e.path().filename().string().rfind("user.reg.bad-", 0) == 0) out.push_back(e.path());
    return out;
}

// "user.reg.bad-YYYYmmdd-HHMMSS"
bool isBadName(const std::string& name)
{
    const std::string prefix = "user.reg.bad-";
    if (name.size() != prefix.size() + 15 || name.rfind(prefix, 0) != 0) return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        const bool dash = i == prefix.size() + 8;
        if (dash ? name[i] != '-' : !std::isdigit(static_cast<unsigned char>(name[i]))) return false;
    }
    return true;
}

// The kind of file regedit exports, with CRLF lines, wrapped hex data and values of types that
// this program never writes itself.
const std::string kForeign = kHeader +
    "; exported by hand\r\n"
    "[HKEY_CURRENT_USER\\Software\\Tamrix\\Pellucor\\Setting]\r\n"
    "@=\"default\"\r\n"
    "\"Quoted\"=\"a \\\"b\\\" c:\\\\d\\\\\"\r\n"
    "\"Word\"=dword:0000002A\r\n"
    "\"Short\"=dword:7\r\n"
    "\"Expand\"=hex(2):25,00,55,00,53,00,45,00,52,00,25,00,00,00\r\n"
    "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
    "\"Quad\"=hex(b):01,02,03,04,05,06,07,08\r\n"
    "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\r\n"
    "  16,17,  18,\\\r\n"
    "\t19\r\n"
    "\"Empty\"=hex(1):\r\n"
    "\"Gone\"=-\r\n"
    "\"Odd\"=qword:1234\r\n"
    "this line means nothing to us\r\n"
    "\"Twice\"=\"first\"\r\n"
    "\"Twice\"=\"second\"\r\n"
    "\r\r\n"
    "\"Crs\"=\"x\"\r\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n"
    "\"Word\"=dword:00000001\r\n";

TEST(RegistryFile, ReadsEveryFormOfAForeignFile)
{
    TempDir dir;
    const auto hive = dir / "user.reg";
    writeFile(hive, kForeign);
    RegistryKey key(hive);
    ASSERT_TRUE(key.openKey(kKey, false));
    EXPECT_EQ(key.readString(""), "default");
    EXPECT_EQ(key.readString("Quoted"), "a \"b\" c:\\d\\");
    EXPECT_EQ(key.readInteger("Word"), 42);
    EXPECT_EQ(key.readInteger("Short"), 7);
    EXPECT_EQ(key.dataType("Expand"), RegType::ExpandSz);
    EXPECT_EQ(key.readString("Expand"), "%USER%");
    EXPECT_EQ(key.dataType("Multi"), RegType::MultiSz);
    EXPECT_EQ(key.readRaw("Multi"), bytes({0x61, 0, 0, 0, 0x62, 0, 0, 0, 0, 0}));
    EXPECT_EQ(key.dataType("Quad"), RegType::Qword);
    EXPECT_EQ(key.readRaw("Quad"), bytes({1, 2, 3, 4, 5, 6, 7, 8}));
    std::vector<std::uint8_t> blob;
    for (int i = 0; i <= 0x19; ++i) blob.push_back(static_cast<std::uint8_t>(i));
    EXPECT_EQ(key.readBinary("Blob"), blob);
    EXPECT_EQ(key.dataType("Empty"), RegType::Sz);
    EXPECT_EQ(key.readString("Empty"), "") << "a REG_SZ with no data reads as empty";
    EXPECT_FALSE(key.valueExists("Gone"));
    EXPECT_FALSE(key.valueExists("Odd"));
    EXPECT_EQ(key.readString("Twice"), "second") << "the later line wins, as on import";
    EXPECT_EQ(key.readString("Crs"), "x") << "stray carriage returns end a line like one";
    EXPECT_TRUE(takeHiveMessages().empty());
}

TEST(RegistryFile, ASaveKeepsEveryLineItDidNotReplace)
{
    TempDir dir;
    const auto hive = dir / "user.reg";
    writeFile(hive, kForeign);
    {
        RegistryKey key(hive);
        ASSERT_TRUE(key.openKey(kKey, false));
        key.writeInteger("Word", 1);
        key.writeString("New", "value");
    }
    const std::string text = readFile(hive);
    // Each line the save did not replace is still there, byte for byte, in its old order.
    std::size_t at = 0;
    for (const char* line : {"; exported by hand", "@=\"default\"", "\"Quoted\"=\"a \\\"b\\\" c:\\\\d\\\\\"",
                             "\"Word\"=dword:00000001", "\"Short\"=dword:7",
                             "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00", "\"Quad\"=hex(b):01,02,03,04,05,06,07,08",
                             "  16,17,  18,\\", "\t19", "\"Empty\"=hex(1):", "\"Gone\"=-", "\"Odd\"=qword:1234",
                             "this line means nothing to us", "\"Twice\"=\"second\"", "\"New\"=\"value\"",
                             "[HKEY_LOCAL_MACHINE\\Software\\Other]"}) {
        const std::size_t found = text.find(std::string(line) + "\n", at);
        ASSERT_NE(found, std::string::npos) << "lost or moved: " << line << "\n" << text;
        at = found;
    }
    EXPECT_EQ(text.find("0000002A"), std::string::npos) << "the replaced value's old line is gone";
    EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\n\n", 0), 0u);
    RegistryKey key(hive);
    ASSERT_TRUE(key.openKey(kKey, false));
    EXPECT_EQ(key.readRaw("Quad"), bytes({1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(RegistryFile, ReadsRegeditsUtf16Export)
{
    const std::string utf8 = kHeader + "[HKEY_CURRENT_USER\\Software\\Tamrix\\Pellucor]\r\n\"Language\"=\"Deutsch.lng\"\r\n";
    std::string utf16 = "\xff\xfe";
    for (char c : utf8) {
        utf16 += c;
        utf16 += '\0';
    }
    TempDir dir;
    writeFile(dir / "user.reg", utf16);
    RegistryKey key(dir / "user.reg");
    ASSERT_TRUE(key.openKey("Software\\Tamrix\\Pellucor", false));
    EXPECT_EQ(key.readString("Language"), "Deutsch.lng");
}

struct BadCase {
    const char* name;
    std::string content;
};

TEST(RegistryFile, AFileThatIsNotRegTextIsMovedAsideNeverOverwritten)
{
    std::string garbage;
    for (int i = 0; i < 512; ++i) garbage += static_cast<char>((i * 131 + 7) % 256);
    const std::string key = "[HKEY_CURRENT_USER\\Software\\Tamrix\\Pellucor\\Setting]\n";
    const std::vector<BadCase> cases = {
        {"empty file", ""},
        {"another header", "REGEDIT4\n\n" + key + "\"A\"=\"b\"\n"},
        {"a settings file of another kind", "[General]\nLanguage=English\n"},
        {"binary garbage", garbage},
        {"garbage after a good start", kHeader + key + "\"A\"=\"b\"\n" + garbage},
        {"text cut off inside a value", kHeader + key + "\"LogDir\"=\"/home/u"},
        {"hex cut off after a continuation", kHeader + key + "\"B\"=hex:01,02,\\\n"},
        {"a name without its quote", kHeader + key + "\"LogDir=\"x\"\n"},
        {"bytes that are not hex", kHeader + key + "\"B\"=hex:01,zz\n"},
        {"a dword too long", kHeader + key + "\"B\"=dword:123456789\n"},
        {"a key without its bracket", kHeader + "[HKEY_CURRENT_USER\\Software\n"},
        {"a value before any key", kHeader + "\"A\"=\"b\"\n"},
        {"Latin-1 bytes", kHeader + key + "\"A\"=\"caf\xe9\"\n"},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const auto hive = dir / "user.reg";
        writeFile(hive, c.content);
        {
            RegistryKey reg(hive);
            ASSERT_TRUE(reg.openKey(kKey, true));
            EXPECT_FALSE(reg.valueExists("A"));
            reg.writeString("After", "x");
        }
        const auto bad = badFiles(dir.path());
        ASSERT_EQ(bad.size(), 1u);
        EXPECT_EQ(readFile(bad[0]), c.content) << "the user's file is kept as it was";
        EXPECT_TRUE(isBadName(bad[0].filename().string())) << bad[0];
        const auto messages = takeHiveMessages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find(hive.string()), std::string::npos) << messages[0];
        EXPECT_NE(messages[0].find(bad[0].string()), std::string::npos) << messages[0];
        RegistryKey reg(hive);
        ASSERT_TRUE(reg.openKey(kKey, false));
        EXPECT_EQ(reg.readString("After"), "x") << "the new hive is valid and holds the new value";
        EXPECT_TRUE(takeHiveMessages().empty());
    }
}

TEST(RegistryFile, TwoBadFilesInOneSecondKeepBothCopies)
{
    TempDir dir;
    const auto hive = dir / "user.reg";
    for (const char* content : {"first broken", "second broken"}) {
        writeFile(hive, content);
        RegistryKey reg(hive);
        EXPECT_FALSE(reg.openKey(kKey, false));
    }
    std::vector<std::string> contents;
    for (const auto& f : badFiles(dir.path())) contents.push_back(readFile(f));
    std::sort(contents.begin(), contents.end());
    EXPECT_EQ(contents, (std::vector<std::string>{"first broken", "second broken"}));
    EXPECT_EQ(takeHiveMessages().size(), 2u);
}

} // namespace
