#include "platform/RegFile.h"

// The text side of the hive: UTF-8 checks and the UTF-16LE that the format uses for hex(1) and
// hex(2) texts.

namespace pellucor::platform::regfile {

namespace {

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at s[i]; returns its length, or 0 when the bytes are not UTF-8.
std::size_t decodeUtf8(std::string_view s, std::size_t i, char32_t& cp)
{
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) { cp = b0; return 1; }
    std::size_t len = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) { len = 2; cp = b0 & 0x1F; min = 0x80; }
    else if ((b0 & 0xF0) == 0xE0) { len = 3; cp = b0 & 0x0F; min = 0x800; }
    else if ((b0 & 0xF8) == 0xF0) { len = 4; cp = b0 & 0x07; min = 0x10000; }
    else return 0;
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

} // namespace

// Text files hold no NULs and no control characters besides tab and line ends; anything else is
// a sign of binary garbage, and the hive is not ours to interpret.
std::string findTextProblem(std::string_view text)
{
    std::size_t line = 1;
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const std::size_t len = decodeUtf8(text, i, cp);
        if (len == 0)
            return "line " + std::to_string(line) + ": bytes that are not UTF-8 text";
        if (cp == '\n') ++line;
        else if (cp < 0x20 && cp != '\t' && cp != '\r')
            return "line " + std::to_string(line) + ": binary data";
        i += len;
    }
    return {};
}

bool isUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const std::size_t len = decodeUtf8(text, i, cp);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

std::vector<std::uint8_t> utf16leWithNul(std::string_view utf8)
{
    std::vector<std::uint8_t> out;
    auto put = [&out](char32_t u) {
        out.push_back(static_cast<std::uint8_t>(u & 0xFF));
        out.push_back(static_cast<std::uint8_t>((u >> 8) & 0xFF));
    };
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const std::size_t len = decodeUtf8(utf8, i, cp);
        if (len == 0) {
            // A byte that is not UTF-8 travels as a lone low surrogate (U+DC80 + byte), so any
            // 8-bit text comes back exactly as it went in.
            put(0xDC00 + static_cast<unsigned char>(utf8[i]));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            put(0xD800 + (cp >> 10));
            put(0xDC00 + (cp & 0x3FF));
        } else {
            put(cp);
        }
        i += len;
    }
    put(0);
    return out;
}

std::string utf16leToUtf8(const std::vector<std::uint8_t>& bytes)
{
    std::string out;
    const std::size_t n = bytes.size() / 2;
    for (std::size_t i = 0; i < n; ++i) {
        const char32_t u = bytes[2 * i] | (bytes[2 * i + 1] << 8);
        if (u == 0) break;
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < n) {
            const char32_t lo = bytes[2 * i + 2] | (bytes[2 * i + 3] << 8);
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
                ++i;
                continue;
            }
        }
        if (u >= 0xDC80 && u <= 0xDCFF) {
            out += static_cast<char>(u - 0xDC00);  // a raw byte, see utf16leWithNul
            continue;
        }
        if (u >= 0xD800 && u <= 0xDFFF) {
            appendUtf8(out, 0xFFFD);
            continue;
        }
        appendUtf8(out, u);
    }
    return out;
}

} // namespace pellucor::platform::regfile
