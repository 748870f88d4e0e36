#include "engine/AudioPipeline.h"

#include "engine/EngineError.h"
#include "engine/Encoders.h"

#include <algorithm>

namespace pellucor::engine {

AudioPipeline::AudioPipeline(AVStream* input, std::int64_t inputStart, CodecContextPtr decoder,
                             CodecContextPtr encoder, const AudioPlan& plan, OutputFile& output, AVStream* outStream)
    : input_(input),
      inputStart_(inputStart),
      decoder_(std::move(decoder)),
      encoder_(std::move(encoder)),
      output_(output),
      outStream_(outStream),
      decoded_frame_(newFrame()),
      frameSize_(audioFrameSize(encoder_.get(), plan)) {
    fifo_.reset(av_audio_fifo_alloc(encoder_->sample_fmt, encoder_->ch_layout.nb_channels, frameSize_ * 4));
    if (!fifo_) throw EngineError(Error_Internal, "allocate audio buffer: out of memory");
}

AudioPipeline::~AudioPipeline() { av_channel_layout_uninit(&swrLayout_); }

void AudioPipeline::send(const AVPacket* packet) {
    const int err = avcodec_send_packet(decoder_.get(), packet);
    // A damaged audio packet is a moment of silence, not a failed job, whatever error the
    // decoder names the damage with; only running out of memory ends the job.
    if (err == AVERROR(ENOMEM)) check(err, "decode audio", Error_Convert);
    if (err < 0 && err != AVERROR_EOF) return;
    receiveFrames();
}

void AudioPipeline::receiveFrames() {
    for (;;) {
        const int err = avcodec_receive_frame(decoder_.get(), decoded_frame_.get());
        if (err == AVERROR(EAGAIN) || err == AVERROR_EOF) return;  // needs input / drained
        if (err == AVERROR(ENOMEM)) check(err, "decode audio", Error_Convert);
        if (err == AVERROR_INVALIDDATA) continue;
        if (err < 0) return;  // a frame the decoder could not make: wait for the next packet
        ++decoded_;
        resample(decoded_frame_.get());
        av_frame_unref(decoded_frame_.get());
        encodeFromFifo(false);
    }
}

void AudioPipeline::prepareResampler(const AVFrame* frame) {
    AVChannelLayout layout{};
    // PCM in AVI has no channel layout: the default one of its channel count stands in.
    if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) av_channel_layout_default(&layout, frame->ch_layout.nb_channels);
    else check(av_channel_layout_copy(&layout, &frame->ch_layout), "copy channel layout", Error_Internal);
    if (swr_ && frame->format == swrFormat_ && frame->sample_rate == swrRate_ &&
        av_channel_layout_compare(&layout, &swrLayout_) == 0) {
        av_channel_layout_uninit(&layout);
        return;
    }
    SwrContext* raw = nullptr;
    int err = swr_alloc_set_opts2(&raw, &encoder_->ch_layout, encoder_->sample_fmt, encoder_->sample_rate, &layout,
                                  static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr);
    swr_.reset(raw);
    if (err >= 0) err = swr_init(swr_.get());
    av_channel_layout_uninit(&swrLayout_);
    swrLayout_ = layout;  // takes over the copy
    swrFormat_ = frame->format;
    swrRate_ = frame->sample_rate;
    check(err, "set up audio resampler", Error_Convert);
}

void AudioPipeline::resample(const AVFrame* frame) {
    if (frame->nb_samples <= 0 || frame->ch_layout.nb_channels <= 0) return;
    prepareResampler(frame);
    if (!started_) {
        started_ = true;
        // Decoder frames are in the input stream's time base; silence fills a late start.
        const std::int64_t pts = frame->best_effort_timestamp;
        if (pts != AV_NOPTS_VALUE && pts > inputStart_) {
            const std::int64_t lead = av_rescale_q(pts - inputStart_, input_->time_base, AVRational{1, encoder_->sample_rate});
            const int silence = static_cast<int>(std::min<std::int64_t>(lead, encoder_->sample_rate * 60LL));
            if (silence > 0) {
                FramePtr quiet = newFrame();
                quiet->format = encoder_->sample_fmt;
                quiet->nb_samples = silence;
                check(av_channel_layout_copy(&quiet->ch_layout, &encoder_->ch_layout), "copy channel layout", Error_Internal);
                check(av_frame_get_buffer(quiet.get(), 0), "allocate silence", Error_Internal);
                av_samples_set_silence(quiet->extended_data, 0, silence, encoder_->ch_layout.nb_channels,
                                       encoder_->sample_fmt);
                check(av_audio_fifo_write(fifo_.get(), reinterpret_cast<void**>(quiet->extended_data), silence),
                      "buffer audio", Error_Internal);
            }
        }
    }
    const int room = swr_get_out_samples(swr_.get(), frame->nb_samples);
    FramePtr out = newFrame();
    out->format = encoder_->sample_fmt;
    out->nb_samples = std::max(room, 1);
    check(av_channel_layout_copy(&out->ch_layout, &encoder_->ch_layout), "copy channel layout", Error_Internal);
    check(av_frame_get_buffer(out.get(), 0), "allocate audio buffer", Error_Internal);
    const int got = check(swr_convert(swr_.get(), out->extended_data, out->nb_samples,
                                      const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples),
                          "resample audio", Error_Convert);
    check(av_audio_fifo_write(fifo_.get(), reinterpret_cast<void**>(out->extended_data), got), "buffer audio",
          Error_Internal);
}

void AudioPipeline::encodeFromFifo(bool last) {
    const bool shortLastOk =
        encoder_->codec->capabilities & (AV_CODEC_CAP_VARIABLE_FRAME_SIZE | AV_CODEC_CAP_SMALL_LAST_FRAME) ||
        encoder_->frame_size == 0;
    while (av_audio_fifo_size(fifo_.get()) >= frameSize_ || (last && av_audio_fifo_size(fifo_.get()) > 0)) {
        const int available = std::min(av_audio_fifo_size(fifo_.get()), frameSize_);
        FramePtr frame = newFrame();
        frame->format = encoder_->sample_fmt;
        frame->sample_rate = encoder_->sample_rate;
        frame->nb_samples = (available < frameSize_ && !shortLastOk) ? frameSize_ : available;
        check(av_channel_layout_copy(&frame->ch_layout, &encoder_->ch_layout), "copy channel layout", Error_Internal);
        check(av_frame_get_buffer(frame.get(), 0), "allocate audio frame", Error_Internal);
        if (frame->nb_samples > available)  // a fixed-size encoder gets its last frame padded
            av_samples_set_silence(frame->extended_data, available, frame->nb_samples - available,
                                   encoder_->ch_layout.nb_channels, encoder_->sample_fmt);
        av_audio_fifo_read(fifo_.get(), reinterpret_cast<void**>(frame->extended_data), available);
        frame->pts = samplesOut_;
        samplesOut_ += frame->nb_samples;
        encode(frame.get());
    }
}

void AudioPipeline::encode(AVFrame* frame) {
    check(avcodec_send_frame(encoder_.get(), frame), "encode audio", Error_Convert);
    PacketPtr packet = newPacket();
    for (;;) {
        const int err = avcodec_receive_packet(encoder_.get(), packet.get());
        if (err == AVERROR(EAGAIN) || err == AVERROR_EOF) return;  // needs input / fully flushed
        check(err, "encode audio", Error_Convert);
        output_.write(packet.get(), encoder_->time_base, outStream_);
    }
}

void AudioPipeline::finish() {
    send(nullptr);  // drain the decoder
    if (swr_) {
        // What the resampler still holds (its filter delay).
        FramePtr out = newFrame();
        out->format = encoder_->sample_fmt;
        out->nb_samples = std::max(swr_get_out_samples(swr_.get(), 0), 1);
        check(av_channel_layout_copy(&out->ch_layout, &encoder_->ch_layout), "copy channel layout", Error_Internal);
        check(av_frame_get_buffer(out.get(), 0), "allocate audio buffer", Error_Internal);
        const int got = check(swr_convert(swr_.get(), out->extended_data, out->nb_samples, nullptr, 0),
                              "resample audio", Error_Convert);
        if (got > 0)
            check(av_audio_fifo_write(fifo_.get(), reinterpret_cast<void**>(out->extended_data), got), "buffer audio",
                  Error_Internal);
    }
    encodeFromFifo(true);
    encode(nullptr);  // flush the encoder
}

} // namespace pellucor::engine
