#include "engine/Transcoder.h"

#include "engine/AudioPipeline.h"
#include "engine/EncoderSettings.h"
#include "engine/Encoders.h"
#include "engine/InputFile.h"
#include "engine/OutputFile.h"
#include "engine/ProgressMeter.h"

#include <filesystem>
#include <thread>

namespace pellucor::engine {

Transcoder::Transcoder(JobRequest request, std::string inputPath, bool useVideo, bool useAudio,
                       std::string outputPath, JobControl& control, Callbacks callbacks)
    : request_(std::move(request)),
      inputPath_(std::move(inputPath)),
      useVideo_(useVideo),
      useAudio_(useAudio),
      outputPath_(std::move(outputPath)),
      control_(control),
      callbacks_(std::move(callbacks)) {}

Transcoder::~Transcoder() {
    // A failed or stopped job still has its video threads waiting on queues: they see the
    // cancelled flag within a slice and end before anything they use is destroyed.
    control_.cancel();
    video_.reset();
}

Transcoder::Outcome Transcoder::run() {
    openInput();
    plan();
    openOutput();
    pumpPackets();
    drain();
    if (control_.stopRequested()) return Outcome::Stopped;
    writeTrailer();
    return Outcome::Completed;
}

void Transcoder::openInput() { input_ = std::make_unique<InputFile>(inputPath_, control_, request_.Debug_Mode); }

void Transcoder::plan() {
    SourceFacts facts = input_->facts();
    facts.hasVideo = facts.hasVideo && useVideo_;
    facts.hasAudio = facts.hasAudio && useAudio_;
    plan_ = planJob(request_, facts);
    if (callbacks_.note) {
        for (const std::string& line : plan_.notes) callbacks_.note(line);
        callbacks_.note("writing " + describe(plan_));
    }
}

void Transcoder::openOutput() {
    const bool withVideo = plan_.video.codec != VideoCodec::None;
    const bool withAudio = plan_.audio.codec != AudioCodec::None;
    input_->discardUnused(withVideo, withAudio);

    output_ = std::make_unique<OutputFile>(outputPath_, plan_.container, control_);
    const bool global = output_->wantsGlobalHeader();
    // Stage "open encoders": video first, so it is stream 0 as players expect.
    CodecContextPtr videoEncoder, audioEncoder;
    AVStream *videoOut = nullptr, *audioOut = nullptr;
    if (withVideo) {
        videoEncoder = openVideoEncoder(plan_.video, global, 2);
        videoOut = output_->addStream(videoEncoder.get());
    }
    if (withAudio) {
        audioEncoder = openAudioEncoder(plan_.audio, global);
        audioOut = output_->addStream(audioEncoder.get());
    }
    output_->writeHeader();

    progress_ = std::make_unique<ProgressMeter>(input_->durationSeconds(), callbacks_.progress);
    output_->setProgressStream(withVideo ? videoOut : audioOut,
                               [this](double seconds) { progress_->update(seconds); });
    // Stage "open decoders", each handed with its encoder to the stage that uses them.
    if (withAudio) {
        AVStream* in = input_->audioStream();
        audio_ = std::make_unique<AudioPipeline>(in, input_->startIn(in), input_->openAudioDecoder(),
                                                 std::move(audioEncoder), plan_.audio, *output_, audioOut);
    }
    if (withVideo) {
        AVStream* in = input_->videoStream();
        video_ = std::make_unique<VideoPipeline>(in, input_->startIn(in), input_->openVideoDecoder(plan_.video.picture.width, plan_.video.picture.height), plan_.video,
                                                 std::move(videoEncoder), *output_, videoOut, control_,
                                                 callbacks_.preview);
        video_->start();
    }
}

void Transcoder::pumpPackets() {
    AVFormatContext* format = input_->format();
    const int videoIndex = video_ ? input_->videoStream()->index : -1;
    const int audioIndex = audio_ ? input_->audioStream()->index : -1;
    PacketPtr packet = newPacket();
    while (!control_.cancelled()) {
        const int err = av_read_frame(format, packet.get());
        if (err == AVERROR_EOF) break;               // the whole file was read
        if (err == AVERROR(EAGAIN)) continue;        // a network-like source wants another try
        if (err < 0) {
            // Damage the demuxer cannot step over ends the reading; what was read is kept.
            if (!control_.cancelled()) readError_ = avErrorText(err);
            break;
        }
        if (packet->stream_index == videoIndex) {
            PacketPtr moved = newPacket();
            av_packet_move_ref(moved.get(), packet.get());
            if (!video_->push(std::move(moved))) break;
        } else if (packet->stream_index == audioIndex) {
            audio_->send(packet.get());
            av_packet_unref(packet.get());
        } else {
            av_packet_unref(packet.get());
        }
    }
}

void Transcoder::drain() {
    if (control_.cancelled()) {
        if (video_) video_->join();
        return;
    }
    // Stages "drain decoders / filters / encoders": the end marker runs through the video
    // queues while the audio drains here.
    if (video_) video_->endOfInput();
    if (audio_) audio_->finish();
    if (video_) video_->join();
}

void Transcoder::writeTrailer() {
    if (auto error = control_.error()) throw *error;
    const std::int64_t frames = (video_ ? video_->decodedFrames() : 0) + (audio_ ? audio_->decodedFrames() : 0);
    if (frames == 0)
        throw EngineError(Error_Input, "decode input: nothing in '" +
                                           std::filesystem::path(inputPath_).filename().string() +
                                           "' could be decoded" + (readError_.empty() ? "" : " (" + readError_ + ")"));
    if (!readError_.empty() && callbacks_.note)
        callbacks_.note("reading stopped early (" + readError_ + "); the output holds what was read");
    if (video_ && video_->damagedPackets() && callbacks_.note)
        callbacks_.note(std::to_string(video_->damagedPackets()) + " damaged video packets were skipped");
    output_->finish();
    progress_->finish();
}

} // namespace pellucor::engine
