#include "hotdir/HotDirMode.h"

#include "conversion/ConversionLog.h"
#include "conversion/OutputName.h"
#include "conversion/StartJob.h"
#include "engine/VideoEdit.h"
#include "hotdir/PathText.h"
#include "hotdir/uHotDir.h"
#include "settings/cdSettings.h"

#include <chrono>
#include <ctime>
#include <exception>
#include <filesystem>

namespace pellucor::hotdir {

namespace fs = std::filesystem;

namespace {

std::string now() { return conversion::LongTimeText(std::time(nullptr)); }

bool isDirectory(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

std::string canonicalText(const std::string& path)
{
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(path, ec), ec);
    if (ec) p = fs::absolute(path).lexically_normal();
    std::string text = p.string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

} // namespace

bool IsSameOrInside(const std::string& inner, const std::string& outer)
{
    if (inner.empty() || outer.empty()) return false;
    const std::string in = canonicalText(inner);
    const std::string out = canonicalText(outer);
    if (in == out) return true;
    return in.compare(0, out.size(), out) == 0 &&
           (out.back() == '/' || (in.size() > out.size() && in[out.size()] == '/'));
}

std::string RelativeFileName(const std::string& path, const std::string& base)
{
    const std::string prefix = AddTrailingSlash(TrimBlanks(base));
    const std::string p = TrimBlanks(path);
    if (!prefix.empty() && p.compare(0, prefix.size(), prefix) == 0) return p.substr(prefix.size());
    return conversion::FileNameOf(p);
}

HotDirMode::HotDirMode(Scheduler& scheduler, engine::VideoEdit& edit, TcdSettings& settings,
                       DirectoryMonitor& monitor)
    : scheduler_(scheduler), edit_(edit), settings_(settings), monitor_(monitor)
{
}

HotDirMode::~HotDirMode()
{
    stopTimer();
    monitor_.OnFileReady = nullptr;
}

RunRefusal HotDirMode::CheckFolders(const HotDirFolders& f)
{
    if (!isDirectory(f.inDir)) return RunRefusal::MissingInput;
    if (!isDirectory(f.outDir)) return RunRefusal::MissingOutput;
    if (!isDirectory(f.logDir)) return RunRefusal::MissingLog;
    // An output inside the watched tree would feed the mode its own results.
    if (IsSameOrInside(f.outDir, f.inDir)) return RunRefusal::OutputInsideInput;
    return RunRefusal::None;
}

RunRefusal HotDirMode::Run(const HotDirFolders& folders)
{
    if (running_) return RunRefusal::None;
    const RunRefusal refusal = CheckFolders(folders);
    if (refusal != RunRefusal::None) return refusal;

    monitor_.Start(folders.inDir, ".avi", folders.subDir,
                   [this](const std::string& path) { HotDirFileReady(path); });
    folders_ = folders;
    running_ = true;
    SaveHotDirSettings(folders);
    return RunRefusal::None;
}

void HotDirMode::SaveHotDirSettings(const HotDirFolders& folders)
{
    if (!folders.inDir.empty()) settings_.Indir = folders.inDir;
    if (!folders.outDir.empty()) settings_.OutDir = folders.outDir;
    if (!folders.logDir.empty()) settings_.LogDir = folders.logDir;
    settings_.SubDir = folders.subDir;
    try {
        settings_.SaveSettings();
    } catch (const std::exception& e) {
        // The monitor already runs: say what failed and keep running, rather than leave a
        // watching monitor behind an idle page.
        if (OnProblem) OnProblem(e.what());
    }
}

void HotDirMode::End()
{
    edit_.Input_Clear_List();
    edit_.Stop();
    stopTimer();
    processed_.Clear();
    monitor_.Stop();
    running_ = false;
}

void HotDirMode::HotDirFileReady(const std::string& path)
{
    processed_.Add(path, "");
    if (!timer_)
        timer_ = scheduler_.startTimer(std::chrono::milliseconds(500), [this] { Tick(); });
}

void HotDirMode::stopTimer()
{
    if (timer_) scheduler_.stopTimer(timer_);
    timer_ = 0;
}

void HotDirMode::log(const std::string& line)
{
    if (OnLogLine) OnLogLine(line);
    try {
        conversion::AppendLogLine(line, conversion::LogFilePath(settings_.LogDir, std::time(nullptr)));
    } catch (const std::exception& e) {
        // A vanished log folder must not stall the conversions; the user hears of it.
        if (OnProblem) OnProblem(e.what());
    }
}

void HotDirMode::Tick()
{
    if (busy_) return;
    int next = -1;
    for (int i = 0; i < processed_.Count(); ++i) {
        if (processed_.ValueAt(i).empty()) {
            next = i;
            break;
        }
    }
    if (next < 0) {
        if (processed_.Count() == 0) stopTimer();
        return;
    }

    currentInput_ = processed_.NameAt(next);
    currentIndex_ = next;
    reportsBeforeJob_ = processed_.Count();
    busy_ = true;

    const std::string relative = RelativeFileName(currentInput_, settings_.Indir);
    const auto slash = relative.rfind('/');
    const std::string subFolder = slash == std::string::npos ? "" : relative.substr(0, slash + 1);
    currentOutput_ = conversion::AddTrailingSlash(folders_.outDir) + subFolder +
                     conversion::BuildOutputName(currentInput_, settings_.PageIndex);

    if (settings_.SubDir) {
        std::error_code ec;  // a folder that cannot be made is the component's to report
        fs::create_directories(fs::path(currentOutput_).parent_path(), ec);
    }
    log("Start: [" + now() + "]");
    log("Load: " + currentInput_ + " [Success]");
    try {
        conversion::StartJob(edit_, settings_, currentInput_, currentOutput_);
    } catch (const std::exception& e) {
        // No event follows a job that never started: fail the file here and go on.
        processed_.SetValueAt(currentIndex_, "2");
        busy_ = false;
        log(conversion::ErrorLine(e.what()));
    }
}

void HotDirMode::VideoEditError(int /*code*/, const std::string& text)
{
    processed_.SetValueAt(currentIndex_, "2");
    busy_ = false;
    log(conversion::ErrorLine(text));
}

void HotDirMode::VideoEditStop()
{
    busy_ = false;
    // A job stopped by End wrote nothing; End has emptied the table already.
    if (!edit_.LastJobCompleted()) return;
    // Reports of this file that arrived while it was converting mean it was written again:
    // they stay waiting and are converted in turn. Earlier reports were covered by this job.
    const int limit = std::min(reportsBeforeJob_, processed_.Count());
    for (int i = 0; i < limit; ++i) {
        if (processed_.NameAt(i) != currentInput_) continue;
        processed_.SetValueAt(i, "1");
        log("Save to: " + currentOutput_ + " [Success]");
        log("Finish: [" + now() + "]");
    }
}

} // namespace pellucor::hotdir
