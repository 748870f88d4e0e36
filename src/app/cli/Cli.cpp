#include "app/cli/Cli.h"

#include "app/cli/ConvertVerb.h"
#include "app/cli/SettingsVerb.h"
#include "app/cli/WatchVerb.h"

#include <array>
#include <sstream>

namespace pellucor::cli {

namespace {

const std::array kVerbs = {
    Verb{"settings",
         "settings list              every setting, its kind and its value\n"
         "settings get NAME          the value of one setting\n"
         "settings set NAME VALUE    change one setting (Integer: a whole number; Boolean: true, false, 1 or 0)",
         &runSettingsVerb},
    Verb{"convert",
         "convert [--format mpeg|mp4|wmv|flv|mov|mp3] [--preset N] [--output DIR] FILE...",
         &runConvertVerb},
    Verb{"watch",
         "watch --in DIR --out DIR --log DIR [--subdir] [--format F] [--preset N]",
         &runWatchVerb},
};

} // namespace

std::span<const Verb> verbs()
{
    return kVerbs;
}

std::string usageText()
{
    std::ostringstream text;
    text << "Usage: pellucor-cli VERB [ARGUMENTS]\n\n";
    for (const Verb& verb : kVerbs) {
        std::istringstream lines(verb.usage);
        for (std::string line; std::getline(lines, line);) text << "  pellucor-cli " << line << "\n";
    }
    text << "\nSettings are those of Pellucor itself: what a verb changes, the program sees.\n";
    return text.str();
}

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty()) {
        err << usageText();
        return kExitUsage;
    }
    if (args[0] == "help" || args[0] == "--help" || args[0] == "-h") {
        out << usageText();
        return kExitOk;
    }
    for (const Verb& verb : kVerbs)
        if (args[0] == verb.name) return verb.run({args.begin() + 1, args.end()}, out, err);
    err << "pellucor-cli: unknown verb '" << args[0] << "'\n\n" << usageText();
    return kExitUsage;
}

} // namespace pellucor::cli
