#include "hotdir/PathText.h"

namespace pellucor::hotdir {

namespace {
bool isBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }
char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
} // namespace

std::string AddTrailingSlash(std::string_view text) {
    std::string result(text);
    if (!result.empty() && result.back() != '/') result += '/';
    return result;
}

std::string TrimBlanks(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlankOrControl(text[begin])) ++begin;
    while (end > begin && isBlankOrControl(text[end - 1])) --end;
    return std::string(text.substr(begin, end - begin));
}

std::string LowerTrim(std::string_view text) {
    std::string result = TrimBlanks(text);
    for (char& c : result) c = asciiLower(c);
    return result;
}

std::string LowerFileExtension(std::string_view path) {
    const std::size_t nameStart = path.rfind('/') == std::string_view::npos ? 0 : path.rfind('/') + 1;
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < nameStart) return {};
    std::string ext(path.substr(dot));
    for (char& c : ext) c = asciiLower(c);
    return ext;
}

bool PassesExtFilter(std::string_view path, std::string_view extFilter) {
    if (extFilter.empty()) return true;
    const std::string ext = LowerFileExtension(path);
    return !ext.empty() && extFilter.find(ext) != std::string_view::npos;
}

} // namespace pellucor::hotdir
