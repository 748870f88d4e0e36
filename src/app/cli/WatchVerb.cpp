// pellucor-cli watch: Hot Directories Mode for servers, through the same HotDirMode as the
// window's page.
#include "app/cli/WatchVerb.h"

#include "app/QtScheduler.h"
#include "app/cli/Cli.h"
#include "app/cli/FormatOptions.h"
#include "app/cli/Headless.h"
#include "engine/VideoEdit.h"
#include "hotdir/HotDirMode.h"
#include "hotdir/MonitorHub.h"
#include "hotdir/uHotDir.h"
#include "lang/FindLanguageFile.h"
#include "lang/StringTable.h"
#include "platform/TerminationSignals.h"
#include "settings/cdSettings.h"

#include <QCoreApplication>

#include <exception>

namespace pellucor::cli {

namespace {

int usage(std::ostream& err)
{
    err << "usage: pellucor-cli watch --in DIR --out DIR --log DIR [--subdir] "
           "[--format mpeg|mp4|wmv|flv|mov|mp3] [--preset N]\n";
    return kExitUsage;
}

} // namespace

int runWatchVerb(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    hotdir::HotDirFolders folders;
    FormatOptions format;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--in" && hasValue) folders.inDir = args[++i];
        else if (a == "--out" && hasValue) folders.outDir = args[++i];
        else if (a == "--log" && hasValue) folders.logDir = args[++i];
        else if (a == "--subdir") folders.subDir = true;
        else if (format.parse(args, i, err)) continue;
        else if (format.failed) return usage(err);
        else {
            err << "pellucor-cli: unknown argument '" << a << "'\n";
            return usage(err);
        }
    }
    if (folders.inDir.empty() || folders.outDir.empty() || folders.logDir.empty()) return usage(err);

    // The refusals speak the language file's words, as the window's do.
    lang::LanguageFile = lang::FindLanguageFile(lang::kLanguageRegistryValue);
    lang::LoadStringTable(lang::StringTable, lang::kStringTableHighest, lang::LanguageFile, "Strings");
    const auto refusal = hotdir::HotDirMode::CheckFolders(folders);
    if (refusal != hotdir::RunRefusal::None) {
        const std::string& text = lang::StringTable[static_cast<std::size_t>(refusal)];
        err << "pellucor-cli: " << (text.empty() ? "the folders cannot be watched" : text) << "\n";
        return kExitUsage;
    }
    // Like choosing the format page and preset in the window before Run: kept in the settings.
    if (!format.applyTo(*AppSettings, err)) return kExitUsage;

    Headless headless;
    app::QtScheduler& scheduler = headless.scheduler;
    engine::VideoEdit& edit = headless.edit;
    hotdir::MonitorHub hub(scheduler);
    hotdir::DirectoryMonitor monitor(hub);
    hotdir::HotDirMode mode(scheduler, edit, *AppSettings, monitor);
    mode.OnProblem = [&](const std::string& text) { err << "pellucor-cli: " << text << std::endl; };
    mode.OnLogLine = [&](const std::string& line) { out << line << std::endl; };

    bool ending = false;
    edit.OnError = [&](int code, const std::string& text) {
        edit.Input_Clear_List();
        mode.VideoEditError(code, text);
        if (ending) QCoreApplication::quit();
    };
    edit.OnStop = [&] {
        edit.Input_Clear_List();
        mode.VideoEditStop();
        if (ending) QCoreApplication::quit();
    };
    const platform::TerminationSignals termination([&](int) {
        if (ending) return;
        ending = true;
        const bool jobRunning = edit.IsRunning();
        mode.End();
        if (!jobRunning) QCoreApplication::quit();
    });

    try {
        if (mode.Run(folders) != hotdir::RunRefusal::None) return kExitUsage;
    } catch (const std::exception& e) {
        err << "pellucor-cli: cannot watch " << folders.inDir << ": " << e.what() << "\n";
        return kExitFailed;
    }
    err << "pellucor-cli: watching " << folders.inDir << " (Ctrl+C ends)" << std::endl;
    headless.exec();
    return kExitOk;
}

} // namespace pellucor::cli
