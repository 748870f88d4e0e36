// Choosing the language file from the registry value, with a hive and a program folder made
// for each case in a temporary folder.
#include "lang/FindLanguageFile.h"

#include "platform/Paths.h"
#include "platform/Registry.h"

#include "fixtures/TempDir.h"

#include <fstream>
#include <functional>
#include <iterator>

#include <gtest/gtest.h>

namespace pellucor::lang {
namespace {

constexpr const char* kKey = "Software\\Tamrix\\Pellucor";

// <temp>/config/user.reg, <temp>/prefix/bin/ (the program) and <temp>/prefix/share/pellucor/.
struct Places {
    fixtures::TempDir folder;
    std::filesystem::path hive = folder.path() / "config" / "user.reg";
    std::string bin = folder.directory() + "prefix/bin/";
    std::string share = folder.directory() + "prefix/share/pellucor/";

    Places() {
        std::filesystem::create_directories(hive.parent_path());
        std::filesystem::create_directories(bin);
        std::filesystem::create_directories(share);
    }
    void file(const std::string& path) const { folder.write(path, "[Strings]\n"); }
    void value(const std::function<void(platform::RegistryKey&)>& write) const {
        platform::RegistryKey key(hive);
        ASSERT_TRUE(key.openKey(kKey, true));
        write(key);
        key.closeKey();
    }
    std::string find() const { return FindLanguageFile(kLanguageRegistryValue, {hive, bin}); }
};

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FindLanguageFile, Cases) {
    using Key = platform::RegistryKey;
    struct {
        const char* name;
        std::function<void(const Places&)> setUp;
        std::string expected;  // below <temp>/prefix/
    } cases[] = {
        {"German selects German.lng",
         [](const Places& p) { p.file("prefix/bin/German.lng"); p.value([](Key& k) { k.writeString("Language", "German"); }); },
         "bin/German.lng"},
        {"German.LNG is used unchanged",
         [](const Places& p) { p.file("prefix/bin/German.LNG"); p.value([](Key& k) { k.writeString("Language", "German.LNG"); }); },
         "bin/German.LNG"},
        {"German.txt becomes German.txt.lng",
         [](const Places& p) {
             p.file("prefix/bin/German.txt");
             p.file("prefix/bin/German.txt.lng");
             p.value([](Key& k) { k.writeString("Language", "German.txt"); });
         },
         "bin/German.txt.lng"},
        {"German.txt without German.txt.lng falls back",
         [](const Places& p) { p.file("prefix/bin/German.txt"); p.value([](Key& k) { k.writeString("Language", "German.txt"); }); },
         "bin/English.lng"},
        {"a file that does not exist falls back to English.lng",
         [](const Places& p) { p.value([](Key& k) { k.writeString("Language", "French"); }); },
         "bin/English.lng"},
        {"a value of another type is swallowed",
         [](const Places& p) { p.file("prefix/bin/German.lng"); p.value([](Key& k) { k.writeInteger("Language", 7); }); },
         "bin/English.lng"},
        {"an expandable string is a string",
         [](const Places& p) { p.file("prefix/bin/German.lng"); p.value([](Key& k) { k.writeExpandString("Language", "German"); }); },
         "bin/German.lng"},
        {"missing value", [](const Places& p) { p.value([](Key& k) { k.writeString("Other", "German"); }); },
         "bin/English.lng"},
        {"empty value", [](const Places& p) { p.value([](Key& k) { k.writeString("Language", ""); }); },
         "bin/English.lng"},
        {"no hive at all", [](const Places&) {}, "bin/English.lng"},
        {"a name is relative to the program's folder",
         [](const Places& p) { p.file("prefix/bin/lang/German.lng"); p.value([](Key& k) { k.writeString("Language", "lang/German"); }); },
         "bin/lang/German.lng"},
        {"an absolute path is still taken below the program's folder",
         [](const Places& p) {
             p.file("prefix/bin/German.lng");
             p.value([&](Key& k) { k.writeString("Language", p.bin + "German.lng"); });
         },
         "bin/English.lng"},
        {"a folder named like the file is no file",
         [](const Places& p) {
             std::filesystem::create_directories(p.bin + "German.lng");
             p.value([](Key& k) { k.writeString("Language", "German"); });
         },
         "bin/English.lng"},
        {"installed data folder holds the chosen file",
         [](const Places& p) { p.file("prefix/share/pellucor/German.lng"); p.value([](Key& k) { k.writeString("Language", "German"); }); },
         "share/pellucor/German.lng"},
        {"the program's folder comes first",
         [](const Places& p) {
             p.file("prefix/bin/German.lng");
             p.file("prefix/share/pellucor/German.lng");
             p.value([](Key& k) { k.writeString("Language", "German"); });
         },
         "bin/German.lng"},
        {"English.lng from the installed data folder",
         [](const Places& p) { p.file("prefix/share/pellucor/English.lng"); },
         "share/pellucor/English.lng"},
        {"a hive that is not .reg text",
         [](const Places& p) { p.folder.write("config/user.reg", std::string("\x00\xFF garbage [", 12)); },
         "bin/English.lng"},
    };
    for (const auto& c : cases) {
        Places places;
        c.setUp(places);
        EXPECT_EQ(places.find(), places.folder.directory() + "prefix/" + c.expected) << c.name;
    }
    platform::takeHiveMessages();  // the garbage hive's message is expected
}

TEST(FindLanguageFile, NeverWritesTheHive) {
    Places places;
    places.value([](platform::RegistryKey& k) { k.writeInteger("Language", 1); });
    const std::string before = ReadBytes(places.hive);
    places.find();
    EXPECT_EQ(ReadBytes(places.hive), before);

    Places empty;
    empty.find();
    EXPECT_FALSE(std::filesystem::exists(empty.hive));
}

TEST(FindLanguageFile, ValueNameIsThePartAfterTheLastBackslash) {
    Places places;
    places.file("prefix/bin/German.lng");
    places.value([](platform::RegistryKey& k) { k.writeString("Lang2", "German"); });
    EXPECT_EQ(FindLanguageFile("Software\\Tamrix\\Pellucor\\Lang2", {places.hive, places.bin}),
              places.bin + "German.lng");
}

TEST(FindLanguageFile, ProgramFilePathOfTheRunningProgram) {
    // Names that exist in neither place give the program-folder path, as the platform's own
    // data lookup does.
    for (const std::string name : {"no-such-file.lng", "sub/none.avi"}) {
        EXPECT_EQ(ProgramFilePath(name), platform::programDirectory() + name) << name;
        EXPECT_EQ(ProgramFilePath(name), platform::dataFilePath(name).string()) << name;
    }
    EXPECT_EQ(ProgramFilePath("x", "/opt/p/bin"), "/opt/p/bin/x");  // a '/' is added when missing
}

} // namespace
} // namespace pellucor::lang
