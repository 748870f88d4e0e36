// Fuzz target: the registry store over a hive file (platform/Registry.h), the way the settings
// use it: open a key, read every value, write one, close, read it back.
//
// Input: the bytes of user.reg, optionally followed by "\x01W\x01", a kind byte ('s' text,
// 'e' expandable text, 'd' DWORD, 'b' binary), the value's name, "\x01" and its data. Without the
// marker a text value "Probe" = "probe" is written. Names are cut to printable ASCII: the program
// names its values itself, only the data comes from the user.
//
// What must hold, whatever the file held:
// - the key opens, and every value of a valid hive reads back with its type and bytes; the typed
//   readers either answer or raise RegistryError;
// - after the write the file is a valid hive in which every other value of every key is what it
//   was, and the written value reads back as written;
// - a hive that was not valid text is not lost: it sits beside the new one, byte for byte, and a
//   message says so.
#include "FuzzSupport.h"

#include "platform/RegFile.h"
#include "platform/Registry.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

using namespace pellucor::platform;
using pellucor::fuzz::AsText;
using pellucor::fuzz::ScratchFolder;
using pellucor::fuzz::Shown;
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMarker = "\x01W\x01";
constexpr std::string_view kRoot = "HKEY_CURRENT_USER\\";

struct Request {
    std::string_view hive;
    char kind = 's';
    std::string name = "Probe";
    std::string data = "probe";
};

Request Split(std::string_view input) {
    Request r;
    const std::size_t marker = input.find(kMarker);
    r.hive = input.substr(0, marker);
    if (marker == std::string_view::npos) return r;
    std::string_view rest = input.substr(marker + kMarker.size());
    if (!rest.empty()) {
        r.kind = rest.front();
        rest.remove_prefix(1);
    }
    const std::size_t sep = rest.find('\x01');
    r.name.clear();
    for (char c : rest.substr(0, sep))
        if (c >= 0x20 && c < 0x7F) r.name += c;
    r.data = sep == std::string_view::npos ? std::string() : std::string(rest.substr(sep + 1));
    return r;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// (key, value name), both lower-cased -> the value an import would leave: later sections of the
// same key and later values of the same name win, as RegistryKey::openKey reads them.
using Effective = std::map<std::pair<std::string, std::string>, regfile::RegValue>;

Effective EffectiveValues(const regfile::Hive& hive) {
    Effective out;
    for (const regfile::Section& s : hive.sections)
        for (const regfile::Entry& e : s.entries)
            if (e.isValue) out[{Lower(s.path), Lower(e.name)}] = e.value;
    return out;
}

bool Same(const regfile::RegValue& a, const regfile::RegValue& b) {
    return a.type == b.type && a.data == b.data;
}

// The key the run opens: the first of the file's own keys below HKEY_CURRENT_USER, so the write
// lands among existing values, or the settings key when the file has none.
std::string KeyToOpen(const std::optional<regfile::Hive>& hive) {
    if (hive) {
        for (const regfile::Section& s : hive->sections) {
            if (s.path.size() <= kRoot.size() || !regfile::equalsNoCase(s.path.substr(0, kRoot.size()), kRoot))
                continue;
            const std::string sub = s.path.substr(kRoot.size());
            if (sub.front() != '\\' && sub.back() != '\\') return sub;
        }
    }
    return "Software\\Tamrix\\Pellucor\\Setting";
}

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

std::string UpToNul(const std::string& s) { return s.substr(0, s.find('\0')); }

void ReadEverything(const RegistryKey& key, const std::string& keyPath, const Effective& expected) {
    const std::string lowerKey = Lower(std::string(kRoot) + keyPath);
    for (const auto& [id, value] : expected) {
        if (id.first != lowerKey) continue;
        const std::string& name = id.second;  // lookups ignore case, so the lower-cased name will do
        FUZZ_CHECK(key.valueExists(name), "value " + Shown(name) + " of the file is missing");
        FUZZ_CHECK(static_cast<std::uint32_t>(key.dataType(name)) == value.type,
                   "value " + Shown(name) + " has another type");
        FUZZ_CHECK(key.readRaw(name) == value.data, "value " + Shown(name) + " has other bytes");
        try { key.readString(name); } catch (const RegistryError&) {}
        try { key.readInteger(name); } catch (const RegistryError&) {}
        try { key.readBinary(name); } catch (const RegistryError&) {}
    }
}

void Write(RegistryKey& key, const Request& r) {
    switch (r.kind) {
    case 'e': key.writeExpandString(r.name, r.data); break;
    case 'd': {
        std::uint32_t u = 0;
        std::memcpy(&u, r.data.data(), std::min<std::size_t>(r.data.size(), 4));
        key.writeInteger(r.name, static_cast<std::int32_t>(u));
        break;
    }
    case 'b': key.writeBinary(r.name, Bytes(r.data)); break;
    default: key.writeString(r.name, r.data); break;
    }
}

void CheckReadBack(const fs::path& hive, const std::string& keyPath, const Request& r) {
    RegistryKey key(hive);
    FUZZ_CHECK(key.openKey(keyPath, false), "the written key " + Shown(keyPath) + " is gone");
    switch (r.kind) {
    case 'e':
        FUZZ_CHECK(key.dataType(r.name) == RegType::ExpandSz, "expandable text lost its type");
        FUZZ_CHECK(key.readString(r.name) == UpToNul(r.data),
                   "expandable text " + Shown(r.data) + " reads back as " + Shown(key.readString(r.name)));
        break;
    case 'd': {
        std::uint32_t u = 0;
        std::memcpy(&u, r.data.data(), std::min<std::size_t>(r.data.size(), 4));
        FUZZ_CHECK(key.readInteger(r.name) == static_cast<std::int32_t>(u), "a DWORD reads back as another number");
        break;
    }
    case 'b':
        FUZZ_CHECK(key.readBinary(r.name) == Bytes(r.data), "binary data reads back changed");
        break;
    default:
        FUZZ_CHECK(key.dataType(r.name) == RegType::Sz, "text lost its type");
        FUZZ_CHECK(key.readString(r.name) == UpToNul(r.data),
                   "text " + Shown(r.data) + " reads back as " + Shown(key.readString(r.name)));
        break;
    }
    key.closeKey();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 64 * 1024) return 0;
    const Request r = Split(AsText(data, size));
    const fs::path& folder = ScratchFolder::get();
    const fs::path hive = ScratchFolder::write(folder, "user.reg", r.hive);
    const regfile::ParseResult before = regfile::parse(r.hive);
    const Effective old = before.hive ? EffectiveValues(*before.hive) : Effective();
    const std::string keyPath = KeyToOpen(before.hive);

    {
        RegistryKey key(hive);
        FUZZ_CHECK(key.openKey(keyPath, true), "key " + Shown(keyPath) + " does not open");
        ReadEverything(key, keyPath, old);
        Write(key, r);
        try {
            key.closeKey();
        } catch (const RegistryError& e) {
            FUZZ_CHECK(false, std::string("the save failed: ") + e.what());
        }
    }

    const std::vector<std::string> messages = takeHiveMessages();
    const std::string text = ReadAll(hive);
    const regfile::ParseResult after = regfile::parse(text);
    FUZZ_CHECK(after.hive, "the saved hive is not valid (" + after.error + "): " + Shown(text, 400));

    if (!before.hive) {
        FUZZ_CHECK(!messages.empty(), "a bad hive was moved aside without a message");
        bool kept = false;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder))
            if (entry.path().filename().string().starts_with("user.reg.bad-"))
                kept = kept || ReadAll(entry.path()) == r.hive;
        FUZZ_CHECK(kept, "the bad hive was not kept beside the new one");
    }

    const Effective now = EffectiveValues(*after.hive);
    const std::pair<std::string, std::string> written{Lower(std::string(kRoot) + keyPath), Lower(r.name)};
    for (const auto& [id, value] : old) {
        if (id == written) continue;
        const auto it = now.find(id);
        FUZZ_CHECK(it != now.end(), "value " + Shown(id.second) + " of key " + Shown(id.first) + " was lost");
        FUZZ_CHECK(Same(it->second, value), "value " + Shown(id.second) + " of key " + Shown(id.first) + " changed");
    }
    for (const auto& entry : now)
        FUZZ_CHECK(entry.first == written || old.count(entry.first),
                   "value " + Shown(entry.first.second) + " appeared from nowhere");
    CheckReadBack(hive, keyPath, r);
    return 0;
}
