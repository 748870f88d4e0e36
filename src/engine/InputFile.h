#pragma once
// The source of a job: its demuxer, the video and audio streams worth converting, their
// decoders, and the facts the planner needs. Lives on the job thread; the decoders it opens
// are handed over to the stages that use them.
#include "engine/FfmpegOwners.h"
#include "engine/JobControl.h"
#include "engine/JobPlan.h"

#include <string>

namespace pellucor::engine {

class InputFile {
public:
    // Opens and probes the file; throws EngineError(Error_Input) with a clear reason.
    InputFile(const std::string& path, JobControl& control, bool debug);

    AVFormatContext* format() const { return format_.get(); }
    AVStream* videoStream() const { return videoIndex_ < 0 ? nullptr : format_->streams[videoIndex_]; }
    AVStream* audioStream() const { return audioIndex_ < 0 ? nullptr : format_->streams[audioIndex_]; }
    const SourceFacts& facts() const { return facts_; }

    // Length in seconds, 0 when the file does not say.
    double durationSeconds() const;
    // Where the source's time starts, in a stream's time base: both outputs count from here,
    // so audio and video stay together even when one of them starts late.
    std::int64_t startIn(const AVStream* stream) const;

    // Opened decoders; call each at most once. Frame threading is left to FFmpeg's choice.
    // `pictureWidth` x `pictureHeight`: the size the picture is scaled to. A Motion JPEG
    // source at least twice that size is decoded at a half or a quarter of its size straight
    // from the JPEG data, which costs a fraction of a full decode and loses nothing the smaller
    // picture could show.
    CodecContextPtr openVideoDecoder(int pictureWidth, int pictureHeight);
    CodecContextPtr openAudioDecoder();

    // Packets of streams nobody converts are dropped by the demuxer early.
    void discardUnused(bool keepVideo, bool keepAudio);

private:
    CodecContextPtr openDecoder(AVStream* stream, const char* what, int lowres = 0);

    std::string path_;
    InputPtr format_;
    int videoIndex_ = -1, audioIndex_ = -1;
    SourceFacts facts_;
};

} // namespace pellucor::engine
