#pragma once
// The muxer writing the job's temporary file. Streams are added on the job thread before the
// header; after it, write() may be called from the audio and the video stage at once (a lock
// keeps FFmpeg's interleaving queue to one writer at a time). The file is closed by finish(),
// or, when the job did not run through, by the destructor without a trailer (the job then
// removes the file).
#include "engine/FfmpegOwners.h"
#include "engine/JobControl.h"
#include "engine/JobPlan.h"

#include <functional>
#include <mutex>
#include <string>

namespace pellucor::engine {

class OutputFile {
public:
    OutputFile(const std::string& path, const ContainerPlan& plan, JobControl& control);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool wantsGlobalHeader() const;
    // A stream carrying what this opened encoder produces.
    AVStream* addStream(const AVCodecContext* encoder);
    void writeHeader();

    // Takes the packet's data; pts/dts are in the encoder's time base (one tick per frame or
    // sample) and are rescaled here to the stream's. `progress` (seconds written, for the
    // stream that measures progress) is called under the lock.
    void write(AVPacket* packet, AVRational encoderTimeBase, AVStream* stream);
    void setProgressStream(AVStream* stream, std::function<void(double)> progress);

    // Flushes the interleaving queue, writes the trailer and closes the file.
    void finish();

private:
    std::string path_;
    ContainerPlan plan_;
    AVFormatContext* format_ = nullptr;
    bool headerWritten_ = false;
    std::mutex mutex_;
    AVStream* progressStream_ = nullptr;
    std::function<void(double)> progress_;
};

} // namespace pellucor::engine
