#include "engine/WmvSettings.h"

#include "engine/AudioChoice.h"
#include "engine/ContainerChoice.h"
#include "engine/VideoChoice.h"

#include <algorithm>
#include <cmath>

namespace pellucor::engine {
namespace {

// The number that ends just before `unit` in `part`, e.g. "128" in "128 kbps".
std::optional<double> numberBefore(std::string_view part, std::string_view unit) {
    const auto at = part.find(unit);
    if (at == std::string_view::npos) return std::nullopt;
    std::string_view head = trimmed(part.substr(0, at));
    std::size_t start = head.size();
    while (start > 0 && ((head[start - 1] >= '0' && head[start - 1] <= '9') || head[start - 1] == '.'))
        --start;
    return parseDecimal(head.substr(start));
}

} // namespace

std::optional<WmaFormat> parseWmaFormat(std::string_view text) {
    const std::string lower = lowerAscii(text);
    WmaFormat f;
    bool any = false;
    std::string_view rest = lower;
    while (!rest.empty()) {
        const auto comma = rest.find(',');
        const std::string_view part = trimmed(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
        if (auto kbps = numberBefore(part, "kbps"); kbps && *kbps > 0) {
            f.bitRate = std::llround(*kbps * 1000);
            any = true;
        }
        if (auto khz = numberBefore(part, "khz"); khz && *khz > 0) {
            // Windows Media shortens 44.1 to "44" and 22.05 to "22": take the nearest real rate.
            static const std::vector<int> rates{8000,  11025, 12000, 16000, 22050, 24000,
                                                32000, 44100, 48000, 88200, 96000};
            f.sampleRate = nearestOf(rates, static_cast<int>(std::lround(*khz * 1000)));
            any = true;
        }
        if (part.find("mono") != std::string_view::npos) f.channels = 1, any = true;
        else if (part.find("stereo") != std::string_view::npos) f.channels = 2, any = true;
        else if (part.find("5.1") != std::string_view::npos) f.channels = 6, any = true;
        else if (part.find("7.1") != std::string_view::npos) f.channels = 8, any = true;
    }
    if (!any) return std::nullopt;
    return f;
}

JobPlan planWmv(const JobRequest& r, const SourceFacts& source) {
    JobPlan plan;
    plan.container.muxer = Muxer::Asf;
    // With an external profile there is no profile file to read on this system; the custom
    // numbers (all zero by design) then stand for "as the source", with both streams present.
    const bool custom = r.WMV_Mode == VF_WM_CustomSettings;

    if (source.hasVideo && (!custom || r.WMV_Custom_Video_StreamPresent)) {
        VideoPlan& v = plan.video;
        v.codec = VideoCodec::Wmv2;
        chooseFrameSize(v.codec, r.WMV_Custom_Video_Width, r.WMV_Custom_Video_Height, source, nullptr, v.width,
                        v.height, plan.notes);
        // ASF players ignore stored pixel shapes, so square pixels and bars keep the picture true.
        v.sampleAspect = Fraction{1, 1};
        v.picture = fitPicture(source.width, source.height, source.sampleAspect, v.width, v.height,
                               v.sampleAspect);
        std::optional<Fraction> rate = frameRateOf(r.WMV_Custom_Video_FrameRate);
        if (!rate) {
            if (r.WMV_Custom_Video_TVSystem == VF_TS_PAL) rate = Fraction{25, 1};
            else if (r.WMV_Custom_Video_TVSystem == VF_TS_NTSC) rate = Fraction{30000, 1001};
            else rate = source.frameRate.valid() ? source.frameRate : Fraction{25, 1};
        }
        v.frameRate = legalFrameRate(v.codec, *rate, plan.notes);
        const std::int64_t target = (r.WMV_Custom_Video_Bitrate > 0 ? r.WMV_Custom_Video_Bitrate : 512) * 1000LL;
        const int bufferMillis = r.WMV_Custom_Video_Buffer_Size > 0 ? r.WMV_Custom_Video_Buffer_Size : 1000;
        switch (r.WMV_Custom_Video_Mode) {
        case VF_SM_CBR: v.rate = rateControlFor(RateMode::Cbr, target, 0, bufferMillis); break;
        case VF_SM_VBR_Quality:
            v.rate = rateControlFor(RateMode::Quality, target, 0, bufferMillis, r.WMV_Custom_Video_Quality);
            break;
        case VF_SM_VBR_Bitrate: v.rate = rateControlFor(RateMode::Vbr, target); break;
        case VF_SM_VBR_PeakBitrate:
            v.rate = rateControlFor(RateMode::PeakVbr, target, r.WMV_Custom_Video_PeakBitRate * 1000LL,
                                    bufferMillis);
            break;
        }
        // The key-frame interval is in seconds.
        const double keySeconds = r.WMV_Custom_Video_KeyFrameInterval;
        v.gopSize = keySeconds > 0 ? std::max(1, static_cast<int>(std::lround(keySeconds * v.frameRate.value()))) : 12;
    }

    if (source.hasAudio && (!custom || r.WMV_Custom_Audio_StreamPresent)) {
        AudioPlan wanted;
        wanted.codec = AudioCodec::Wmav2;
        wanted.bitRate = 128000;
        wanted.sampleRate = 44100;
        wanted.channels = 2;
        if (!trimmed(r.WMV_Custom_Audio_Format).empty()) {
            if (auto f = parseWmaFormat(r.WMV_Custom_Audio_Format)) {
                if (f->bitRate) wanted.bitRate = f->bitRate;
                if (f->sampleRate) wanted.sampleRate = f->sampleRate;
                if (f->channels) wanted.channels = f->channels;
            } else {
                plan.notes.push_back("WMV audio format '" + r.WMV_Custom_Audio_Format +
                                     "' names no rate or channels: 128 kbit/s, 44100 Hz, stereo");
            }
        }
        plan.audio = legalAudio(Muxer::Asf, nullptr, wanted, plan.notes);
    }
    return plan;
}

} // namespace pellucor::engine
