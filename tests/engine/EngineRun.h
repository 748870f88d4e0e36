#pragma once
// Runs the real engine from a test: a VideoEdit on a ManualScheduler whose events are recorded
// in order. The worker threads are real, so waiting for the end of a job pumps the scheduler
// until the job's last event has run, with a generous safety limit instead of any timing.
#include "ManualScheduler.h"
#include "engine/VideoEdit.h"

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace pellucor::test {

struct EngineRun {
    ManualScheduler scheduler;
    engine::VideoEdit edit{scheduler};
    std::vector<std::string> events;  // "start", "progress", "stop", "error", "preview"
    std::vector<int> percents;
    int errorCode = 0;
    std::string errorText;
    int ends = 0;
    std::vector<engine::PreviewPicture> previews;

    EngineRun() {
        edit.OnStart = [this] { events.push_back("start"); };
        edit.OnProgress = [this](int p) {
            events.push_back("progress");
            percents.push_back(p);
        };
        edit.OnStop = [this] {
            events.push_back("stop");
            ++ends;
        };
        edit.OnError = [this](int code, const std::string& text) {
            events.push_back("error");
            errorCode = code;
            errorText = text;
            ++ends;
        };
        edit.OnPreview = [this](const engine::PreviewPicture& p) {
            events.push_back("preview");
            previews.push_back(p);
        };
    }

    // Pumps events until the job has ended (OnStop or OnError ran). False if it never did
    // within the safety limit, which only a hung job reaches.
    bool waitForEnd(std::chrono::seconds limit = std::chrono::seconds(300)) {
        const auto give_up = std::chrono::steady_clock::now() + limit;
        while (ends == 0) {
            if (scheduler.runPosted() == 0) {
                if (std::chrono::steady_clock::now() > give_up) return false;
                std::this_thread::sleep_for(std::chrono::milliseconds(2));  // let the worker run
            }
        }
        scheduler.runPosted();
        return true;
    }

    bool stopped() const { return !events.empty() && events.back() == "stop"; }
    bool failed() const { return !events.empty() && events.back() == "error"; }
    std::string describe() const {
        std::string s;
        for (const auto& e : events)
            if (e != "progress" && e != "preview") s += e + " ";
        return s + (errorText.empty() ? "" : "(" + errorText + ")");
    }
};

} // namespace pellucor::test
