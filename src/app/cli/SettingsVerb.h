#pragma once
// `pellucor-cli settings list | get NAME | set NAME VALUE`, on AppSettings.
//
// Works on the settings the module loaded at start-up; a changed value reaches the hive through
// the module's save at exit, exactly as the program's own changes do. Names are the stored names
// (letter case ignored, as the registry ignores it); only the persisted properties are settings
// here, so Name, Tag, AutoLoad and RegistryKey are unknown.
#include <ostream>
#include <string>
#include <vector>

namespace pellucor::cli {

int runSettingsVerb(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace pellucor::cli
