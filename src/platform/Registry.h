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

#include "platform/RegFile.h"

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

    // REG_SZ or REG_EXPAND_SZ (not expanded), text up to the first NUL, UTF-8. A missing value
    // reads as "" (as the registry layer does); another type raises "Invalid data type".
    std::string readString(const std::string& name) const;
    // REG_DWORD, signed. Missing, or data longer than four bytes: "Failed to get data";
    // another type that fits: "Invalid data type".
    std::int32_t readInteger(const std::string& name) const;
    std::vector<std::uint8_t> readBinary(const std::string& name) const;  // REG_BINARY

    // Written values are kept in the object until closeKey. Writing with no key open raises
    // "Failed to set data for '<name>'". A text that cannot stand between quotes in the file
    // (line breaks, control characters) is stored in the REG_SZ hex form instead, read back alike.

    void writeString(const std::string& name, const std::string& value);
    void writeExpandString(const std::string& name, const std::string& value);
    void writeInteger(const std::string& name, std::int32_t value);
    void writeBinary(const std::string& name, const std::vector<std::uint8_t>& value);

    // Any type, bytes as the registry holds them (for the types this class does not interpret;
    // a REG_SZ written as quoted text gives its UTF-8 bytes and a NUL).
    // readRaw raises "Failed to get data for '<name>'" when the value is missing.
    std::vector<std::uint8_t> readRaw(const std::string& name) const;
    void writeRaw(const std::string& name, RegType type, const std::vector<std::uint8_t>& data);

private:
    struct Named {
        std::string name;  // spelling as stored; lookups ignore ASCII case
        regfile::RegValue value;
    };
    const regfile::RegValue* find(const std::string& name) const;
    void put(const std::string& name, regfile::RegValue value);
    void flush();

    std::filesystem::path hive_;
    std::string keyPath_;         // "HKEY_CURRENT_USER\\..." once open, empty when closed
    std::vector<Named> values_;   // the key's values as read at open
    std::vector<Named> pending_;  // written since open, in write order, not yet in the file
    bool open_ = false;
    bool created_ = false;        // the key did not exist: closing writes it even without values
};

} // namespace pellucor::platform
