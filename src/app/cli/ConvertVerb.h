#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace pellucor::cli {

// pellucor-cli convert [--format F] [--preset N] [--output DIR] FILE...
// Exit code 0 when every file converted, 1 when any failed or the run was interrupted, 2 for
// usage errors. args are the words after "convert".
int runConvertVerb(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace pellucor::cli
