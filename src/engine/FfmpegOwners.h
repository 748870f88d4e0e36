#pragma once
// Owners for FFmpeg's objects (each freed with its own free function) and the error check that
// every FFmpeg call in the engine goes through. Only src/engine includes FFmpeg headers.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/buffer.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <memory>
#include <string>

namespace pellucor::engine {

struct CodecContextFree { void operator()(AVCodecContext* p) const { avcodec_free_context(&p); } };
struct FrameFree { void operator()(AVFrame* p) const { av_frame_free(&p); } };
struct PacketFree { void operator()(AVPacket* p) const { av_packet_free(&p); } };
struct InputFree { void operator()(AVFormatContext* p) const { avformat_close_input(&p); } };
struct SwsFree { void operator()(SwsContext* p) const { sws_freeContext(p); } };
struct SwrFree { void operator()(SwrContext* p) const { swr_free(&p); } };
struct FifoFree { void operator()(AVAudioFifo* p) const { av_audio_fifo_free(p); } };
// The pool goes when its last buffer comes back, so frames may outlive their owner.
struct BufferPoolFree { void operator()(AVBufferPool* p) const { av_buffer_pool_uninit(&p); } };

using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFree>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;
using InputPtr = std::unique_ptr<AVFormatContext, InputFree>;
using SwsPtr = std::unique_ptr<SwsContext, SwsFree>;
using SwrPtr = std::unique_ptr<SwrContext, SwrFree>;
using FifoPtr = std::unique_ptr<AVAudioFifo, FifoFree>;
using BufferPoolPtr = std::unique_ptr<AVBufferPool, BufferPoolFree>;

// FFmpeg's text for an error code.
std::string avErrorText(int err);

// Throws EngineError(code, "<stage>: <FFmpeg's reason>") when err is negative; returns err.
int check(int err, const std::string& stage, int code);

// Allocations that throw instead of returning null.
FramePtr newFrame();
PacketPtr newPacket();

} // namespace pellucor::engine
