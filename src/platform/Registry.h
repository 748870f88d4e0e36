#pragma once
// The current user's registry, kept as one hive file in the ".reg" text format
// ("Windows Registry Editor Version 5.00") at $XDG_CONFIG_HOME/Tamrix/Pellucor/user.reg.
//
// RegistryKey is what the settings and language code need of the registry: open a key below
// HKEY_CURRENT_USER, ask for values, read and write them, close. Writes are buffered in the
// object and reach the file when the key is closed (or destroyed): the file is re-read under an
// flock on "user.reg.lock", only the values this object wrote replace their old selves, and the
// whole file is written to a temporary file in the same folder, fsync'ed and renamed over the
// old one. A crash therefore leaves the old or the new file, never a mix, and two processes
// never erase each other's values.
//
// A hive that is not valid .reg text is never overwritten silently: opening renames it to
// "user.reg.bad-<date-time>", remembers a message naming both files (hiveMessages()) and starts
// from an empty hive.
//
// Threads: one RegistryKey is used by one thread at a time.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace pellucor::platform {

// Raised with the registry layer's texts: "Failed to set data for '%s'", "Failed to get data
// for '%s'", "Invalid data type for '%s'".
class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class RegType : std::uint32_t {
    None = 0,       // REG_NONE, also "does not exist" for dataType()
    Sz = 1,         // REG_SZ
    ExpandSz = 2,   // REG_EXPAND_SZ
    Binary = 3,     // REG_BINARY
    Dword = 4,      // REG_DWORD
    MultiSz = 7,    // REG_MULTI_SZ, kept as raw bytes
    Qword = 11,     // REG_QWORD, kept as raw bytes
};

// The hive file of the current user: $XDG_CONFIG_HOME/Tamrix/Pellucor/user.reg, or
// ~/.config/Tamrix/Pellucor/user.reg when XDG_CONFIG_HOME is unset or empty.
std::filesystem::path defaultHivePath();

// Messages about hives that could not be read and were moved aside, collected since start.
std::vector<std::string> takeHiveMessages();

class RegistryKey {
public:
    // hive: the file to use; defaultHivePath() in the program, a temporary file in tests.
    explicit RegistryKey(std::filesystem::path hive = defaultHivePath());
    ~RegistryKey();  // closes the key (and so writes pending values); never throws
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // path below HKEY_CURRENT_USER, e.g. "Software\\Tamrix\\Pellucor\\Setting"; a leading
    // backslash is ignored. Returns false when the key does not exist and canCreate is false.
    bool openKey(const std::string& path, bool canCreate);
    // Writes pending values to the hive file and forgets the key. Throws RegistryError
    // ("Failed to set data for '<first pending value>'") when the file cannot be written.
    void closeKey();

    bool valueExists(const std::string& name) const;
    RegType dataType(const std::string& name) const;  // RegType::None when missing

    // REG_SZ or REG_EXPAND_SZ (not expanded), text up to the first NUL, UTF-8.
    std::string readString(const std::string& name) const;
    std::int32_t readInteger(const std::string& name) const;       // REG_DWORD, signed
    std::vector<std::uint8_t> readBinary(const std::string& name) const;  // REG_BINARY

    void writeString(const std::string& name, const std::string& value);
    void writeExpandString(const std::string& name, const std::string& value);
    void writeInteger(const std::string& name, std::int32_t value);
    void writeBinary(const std::string& name, const std::vector<std::uint8_t>& value);

private:
    struct Value {
        RegType type = RegType::None;
        std::vector<std::uint8_t> data;  // the raw bytes as the registry holds them
    };
    std::filesystem::path hive_;
    std::string keyPath_;  // "HKEY_CURRENT_USER\\..." once open, empty when closed
    std::map<std::string, Value> values_;   // the key's values as read at open, plus writes
    std::map<std::string, Value> pending_;  // written since open, not yet in the file
    bool open_ = false;
};

} // namespace pellucor::platform
