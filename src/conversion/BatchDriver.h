#pragma once
// The batch run: converts the rows of the file list one after another into one folder.
//
// A 500 ms timer looks for the next row whenever no job runs; each job is started through
// StartJob, and the component's events (forwarded by the window while it is in batch mode) mark
// the row converted or failed and write the memo lines. The window stays thin: it shows what the
// driver tells its BatchView and lends it the rows through BatchRows.
//
// Threads: everything here runs on the main thread (the component delivers its events there).
#include "platform/Scheduler.h"

#include <string>

namespace pellucor {
class TcdSettings;
namespace engine {
class VideoEdit;
}
} // namespace pellucor

namespace pellucor::conversion {

// Row pictures, as the file list draws them.
enum RowPicture { PictureWaiting = 0, PictureFailed = 1, PictureConverted = 2 };

// The rows of the file list, in the order shown. Row indices stay valid during a run: the window
// keeps removal, clearing and sorting off while the driver is running.
class BatchRows {
public:
    virtual ~BatchRows() = default;
    virtual int rowCount() const = 0;
    virtual std::string fullPath(int row) const = 0;
    virtual std::string caption(int row) const = 0;
    virtual bool taken(int row) const = 0;
    virtual void setTaken(int row, bool taken) = 0;
    virtual void setPicture(int row, RowPicture picture) = 0;
    // Clears the row's status text and taken mark and shows it as waiting.
    virtual void resetRow(int row) = 0;
};

// What the window shows of a run and the questions it asks.
class BatchView {
public:
    virtual ~BatchView() = default;
    virtual void setRunning(bool running) = 0;  // buttons, menus, cursor, run controls
    virtual void storePresetSelections() = 0;   // the six lists' selections into the settings
    virtual void appendMemo(const std::string& line) = 0;
    virtual void showProgress(int percent) = 0;  // bar shown at percent, panel "percent%"
    virtual void resetProgress() = 0;            // bar at 0, kept as it is otherwise
    virtual void hideProgress() = 0;             // bar at 0 and hidden, panel empty
    virtual void warnMissingFile(const std::string& path) = 0;
    // The run ended: the window asks whether to show lastOutput in the file manager.
    virtual void runEnded(const std::string& lastOutput) = 0;
};

class BatchDriver {
public:
    BatchDriver(Scheduler& scheduler, engine::VideoEdit& edit, TcdSettings& settings,
                BatchRows& rows, BatchView& view);
    ~BatchDriver();
    BatchDriver(const BatchDriver&) = delete;
    BatchDriver& operator=(const BatchDriver&) = delete;

    // Convert, once the user has chosen outputDir: enters the running state, checks that every
    // listed file exists and starts the timer. Returns false (and leaves everything idle, the
    // settings untouched) when a file is missing.
    bool Convert(const std::string& outputDir, int formatPage);
    // Stop: the running job is asked to end and the run goes idle.
    void Stop();
    bool Running() const { return timer_ != 0 || converting_; }
    // A job this run started has not reported its end yet (also after Stop, until the
    // component's stop event): the component's events are this driver's.
    bool JobPending() const { return jobPending_; }

    // The component's events while the window is in batch mode.
    void VideoEditStart();
    void VideoEditProgress(int percent);
    void VideoEditError(int code, const std::string& text);
    void VideoEditStop();

    // One timer tick; public so that a window test can drive a run without waiting.
    void Tick();

private:
    void enterIdle();
    std::string destinationOf(int row) const;

    Scheduler& scheduler_;
    engine::VideoEdit& edit_;
    TcdSettings& settings_;
    BatchRows& rows_;
    BatchView& view_;
    Scheduler::TimerId timer_ = 0;
    std::string outputDir_;   // FOutputDir
    bool converting_ = false; // FConverting
    bool jobPending_ = false;
    int batchItem_ = 0;       // FBatchItem
    std::string batchOutput_; // FBatchOutput
};

} // namespace pellucor::conversion
