#pragma once
// Opens the encoders a plan names, set exactly as the plan says. Job thread; the contexts are
// then owned by the stage that encodes.
#include "engine/FfmpegOwners.h"
#include "engine/JobPlan.h"

namespace pellucor::engine {

// Pixel format the video encoder takes (and the scaler must deliver).
AVPixelFormat encoderPixelFormat(const VideoPlan& plan);

// `globalHeader`: the container wants codec headers once, outside the packets (MP4, MOV, FLV).
// `threads`: slice threads for encoders that have them.
CodecContextPtr openVideoEncoder(const VideoPlan& plan, bool globalHeader, int threads);
CodecContextPtr openAudioEncoder(const AudioPlan& plan, bool globalHeader);

// Samples per frame the audio encoder wants; PCM takes any, so the plan's or a convenient size.
int audioFrameSize(const AVCodecContext* encoder, const AudioPlan& plan);

} // namespace pellucor::engine
