#pragma once
// One conversion, from the source file to the temporary output file, as a short sequence of
// named stages: open input, plan, open decoders, open encoders, write header, pump packets,
// drain, write trailer. Runs on the job's worker thread; the video stages add two threads of
// their own. Every failure is an EngineError naming its stage.
#include "engine/JobControl.h"
#include "engine/JobRequest.h"
#include "engine/VideoPipeline.h"

#include <functional>
#include <memory>
#include <string>

namespace pellucor::engine {

class InputFile;
class OutputFile;
class AudioPipeline;
class ProgressMeter;

class Transcoder {
public:
    struct Callbacks {
        std::function<void(int)> progress;         // whole per cent; any job thread
        VideoPipeline::Preview preview;            // decode thread
        std::function<void(const std::string&)> note;  // Debug_Mode lines; job thread
    };
    enum class Outcome { Completed, Stopped };

    // `useVideo` / `useAudio`: which of the source's streams were added as inputs.
    Transcoder(JobRequest request, std::string inputPath, bool useVideo, bool useAudio, std::string outputPath,
               JobControl& control, Callbacks callbacks);
    ~Transcoder();

    // Converts; returns Stopped when a stop was asked for, throws EngineError on failure.
    // The output file is complete only after Completed.
    Outcome run();

private:
    void openInput();
    void plan();
    void openOutput();
    void pumpPackets();
    void drain();
    void writeTrailer();

    JobRequest request_;
    std::string inputPath_;
    bool useVideo_, useAudio_;
    std::string outputPath_;
    JobControl& control_;
    Callbacks callbacks_;
    std::unique_ptr<InputFile> input_;
    JobPlan plan_;
    std::unique_ptr<OutputFile> output_;
    std::unique_ptr<ProgressMeter> progress_;
    std::unique_ptr<AudioPipeline> audio_;
    std::unique_ptr<VideoPipeline> video_;  // declared last: its threads end before the rest goes
    std::string readError_;
};

} // namespace pellucor::engine
