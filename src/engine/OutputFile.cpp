#include "engine/OutputFile.h"

#include "engine/EngineError.h"

#include <cstring>
#include <filesystem>

extern "C" {
#include <libavutil/opt.h>
}

namespace pellucor::engine {

OutputFile::OutputFile(const std::string& path, const ContainerPlan& plan, JobControl& control)
    : path_(path), plan_(plan) {
    // The muxer is named, not guessed: the temporary file's name has no useful extension.
    check(avformat_alloc_output_context2(&format_, nullptr, muxerName(plan.muxer), path.c_str()),
          std::string("create ") + muxerName(plan.muxer) + " muxer", Error_Settings);
    format_->interrupt_callback = AVIOInterruptCB{&JobControl::interrupt, &control};
    if (plan.packetSize > 0) format_->packet_size = static_cast<unsigned>(plan.packetSize);
    // As the ffmpeg tool does: program streams may hold packets back 0.7 s to interleave them.
    format_->max_delay = 700000;
    AVIOContext* io = nullptr;
    const std::string url = "file:" + path;  // never a protocol, whatever the name holds
    // Named by its folder: the temporary file's own name means nothing to the user, and the
    // folder is what went wrong when the file made at Start cannot be opened any more (moved or
    // deleted while the job started).
    const std::string folder = std::filesystem::path(path).parent_path().string();
    check(avio_open2(&io, url.c_str(), AVIO_FLAG_WRITE, &format_->interrupt_callback, nullptr),
          "open the output file in '" + folder + "'", Error_Output);
    format_->pb = io;
}

OutputFile::~OutputFile() {
    if (!format_) return;
    if (format_->pb) avio_closep(&format_->pb);
    avformat_free_context(format_);
}

bool OutputFile::wantsGlobalHeader() const { return format_->oformat->flags & AVFMT_GLOBALHEADER; }

AVStream* OutputFile::addStream(const AVCodecContext* encoder) {
    AVStream* st = avformat_new_stream(format_, nullptr);
    if (!st) throw EngineError(Error_Internal, "add output stream: out of memory");
    check(avcodec_parameters_from_context(st->codecpar, encoder), "describe output stream", Error_Convert);
    st->time_base = encoder->time_base;  // a wish; the muxer may choose another in writeHeader
    st->sample_aspect_ratio = encoder->sample_aspect_ratio;
    if (encoder->codec_type == AVMEDIA_TYPE_VIDEO) st->avg_frame_rate = encoder->framerate;
    // The encoder's buffer model (CPB) tells program-stream muxers how big the decoder's
    // buffer is; without it they guess and under-run on high bit rates.
    for (int i = 0; i < encoder->nb_coded_side_data; ++i) {
        const AVPacketSideData& sd = encoder->coded_side_data[i];
        uint8_t* dst = av_stream_new_side_data(st, sd.type, sd.size);
        if (!dst) throw EngineError(Error_Internal, "copy encoder side data: out of memory");
        memcpy(dst, sd.data, sd.size);
    }
    return st;
}

void OutputFile::writeHeader() {
    AVDictionary* options = nullptr;
    if (plan_.muxRate > 0) av_dict_set_int(&options, "muxrate", plan_.muxRate, 0);
    if (plan_.preloadMicros >= 0) av_dict_set_int(&options, "preload", plan_.preloadMicros, 0);
    const int err = avformat_write_header(format_, &options);
    av_dict_free(&options);
    check(err, std::string("write ") + muxerName(plan_.muxer) + " header", Error_Convert);
    headerWritten_ = true;
}

void OutputFile::setProgressStream(AVStream* stream, std::function<void(double)> progress) {
    progressStream_ = stream;
    progress_ = std::move(progress);
}

void OutputFile::write(AVPacket* packet, AVRational encoderTimeBase, AVStream* stream) {
    av_packet_rescale_ts(packet, encoderTimeBase, stream->time_base);  // encoder -> muxer time base
    packet->stream_index = stream->index;
    std::lock_guard lock(mutex_);
    const std::int64_t pts = packet->pts;
    // av_interleaved_write_frame takes the packet's reference, even when it fails.
    check(av_interleaved_write_frame(format_, packet),
          std::string("write ") + (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO ? "video" : "audio") +
              " packet",
          Error_Convert);
    if (stream == progressStream_ && progress_ && pts != AV_NOPTS_VALUE)
        progress_(pts * av_q2d(stream->time_base));
}

void OutputFile::finish() {
    std::lock_guard lock(mutex_);
    if (!headerWritten_) throw EngineError(Error_Internal, "finish output: no header was written");
    check(av_write_trailer(format_), std::string("write ") + muxerName(plan_.muxer) + " trailer", Error_Convert);
    check(avio_closep(&format_->pb), "close the output file", Error_Output);
}

} // namespace pellucor::engine
