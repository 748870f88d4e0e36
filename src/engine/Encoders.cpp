#include "engine/Encoders.h"

#include "engine/EngineError.h"

extern "C" {
#include <libavutil/opt.h>
}

namespace pellucor::engine {
namespace {

const AVCodec* findEncoder(const char* name) {
    const AVCodec* codec = avcodec_find_encoder_by_name(name);
    if (!codec)
        throw EngineError(Error_Settings,
                          std::string("find encoder: this FFmpeg has no '") + name + "' encoder");
    return codec;
}

CodecContextPtr allocate(const AVCodec* codec) {
    CodecContextPtr ctx(avcodec_alloc_context3(codec));
    if (!ctx) throw EngineError(Error_Internal, "allocate encoder: out of memory");
    return ctx;
}

} // namespace

AVPixelFormat encoderPixelFormat(const VideoPlan& plan) {
    return plan.fullRange ? AV_PIX_FMT_YUVJ420P : AV_PIX_FMT_YUV420P;
}

CodecContextPtr openVideoEncoder(const VideoPlan& plan, bool globalHeader, int threads) {
    const AVCodec* codec = findEncoder(codecName(plan.codec));
    CodecContextPtr enc = allocate(codec);
    enc->width = plan.width;
    enc->height = plan.height;
    enc->sample_aspect_ratio = AVRational{plan.sampleAspect.num, plan.sampleAspect.den};
    enc->framerate = AVRational{plan.frameRate.num, plan.frameRate.den};
    enc->time_base = AVRational{plan.frameRate.den, plan.frameRate.num};  // one tick per frame
    enc->pix_fmt = encoderPixelFormat(plan);
    enc->color_range = plan.fullRange ? AVCOL_RANGE_JPEG : AVCOL_RANGE_MPEG;
    enc->gop_size = plan.gopSize;
    enc->max_b_frames = plan.maxBFrames;
    if (plan.profile != -99) enc->profile = plan.profile;
    if (plan.level != -99) enc->level = plan.level;

    const RateControl& rc = plan.rate;
    if (rc.quality > 0) {
        enc->flags |= AV_CODEC_FLAG_QSCALE;
        enc->global_quality = FF_QP2LAMBDA * rc.quality;
    } else {
        enc->bit_rate = rc.bitRate;
        if (rc.tolerance > 0) enc->bit_rate_tolerance = static_cast<int>(rc.tolerance);
        enc->rc_min_rate = rc.minRate;
        enc->rc_max_rate = rc.maxRate;
        enc->rc_buffer_size = static_cast<int>(rc.bufferSize);
        if (rc.minQuantiser > 0) {
            enc->qmin = rc.minQuantiser;
            // The MPEG-family encoders also bound the rate control's Lagrange factor.
            av_opt_set_int(enc->priv_data, "lmin", static_cast<std::int64_t>(rc.minQuantiser) * FF_QP2LAMBDA, 0);
        }
    }
    if (plan.scanOffset) av_opt_set_int(enc->priv_data, "scan_offset", 1, 0);
    if (globalHeader) enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (codec->capabilities & AV_CODEC_CAP_SLICE_THREADS) {
        enc->thread_count = threads;
        enc->thread_type = FF_THREAD_SLICE;
    }
    check(avcodec_open2(enc.get(), codec, nullptr),
          std::string("open video encoder (") + codec->name + ", " + std::to_string(plan.width) + "x" +
              std::to_string(plan.height) + ")",
          Error_Convert);
    return enc;
}

CodecContextPtr openAudioEncoder(const AudioPlan& plan, bool globalHeader) {
    const AVCodec* codec = findEncoder(codecName(plan.codec));
    CodecContextPtr enc = allocate(codec);
    enc->sample_rate = plan.sampleRate;
    av_channel_layout_default(&enc->ch_layout, plan.channels);
    // The encoder's own first choice of sample format; the resampler converts to it.
    enc->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    enc->time_base = AVRational{1, plan.sampleRate};  // one tick per sample
    if (plan.vbrQuality >= 0) {
        enc->flags |= AV_CODEC_FLAG_QSCALE;  // LAME reads this as "VBR at global_quality"
        enc->global_quality = FF_QP2LAMBDA * plan.vbrQuality;
    } else if (plan.bitRate > 0) {
        enc->bit_rate = plan.bitRate;
    }
    if (globalHeader) enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    check(avcodec_open2(enc.get(), codec, nullptr),
          std::string("open audio encoder (") + codec->name + ", " + std::to_string(plan.sampleRate) + " Hz, " +
              std::to_string(plan.channels) + " ch)",
          Error_Convert);
    return enc;
}

int audioFrameSize(const AVCodecContext* encoder, const AudioPlan& plan) {
    if (encoder->frame_size > 0) return encoder->frame_size;
    return plan.frameSamples > 0 ? plan.frameSamples : 1024;
}

} // namespace pellucor::engine
