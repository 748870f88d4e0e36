#include "lang/TextDecoding.h"

#include "lang/Charset.h"
#include "lang/IniFile.h"

#include <cerrno>
#include <iconv.h>
#include <memory>

namespace pellucor::lang {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Length of the well-formed UTF-8 sequence at text[i], 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the first continuation byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // overlong
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // overlong
        if (lead == 0xF4) high = 0x8F;  // past U+10FFFF
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k)
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
    return length;
}

// Valid UTF-8 stays; every byte that starts no valid sequence becomes U+FFFD.
std::string RepairUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, i);
        if (length == 0) {
            out += kReplacement;
            ++i;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

struct IconvCloser {
    void operator()(iconv_t cd) const { iconv_close(cd); }
};
using IconvHandle = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

} // namespace

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

const char* CodePageForCharset(int charset) {
    switch (charset) {
    case 0:
    case 1: return "CP1252";
    case 128: return "CP932";
    case 129: return "CP949";
    case 130: return "JOHAB";
    case 134: return "CP936";
    case 136: return "CP950";
    case 161: return "CP1253";
    case 162: return "CP1254";
    case 163: return "CP1258";
    case 177: return "CP1255";
    case 178: return "CP1256";
    case 186: return "CP1257";
    case 204: return "CP1251";
    case 222: return "CP874";
    case 238: return "CP1250";
    default: return "CP1252";
    }
}

std::string ConvertToUtf8(std::string_view bytes, const char* encoding) {
    IconvHandle cd(iconv_open("UTF-8", encoding));
    if (cd.get() == reinterpret_cast<iconv_t>(-1)) {
        cd.release();  // iconv_open failed: there is nothing to close
        return RepairUtf8(bytes);
    }
    std::string out;
    out.reserve(bytes.size() * 2);
    char buffer[4096];
    // iconv takes char** although it never writes the input.
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd.get(), &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (rc != static_cast<std::size_t>(-1)) continue;
        if (errno == E2BIG) continue;  // the buffer is full: flush it and go on
        // EILSEQ: a byte the code page does not define; EINVAL: a multi-byte character cut off by
        // the end of the file. Either way that byte is lost to the reader, so it shows as U+FFFD.
        out += kReplacement;
        ++in;
        --inLeft;
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);  // back to the initial shift state
    }
    return out;
}

std::string DecodeLanguageText(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) return RepairUtf8(bytes.substr(kUtf8Bom.size()));
    if (bytes.starts_with("\xFF\xFE")) return ConvertToUtf8(bytes.substr(2), "UTF-16LE");
    if (bytes.starts_with("\xFE\xFF")) return ConvertToUtf8(bytes.substr(2), "UTF-16BE");
    if (IsValidUtf8(bytes)) return std::string(bytes);
    // The section and key names are ASCII, so the raw bytes can be read as an INI file to find
    // out which code page the rest of the file is in.
    const IniFile raw = IniFile::FromText(bytes);
    const int charset = CharsetFromName(raw.readString("Font", "CharSet", ""));
    return ConvertToUtf8(bytes, CodePageForCharset(charset));
}

} // namespace pellucor::lang
