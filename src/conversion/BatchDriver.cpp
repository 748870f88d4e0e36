#include "conversion/BatchDriver.h"

#include "conversion/ConversionLog.h"
#include "conversion/OutputName.h"
#include "conversion/StartJob.h"
#include "engine/VideoEdit.h"
#include "settings/cdSettings.h"

#include <chrono>
#include <ctime>
#include <exception>
#include <filesystem>

namespace pellucor::conversion {

namespace {
std::string now() { return LongTimeText(std::time(nullptr)); }
} // namespace

BatchDriver::BatchDriver(Scheduler& scheduler, engine::VideoEdit& edit, TcdSettings& settings,
                         BatchRows& rows, BatchView& view)
    : scheduler_(scheduler), edit_(edit), settings_(settings), rows_(rows), view_(view)
{
}

BatchDriver::~BatchDriver()
{
    if (timer_) scheduler_.stopTimer(timer_);
}

std::string BatchDriver::destinationOf(int row) const
{
    return AddTrailingSlash(outputDir_) + BuildOutputName(rows_.fullPath(row), settings_.PageIndex);
}

bool BatchDriver::Convert(const std::string& outputDir, int formatPage)
{
    if (Running()) return false;  // one run at a time, whatever the caller's buttons say
    outputDir_ = outputDir;
    view_.setRunning(true);
    view_.storePresetSelections();
    view_.appendMemo("Task begin");
    for (int row = 0; row < rows_.rowCount(); ++row) rows_.resetRow(row);
    for (int row = 0; row < rows_.rowCount(); ++row) {
        std::error_code ec;
        const std::string path = rows_.fullPath(row);
        if (!std::filesystem::is_regular_file(path, ec)) {
            view_.warnMissingFile(path);
            enterIdle();
            return false;
        }
    }
    settings_.SavePath = outputDir_;
    settings_.PageIndex = formatPage;
    timer_ = scheduler_.startTimer(std::chrono::milliseconds(500), [this] { Tick(); });
    return true;
}

void BatchDriver::Tick()
{
    if (converting_) return;
    std::string lastDestination;
    for (int row = 0; row < rows_.rowCount(); ++row) {
        lastDestination = destinationOf(row);
        if (rows_.taken(row)) continue;

        batchItem_ = row;
        rows_.setTaken(row, true);
        converting_ = true;
        view_.appendMemo(MemoLoadLine(now(), rows_.caption(row)));
        batchOutput_ = lastDestination;
        try {
            StartJob(edit_, settings_, rows_.fullPath(row), batchOutput_);
            jobPending_ = true;
        } catch (const std::exception& e) {
            // No event will follow a job that never started: fail the row here and let the
            // next tick go on with the next one.
            rows_.setPicture(row, PictureFailed);
            view_.appendMemo(ErrorLine(e.what()));
            converting_ = false;
        }
        return;
    }

    // Every row carries its mark: the run is over.
    if (timer_) scheduler_.stopTimer(timer_);
    timer_ = 0;
    view_.appendMemo("Task End");
    view_.appendMemo("");
    view_.setRunning(false);
    view_.runEnded(lastDestination);
}

void BatchDriver::Stop()
{
    edit_.Input_Clear_List();
    edit_.Stop();
    converting_ = false;
    enterIdle();
}

void BatchDriver::enterIdle()
{
    if (timer_) scheduler_.stopTimer(timer_);
    timer_ = 0;
    view_.setRunning(false);
}

void BatchDriver::VideoEditStart() { view_.resetProgress(); }

void BatchDriver::VideoEditProgress(int percent) { view_.showProgress(percent); }

void BatchDriver::VideoEditError(int /*code*/, const std::string& text)
{
    jobPending_ = false;
    rows_.setPicture(batchItem_, PictureFailed);
    view_.appendMemo(ErrorLine(text));
    converting_ = false;
}

void BatchDriver::VideoEditStop()
{
    jobPending_ = false;
    view_.hideProgress();
    converting_ = false;
    if (batchItem_ >= rows_.rowCount()) return;
    if (edit_.LastJobCompleted()) {
        view_.appendMemo(MemoConvertLine(now(), FileNameOf(batchOutput_)));
        rows_.setPicture(batchItem_, PictureConverted);
    } else {
        // Stopped before the end: nothing was converted, and the engine removed the partial
        // output, so the row waits again instead of claiming success.
        rows_.setPicture(batchItem_, PictureWaiting);
    }
}

} // namespace pellucor::conversion
