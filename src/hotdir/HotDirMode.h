#pragma once
// Hot Directories Mode without its window: Run checks the folders and starts watching, every
// complete file the monitor reports is converted, one at a time, into the mirrored output tree,
// and each conversion leaves its lines in the day's log file. The main window and
// `pellucor-cli watch` both drive this class, so they behave alike.
//
// Owns the processed-files table and the 500 ms conversion timer; borrows the component, the
// settings and the monitor from its owner. Threads: main thread only (the monitor delivers its
// files there, the component its events).
#include "hotdir/TStringValues.h"
#include "platform/Scheduler.h"

#include <functional>
#include <string>

namespace pellucor {
class TcdSettings;
namespace engine {
class VideoEdit;
}
} // namespace pellucor

namespace pellucor::hotdir {

class DirectoryMonitor;

// The folders of the Hot Directory page.
struct HotDirFolders {
    std::string inDir;
    std::string outDir;
    std::string logDir;
    bool subDir = false;
};

// Why Run refused to start; each value is the string-table entry of its message.
enum class RunRefusal {
    None = 0,
    OutputInsideInput = 19,
    MissingInput = 22,
    MissingOutput = 23,
    MissingLog = 24,
};

// Whether the folder `inner` is `outer` or lies inside it, after both are made absolute and
// canonical (symbolic links resolved, "." and ".." gone); a prefix must end at a separator.
bool IsSameOrInside(const std::string& inner, const std::string& outer);

// path relative to base when path lies inside base (exact comparison: Linux names keep their
// case), else the bare file name of path.
std::string RelativeFileName(const std::string& path, const std::string& base);

class HotDirMode {
public:
    HotDirMode(Scheduler& scheduler, engine::VideoEdit& edit, TcdSettings& settings,
               DirectoryMonitor& monitor);
    ~HotDirMode();
    HotDirMode(const HotDirMode&) = delete;
    HotDirMode& operator=(const HotDirMode&) = delete;

    // Shown to the user as an error box in the window, on standard error by the command line:
    // a log line that could not be written, settings that could not be saved.
    std::function<void(const std::string& text)> OnProblem;
    // Every line as it goes to the day's log file (the command line echoes them).
    std::function<void(const std::string& line)> OnLogLine;

    // The checks of Run in their order; RunRefusal::None when all pass.
    static RunRefusal CheckFolders(const HotDirFolders& folders);
    // Run: the checks, then the monitor, then the settings (stored and saved). Returns the
    // refusal without starting anything; a monitor that cannot start throws (nothing saved).
    // A failing save is reported through OnProblem and the mode runs all the same.
    RunRefusal Run(const HotDirFolders& folders);
    // End: the running job is asked to stop, the table emptied, the monitor stopped.
    void End();
    bool Running() const { return running_; }

    // The monitor's OnFileReady.
    void HotDirFileReady(const std::string& path);
    // One tick of the conversion timer; public so that tests and the window can drive it.
    void Tick();

    // The component's events while the mode is on.
    void VideoEditError(int code, const std::string& text);
    void VideoEditStop();

    const TStringValues& ProcessedFiles() const { return processed_; }
    bool Busy() const { return busy_; }
    const std::string& CurrentOutput() const { return currentOutput_; }

private:
    // The folders into the settings (an empty text keeps the stored one), then saved.
    void SaveHotDirSettings(const HotDirFolders& folders);
    void log(const std::string& line);
    void stopTimer();

    Scheduler& scheduler_;
    engine::VideoEdit& edit_;
    TcdSettings& settings_;
    DirectoryMonitor& monitor_;
    TStringValues processed_;
    Scheduler::TimerId timer_ = 0;
    HotDirFolders folders_;
    bool running_ = false;
    bool busy_ = false;
    std::string currentInput_;
    std::string currentOutput_;
    int currentIndex_ = 0;
    int reportsBeforeJob_ = 0;  // table size when the running job started
};

} // namespace pellucor::hotdir
