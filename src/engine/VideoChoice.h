#pragma once
// The picture rules: codec names, constraints, frame size, where the picture sits in the
// frame (never stretched), legal frame rates and the rate control of each mode.
// Pure functions; any thread.
#include "engine/JobPlan.h"

#include <optional>
#include <string_view>

namespace pellucor::engine {

// "MPEG1", "MPEG2", "MPEG4", "FLV" (also "Flash Video"), "WMV" (also "Windows Media Video 9"),
// "MJPEG", any letter case. nullopt for empty or unknown.
std::optional<VideoCodec> videoCodecFromText(std::string_view text);

enum class Constraint { None, Ntsc, Pal, IPod, IPodNano, IPhone, Film, Hd };
// "NTSC", "PAL", "iPod", "iPod Nano", "iPhone", "Film", "HD", "None", any letter case.
std::optional<Constraint> constraintFromText(std::string_view text);

// What a player device takes: MPEG-4 Simple Profile within these numbers.
struct DeviceLimits {
    int maxWidth, maxHeight;
    std::int64_t maxBitRate;  // bit/s
    double maxFrameRate;
};
const DeviceLimits* deviceLimits(Constraint c);  // nullptr when c is not a device

// Frame size: 0 keeps the source's; then a device's limit (shrunk, proportions kept), even
// numbers (every encoder here works on 4:2:0 pictures), at least 16, at most what the
// codec's headers can hold.
void chooseFrameSize(VideoCodec codec, int wantWidth, int wantHeight, const SourceFacts& source,
                     const DeviceLimits* device, int& width, int& height,
                     std::vector<std::string>& notes);

// The pixel shape that shows a width x height frame at the display aspect.
Fraction sampleAspectFor(Fraction displayAspect, int width, int height);

// The largest centred rectangle of the frame in which the source keeps its own display
// aspect; what is left over becomes black bars. Even offsets and sizes, so 4:2:0 chroma
// lines up.
PictureRect fitPicture(int srcWidth, int srcHeight, Fraction srcSampleAspect, int width,
                       int height, Fraction sampleAspect);

// A rate the codec can signal: MPEG-1/2 only the eight standard rates (exact fractions, the
// nearest is taken); MPEG-4 a time base below 65536. Changes are noted.
Fraction legalFrameRate(VideoCodec codec, Fraction wanted, std::vector<std::string>& notes);

enum class RateMode { Mvbr, Cbr, Vbr, PeakVbr, Quality };
// "MVBR", "CBR", "VBR" (any case); nullopt for empty or unknown.
std::optional<RateMode> rateModeFromText(std::string_view text);

// Rate control for a target (bit/s). Every bit-rate mode sets a tolerance of a quarter of the
// target: FFmpeg's default (4 Mbit) lets short files overshoot by 5 to 40 %; and allows the
// finest quantiser, so easy pictures do not fall short of the target.
//  Mvbr: peak 1.5 x target, buffer of one second at the target.
//  Cbr: minimum = maximum = target, buffer of `bufferMillis` at the target.
//  Vbr: the target alone.
//  PeakVbr: the target, capped at `peak` (ignored unless above the target).
//  Quality: constant quantiser from a 0..100 quality (100 best).
RateControl rateControlFor(RateMode mode, std::int64_t target, std::int64_t peak = 0,
                           int bufferMillis = 1000, int quality = 0);

} // namespace pellucor::engine
