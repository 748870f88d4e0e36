#include "platform/RegFile.h"

#include <algorithm>
#include <cstdio>

namespace pellucor::platform::regfile {

namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view trimRight(std::string_view s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::string_view trimLeft(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    return s;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    c = lowerAscii(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::optional<std::string> decodeFileBytes(std::string_view bytes, std::string& error)
{
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF
        && static_cast<unsigned char>(bytes[1]) == 0xFE) {
        // regedit itself exports UTF-16LE with a BOM; read it, write UTF-8.
        if (bytes.size() % 2 != 0) {
            error = "UTF-16 text with an odd number of bytes";
            return std::nullopt;
        }
        std::vector<std::uint8_t> raw(bytes.begin() + 2, bytes.end());
        for (std::size_t i = 0; i + 1 < raw.size(); i += 2) {
            if (raw[i] == 0 && raw[i + 1] == 0) {
                error = "binary data";  // a NUL inside the text would cut it short
                return std::nullopt;
            }
        }
        raw.push_back(0);
        raw.push_back(0);
        return utf16leToUtf8(raw);
    }
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    return std::string(bytes);
}

std::string escapeText(std::string_view s)
{
    std::string out;
    out.reserve(s.size() + 2);
    for (char c : s) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out;
}

// Reads a "quoted" text starting at s[pos] == '"'; pos ends after the closing quote.
bool readQuoted(std::string_view s, std::size_t& pos, std::string& out)
{
    ++pos;
    while (pos < s.size()) {
        const char c = s[pos++];
        if (c == '"') return true;
        if (c == '\\' && pos < s.size() && (s[pos] == '\\' || s[pos] == '"')) {
            out += s[pos++];
            continue;
        }
        out += c;
    }
    return false;
}

bool parseHexBytes(std::string_view s, std::vector<std::uint8_t>& out)
{
    s = trimLeft(trimRight(s));
    if (s.empty()) return true;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = s.find(',', start);
        std::string_view item = trimLeft(trimRight(s.substr(start, comma == std::string_view::npos ? s.npos : comma - start)));
        if (item.empty()) {
            // regedit leaves a trailing comma before a continuation; nothing else may be empty.
            if (comma == std::string_view::npos) return true;
            return false;
        }
        if (item.size() > 2) return false;
        int v = 0;
        for (char c : item) {
            const int d = hexDigit(c);
            if (d < 0) return false;
            v = v * 16 + d;
        }
        out.push_back(static_cast<std::uint8_t>(v));
        if (comma == std::string_view::npos) return true;
        start = comma + 1;
    }
}

class Parser {
public:
    explicit Parser(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    ParseResult run()
    {
        ParseResult result;
        if (lines_.empty() || trimRight(lines_[0]) != kHeader) {
            result.error = "the first line is not \"" + std::string(kHeader) + "\"";
            return result;
        }
        Hive hive;
        Section* section = nullptr;
        for (index_ = 1; index_ < lines_.size(); ++index_) {
            const std::string& line = lines_[index_];
            const std::string_view body = trimLeft(line);
            if (trimRight(body).empty()) continue;
            if (body.front() == '[') {
                const std::string_view t = trimRight(body);
                if (t.size() < 3 || t.back() != ']') return fail("a key name without its closing bracket");
                section = &hive.sections.emplace_back();
                section->path = std::string(t.substr(1, t.size() - 2));
                section->headerLine = line;
                continue;
            }
            if (body.front() == '"' || body.substr(0, 2) == "@=") {
                if (!section) return fail("a value before the first key");
                Entry entry;
                if (!parseValue(body, entry)) return fail(error_);
                section->entries.push_back(std::move(entry));
                continue;
            }
            Entry raw;
            raw.lines.push_back(line);
            if (section) section->entries.push_back(std::move(raw));
            else hive.preamble.push_back(line);
        }
        result.hive = std::move(hive);
        return result;
    }

private:
    ParseResult fail(const std::string& what)
    {
        ParseResult r;
        r.error = "line " + std::to_string(index_ + 1) + ": " + what;
        return r;
    }

    bool parseValue(std::string_view body, Entry& entry)
    {
        std::size_t pos = 0;
        if (body.front() == '@') {
            pos = 1;
        } else if (!readQuoted(body, pos, entry.name)) {
            error_ = "a value name without its closing quote";
            return false;
        }
        if (pos >= body.size() || body[pos] != '=') {
            error_ = "a value name not followed by '='";
            return false;
        }
        ++pos;
        const std::string_view data = body.substr(pos);
        entry.lines.push_back(lines_[index_]);
        if (!data.empty() && data.front() == '"') {
            std::size_t p = 0;
            std::string text;
            if (!readQuoted(data, p, text) || !trimRight(data.substr(p)).empty()) {
                error_ = "a text value without its closing quote";
                return false;
            }
            entry.isValue = true;
            entry.value.type = 1;
            entry.value.quoted = true;
            entry.value.data.assign(text.begin(), text.end());
            entry.value.data.push_back(0);
            return true;
        }
        if (data.substr(0, 6) == "dword:") {
            const std::string_view digits = trimRight(data.substr(6));
            if (digits.empty() || digits.size() > 8
                || !std::all_of(digits.begin(), digits.end(), [](char c) { return hexDigit(c) >= 0; })) {
                error_ = "a dword value that is not 1 to 8 hexadecimal digits";
                return false;
            }
            std::uint32_t v = 0;
            for (char c : digits) v = v * 16 + static_cast<std::uint32_t>(hexDigit(c));
            entry.isValue = true;
            entry.value.type = 4;
            entry.value.data = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
            return true;
        }
        if (data.substr(0, 3) == "hex") return parseHex(data, entry);
        // A data form we do not know (a deletion "-", another tool's extension): keep the line.
        return true;
    }

    bool parseHex(std::string_view data, Entry& entry)
    {
        std::size_t pos = 3;
        std::uint32_t type = 3;
        if (pos < data.size() && data[pos] == '(') {
            const std::size_t close = data.find(')', pos);
            if (close == std::string_view::npos || close == pos + 1 || close - pos > 9) {
                error_ = "a hex(type) value with a broken type";
                return false;
            }
            type = 0;
            for (std::size_t k = pos + 1; k < close; ++k) {
                const int d = hexDigit(data[k]);
                if (d < 0) {
                    error_ = "a hex(type) value with a broken type";
                    return false;
                }
                type = type * 16 + static_cast<std::uint32_t>(d);
            }
            pos = close + 1;
        }
        if (pos >= data.size() || data[pos] != ':') {
            error_ = "a hex value without ':'";
            return false;
        }
        std::string joined(data.substr(pos + 1));
        // Long hex data continues on the next line after a trailing backslash.
        while (true) {
            const std::string_view t = trimRight(joined);
            if (t.empty() || t.back() != '\\') break;
            joined.resize(t.size() - 1);
            if (index_ + 1 >= lines_.size()) {
                error_ = "the file ends inside a continued hex value";
                return false;
            }
            ++index_;
            entry.lines.push_back(lines_[index_]);
            joined += trimLeft(lines_[index_]);
        }
        if (!parseHexBytes(joined, entry.value.data)) {
            error_ = "a hex value with bytes that are not two hexadecimal digits";
            return false;
        }
        entry.isValue = true;
        entry.value.type = type;
        return true;
    }

    std::vector<std::string> lines_;
    std::size_t index_ = 0;
    std::string error_;
};

std::string hexType(std::uint32_t type)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "hex(%x):", type);
    return buf;
}

bool quotable(const RegValue& v)
{
    return v.type == 1 && v.quoted;
}

} // namespace

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

Section* Hive::findSection(std::string_view path)
{
    // Two sections of one key merge as they would on import; the last one holds the new values.
    for (auto it = sections.rbegin(); it != sections.rend(); ++it)
        if (equalsNoCase(it->path, path)) return &*it;
    return nullptr;
}

const Section* Hive::findSection(std::string_view path) const
{
    return const_cast<Hive*>(this)->findSection(path);
}

bool Hive::keyExists(std::string_view path) const
{
    for (const Section& s : sections) {
        if (equalsNoCase(s.path, path)) return true;
        if (s.path.size() > path.size() && s.path[path.size()] == '\\'
            && equalsNoCase(std::string_view(s.path).substr(0, path.size()), path))
            return true;
    }
    return false;
}

Section& Hive::addSection(const std::string& path)
{
    Section& s = sections.emplace_back();
    s.path = path;
    s.headerLine = "[" + path + "]";
    return s;
}

Entry* findValue(Section& section, std::string_view name)
{
    // The last of two equal names is the one an import would leave.
    for (auto it = section.entries.rbegin(); it != section.entries.rend(); ++it)
        if (it->isValue && equalsNoCase(it->name, name)) return &*it;
    return nullptr;
}

const Entry* findValue(const Section& section, std::string_view name)
{
    return findValue(const_cast<Section&>(section), name);
}

ParseResult parse(std::string_view bytes)
{
    ParseResult bad;
    const std::optional<std::string> text = decodeFileBytes(bytes, bad.error);
    if (!text) return bad;
    bad.error = findTextProblem(*text);
    if (!bad.error.empty()) return bad;
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text->size()) {
        std::size_t end = text->find('\n', start);
        if (end == std::string::npos) end = text->size();
        std::string line = text->substr(start, end - start);
        // Every CR at the end goes, so a line of lone CRs is blank here and after a rewrite alike.
        while (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return Parser(std::move(lines)).run();
}

std::string serialize(const Hive& hive)
{
    std::string out(kHeader);
    out += "\n\n";
    for (const std::string& line : hive.preamble) out += line + "\n";
    if (!hive.preamble.empty()) out += "\n";
    for (const Section& s : hive.sections) {
        out += s.headerLine + "\n";
        for (const Entry& e : s.entries)
            for (const std::string& line : e.lines) out += line + "\n";
        out += "\n";
    }
    return out;
}

std::vector<std::string> formatValue(const std::string& name, const RegValue& value)
{
    std::string line = name.empty() ? std::string("@=") : "\"" + escapeText(name) + "\"=";
    if (quotable(value)) {
        const auto nul = std::find(value.data.begin(), value.data.end(), 0);
        line += "\"" + escapeText(std::string(value.data.begin(), nul)) + "\"";
        return {line};
    }
    if (value.type == 4 && value.data.size() == 4) {
        char buf[16];
        const std::uint32_t v = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16)
                                | (static_cast<std::uint32_t>(value.data[3]) << 24);
        std::snprintf(buf, sizeof buf, "dword:%08x", v);
        return {line + buf};
    }
    line += value.type == 3 ? std::string("hex:") : hexType(value.type);
    std::vector<std::string> lines;
    constexpr std::size_t kWidth = 80;
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        char piece[4];
        std::snprintf(piece, sizeof piece, "%02x", value.data[i]);
        std::string item = piece;
        if (i + 1 < value.data.size()) item += ',';
        // Like regedit: wrap before a byte that would push the line (and its "\") past 80.
        if (line.size() + item.size() + 1 > kWidth && line.size() > 2) {
            lines.push_back(line + "\\");
            line = "  ";
        }
        line += item;
    }
    lines.push_back(line);
    return lines;
}

} // namespace pellucor::platform::regfile
