#include "platform/Registry.h"

#include "platform/RegFileStore.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include <pwd.h>
#include <unistd.h>

namespace pellucor::platform {

namespace {

constexpr const char* kRoot = "HKEY_CURRENT_USER";

[[noreturn]] void fail(const char* what, const std::string& name)
{
    throw RegistryError(std::string(what) + " '" + name + "'");
}

std::string homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return ".";
}

// Text that can stand between quotes on one line of the file: UTF-8 without control characters.
bool fitsQuoted(const std::string& text)
{
    for (unsigned char c : text)
        if (c < 0x20 && c != '\t') return false;
    return regfile::isUtf8(text);
}

std::string upToNul(const std::string& text)
{
    return text.substr(0, text.find('\0'));
}

} // namespace

std::filesystem::path defaultHivePath()
{
    std::filesystem::path config;
    // XDG: a relative XDG_CONFIG_HOME is invalid and must be ignored.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') config = xdg;
    else config = std::filesystem::path(homeFolder()) / ".config";
    return config / "Tamrix" / "Pellucor" / "user.reg";
}

std::vector<std::string> takeHiveMessages()
{
    return regfile::takeMessages();
}

RegistryKey::RegistryKey(std::filesystem::path hive) : hive_(std::move(hive)) {}

RegistryKey::~RegistryKey()
{
    try {
        closeKey();
    } catch (const std::exception& e) {
        std::cerr << "Pellucor: " << e.what() << std::endl;
    }
}

bool RegistryKey::openKey(const std::string& path, bool canCreate)
{
    closeKey();
    std::string sub = path;
    if (!sub.empty() && sub.front() == '\\') sub.erase(0, 1);
    while (!sub.empty() && sub.back() == '\\') sub.pop_back();
    const std::string full = sub.empty() ? std::string(kRoot) : std::string(kRoot) + "\\" + sub;

    // Without a folder there is no lock to take and nothing to read; a read-only folder still
    // lets us read (loadHive then refuses to touch a bad file it cannot move aside).
    regfile::HiveLock lock(hive_, false);
    const regfile::LoadResult loaded = regfile::loadHive(hive_);
    if (!loaded.hive) return false;

    values_.clear();
    pending_.clear();
    bool exists = sub.empty() || loaded.hive->keyExists(full);
    for (const regfile::Section& section : loaded.hive->sections) {
        if (!regfile::equalsNoCase(section.path, full)) continue;
        for (const regfile::Entry& entry : section.entries) {
            if (!entry.isValue) continue;
            auto same = std::find_if(values_.begin(), values_.end(), [&](const Named& n) {
                return regfile::equalsNoCase(n.name, entry.name);
            });
            if (same != values_.end()) same->value = entry.value;
            else values_.push_back({entry.name, entry.value});
        }
    }
    if (!exists && !canCreate) return false;
    created_ = !exists;
    keyPath_ = full;
    open_ = true;
    return true;
}

void RegistryKey::closeKey()
{
    if (!open_) return;
    struct Reset {
        RegistryKey& k;
        ~Reset()
        {
            k.open_ = false;
            k.created_ = false;
            k.keyPath_.clear();
            k.values_.clear();
            k.pending_.clear();
        }
    } reset{*this};
    if (!pending_.empty() || created_) flush();
}

void RegistryKey::flush()
{
    const std::string firstName = pending_.empty() ? std::string() : pending_.front().name;
    auto failed = [&](const std::string& why) {
        // Creating an empty key is a courtesy of opening; only lost values are an error.
        if (pending_.empty()) return;
        std::cerr << "Pellucor: " << why << std::endl;
        fail("Failed to set data for", firstName);
    };
    regfile::HiveLock lock(hive_, true);
    if (!lock.locked()) return failed(lock.error());
    // Read again under the lock: another process may have saved since we opened.
    regfile::LoadResult loaded = regfile::loadHive(hive_);
    if (!loaded.hive) return failed(loaded.error);
    regfile::Hive& hive = *loaded.hive;
    regfile::Section* section = hive.findSection(keyPath_);
    if (!section) section = &hive.addSection(keyPath_);
    for (const Named& w : pending_) {
        if (regfile::Entry* old = regfile::findValue(*section, w.name)) {
            old->value = w.value;
            old->lines = regfile::formatValue(old->name, w.value);
        } else {
            regfile::Entry entry;
            entry.isValue = true;
            entry.name = w.name;
            entry.value = w.value;
            entry.lines = regfile::formatValue(w.name, w.value);
            section->entries.push_back(std::move(entry));
        }
    }
    if (const std::string error = regfile::saveHive(hive_, hive); !error.empty()) failed(error);
}

const regfile::RegValue* RegistryKey::find(const std::string& name) const
{
    for (const auto* list : {&pending_, &values_})
        for (const Named& n : *list)
            if (regfile::equalsNoCase(n.name, name)) return &n.value;
    return nullptr;
}

void RegistryKey::put(const std::string& name, regfile::RegValue value)
{
    if (!open_) fail("Failed to set data for", name);
    for (Named& n : pending_) {
        if (regfile::equalsNoCase(n.name, name)) {
            n.value = std::move(value);
            return;
        }
    }
    pending_.push_back({name, std::move(value)});
}

bool RegistryKey::valueExists(const std::string& name) const
{
    return open_ && find(name) != nullptr;
}

RegType RegistryKey::dataType(const std::string& name) const
{
    const regfile::RegValue* v = open_ ? find(name) : nullptr;
    return v ? static_cast<RegType>(v->type) : RegType::None;
}

std::string RegistryKey::readString(const std::string& name) const
{
    const regfile::RegValue* v = open_ ? find(name) : nullptr;
    if (!v) return {};
    if (v->type != static_cast<std::uint32_t>(RegType::Sz) && v->type != static_cast<std::uint32_t>(RegType::ExpandSz))
        fail("Invalid data type for", name);
    if (v->quoted) return upToNul(std::string(v->data.begin(), v->data.end()));
    return regfile::utf16leToUtf8(v->data);
}

std::int32_t RegistryKey::readInteger(const std::string& name) const
{
    const regfile::RegValue* v = open_ ? find(name) : nullptr;
    if (!v || v->data.size() > 4) fail("Failed to get data for", name);
    if (v->type != static_cast<std::uint32_t>(RegType::Dword)) fail("Invalid data type for", name);
    std::uint32_t u = 0;
    for (std::size_t i = 0; i < v->data.size(); ++i) u |= static_cast<std::uint32_t>(v->data[i]) << (8 * i);
    return static_cast<std::int32_t>(u);
}

std::vector<std::uint8_t> RegistryKey::readBinary(const std::string& name) const
{
    const regfile::RegValue* v = open_ ? find(name) : nullptr;
    if (!v) fail("Failed to get data for", name);
    if (v->type != static_cast<std::uint32_t>(RegType::Binary)) fail("Invalid data type for", name);
    return v->data;
}

std::vector<std::uint8_t> RegistryKey::readRaw(const std::string& name) const
{
    const regfile::RegValue* v = open_ ? find(name) : nullptr;
    if (!v) fail("Failed to get data for", name);
    return v->data;
}

void RegistryKey::writeString(const std::string& name, const std::string& value)
{
    const std::string text = upToNul(value);
    regfile::RegValue v;
    v.type = static_cast<std::uint32_t>(RegType::Sz);
    if (fitsQuoted(text)) {
        v.quoted = true;
        v.data.assign(text.begin(), text.end());
        v.data.push_back(0);
    } else {
        v.data = regfile::utf16leWithNul(text);
    }
    put(name, std::move(v));
}

void RegistryKey::writeExpandString(const std::string& name, const std::string& value)
{
    regfile::RegValue v;
    v.type = static_cast<std::uint32_t>(RegType::ExpandSz);
    v.data = regfile::utf16leWithNul(upToNul(value));
    put(name, std::move(v));
}

void RegistryKey::writeInteger(const std::string& name, std::int32_t value)
{
    const auto u = static_cast<std::uint32_t>(value);
    regfile::RegValue v;
    v.type = static_cast<std::uint32_t>(RegType::Dword);
    v.data = {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
              static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)};
    put(name, std::move(v));
}

void RegistryKey::writeBinary(const std::string& name, const std::vector<std::uint8_t>& value)
{
    writeRaw(name, RegType::Binary, value);
}

void RegistryKey::writeRaw(const std::string& name, RegType type, const std::vector<std::uint8_t>& data)
{
    regfile::RegValue v;
    v.type = static_cast<std::uint32_t>(type);
    v.data = data;
    put(name, std::move(v));
}

} // namespace pellucor::platform
