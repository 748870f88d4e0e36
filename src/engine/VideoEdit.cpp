#include "engine/VideoEdit.h"

#include "engine/EngineError.h"
#include "engine/FfmpegOwners.h"
#include "engine/JobControl.h"
#include "engine/TemporaryOutput.h"
#include "engine/Transcoder.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace pellucor::engine {

// One started job: what its worker needs, owned by the component until the next Start or the
// component's end (both join the worker first).
struct VideoEdit::Job {
    unsigned id = 0;
    JobRequest request;
    std::string source;
    bool useVideo = false, useAudio = false;
    TemporaryFile temporary;  // the file the job writes, locked while it runs
    bool preview = false;
    JobControl control;
    std::thread worker;
};

namespace {

void quietFfmpegUnless(bool debug) {
    // FFmpeg's own log is for the developer; the user reads our error texts. Even its "errors"
    // are often advice (a rate control that cannot reach a very low target repeats so for
    // every frame), so without Debug_Mode nothing of it reaches standard error.
    av_log_set_level(debug ? AV_LOG_INFO : AV_LOG_QUIET);
}

} // namespace

VideoEdit::VideoEdit(pellucor::Scheduler& scheduler)
    : scheduler_(scheduler),
      life_(std::make_shared<Life>()),
      previewPending_(std::make_shared<std::atomic<bool>>(false)) {}

VideoEdit::~VideoEdit() {
    if (job_ && job_->worker.joinable()) {
        job_->control.requestStop();
        job_->worker.join();
    }
    life_->alive = false;  // events still queued for the main thread are dropped
}

void VideoEdit::Display_Reset() { previewPending_->store(false); }
void VideoEdit::Audio_Volume_Envelope_Clear() {}
void VideoEdit::Internal_List_Clear() {}
void VideoEdit::Input_Clear_List() { inputs_.clear(); }
void VideoEdit::Video_Effects_Clear() {}
void VideoEdit::Additional_Filters_Clear() {}

void VideoEdit::Input_AddAudioFile(const std::string& path, std::int64_t start, std::int64_t stop, std::int64_t,
                                   bool, double speed) {
    inputs_.push_back(Input{path, true, start, stop, speed});
}

void VideoEdit::Input_AddVideoFile(const std::string& path, std::int64_t start, std::int64_t stop, std::int64_t,
                                   const std::string&, int, int, double speed) {
    inputs_.push_back(Input{path, false, start, stop, speed});
}

void VideoEdit::Encoder_Params_Clear() { params_.clear(); }

void VideoEdit::Encoder_Param_Add(const std::string& name, const std::string& value) {
    params_.emplace_back(name, value);
}

const std::vector<std::pair<std::string, std::string>>& VideoEdit::Encoder_Params() const { return params_; }

bool VideoEdit::IsRunning() const { return running_; }
bool VideoEdit::LastJobCompleted() const { return lastCompleted_; }

void VideoEdit::post(std::function<void(VideoEdit&)> fn) {
    scheduler_.postToMain([life = life_, this, fn = std::move(fn)] {
        if (life->alive) fn(*this);
    });
}

void VideoEdit::finishJob(unsigned id, bool completed) {
    if (id != lastJobId_) return;  // an earlier job replaced by a newer Start
    running_ = false;
    lastCompleted_ = completed;
}

void VideoEdit::refuse(int code, const std::string& text) {
    const unsigned id = lastJobId_;
    post([id, code, text](VideoEdit& self) {
        self.finishJob(id, false);
        if (self.OnError) self.OnError(code, text);
    });
}

JobRequest VideoEdit::CurrentJobRequest() const {
    JobRequest r;
    static_cast<VideoEditProperties&>(r) = *this;
    r.params = params_;
    return r;
}

void VideoEdit::Start() {
    if (job_ && job_->worker.joinable()) {  // one job at a time: the previous one ends first
        job_->control.requestStop();
        job_->worker.join();
    }
    job_.reset();
    ++lastJobId_;
    running_ = true;
    lastCompleted_ = false;
    previewPending_->store(false);

    // The inputs: the video and/or the audio of one whole file.
    std::string source;
    bool useVideo = false, useAudio = false;
    for (const Input& in : inputs_) {
        if (!source.empty() && in.path != source)
            return refuse(Error_Settings, "Only one source file can be converted at a time ('" + source +
                                              "' and '" + in.path + "' were added)");
        if (in.start > 0 || in.stop > 0 || (in.speed != 1.0 && in.speed > 0))
            return refuse(Error_Settings, "'" + in.path + "': only whole files at normal speed can be converted");
        source = in.path;
        (in.audio ? useAudio : useVideo) = true;
    }
    if (source.empty()) return refuse(Error_Input, "No input file was added");
    if (Output_File_Name.empty()) return refuse(Error_Output, "No output file name was set");

    auto job = std::make_unique<Job>();
    job->id = lastJobId_;
    job->source = source;
    job->useVideo = useVideo;
    job->useAudio = useAudio;
    job->preview = Video_Preview_Enabled && OnPreview;  // nobody to show them to: no pictures made
    job->request = CurrentJobRequest();

    // The destination folder must take a new file before the job counts as started.
    try {
        job->temporary = createTemporaryBeside(Output_File_Name);
    } catch (const EngineError& e) {
        return refuse(e.code(), e.what());
    }
    quietFfmpegUnless(Debug_Mode);
    job_ = std::move(job);
    Job& started = *job_;
    started.worker = std::thread([this, &started] { runJob(started); });
}

void VideoEdit::Stop() {
    if (running_ && job_) job_->control.requestStop();
}

void VideoEdit::runJob(Job& job) {
    const unsigned id = job.id;
    post([](VideoEdit& self) {
        if (self.OnStart) self.OnStart();
    });

    Transcoder::Callbacks callbacks;
    callbacks.progress = [this](int percent) {
        post([percent](VideoEdit& self) {
            if (self.OnProgress) self.OnProgress(percent);
        });
    };
    if (job.preview) {
        // A few pictures a second, and never a second one while the first still waits for the
        // main thread: a busy window must not pile pictures up or slow the conversion.
        auto last = std::make_shared<std::chrono::steady_clock::time_point>();
        auto pending = previewPending_;
        callbacks.preview.wanted = [last, pending] {
            const auto now = std::chrono::steady_clock::now();
            return !pending->load() && now - *last >= std::chrono::milliseconds(250);
        };
        callbacks.preview.send = [this, last, pending](PreviewPicture picture) {
            *last = std::chrono::steady_clock::now();
            pending->store(true);
            post([pending, picture = std::move(picture)](VideoEdit& self) {
                if (!pending->exchange(false)) return;  // dropped by Display_Reset
                if (self.Video_Preview_Enabled && self.OnPreview) self.OnPreview(picture);
            });
        };
    }
    if (job.request.Debug_Mode)
        callbacks.note = [](const std::string& line) { std::fprintf(stderr, "pellucor engine: %s\n", line.c_str()); };

    int errorCode = 0;
    std::string errorText;
    bool completed = false;
    try {
        Transcoder::Outcome outcome;
        {
            Transcoder transcoder(job.request, job.source, job.useVideo, job.useAudio, job.temporary.path, job.control,
                                  callbacks);
            outcome = transcoder.run();
        }
        if (outcome == Transcoder::Outcome::Completed) {
            commitTemporary(job.temporary.path, job.request.Output_File_Name);
            completed = true;
        }
    } catch (const EngineError& e) {
        errorCode = e.code();
        errorText = e.what();
    } catch (const std::exception& e) {
        errorCode = Error_Internal;
        errorText = std::string("conversion failed: ") + e.what();
    } catch (...) {
        errorCode = Error_Internal;
        errorText = "conversion failed for an unknown reason";
    }
    if (!completed) discardTemporary(job.temporary.path);
    // A stop wins over a failure it caused (an interrupted write, say).
    if (errorCode && !job.control.stopRequested()) {
        post([id, errorCode, errorText](VideoEdit& self) {
            self.finishJob(id, false);
            if (self.OnError) self.OnError(errorCode, errorText);
        });
    } else {
        post([id, completed](VideoEdit& self) {
            self.finishJob(id, completed);
            if (self.OnStop) self.OnStop();
        });
    }
}

} // namespace pellucor::engine
