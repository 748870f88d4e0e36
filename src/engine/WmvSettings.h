#pragma once
// The WMV output: ASF with FFmpeg's Windows Media encoders (wmv2, wmav2), set from the
// component's WMV_Custom_* properties. Pure; any thread.
#include "engine/JobPlan.h"
#include "engine/JobRequest.h"

#include <optional>
#include <string_view>

namespace pellucor::engine {

// An audio format as Windows Media lists it: "128 kbps, 44 kHz, stereo CBR" is 128 kbit/s,
// 44100 Hz, 2 channels; "22.05 kHz" is 22050 Hz; "Quality 90, 44 kHz, stereo VBR" names no
// bit rate (0). Blanks anywhere are allowed. nullopt when the text says nothing usable.
struct WmaFormat {
    std::int64_t bitRate = 0;
    int sampleRate = 0;
    int channels = 0;
};
std::optional<WmaFormat> parseWmaFormat(std::string_view text);

JobPlan planWmv(const JobRequest& request, const SourceFacts& source);

} // namespace pellucor::engine
