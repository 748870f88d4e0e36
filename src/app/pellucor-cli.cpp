// pellucor-cli: Pellucor's command-line companion.
//
// It starts and ends exactly like the program: the settings module loads AppSettings before
// anything else and saves it when main returns, so the two always agree on what is stored.
#include "app/cli/Cli.h"
#include "settings/SettingsModule.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    pellucor::SettingsModule module;
    const std::vector<std::string> args(argv + 1, argv + argc);
    return pellucor::cli::runCli(args, std::cout, std::cerr);
}
