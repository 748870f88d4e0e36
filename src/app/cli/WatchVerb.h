#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace pellucor::cli {

// pellucor-cli watch --in DIR --out DIR --log DIR [--subdir] [--format F] [--preset N]
// Hot Directories Mode without a window: the same checks and messages as Run (exit code 2 when
// one fails), the same monitor, conversions, output tree and daily log; the folders are stored
// in the settings as Run stores them. Runs until SIGINT or SIGTERM, then ends like End.
int runWatchVerb(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace pellucor::cli
