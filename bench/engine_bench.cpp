// engine-bench: runs one conversion through the engine exactly as a preset configures it, and
// waits for it. Used by bench/engine-bench.sh to time the engine against the ffmpeg tool.
//   engine-bench [--debug] [--no-preview] PAGE PRESET INPUT OUTPUT
// PAGE is mpeg, mp4, wmv, flv, mov or mp3; PRESET the item position in that format's list.
// Exit code 0 when the job ran through, 1 when it failed, 2 for a usage error.
#include "PresetJobs.h"
#include "engine/VideoEdit.h"

#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <string>

namespace {

// The main thread's queue: the engine posts its events here and main() runs them.
class WaitingScheduler : public pellucor::Scheduler {
public:
    TimerId startTimer(std::chrono::milliseconds, std::function<void()>) override {
        throw std::logic_error("engine-bench: the engine asked for a timer");
    }
    void stopTimer(TimerId) override {}
    void postToMain(std::function<void()> fn) override {
        std::lock_guard lock(mutex_);
        posted_.push_back(std::move(fn));
        ready_.notify_one();
    }
    void runUntil(const bool& done) {
        while (!done) {
            std::function<void()> fn;
            {
                std::unique_lock lock(mutex_);
                ready_.wait(lock, [this] { return !posted_.empty(); });
                fn = std::move(posted_.front());
                posted_.pop_front();
            }
            fn();
        }
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::function<void()>> posted_;
};

int pageOf(const std::string& name) {
    const char* names[] = {"mpeg", "mp4", "wmv", "flv", "mov", "mp3"};
    for (int i = 0; i < 6; ++i)
        if (name == names[i]) return i;
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    bool debug = false, preview = true;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--debug")) debug = true;
        else if (!std::strcmp(argv[i], "--no-preview")) preview = false;
        else args.emplace_back(argv[i]);
    }
    const int page = args.size() == 4 ? pageOf(args[0]) : -1;
    const int preset = page >= 0 ? std::atoi(args[1].c_str()) : -1;
    if (page < 0 || preset < 0 || preset >= pellucor::engine::presets::presetCount(page)) {
        std::fprintf(stderr, "usage: engine-bench [--debug] [--no-preview] mpeg|mp4|wmv|flv|mov|mp3 PRESET INPUT OUTPUT\n");
        return 2;
    }
    WaitingScheduler scheduler;
    pellucor::engine::VideoEdit edit(scheduler);
    pellucor::engine::presets::configure(edit, page, preset, args[2], args[3]);
    edit.Debug_Mode = debug;
    edit.Video_Preview_Enabled = preview;
    bool done = false;
    int result = 0, previews = 0, lastPercent = -1;
    edit.OnProgress = [&](int percent) { lastPercent = percent; };
    edit.OnPreview = [&](const pellucor::engine::PreviewPicture&) { ++previews; };
    edit.OnStop = [&] {
        done = true;
        result = edit.LastJobCompleted() ? 0 : 1;
    };
    edit.OnError = [&](int code, const std::string& text) {
        std::fprintf(stderr, "engine-bench: error %d: %s\n", code, text.c_str());
        done = true;
        result = 1;
    };
    edit.Start();
    scheduler.runUntil(done);
    if (debug) std::fprintf(stderr, "engine-bench: last progress %d%%, %d previews\n", lastPercent, previews);
    return result;
}
