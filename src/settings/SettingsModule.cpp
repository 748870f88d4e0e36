#include "settings/SettingsModule.h"

#include "platform/Registry.h"
#include "settings/cdSettings.h"

#include <iostream>
#include <stdexcept>

namespace pellucor {

SettingsModule::SettingsModule(std::optional<std::filesystem::path> hive)
{
    if (AppSettings) throw std::logic_error("SettingsModule: AppSettings already exists");
    AppSettings = new TcdSettings();
    if (hive) AppSettings->HivePath = *hive;
    AppSettings->RegistryKey = kSettingsKey;
    try {
        messages_ = AppSettings->LoadSettings();
    } catch (const std::exception& e) {
        // The store raises only for what it cannot read at all; the defaults stay and we go on.
        messages_.emplace_back(e.what());
    }
    for (const std::string& m : messages_)
        std::cerr << "Pellucor: a stored setting keeps its default: " << m << std::endl;
    for (std::string& m : platform::takeHiveMessages()) messages_.push_back(std::move(m));
}

SettingsModule::~SettingsModule()
{
    delete AppSettings;  // saves, and reports a failed save on standard error
    AppSettings = nullptr;
}

} // namespace pellucor
