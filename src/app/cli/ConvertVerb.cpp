// pellucor-cli convert: converts files one after another through the same job builder, batch
// driver and component as the window, printing the memo lines.
#include "app/cli/ConvertVerb.h"

#include "app/cli/Cli.h"
#include "app/cli/FormatOptions.h"
#include "app/cli/Headless.h"

#include "app/QtScheduler.h"
#include "conversion/BatchDriver.h"
#include "conversion/OutputName.h"
#include "engine/VideoEdit.h"
#include "platform/TerminationSignals.h"
#include "settings/SettingsModule.h"
#include "settings/cdSettings.h"

#include <QCoreApplication>

#include <filesystem>
#include <unistd.h>

namespace pellucor::cli {

namespace {

struct ArgRows : conversion::BatchRows {
    struct Row {
        std::string path;
        bool taken = false;
        conversion::RowPicture picture = conversion::PictureWaiting;
    };
    std::vector<Row> rows;
    int rowCount() const override { return static_cast<int>(rows.size()); }
    std::string fullPath(int r) const override { return rows[r].path; }
    std::string caption(int r) const override { return conversion::FileNameOf(rows[r].path); }
    bool taken(int r) const override { return rows[r].taken; }
    void setTaken(int r, bool t) override { rows[r].taken = t; }
    void setPicture(int r, conversion::RowPicture p) override { rows[r].picture = p; }
    void resetRow(int r) override { rows[r].taken = false, rows[r].picture = conversion::PictureWaiting; }
};

struct PrintView : conversion::BatchView {
    std::ostream& out;
    std::ostream& err;
    bool terminal = ::isatty(STDERR_FILENO) == 1;
    bool progressShown = false;
    PrintView(std::ostream& o, std::ostream& e) : out(o), err(e) {}

    void clearProgressLine()
    {
        if (progressShown) err << "\r\033[K" << std::flush;
        progressShown = false;
    }
    void setRunning(bool) override {}
    void storePresetSelections() override {}
    void appendMemo(const std::string& line) override
    {
        clearProgressLine();
        out << line << std::endl;
    }
    void showProgress(int percent) override
    {
        if (!terminal) return;
        err << "\r" << percent << "%" << std::flush;
        progressShown = true;
    }
    void resetProgress() override {}
    void hideProgress() override { clearProgressLine(); }
    void warnMissingFile(const std::string& path) override
    {
        err << "pellucor-cli: no such file: " << path << std::endl;
    }
    void runEnded(const std::string&) override { QCoreApplication::quit(); }
};

int usage(std::ostream& err)
{
    err << "usage: pellucor-cli convert [--format mpeg|mp4|wmv|flv|mov|mp3] [--preset N] "
           "[--output DIR] FILE...\n";
    return kExitUsage;
}

} // namespace

int runConvertVerb(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    // This run's profile: a copy of the stored settings, changed by the options and never saved.
    TcdSettings run;
    run.Assign(*AppSettings);
    run.AutoLoad = false;
    run.RegistryKey.clear();

    FormatOptions format;
    std::string output = run.SavePath;
    ArgRows rows;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (format.parse(args, i, err)) {
            continue;
        } else if (format.failed) {
            return usage(err);
        } else if (a == "--output" && hasValue) {
            output = args[++i];
        } else if (a == "--") {
            for (++i; i < args.size(); ++i) rows.rows.push_back({args[i]});
        } else if (!a.empty() && a[0] == '-') {
            err << "pellucor-cli: unknown option '" << a << "'\n";
            return usage(err);
        } else {
            rows.rows.push_back({a});
        }
    }
    if (rows.rows.empty()) return usage(err);
    if (!format.applyTo(run, err)) return kExitUsage;

    Headless headless;
    app::QtScheduler& scheduler = headless.scheduler;
    engine::VideoEdit& edit = headless.edit;
    PrintView view(out, err);
    conversion::BatchDriver driver(scheduler, edit, run, rows, view);

    int failures = 0;
    bool interrupted = false;
    // The next file starts as soon as one ends, rather than on the window's 500 ms beat.
    auto next = [&] { scheduler.postToMain([&] { if (driver.Running()) driver.Tick(); }); };
    edit.OnStart = [&] { driver.VideoEditStart(); };
    edit.OnProgress = [&](int p) { driver.VideoEditProgress(p); };
    edit.OnError = [&](int code, const std::string& text) {
        ++failures;
        edit.Input_Clear_List();
        driver.VideoEditError(code, text);
        next();
    };
    edit.OnStop = [&] {
        edit.Input_Clear_List();
        driver.VideoEditStop();
        if (interrupted) QCoreApplication::quit();
        else next();
    };
    platform::TerminationSignals termination([&](int) {
        interrupted = true;
        const bool jobRunning = edit.IsRunning();
        driver.Stop();
        if (!jobRunning) QCoreApplication::quit();
    });

    if (!driver.Convert(output, run.PageIndex)) return kExitUsage;
    driver.Tick();
    headless.exec();
    view.clearProgressLine();

    int converted = 0;
    for (const auto& r : rows.rows) converted += r.picture == conversion::PictureConverted;
    if (interrupted) err << "pellucor-cli: stopped\n";
    return (failures == 0 && !interrupted && converted == rows.rowCount()) ? kExitOk : kExitFailed;
}

} // namespace pellucor::cli
