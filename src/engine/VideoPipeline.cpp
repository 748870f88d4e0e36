#include "engine/VideoPipeline.h"

#include "engine/EngineError.h"

namespace pellucor::engine {
namespace {

constexpr std::size_t kPacketQueue = 16;   // compressed packets: small
constexpr std::size_t kDecodedQueue = 4;   // source frames, held from the decoder's own pool
constexpr std::size_t kFrameQueue = 4;     // pictures: enough to even out the stages

// Runs a stage so that nothing it throws escapes its thread: failures go to the JobControl.
template <typename F>
void guarded(JobControl& control, F&& body) {
    try {
        body();
    } catch (const EngineError& e) {
        control.fail(e);
    } catch (const std::exception& e) {
        control.fail(EngineError(Error_Internal, std::string("video stage: ") + e.what()));
    } catch (...) {
        control.fail(EngineError(Error_Internal, "video stage: unknown failure"));
    }
}

} // namespace

VideoPipeline::VideoPipeline(AVStream* input, std::int64_t inputStart, CodecContextPtr decoder,
                             const VideoPlan& plan, CodecContextPtr encoder, OutputFile& output,
                             AVStream* outStream, JobControl& control, Preview preview)
    : input_(input),
      inputStart_(inputStart),
      decoder_(std::move(decoder)),
      plan_(plan),
      encoder_(std::move(encoder)),
      output_(output),
      outStream_(outStream),
      control_(control),
      preview_(std::move(preview)),
      packets_(kPacketQueue, control.cancelledFlag()),
      decoded_(kDecodedQueue, control.cancelledFlag()),
      frames_(kFrameQueue, control.cancelledFlag()),
      timeline_(plan.frameRate),
      scaler_(plan) {
    const AVRational rate = av_guess_frame_rate(nullptr, input, nullptr);
    frameSeconds_ = rate.num > 0 && rate.den > 0 ? av_q2d(av_inv_q(rate)) : 1.0 / plan.frameRate.value();
}

VideoPipeline::~VideoPipeline() { join(); }

void VideoPipeline::start() {
    decodeThread_ = std::thread([this] { guarded(control_, [this] { decodeStage(); }); });
    scaleThread_ = std::thread([this] { guarded(control_, [this] { scaleStage(); }); });
    encodeThread_ = std::thread([this] { guarded(control_, [this] { encodeStage(); }); });
}

bool VideoPipeline::push(PacketPtr packet) { return packets_.push(std::move(packet)); }

void VideoPipeline::endOfInput() { packets_.push(nullptr); }

void VideoPipeline::join() {
    if (decodeThread_.joinable()) decodeThread_.join();
    if (scaleThread_.joinable()) scaleThread_.join();
    if (encodeThread_.joinable()) encodeThread_.join();
}

double VideoPipeline::secondsOf(const AVFrame* frame) const {
    // Decoder frames are in the input stream's time base (pkt_timebase).
    const std::int64_t pts = frame->best_effort_timestamp;
    if (pts == AV_NOPTS_VALUE) return heldSeconds_ + (held_ ? frameSeconds_ : 0.0);
    return (pts - inputStart_) * av_q2d(input_->time_base);
}

void VideoPipeline::decodeStage() {
    for (;;) {
        PacketPtr packet;
        if (!packets_.pop(packet)) return;  // cancelled
        const int err = avcodec_send_packet(decoder_.get(), packet.get());  // null packet = drain
        // A damaged packet costs its picture, not the job: truncated and corrupt files still
        // give what can be read. Decoders name damage differently (MJPEG says EPERM for some
        // broken frames), so only running out of memory ends the job here. EAGAIN cannot
        // happen, as every frame is received below.
        if (err == AVERROR(ENOMEM)) check(err, "decode video", Error_Convert);
        else if (err < 0 && err != AVERROR_EOF) ++badPackets_;
        receiveFrames();
        if (!packet) break;
    }
    decoded_.push(nullptr);
}

void VideoPipeline::receiveFrames() {
    FramePtr frame = newFrame();
    for (;;) {
        const int err = avcodec_receive_frame(decoder_.get(), frame.get());
        if (err == AVERROR(EAGAIN) || err == AVERROR_EOF) return;  // needs input / fully drained
        if (err == AVERROR(ENOMEM)) check(err, "decode video", Error_Convert);
        if (err < 0) {
            // A picture the decoder could not make: dropped like its packet. Damage may leave
            // more pictures to collect; anything else waits for the next packet.
            ++badPackets_;
            if (err == AVERROR_INVALIDDATA) continue;
            return;
        }
        ++decodedCount_;
        if (!decoded_.push(std::move(frame))) return;
        frame = newFrame();
    }
}

void VideoPipeline::scaleStage() {
    for (;;) {
        FramePtr frame;
        if (!decoded_.pop(frame)) return;  // cancelled
        if (!frame) break;
        take(std::move(frame));
    }
    // End of the source: the last frame fills its own duration.
    if (held_) emit(held_.get(), timeline_.finish(heldSeconds_ + frameSeconds_));
    frames_.push(nullptr);
}

void VideoPipeline::take(FramePtr frame) {
    const double seconds = secondsOf(frame.get());
    const std::int64_t count = timeline_.arrive(seconds);
    if (held_) emit(held_.get(), count);
    else emit(frame.get(), count);  // lead-in before the first picture
    held_ = std::move(frame);
    heldScaled_.reset();
    heldSeconds_ = seconds;
}

void VideoPipeline::emit(const AVFrame* source, std::int64_t count) {
    if (count <= 0) return;
    const bool isHeld = source == held_.get();
    FramePtr scaledHere;
    if (!isHeld || !heldScaled_) scaledHere = scaler_.scale(source);
    const AVFrame* picture = scaledHere ? scaledHere.get() : heldScaled_.get();
    const std::int64_t first = timeline_.next() - count;
    for (std::int64_t i = 0; i < count; ++i) {
        FramePtr out(av_frame_clone(picture));  // shares the picture's buffers
        if (!out) throw EngineError(Error_Internal, "copy video frame: out of memory");
        out->pts = first + i;                   // encoder time base: one tick per output frame
        out->pict_type = AV_PICTURE_TYPE_NONE;
        if (preview_.wanted && preview_.wanted()) preview_.send(scaler_.preview(out.get(), 192, 144));
        if (!frames_.push(std::move(out))) return;
    }
    if (isHeld && scaledHere) heldScaled_ = std::move(scaledHere);
}

void VideoPipeline::encodeStage() {
    for (;;) {
        FramePtr frame;
        if (!frames_.pop(frame)) return;  // cancelled
        check(avcodec_send_frame(encoder_.get(), frame.get()), "encode video", Error_Convert);
        drainEncoder();
        if (!frame) return;  // the encoder was flushed and has given everything
    }
}

void VideoPipeline::drainEncoder() {
    PacketPtr packet = newPacket();
    for (;;) {
        const int err = avcodec_receive_packet(encoder_.get(), packet.get());
        if (err == AVERROR(EAGAIN) || err == AVERROR_EOF) return;  // needs input / fully flushed
        check(err, "encode video", Error_Convert);
        output_.write(packet.get(), encoder_->time_base, outStream_);
    }
}

} // namespace pellucor::engine
