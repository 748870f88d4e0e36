#pragma once
// The video-edit component: the converter the job builder configures and starts.
//
// The owner (the main window, the command-line tool) sets the public properties, resets and
// fills the input list and the encoder parameters, calls Start(), and follows the events.
// Every method and every event runs on the main thread; the conversion runs on one worker
// thread per job (plus the two video stages it starts), which only talks back through
// Scheduler::postToMain. Each Start() ends in exactly one OnStop or OnError; a destination
// folder that cannot be written gives OnError without OnStart.
//
// The output is written to a temporary file beside the destination and renamed over it only
// when the job has run through, so a failed or stopped job leaves an earlier file of that name
// as it was and never a half-written one.
//
// What each property and parameter means: EncoderSettings.cpp, docs/engine-parameters.md.
#include "engine/JobRequest.h"
#include "engine/VideoEditTypes.h"
#include "platform/Scheduler.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace pellucor::engine {

// The properties (VideoEditProperties, in JobRequest.h) are plain public members, set by the
// owner and read by Start().
class VideoEdit : public VideoEditProperties {
public:
    explicit VideoEdit(pellucor::Scheduler& scheduler);
    virtual ~VideoEdit();  // stops and joins a running job; no event after destruction
    VideoEdit(const VideoEdit&) = delete;
    VideoEdit& operator=(const VideoEdit&) = delete;

    // Operations (virtual, so a test can record what a job builder called).
    // The engine has no volume envelope, internal list, effects or extra filters, so their
    // resets have nothing to clear; Display_Reset drops a preview picture still on its way.
    virtual void Display_Reset();
    virtual void Audio_Volume_Envelope_Clear();
    virtual void Internal_List_Clear();
    virtual void Input_Clear_List();
    virtual void Video_Effects_Clear();
    virtual void Additional_Filters_Clear();
    // Inputs: the audio and the video of one source file, whole (positions -1 or 0, speed 1).
    // Anything else is refused by Start() with OnError.
    virtual void Input_AddAudioFile(const std::string& path, std::int64_t start, std::int64_t stop,
                                    std::int64_t insertPosition, bool useWholeFile, double speed);
    virtual void Input_AddVideoFile(const std::string& path, std::int64_t start, std::int64_t stop,
                                    std::int64_t insertPosition, const std::string& companionFile,
                                    int companionStart, int companionStop, double speed);
    virtual void Encoder_Params_Clear();
    virtual void Encoder_Param_Add(const std::string& name, const std::string& value);
    const std::vector<std::pair<std::string, std::string>>& Encoder_Params() const;
    virtual void Start();  // returns once the worker has started (or OnError was queued)
    virtual void Stop();   // asks a running job to end; OnStop follows

    // Events, all delivered on the main thread through Scheduler::postToMain.
    std::function<void()> OnStart;
    std::function<void(int percent)> OnProgress;
    std::function<void(int code, const std::string& text)> OnError;
    std::function<void()> OnStop;
    std::function<void(const PreviewPicture&)> OnPreview;  // only while Video_Preview_Enabled

    bool IsRunning() const;         // a started job has not yet delivered OnStop/OnError
    virtual bool LastJobCompleted() const;  // the last job ran through (false when stopped or failed)

    // What Start() would hand its worker now: the properties and the encoder parameters.
    JobRequest CurrentJobRequest() const;

private:
    struct Input {
        std::string path;
        bool audio;  // else video
        std::int64_t start, stop;
        double speed;
    };
    struct Job;
    struct Life {
        bool alive = true;  // main thread only
    };

    void refuse(int code, const std::string& text);
    void runJob(Job& job);
    // From any thread: runs fn on the main thread, unless this component is gone by then.
    void post(std::function<void(VideoEdit&)> fn);
    void finishJob(unsigned id, bool completed);

    pellucor::Scheduler& scheduler_;
    std::shared_ptr<Life> life_;
    std::vector<Input> inputs_;
    std::vector<std::pair<std::string, std::string>> params_;
    std::unique_ptr<Job> job_;
    unsigned lastJobId_ = 0;
    bool running_ = false;
    bool lastCompleted_ = false;
    std::shared_ptr<std::atomic<bool>> previewPending_;
};

} // namespace pellucor::engine
