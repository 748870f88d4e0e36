#pragma once
// A VideoEdit that records what a job builder asks of it instead of converting: the operations
// in call order, and Start/Stop counts. Properties and the encoder parameter list are the real
// component's, so a test reads them as the engine would.
#include "engine/VideoEdit.h"

#include <string>
#include <vector>

namespace pellucor::test {

class RecordingVideoEdit : public engine::VideoEdit {
public:
    using engine::VideoEdit::VideoEdit;

    std::vector<std::string> calls;
    int starts = 0;
    int stops = 0;
    bool completed = true;  // what LastJobCompleted answers after a "job"

    void Display_Reset() override { calls.push_back("Display_Reset"); }
    void Audio_Volume_Envelope_Clear() override { calls.push_back("Audio_Volume_Envelope_Clear"); }
    void Internal_List_Clear() override { calls.push_back("Internal_List_Clear"); }
    void Input_Clear_List() override { calls.push_back("Input_Clear_List"); }
    void Video_Effects_Clear() override { calls.push_back("Video_Effects_Clear"); }
    void Additional_Filters_Clear() override { calls.push_back("Additional_Filters_Clear"); }
    void Input_AddAudioFile(const std::string& path, std::int64_t start, std::int64_t stop,
                            std::int64_t insert, bool whole, double speed) override
    {
        calls.push_back("Input_AddAudioFile " + path + " " + std::to_string(start) + " " +
                        std::to_string(stop) + " " + std::to_string(insert) + " " +
                        (whole ? "true" : "false") + " " + std::to_string(speed));
    }
    void Input_AddVideoFile(const std::string& path, std::int64_t start, std::int64_t stop,
                            std::int64_t insert, const std::string& companion, int cStart,
                            int cStop, double speed) override
    {
        calls.push_back("Input_AddVideoFile " + path + " " + std::to_string(start) + " " +
                        std::to_string(stop) + " " + std::to_string(insert) + " " + companion +
                        " " + std::to_string(cStart) + " " + std::to_string(cStop) + " " +
                        std::to_string(speed));
    }
    void Start() override
    {
        calls.push_back("Start");
        ++starts;
    }
    void Stop() override
    {
        calls.push_back("Stop");
        ++stops;
    }
    bool LastJobCompleted() const override { return completed; }
};

} // namespace pellucor::test
