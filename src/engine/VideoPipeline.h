#pragma once
// The video half of a job on three threads of its own, so that both cores always have work:
//   decode stage:  packets -> decoder -> source frames
//   scale stage:   source frames -> frame timeline (drop/repeat) -> scaler -> pictures
//   encode stage:  pictures -> encoder -> muxer
// Decoding, scaling and encoding cost about the same for the usual sizes, so three stages keep
// two cores busy where two stages would leave one waiting for the other. The job thread feeds
// packets through a short queue; each hand-over is a short queue too. The queues wait in short
// slices and give up when the job is cancelled; the end of the stream travels through them as
// an empty item. A stage that fails records the failure in the JobControl, which cancels the
// others; no exception leaves a stage's thread.
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
    // now (wanted) and is then handed one (send). Both run on the scale thread.
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
    std::int64_t decodedFrames() const { return decodedCount_; }
    // Packets the decoder could not read (damaged source), for the debug notes after join.
    int damagedPackets() const { return badPackets_; }

private:
    void decodeStage();
    void scaleStage();
    void encodeStage();
    void receiveFrames();
    void take(FramePtr frame);
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
    BoundedQueue<FramePtr> decoded_;  // source frames, decode -> scale
    BoundedQueue<FramePtr> frames_;   // pictures, scale -> encode
    FrameTimeline timeline_;
    PictureScaler scaler_;
    FramePtr held_;           // the source frame on screen now, not yet sent out
    FramePtr heldScaled_;     // its scaled picture once made, for repeats
    double heldSeconds_ = 0;
    double frameSeconds_;     // a source frame's duration, for the last one
    std::int64_t decodedCount_ = 0;
    int badPackets_ = 0;
    std::thread decodeThread_, scaleThread_, encodeThread_;
};

} // namespace pellucor::engine
