// The settings' names, kinds, defaults and positions, the text access the command line uses, and
// Assign.
#include "ExpectedSettings.h"
#include "fixtures/TempDir.h"
#include "settings/cdSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

using pellucor::PropertyKind;
using pellucor::PropertyValueError;
using pellucor::TBaseSettings;
using pellucor::TcdSettings;
using pellucor::testing::expectedSettings;
using pellucor::fixtures::TempDir;

namespace {

// Points HOME and XDG_CONFIG_HOME at a temporary folder for one test and restores them after.
class ScopedHome {
public:
    explicit ScopedHome(const std::filesystem::path& home)
    {
        for (const char* var : {"HOME", "XDG_CONFIG_HOME"}) {
            const char* old = std::getenv(var);
            saved_.emplace_back(var, old ? std::optional<std::string>(old) : std::nullopt);
        }
        ::setenv("HOME", home.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
    }
    ~ScopedHome()
    {
        for (const auto& [var, value] : saved_) {
            if (value) ::setenv(var.c_str(), value->c_str(), 1);
            else ::unsetenv(var.c_str());
        }
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(SettingsTable, NamesKindsDefaultsAndPositions)
{
    TcdSettings s;
    const auto& expected = expectedSettings();
    ASSERT_EQ(expected.size(), 81u);
    ASSERT_EQ(s.PublishedPropertyCount(), 85);
    const char* base[] = {"Name", "Tag", "AutoLoad", "RegistryKey"};
    for (int p = 0; p < 4; ++p) EXPECT_EQ(s.PublishedPropertyName(p), base[p]) << p;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const int p = static_cast<int>(i) + 4;
        const auto& e = expected[i];
        EXPECT_EQ(s.PublishedPropertyName(p), e.name) << "position " << p;
        EXPECT_EQ(s.PublishedProperty(p).kind, e.kind) << e.name;
        if (e.defaultText) {
            EXPECT_EQ(s.propertyText(p), e.defaultText) << e.name;
        }
        EXPECT_EQ(s.FindPublishedProperty(e.name), p) << e.name;
    }
    EXPECT_THROW(s.PublishedPropertyName(85), std::out_of_range);
    EXPECT_THROW(s.PublishedPropertyName(-1), std::out_of_range);
}

TEST(SettingsTable, BaseInitialValues)
{
    TcdSettings s;
    EXPECT_TRUE(s.AutoLoad);
    EXPECT_EQ(s.RegistryKey, "");
    EXPECT_EQ(s.Name, "");
    EXPECT_EQ(s.Tag, 0);
    for (const char* name : {"RegistryKey", "AutoLoad", "Name", "Tag", "autoload", "TAG"})
        EXPECT_TRUE(s.IsExcluded(name)) << name;
    EXPECT_FALSE(s.IsExcluded("LogDir"));
    TBaseSettings bare;
    EXPECT_EQ(bare.PublishedPropertyCount(), 4);
}

TEST(SettingsTable, SavePathIsTheDocumentsFolderAndApplocationTheProgram)
{
    TempDir home;
    ScopedHome scoped(home.path());
    std::filesystem::create_directories(home / ".config");
    std::ofstream(home / ".config" / "user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n";
    std::filesystem::create_directories(home / "Dokumente");
    TcdSettings s;
    EXPECT_EQ(s.SavePath, (home / "Dokumente").string() + "/Tamrix free Pellucor");
    EXPECT_EQ(s.Applocation, std::filesystem::read_symlink("/proc/self/exe").string());
    EXPECT_TRUE(std::filesystem::path(s.Applocation).is_absolute());
}

struct TextCase {
    const char* property;
    const char* text;
    const char* expected;  // nullptr: refused
};

TEST(SettingsTable, PropertiesAsText)
{
    const std::vector<TextCase> cases = {
        {"LogDir", "/var/log/pellucor", "/var/log/pellucor"},
        {"LogDir", "", ""},
        {"LogDir", "  spaced \"quoted\" \\ ", "  spaced \"quoted\" \\ "},
        {"PageIndex", "3", "3"},
        {"PageIndex", "-1", "-1"},
        {"PageIndex", "+7", "7"},
        {"PageIndex", "2147483647", "2147483647"},
        {"PageIndex", "-2147483648", "-2147483648"},
        {"PageIndex", "2147483648", nullptr},
        {"PageIndex", "abc", nullptr},
        {"PageIndex", "", nullptr},
        {"PageIndex", "4.5", nullptr},
        {"PageIndex", " 1", nullptr},
        {"PageIndex", "1 ", nullptr},
        {"PageIndex", "0x10", nullptr},
        {"PageIndex", "+-1", nullptr},
        {"SubDir", "true", "true"},
        {"SubDir", "TRUE", "true"},
        {"SubDir", "1", "true"},
        {"SubDir", "false", "false"},
        {"SubDir", "0", "false"},
        {"SubDir", "yes", nullptr},
        {"SubDir", "2", nullptr},
        {"SubDir", "", nullptr},
    };
    for (const TextCase& c : cases) {
        TcdSettings s;
        const int p = *s.FindPublishedProperty(c.property);
        const std::string before = s.propertyText(p);
        if (c.expected) {
            EXPECT_NO_THROW(s.setPropertyText(p, c.text)) << c.property << "=" << c.text;
            EXPECT_EQ(s.propertyText(p), c.expected) << c.property << "=" << c.text;
        } else {
            EXPECT_THROW(s.setPropertyText(p, c.text), PropertyValueError) << c.property << "=" << c.text;
            EXPECT_EQ(s.propertyText(p), before) << "a refused text changes nothing: " << c.text;
        }
    }
    TcdSettings s;
    try {
        s.setPropertyText(*s.FindPublishedProperty("PageIndex"), "abc");
    } catch (const PropertyValueError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
    }
    EXPECT_EQ(s.FindPublishedProperty("mpegtragetbitrate"), s.FindPublishedProperty("MPEGTragetBitrate"));
    EXPECT_FALSE(s.FindPublishedProperty("MPEGTargetBitrate")) << "the stored spelling only";
}

TEST(SettingsAssign, CopiesEveryPropertyButName)
{
    TcdSettings source;
    source.Name = "source";
    source.Tag = 7;
    source.AutoLoad = false;
    source.RegistryKey = "Software\\Elsewhere";
    for (int p = 4; p < source.PublishedPropertyCount(); ++p) {
        switch (source.PublishedProperty(p).kind) {
        case PropertyKind::String: source.setPropertyText(p, "value " + std::to_string(p)); break;
        case PropertyKind::Integer: source.setPropertyText(p, std::to_string(-p)); break;
        case PropertyKind::Boolean: source.setPropertyText(p, "true"); break;
        }
    }
    TcdSettings target;
    target.AutoLoad = false;
    target.Name = "target";
    target.Assign(source);
    EXPECT_EQ(target.Name, "target");
    EXPECT_EQ(target.Tag, 7);
    EXPECT_FALSE(target.AutoLoad);
    EXPECT_EQ(target.RegistryKey, "Software\\Elsewhere");
    for (int p = 4; p < source.PublishedPropertyCount(); ++p)
        EXPECT_EQ(target.propertyText(p), source.propertyText(p)) << source.PublishedPropertyName(p);

    TBaseSettings bare;
    bare.AutoLoad = false;
    EXPECT_THROW(target.Assign(bare), std::invalid_argument) << "another class is refused";
    bare.Assign(source);  // a plain base takes the base's own properties from any settings object
    EXPECT_EQ(bare.RegistryKey, "Software\\Elsewhere");
    EXPECT_EQ(bare.Tag, 7);
}

} // namespace
