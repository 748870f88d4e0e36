#include "app/cli/FormatOptions.h"

#include "settings/Presets.h"
#include "settings/cdSettings.h"

#include <array>

namespace pellucor::cli {

namespace {
const std::array<const char*, 6> kFormatNames = {"mpeg", "mp4", "wmv", "flv", "mov", "mp3"};
}

bool FormatOptions::parse(const std::vector<std::string>& args, std::size_t& i, std::ostream& err)
{
    const std::string& option = args[i];
    if ((option != "--format" && option != "--preset") || i + 1 >= args.size()) return false;
    const std::string& value = args[i + 1];
    if (option == "--format") {
        for (std::size_t f = 0; f < kFormatNames.size(); ++f)
            if (value == kFormatNames[f]) format = static_cast<int>(f);
        if (format < 0) {
            err << "pellucor-cli: unknown format '" << value << "'\n";
            failed = true;
            return false;
        }
    } else {
        const bool digits = !value.empty() && value.size() < 4 &&
                            value.find_first_not_of("0123456789") == std::string::npos;
        if (!digits) {
            err << "pellucor-cli: '" << value << "' is not a preset number\n";
            failed = true;
            return false;
        }
        preset = std::stoi(value);
    }
    ++i;
    return true;
}

bool FormatOptions::applyTo(TcdSettings& settings, std::ostream& err) const
{
    const int f = format >= 0 ? format : settings.PageIndex;
    if (f < 0 || f >= static_cast<int>(kFormatNames.size())) {
        err << "pellucor-cli: the stored format " << f << " is not one of 0 to 5; use --format\n";
        return false;
    }
    if (preset >= PresetCount(f)) {
        err << "pellucor-cli: the " << kFormatNames[static_cast<std::size_t>(f)] << " presets are 0 to "
            << PresetCount(f) - 1 << "\n";
        return false;
    }
    settings.PageIndex = f;
    if (preset >= 0) ApplyPreset(settings, f, preset);
    return true;
}

} // namespace pellucor::cli
