#include "engine/FfmpegOwners.h"

#include "engine/EngineError.h"

namespace pellucor::engine {

std::string avErrorText(int err) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(err, text, sizeof text);
    return text;
}

int check(int err, const std::string& stage, int code) {
    if (err < 0) throw EngineError(code, stage + ": " + avErrorText(err));
    return err;
}

FramePtr newFrame() {
    FramePtr f(av_frame_alloc());
    if (!f) throw EngineError(Error_Internal, "allocate frame: out of memory");
    return f;
}

PacketPtr newPacket() {
    PacketPtr p(av_packet_alloc());
    if (!p) throw EngineError(Error_Internal, "allocate packet: out of memory");
    return p;
}

} // namespace pellucor::engine
