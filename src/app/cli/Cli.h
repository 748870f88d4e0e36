#pragma once
// pellucor-cli's verbs and their dispatch. Each verb is one function in its own file of this
// folder and one line in the verb table (Cli.cpp); main() only sets up the settings module and
// calls runCli.
//
// Exit codes: 0 done, 1 the verb's work failed, 2 a usage error (unknown verb, wrong arguments,
// unknown names, values of the wrong kind).
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace pellucor::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// args: the verb's own arguments (without the verb). Output for the user on out, errors on err.
using VerbFunction = int (*)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

struct Verb {
    const char* name;
    const char* usage;  // lines after "pellucor-cli ", one per form, '\n'-separated
    VerbFunction run;
};

std::span<const Verb> verbs();
std::string usageText();

// args: the command line without the program name.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace pellucor::cli
