#pragma once
// Turning the bytes of a language file into UTF-8 text.
//
// Language files are UTF-8 today, but translations made for the 8-bit Windows releases are
// still around. A file that is not valid UTF-8 is taken to be such an older file: its [Font]
// CharSet says which Windows code page it was written in, and iconv converts it. Nothing here
// fails: bytes that the code page does not define become U+FFFD, so a damaged file still
// shows every text it can.
#include <cstdint>
#include <string>
#include <string_view>

namespace pellucor::lang {

// True when text is well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool IsValidUtf8(std::string_view text);

// The iconv name of the Windows code page that goes with a GDI charset number: "CP1252" for
// 0 and 1, "CP1251" for 204, "CP932" for 128 and so on. Numbers without a code page of their
// own (symbol, OEM, unknown ones) get "CP1252", the code page of the default charset.
const char* CodePageForCharset(int charset);

// Converts bytes from the named iconv encoding to UTF-8; what cannot be converted becomes U+FFFD.
std::string ConvertToUtf8(std::string_view bytes, const char* encoding);

// The text of a whole language file as UTF-8: a UTF-8 byte-order mark is dropped, UTF-16 with
// a byte-order mark is converted, valid UTF-8 stays as it is, and anything else is decoded in
// the code page named by the file's own [Font] CharSet.
std::string DecodeLanguageText(std::string_view bytes);

} // namespace pellucor::lang
