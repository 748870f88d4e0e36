#pragma once
// The audio half of a job: packets -> decoder -> resampler -> FIFO -> encoder -> muxer.
// Audio costs little next to video, so it runs on the job thread between packet reads.
// Output samples are counted from the source's start; audio that starts late is preceded by
// silence so it stays in step with the picture.
#include "engine/FfmpegOwners.h"
#include "engine/JobPlan.h"
#include "engine/OutputFile.h"

namespace pellucor::engine {

class AudioPipeline {
public:
    AudioPipeline(AVStream* input, std::int64_t inputStart, CodecContextPtr decoder, CodecContextPtr encoder,
                  const AudioPlan& plan, OutputFile& output, AVStream* outStream);
    ~AudioPipeline();
    AudioPipeline(const AudioPipeline&) = delete;
    AudioPipeline& operator=(const AudioPipeline&) = delete;

    // One packet of the audio stream.
    void send(const AVPacket* packet);
    // The source ended: drains decoder, resampler, FIFO and encoder.
    void finish();

    std::int64_t decodedFrames() const { return decoded_; }

private:
    void receiveFrames();
    void resample(const AVFrame* frame);
    void encodeFromFifo(bool last);
    void encode(AVFrame* frame);
    void prepareResampler(const AVFrame* frame);

    AVStream* input_;
    std::int64_t inputStart_;
    CodecContextPtr decoder_;
    CodecContextPtr encoder_;
    OutputFile& output_;
    AVStream* outStream_;
    SwrPtr swr_;
    AVChannelLayout swrLayout_{};
    int swrFormat_ = -1, swrRate_ = 0;
    FifoPtr fifo_;
    FramePtr decoded_frame_;
    std::int64_t samplesOut_ = 0;  // encoder time base: one tick per sample
    bool started_ = false;
    std::int64_t decoded_ = 0;
    const int frameSize_;
};

} // namespace pellucor::engine
