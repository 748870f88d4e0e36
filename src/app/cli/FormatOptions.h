#pragma once
// The --format and --preset options that convert and watch share.
#include <ostream>
#include <string>
#include <vector>

namespace pellucor {
class TcdSettings;
}

namespace pellucor::cli {

struct FormatOptions {
    int format = -1;  // 0 MPEG ... 5 MP3; -1: the stored PageIndex
    int preset = -1;  // item position in the format's preset list; -1: the stored profile
    bool failed = false;

    // When args[i] is --format or --preset with a value: consumes both (i moves to the value)
    // and returns true. A bad value sets failed, says why on err and returns false.
    bool parse(const std::vector<std::string>& args, std::size_t& i, std::ostream& err);
    // Sets settings.PageIndex and writes the preset's values. False, with the reason on err,
    // when the format or preset does not exist.
    bool applyTo(TcdSettings& settings, std::ostream& err) const;
};

} // namespace pellucor::cli
