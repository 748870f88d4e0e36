#include "app/cli/SettingsVerb.h"

#include "app/cli/Cli.h"
#include "settings/cdSettings.h"

#include <cstdio>
#include <iomanip>
#include <optional>

namespace pellucor::cli {

namespace {

// A listing shows one setting per line, so control characters in a value are shown escaped;
// `get` prints the value exactly.
std::string forListing(const std::string& value)
{
    std::string out;
    for (unsigned char c : value) {
        if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\t') out += "\\t";
        else if (c < 0x20 || c == 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::optional<int> findSetting(const std::string& name, std::ostream& err)
{
    const std::optional<int> position = AppSettings->FindPublishedProperty(name);
    if (!position || AppSettings->IsExcluded(name)) {
        err << "pellucor-cli settings: there is no setting named '" << name
            << "' (pellucor-cli settings list shows them all)\n";
        return std::nullopt;
    }
    return position;
}

int usageError(std::ostream& err, const std::string& what)
{
    err << "pellucor-cli settings: " << what << "\n\n" << usageText();
    return kExitUsage;
}

} // namespace

int runSettingsVerb(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (!AppSettings) {
        err << "pellucor-cli settings: the settings are not loaded\n";
        return kExitFailed;
    }
    if (args.empty()) return usageError(err, "list, get or set is missing");
    const std::string& action = args[0];
    if (action == "list") {
        if (args.size() != 1) return usageError(err, "list takes no arguments");
        for (int p = 0; p < AppSettings->PublishedPropertyCount(); ++p) {
            const std::string_view name = AppSettings->PublishedPropertyName(p);
            if (AppSettings->IsExcluded(name)) continue;
            out << std::left << std::setw(20) << name << ' ' << std::setw(7)
                << kindName(AppSettings->PublishedProperty(p).kind) << ' '
                << forListing(AppSettings->propertyText(p)) << '\n';
        }
        return kExitOk;
    }
    if (action == "get") {
        if (args.size() != 2) return usageError(err, "get takes one setting name");
        const std::optional<int> p = findSetting(args[1], err);
        if (!p) return kExitUsage;
        out << AppSettings->propertyText(*p) << '\n';
        return kExitOk;
    }
    if (action == "set") {
        if (args.size() != 3) return usageError(err, "set takes a setting name and a value");
        const std::optional<int> p = findSetting(args[1], err);
        if (!p) return kExitUsage;
        try {
            AppSettings->setPropertyText(*p, args[2]);
        } catch (const PropertyValueError& e) {
            err << "pellucor-cli settings: " << AppSettings->PublishedPropertyName(*p) << " is "
                << kindName(AppSettings->PublishedProperty(*p).kind) << ": " << e.what() << '\n';
            return kExitUsage;
        }
        return kExitOk;
    }
    return usageError(err, "unknown action '" + action + "'");
}

} // namespace pellucor::cli
