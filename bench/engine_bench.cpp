// engine-bench: runs one conversion through the engine exactly as a preset configures it, and
// waits for it. Used by bench/engine-bench.sh to time the engine against the ffmpeg tool.
//   engine-bench [--debug] [--no-preview] [--ffmpeg-args] PAGE PRESET INPUT OUTPUT
// PAGE is mpeg, mp4, wmv, flv, mov or mp3; PRESET the item position in that format's list.
// With --ffmpeg-args nothing is converted: the ffmpeg tool's output options that do the same
// work (same encoders, sizes, bars, rates, rate control, multiplex) are printed, one per line.
// Exit code 0 when the job ran through, 1 when it failed, 2 for a usage error.
#include "PresetJobs.h"
#include "engine/EncoderSettings.h"
#include "engine/FfmpegOwners.h"
#include "engine/EngineError.h"
#include "engine/InputFile.h"
#include "engine/JobControl.h"
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

using namespace pellucor::engine;

std::string fraction(Fraction f) { return std::to_string(f.num) + "/" + std::to_string(f.den); }

// The ffmpeg tool's options for the same plan.
std::vector<std::string> ffmpegArgs(const JobPlan& p) {
    std::vector<std::string> a;
    auto add = [&a](std::initializer_list<std::string> items) { a.insert(a.end(), items); };
    const VideoPlan& v = p.video;
    if (v.codec == VideoCodec::None) {
        add({"-vn"});
    } else {
        const PictureRect& r = v.picture;
        add({"-c:v", codecName(v.codec), "-pix_fmt", v.fullRange ? "yuvj420p" : "yuv420p",
             "-vf", "scale=" + std::to_string(r.width) + ":" + std::to_string(r.height) + ":flags=bicubic,pad=" +
                        std::to_string(v.width) + ":" + std::to_string(v.height) + ":" + std::to_string(r.x) + ":" +
                        std::to_string(r.y) + ":black,setsar=" + fraction(v.sampleAspect),
             "-r", fraction(v.frameRate), "-g", std::to_string(v.gopSize), "-bf", std::to_string(v.maxBFrames)});
        if (v.rate.quality > 0) add({"-q:v", std::to_string(v.rate.quality)});
        else add({"-b:v", std::to_string(v.rate.bitRate), "-bt", std::to_string(v.rate.tolerance)});
        if (v.rate.maxRate) add({"-maxrate", std::to_string(v.rate.maxRate)});
        if (v.rate.minRate) add({"-minrate", std::to_string(v.rate.minRate)});
        if (v.rate.bufferSize) add({"-bufsize", std::to_string(v.rate.bufferSize)});
        if (v.rate.minQuantiser)
            add({"-qmin", std::to_string(v.rate.minQuantiser), "-lmin", std::to_string(v.rate.minQuantiser * FF_QP2LAMBDA)});
        if (v.profile != -99) add({"-profile:v", std::to_string(v.profile), "-level", std::to_string(v.level)});
        if (v.scanOffset) add({"-scan_offset", "1"});
    }
    const AudioPlan& au = p.audio;
    if (au.codec == AudioCodec::None) {
        add({"-an"});
    } else {
        add({"-c:a", codecName(au.codec), "-ar", std::to_string(au.sampleRate), "-ac", std::to_string(au.channels)});
        if (au.vbrQuality >= 0) add({"-q:a", std::to_string(au.vbrQuality)});
        else if (au.bitRate) add({"-b:a", std::to_string(au.bitRate)});
    }
    add({"-f", muxerName(p.container.muxer)});
    if (p.container.packetSize) add({"-packetsize", std::to_string(p.container.packetSize)});
    if (p.container.muxRate) add({"-muxrate", std::to_string(p.container.muxRate)});
    if (p.container.preloadMicros >= 0)
        add({"-muxpreload", std::to_string(p.container.preloadMicros / 1e6)});
    return a;
}

int printFfmpegArgs(const VideoEdit& edit, const std::string& input) {
    try {
        JobControl control;
        InputFile source(input, control, false);
        for (const std::string& arg : ffmpegArgs(planJob(edit.CurrentJobRequest(), source.facts())))
            std::printf("%s\n", arg.c_str());
        return 0;
    } catch (const EngineError& e) {
        std::fprintf(stderr, "engine-bench: %s\n", e.what());
        return 1;
    }
}

int pageOf(const std::string& name) {
    const char* names[] = {"mpeg", "mp4", "wmv", "flv", "mov", "mp3"};
    for (int i = 0; i < 6; ++i)
        if (name == names[i]) return i;
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    bool debug = false, preview = true, printArgs = false;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--debug")) debug = true;
        else if (!std::strcmp(argv[i], "--no-preview")) preview = false;
        else if (!std::strcmp(argv[i], "--ffmpeg-args")) printArgs = true;
        else args.emplace_back(argv[i]);
    }
    const int page = args.size() == 4 ? pageOf(args[0]) : -1;
    const int preset = page >= 0 ? std::atoi(args[1].c_str()) : -1;
    if (page < 0 || preset < 0 || preset >= presets::presetCount(page)) {
        std::fprintf(stderr, "usage: engine-bench [--debug] [--no-preview] [--ffmpeg-args] mpeg|mp4|wmv|flv|mov|mp3 "
                             "PRESET INPUT OUTPUT\n");
        return 2;
    }
    WaitingScheduler scheduler;
    VideoEdit edit(scheduler);
    presets::configure(edit, page, preset, args[2], args[3]);
    edit.Debug_Mode = debug;
    edit.Video_Preview_Enabled = preview;
    if (printArgs) return printFfmpegArgs(edit, args[2]);
    bool done = false;
    int result = 0, previews = 0, lastPercent = -1;
    edit.OnProgress = [&](int percent) { lastPercent = percent; };
    edit.OnPreview = [&](const PreviewPicture&) { ++previews; };
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
