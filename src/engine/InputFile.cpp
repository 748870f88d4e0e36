#include "engine/InputFile.h"

#include "engine/EngineError.h"

#include <algorithm>
#include <filesystem>

namespace pellucor::engine {
namespace {

bool decodable(const AVStream* st) { return avcodec_find_decoder(st->codecpar->codec_id) != nullptr; }

} // namespace

InputFile::InputFile(const std::string& path, JobControl& control, bool debug) : path_(path) {
    const std::string name = std::filesystem::path(path).filename().string();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        throw EngineError(Error_Input, "open input '" + name + "': no such file");
    if (std::filesystem::file_size(path, ec) == 0)
        throw EngineError(Error_Input, "open input '" + name + "': the file is empty");

    AVFormatContext* raw = avformat_alloc_context();
    if (!raw) throw EngineError(Error_Internal, "open input: out of memory");
    raw->interrupt_callback = AVIOInterruptCB{&JobControl::interrupt, &control};
    // avformat_open_input frees the context itself when it fails. "file:" keeps a name with a
    // colon in it ("clip:2.avi") from being taken for a network protocol.
    const std::string url = "file:" + path;
    check(avformat_open_input(&raw, url.c_str(), nullptr, nullptr), "open input '" + name + "'", Error_Input);
    format_.reset(raw);
    check(avformat_find_stream_info(format_.get(), nullptr), "read stream information of '" + name + "'",
          Error_Input);
    if (debug) av_dump_format(format_.get(), 0, path.c_str(), 0);

    // The best stream of each kind that has a decoder; a cover picture is not video.
    for (unsigned i = 0; i < format_->nb_streams; ++i) {
        AVStream* st = format_->streams[i];
        st->discard = AVDISCARD_ALL;
        if (st->disposition & AV_DISPOSITION_ATTACHED_PIC) continue;
        const AVCodecParameters* par = st->codecpar;
        if (par->codec_type == AVMEDIA_TYPE_VIDEO && par->width > 0 && par->height > 0 && decodable(st)) {
            if (videoIndex_ < 0 || par->width * par->height > format_->streams[videoIndex_]->codecpar->width *
                                                                  format_->streams[videoIndex_]->codecpar->height)
                videoIndex_ = static_cast<int>(i);
        } else if (par->codec_type == AVMEDIA_TYPE_AUDIO && par->sample_rate > 0 &&
                   par->ch_layout.nb_channels > 0 && decodable(st) && audioIndex_ < 0) {
            audioIndex_ = static_cast<int>(i);
        }
    }

    if (AVStream* v = videoStream()) {
        facts_.hasVideo = true;
        facts_.width = v->codecpar->width;
        facts_.height = v->codecpar->height;
        const AVRational sar = av_guess_sample_aspect_ratio(format_.get(), v, nullptr);
        facts_.sampleAspect = sar.num > 0 && sar.den > 0 ? Fraction{sar.num, sar.den} : Fraction{1, 1};
        const AVRational rate = av_guess_frame_rate(format_.get(), v, nullptr);
        if (rate.num > 0 && rate.den > 0 && av_q2d(rate) <= 1000) facts_.frameRate = reduced(Fraction{rate.num, rate.den});
    }
    if (AVStream* a = audioStream()) {
        facts_.hasAudio = true;
        facts_.sampleRate = a->codecpar->sample_rate;
        facts_.channels = a->codecpar->ch_layout.nb_channels;
    }
}

double InputFile::durationSeconds() const {
    if (format_->duration > 0) return format_->duration / static_cast<double>(AV_TIME_BASE);
    double longest = 0;
    for (const AVStream* st : {videoStream(), audioStream()})
        if (st && st->duration > 0) longest = std::max(longest, st->duration * av_q2d(st->time_base));
    return longest;
}

std::int64_t InputFile::startIn(const AVStream* stream) const {
    if (format_->start_time == AV_NOPTS_VALUE) return 0;
    return av_rescale_q(format_->start_time, AV_TIME_BASE_Q, stream->time_base);
}

void InputFile::discardUnused(bool keepVideo, bool keepAudio) {
    if (AVStream* v = videoStream()) v->discard = keepVideo ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    if (AVStream* a = audioStream()) a->discard = keepAudio ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
}

CodecContextPtr InputFile::openDecoder(AVStream* st, const char* what, int lowres) {
    const AVCodec* codec = avcodec_find_decoder(st->codecpar->codec_id);
    CodecContextPtr dec(avcodec_alloc_context3(codec));
    if (!dec) throw EngineError(Error_Internal, std::string("open ") + what + " decoder: out of memory");
    check(avcodec_parameters_to_context(dec.get(), st->codecpar), std::string("set up ") + what + " decoder",
          Error_Input);
    dec->pkt_timebase = st->time_base;  // the decoder's frames come out in the stream's time base
    dec->thread_count = 0;              // FFmpeg picks (frame threads where the codec has them)
    dec->lowres = lowres;
    // PCM in AVI carries no channel layout; the resampler needs one.
    if (dec->ch_layout.nb_channels > 0 && dec->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
        const int n = dec->ch_layout.nb_channels;
        av_channel_layout_uninit(&dec->ch_layout);
        av_channel_layout_default(&dec->ch_layout, n);
    }
    check(avcodec_open2(dec.get(), codec, nullptr),
          std::string("open ") + what + " decoder (" + avcodec_get_name(st->codecpar->codec_id) + ")", Error_Input);
    return dec;
}

CodecContextPtr InputFile::openVideoDecoder(int pictureWidth, int pictureHeight) {
    AVStream* st = videoStream();
    int lowres = 0;
    if (st->codecpar->codec_id == AV_CODEC_ID_MJPEG) {
        while (lowres < 2 && (st->codecpar->width >> (lowres + 1)) >= pictureWidth &&
               (st->codecpar->height >> (lowres + 1)) >= pictureHeight)
            ++lowres;
    }
    return openDecoder(st, "video", lowres);
}
CodecContextPtr InputFile::openAudioDecoder() { return openDecoder(audioStream(), "audio"); }

} // namespace pellucor::engine
