// Fuzz target: the engine opening, probing and decoding a source file (engine/VideoEdit.h), the
// part of a conversion that reads what the user dropped on the window. The input is written to
// a temporary .avi and converted to a tiny MP4 (32x24, 5 frames/s, mono 8 kHz) with previews on.
//
// A fuzzed header may claim an hour of video, so the job is given a few seconds and then
// stopped; the stop must be noticed, so a job that does not end soon after it is a fault (a
// hang). What must hold otherwise, as the component promises:
// - the job ends in exactly one OnStop or OnError, and an error has a text;
// - progress stays within 0..100, previews are whole RGB pictures;
// - a job that did not run through leaves the earlier file of the destination's name as it was,
//   and no temporary file behind; one that did leaves a non-empty file.
#include "FuzzSupport.h"

#include "engine/VideoEdit.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <stdexcept>
#include <string>

using namespace pellucor;
using pellucor::fuzz::AsText;
using pellucor::fuzz::ScratchFolder;
using pellucor::fuzz::Shown;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr auto kRunFor = std::chrono::seconds(3);    // then the job is asked to stop
constexpr auto kStopWithin = std::chrono::seconds(30);  // a stop not noticed by then is a hang
constexpr std::string_view kEarlier = "an earlier file of the same name";

// The main thread's queue: the engine posts its events here and the target runs them.
class QueueScheduler : public Scheduler {
public:
    TimerId startTimer(std::chrono::milliseconds, std::function<void()>) override {
        throw std::logic_error("the engine asked for a timer");
    }
    void stopTimer(TimerId) override {}
    void postToMain(std::function<void()> fn) override {
        std::lock_guard lock(mutex_);
        posted_.push_back(std::move(fn));
        ready_.notify_one();
    }
    // Runs posted functions until done is true or the deadline passes. True when done.
    bool runUntil(const bool& done, Clock::time_point deadline) {
        while (!done) {
            std::function<void()> fn;
            {
                std::unique_lock lock(mutex_);
                if (!ready_.wait_until(lock, deadline, [this] { return !posted_.empty(); })) return false;
                fn = std::move(posted_.front());
                posted_.pop_front();
            }
            fn();
        }
        return true;
    }
    void runPosted() {
        bool never = false;
        runUntil(never, Clock::now());
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::function<void()>> posted_;
};

void Configure(engine::VideoEdit& edit, const std::string& source, const std::string& dest) {
    edit.Input_Clear_List();
    edit.Input_AddAudioFile(source, -1, -1, -1, true, 1.0);
    edit.Input_AddVideoFile(source, -1, -1, -1, source, 0, 0, 1.0);
    edit.Output_File_Name = dest;
    edit.Output_Format = engine::Format_IndStr_Standard_MPEG;
    edit.Video_Preview_Enabled = true;
    edit.Encoder_Params_Clear();
    const std::pair<const char*, const char*> params[] = {
        {"OUTPUT_FORMAT", "MPEG4"}, {"VIDEO_FORMAT", "MPEG4"},   {"ASPECT_RATIO", "1:1"},
        {"VIDEO_BITRATE_MODE", "MVBR"}, {"AUDIO_FORMAT", "AAC"}, {"CONSTRAINT", "PAL"},
        {"WIDTH", "32"},            {"HEIGHT", "24"},            {"FRAMERATE", "5"},
        {"VIDEO_BITRATE", "64"},    {"AUDIO_CHANNELS", "1"},     {"AUDIO_SAMPLE_RATE", "8000"},
        {"AUDIO_BITRATE", "32"}};
    for (const auto& [name, value] : params) edit.Encoder_Param_Add(name, value);
}

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 256 * 1024) return 0;
    const fs::path& folder = ScratchFolder::get();
    const fs::path source = ScratchFolder::write(folder, "input.avi", AsText(data, size));
    fs::create_directory(folder / "out");
    const fs::path dest = ScratchFolder::write(folder / "out", "output.mp4", kEarlier);

    QueueScheduler scheduler;
    int ends = 0, lastError = 0;
    std::string errorText;
    {
        engine::VideoEdit edit(scheduler);
        Configure(edit, source.string(), dest.string());
        bool done = false;
        edit.OnProgress = [](int percent) {
            FUZZ_CHECK(percent >= 0 && percent <= 100, "progress " + std::to_string(percent) + "%");
        };
        edit.OnPreview = [](const engine::PreviewPicture& p) {
            FUZZ_CHECK(p.width > 0 && p.height > 0 &&
                           p.rgb.size() == static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height) * 3,
                       "a preview of " + std::to_string(p.width) + "x" + std::to_string(p.height) + " with " +
                           std::to_string(p.rgb.size()) + " bytes");
        };
        edit.OnStop = [&] {
            ++ends;
            done = true;
        };
        edit.OnError = [&](int code, const std::string& text) {
            ++ends;
            done = true;
            lastError = code;
            errorText = text;
        };
        edit.Start();
        if (!scheduler.runUntil(done, Clock::now() + kRunFor)) {
            edit.Stop();
            FUZZ_CHECK(scheduler.runUntil(done, Clock::now() + kStopWithin),
                       "the job did not end within 30 s of Stop: a hang");
        }
        scheduler.runPosted();
        FUZZ_CHECK(ends == 1, std::to_string(ends) + " OnStop/OnError events for one Start");
        FUZZ_CHECK(!edit.IsRunning(), "the job ended but the component still runs");
        FUZZ_CHECK(lastError == 0 || !errorText.empty(), "OnError " + std::to_string(lastError) + " without a text");

        // PELLUCOR_FUZZ_VERBOSE=1 tells how each input ended, to see what a corpus exercises.
        if (std::getenv("PELLUCOR_FUZZ_VERBOSE"))
            std::fprintf(stderr, "engine_input: %s\n",
                         edit.LastJobCompleted() ? "completed"
                         : lastError             ? ("error " + std::to_string(lastError) + ": " + errorText).c_str()
                                                 : "stopped");
        const std::string output = ReadAll(dest);
        if (edit.LastJobCompleted()) {
            FUZZ_CHECK(!output.empty() && output != kEarlier, "a completed job left no new output");
        } else {
            FUZZ_CHECK(output == kEarlier, "a job that did not run through changed the earlier file: " +
                                               Shown(output.substr(0, 64)) + " (error " + std::to_string(lastError) +
                                               ": " + errorText + ")");
        }
    }
    scheduler.runPosted();  // events the component dropped at its end
    for (const fs::directory_entry& entry : fs::directory_iterator(folder / "out"))
        FUZZ_CHECK(entry.path() == dest, "a temporary file was left behind: " + entry.path().string());
    return 0;
}
