#pragma once
// The settings' module start-up and shutdown, as one object: the GUI program and pellucor-cli
// both begin main() with `SettingsModule module;`, so both load and save AppSettings the same way.
//
// Start-up: AppSettings is created, given "Software\Tamrix\Pellucor\Setting" and loaded. Values
// that could not be read keep their defaults; their messages, and those of a hive that had to be
// moved aside, are kept for the main window (messages()). The load messages go to standard error
// here; the registry store already wrote its own there. Nothing here ends the program.
//
// Shutdown: the destructor deletes AppSettings, whose destructor saves it (AutoLoad). That runs in
// every run, also in a second instance that ends at once.
//
// Owner of AppSettings. Main thread only; one module at a time.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pellucor {

inline constexpr const char* kSettingsKey = "Software\\Tamrix\\Pellucor\\Setting";

class SettingsModule {
public:
    // hive: the user's hive unless a test names another file.
    explicit SettingsModule(std::optional<std::filesystem::path> hive = std::nullopt);
    ~SettingsModule();
    SettingsModule(const SettingsModule&) = delete;
    SettingsModule& operator=(const SettingsModule&) = delete;

    // What went wrong while loading: load messages first, then the hive's.
    const std::vector<std::string>& messages() const { return messages_; }

private:
    std::vector<std::string> messages_;
};

} // namespace pellucor
