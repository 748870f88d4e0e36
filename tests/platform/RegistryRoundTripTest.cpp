// Values written through RegistryKey come back from the file with their type and bytes, and the
// registry layer's errors carry their exact texts.
#include "platform/Registry.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <functional>

using pellucor::platform::RegistryError;
using pellucor::platform::RegistryKey;
using pellucor::platform::RegType;
using pellucor::fixtures::readFile;
using pellucor::fixtures::TempDir;

namespace {

const std::string kKey = "Software\\Tamrix\\Pellucor\\Setting";

std::vector<std::uint8_t> bytes(std::initializer_list<int> list)
{
    std::vector<std::uint8_t> out;
    for (int b : list) out.push_back(static_cast<std::uint8_t>(b));
    return out;
}

std::vector<std::uint8_t> sequence(std::size_t n)
{
    std::vector<std::uint8_t> out(n);
    for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return out;
}

struct TypedCase {
    const char* name;
    RegType type;
    std::vector<std::uint8_t> data;
};

TEST(RegistryRoundTrip, EveryTypeKeepsItsTypeAndBytes)
{
    const std::vector<TypedCase> cases = {
        {"binary", RegType::Binary, bytes({0x00, 0xff, 0x10})},
        {"empty binary", RegType::Binary, {}},
        {"binary over many lines", RegType::Binary, sequence(300)},
        {"dword", RegType::Dword, bytes({0x2a, 0, 0, 0})},
        {"expand sz", RegType::ExpandSz, bytes({'%', 0, 'X', 0, '%', 0, 0, 0})},
        {"multi sz", RegType::MultiSz, bytes({'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0})},
        {"qword", RegType::Qword, bytes({1, 2, 3, 4, 5, 6, 7, 8})},
        {"none", RegType::None, bytes({9})},
        {"a type of another tool", static_cast<RegType>(0x20000), sequence(40)},
        {"sz in hex form, odd length", RegType::Sz, bytes({'a', 0, 'b'})},
    };
    TempDir dir;
    const auto hive = dir / "user.reg";
    {
        RegistryKey key(hive);
        ASSERT_TRUE(key.openKey(kKey, true));
        for (const TypedCase& c : cases) key.writeRaw(c.name, c.type, c.data);
    }
    RegistryKey key(hive);
    ASSERT_TRUE(key.openKey(kKey, false));
    for (const TypedCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(key.valueExists(c.name));
        EXPECT_EQ(key.dataType(c.name), c.type);
        EXPECT_EQ(key.readRaw(c.name), c.data);
    }
}

struct TextCase {
    const char* name;
    std::string text;
};

TEST(RegistryRoundTrip, TextsComeBackUnchanged)
{
    const std::vector<TextCase> cases = {
        {"empty", ""},
        {"plain", "C:/Users/me/Videos"},
        {"quotes and backslashes", "he said \"a\\b\" \\\\server\\ \""},
        {"ends with backslash", "folder\\"},
        {"line breaks", "one\r\ntwo\nthree"},
        {"control characters", std::string("a\x01" "b\x1f")},
        {"tab", "a\tb"},
        {"non-latin", "Видео 動画 🎬"},
        {"bytes that are not UTF-8", std::string("caf\xe9 \xff\xfe")},
        {"equals and brackets", "=[x]=\"@\""},
        {"long", std::string(5000, 'x')},
    };
    TempDir dir;
    const auto hive = dir / "user.reg";
    {
        RegistryKey key(hive);
        ASSERT_TRUE(key.openKey(kKey, true));
        for (const TextCase& c : cases) {
            key.writeString(std::string("sz ") + c.name, c.text);
            key.writeExpandString(std::string("expand ") + c.name, c.text);
        }
        key.writeString("", "the default value");
    }
    RegistryKey key(hive);
    ASSERT_TRUE(key.openKey(kKey, false));
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(key.dataType(std::string("sz ") + c.name), RegType::Sz);
        EXPECT_EQ(key.readString(std::string("sz ") + c.name), c.text);
        EXPECT_EQ(key.dataType(std::string("expand ") + c.name), RegType::ExpandSz);
        EXPECT_EQ(key.readString(std::string("expand ") + c.name), c.text);
    }
    EXPECT_EQ(key.readString(""), "the default value");
    EXPECT_NE(readFile(hive).find("\n@=\"the default value\"\n"), std::string::npos);
}

TEST(RegistryRoundTrip, IntegersKeepTheirSign)
{
    const std::vector<std::int32_t> values = {0, 1, -1, 42, INT32_MIN, INT32_MAX};
    TempDir dir;
    const auto hive = dir / "user.reg";
    {
        RegistryKey key(hive);
        ASSERT_TRUE(key.openKey(kKey, true));
        for (std::int32_t v : values) key.writeInteger("v" + std::to_string(v), v);
    }
    RegistryKey key(hive);
    ASSERT_TRUE(key.openKey(kKey, false));
    for (std::int32_t v : values) EXPECT_EQ(key.readInteger("v" + std::to_string(v)), v) << v;
    EXPECT_NE(readFile(hive).find("\"v-1\"=dword:ffffffff\n"), std::string::npos);
}

TEST(RegistryRoundTrip, ValueNamesIgnoreCaseAndKeepTheirSpelling)
{
    TempDir dir;
    const auto hive = dir / "user.reg";
    {
        RegistryKey key(hive);
        ASSERT_TRUE(key.openKey(kKey, true));
        key.writeInteger("PageIndex", 3);
    }
    {
        RegistryKey key(hive);
        ASSERT_TRUE(key.openKey("software\\TAMRIX\\pellucor\\setting", false));
        EXPECT_TRUE(key.valueExists("PAGEINDEX"));
        EXPECT_EQ(key.readInteger("pageindex"), 3);
        key.writeInteger("PAGEINDEX", 4);
        EXPECT_EQ(key.readInteger("PageIndex"), 4);  // a pending write is visible at once
    }
    const std::string text = readFile(hive);
    EXPECT_NE(text.find("\"PageIndex\"=dword:00000004"), std::string::npos) << text;
    EXPECT_EQ(text.find("PAGEINDEX"), std::string::npos) << text;
}

TEST(RegistryRoundTrip, KeysExistWithTheirParentsAndOnlyWhenAskedToCreate)
{
    TempDir dir;
    const auto hive = dir / "sub" / "user.reg";
    RegistryKey key(hive);
    EXPECT_FALSE(key.openKey(kKey, false));
    EXPECT_FALSE(std::filesystem::exists(hive)) << "a failed open must not create the file";
    ASSERT_TRUE(key.openKey("\\" + kKey, true));
    key.closeKey();
    EXPECT_NE(readFile(hive).find("[HKEY_CURRENT_USER\\" + kKey + "]\n"), std::string::npos);
    EXPECT_TRUE(key.openKey(kKey, false));
    EXPECT_TRUE(key.openKey("Software\\Tamrix\\Pellucor", false));
    EXPECT_TRUE(key.openKey("Software\\Tamrix", false));
    EXPECT_FALSE(key.openKey("Software\\Tamrix\\Pellu", false));
    EXPECT_FALSE(key.openKey(kKey + "\\Deeper", false));
}

struct ErrorCase {
    const char* name;
    std::function<void(RegistryKey&)> call;
    std::string message;
};

TEST(RegistryErrors, CarryTheRegistryLayersTexts)
{
    TempDir dir;
    const auto hive = dir / "user.reg";
    {
        RegistryKey key(hive);
        ASSERT_TRUE(key.openKey(kKey, true));
        key.writeString("One", "1");        // two bytes with its NUL: fits a DWORD's size
        key.writeString("Long", "12345");   // six bytes: does not
        key.writeInteger("Number", 5);
        key.writeBinary("Blob", {1, 2});
    }
    const std::vector<ErrorCase> cases = {
        {"text where a DWORD is read", [](RegistryKey& k) { k.readInteger("One"); }, "Invalid data type for 'One'"},
        {"long text where a DWORD is read", [](RegistryKey& k) { k.readInteger("Long"); }, "Failed to get data for 'Long'"},
        {"missing DWORD", [](RegistryKey& k) { k.readInteger("Nothing"); }, "Failed to get data for 'Nothing'"},
        {"DWORD where text is read", [](RegistryKey& k) { k.readString("Number"); }, "Invalid data type for 'Number'"},
        {"binary where text is read", [](RegistryKey& k) { k.readString("Blob"); }, "Invalid data type for 'Blob'"},
        {"text where binary is read", [](RegistryKey& k) { k.readBinary("One"); }, "Invalid data type for 'One'"},
        {"missing binary", [](RegistryKey& k) { k.readBinary("Nothing"); }, "Failed to get data for 'Nothing'"},
        {"write with no key open", [](RegistryKey& k) { k.closeKey(); k.writeString("X", "y"); }, "Failed to set data for 'X'"},
    };
    for (const ErrorCase& c : cases) {
        RegistryKey key(hive);
        ASSERT_TRUE(key.openKey(kKey, false));
        try {
            c.call(key);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const RegistryError& e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.name;
        }
    }
    RegistryKey key(hive);
    ASSERT_TRUE(key.openKey(kKey, false));
    EXPECT_EQ(key.readString("Nothing"), "") << "a missing text reads as empty, as the registry layer does";
}

TEST(RegistryErrors, AnUnwritableHiveFailsTheCloseNamingTheFirstValue)
{
    TempDir dir;
    pellucor::fixtures::writeFile(dir / "file", "not a folder");
    const auto hive = dir / "file" / "user.reg";  // its folder can never be created
    RegistryKey key(hive);
    ASSERT_TRUE(key.openKey(kKey, true));
    key.writeString("LogDir", "a");
    key.writeString("Indir", "b");
    try {
        key.closeKey();
        ADD_FAILURE() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_EQ(std::string(e.what()), "Failed to set data for 'LogDir'");
    }
    EXPECT_FALSE(key.valueExists("LogDir")) << "the key is closed after a failed close";
}

} // namespace
