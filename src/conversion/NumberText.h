#pragma once
// Profile values are texts; a job turns them into numbers only when it is built. These are the
// conversions it uses, independent of the user's locale.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace pellucor::conversion {

// A profile text that a job cannot use; what() is the text shown to the user.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Decimal (optionally signed, leading blanks allowed) or hexadecimal after "$" or "0x", within
// 32 bits. Anything else raises ConversionError "'<text>' is not a valid integer value".
std::int32_t StrToInt(const std::string& text);

// A decimal number whose separator is "." or ",", whatever the locale. Anything else raises
// ConversionError "'<text>' is not a valid floating point value".
double StrToFloat(const std::string& text);

} // namespace pellucor::conversion
