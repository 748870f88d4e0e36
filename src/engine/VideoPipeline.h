#pragma once
// The video half of a job on two threads of its own, so both cores work:
//   decode stage:  packets -> decoder -> frame timeline (drop/repeat) -> scaler -> frames
//   encode stage:  frames -> encoder -> muxer
// The job thread feeds packets through a short queue; frames cross to the encoder through
// another. Both queues wait in short slices and give up when the job is cancelled; the end of
// the stream travels through them as an empty item. A stage that fails records the failure in
// the JobControl, which cancels the others; no exception leaves a stage's thread.
#include "engine/BoundedQueue.h"
#include "engine/FfmpegOwners.h"
#include "engine/FrameTimeline.h"
#include "engine/JobControl.h"
#include "engine/JobPlan.h"
#include "engine/OutputFile.h"
#include "engine/PictureScaler.h"

#include <functional>
#include <thread>

namespace pellucor::engine {

class VideoPipeline {
public:
    // `preview` is asked, for every frame that goes to the encoder, whether it wants a picture
    // now (wantPreview) and is then handed one (sendPreview). Both run on the decode thread.
    struct Preview {
        std::function<bool()> wanted;
        std::function<void(PreviewPicture)> send;
    };

    VideoPipeline(AVStream* input, std::int64_t inputStart, CodecContextPtr decoder, const VideoPlan& plan,
                  CodecContextPtr encoder, OutputFile& output, AVStream* outStream, JobControl& control,
                  Preview preview);
    ~VideoPipeline();  // cancels nothing itself; joins the stages (the job cancels first)

    void start();
    // Job thread: hands over one packet of the video stream. False when the job was cancelled.
    bool push(PacketPtr packet);
    // Job thread: no more packets; the stages drain and end.
    void endOfInput();
    void join();

    // Frames that could be decoded (for "nothing could be decoded" checks after join).
    std::int64_t decodedFrames() const { return decoded_; }

private:
    void decodeStage();
    void encodeStage();
    void receiveFrames();
    void emit(const AVFrame* source, std::int64_t count);
    void drainEncoder();
    double secondsOf(const AVFrame* frame) const;

    AVStream* input_;
    std::int64_t inputStart_;
    CodecContextPtr decoder_;
    VideoPlan plan_;
    CodecContextPtr encoder_;
    OutputFile& output_;
    AVStream* outStream_;
    JobControl& control_;
    Preview preview_;

    BoundedQueue<PacketPtr> packets_;
    BoundedQueue<FramePtr> frames_;
    FrameTimeline timeline_;
    PictureScaler scaler_;
    FramePtr held_;           // the source frame on screen now, not yet sent out
    FramePtr heldScaled_;     // its scaled picture once made, for repeats
    double heldSeconds_ = 0;
    double frameSeconds_;     // a source frame's duration, for the last one
    std::int64_t decoded_ = 0;
    int badPackets_ = 0;
    std::thread decodeThread_, encodeThread_;
};

} // namespace pellucor::engine
