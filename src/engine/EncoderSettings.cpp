#include "engine/EncoderSettings.h"

#include "engine/AudioChoice.h"
#include "engine/ContainerChoice.h"
#include "engine/EngineError.h"
#include "engine/VideoChoice.h"
#include "engine/WmvSettings.h"

#include <algorithm>
#include <map>

// What the component makes of its settings (kept in step with docs/engine-parameters.md).
//
// Output_Format picks the writer:
//   Format_IndStr_Standard_MPEG  container by the output name's extension, shaped by the
//                                encoder parameters below
//   Format_WMV                   ASF, wmv2 video + wmav2 audio from the WMV_Custom_* properties
//   Format_AVI                   AVI, Motion JPEG video (quantiser 3) at the source's size and
//                                rate + the audio of Audio_Codec
//   Format_MP3                   MP3 file, LAME VBR at Audio_SampleRate / Audio_Channels;
//                                Audio_BPS 8 -> quality 5, anything else -> quality 2
//
// Encoder parameters (Format_IndStr_Standard_MPEG); names any case, later ones win; an empty
// or unreadable value means the format's default (the right-hand columns):
//
// | name               | values                                   | .mpeg  | .mp4   | .mov   | .flv  |
// |--------------------|------------------------------------------|--------|--------|--------|-------|
// | OUTPUT_FORMAT      | MPEG1, MPEG2, MPEG4, FLV: video codec    | MPEG1  | MPEG4  | MPEG4  | FLV   |
// | VIDEO_FORMAT       | as OUTPUT_FORMAT, used when that is empty |        |        |        |       |
// | ASPECT_RATIO       | 1:1 square pixels; 4:3, 16:9, 2.21:1 ... | 1:1    | 1:1    | 4:3    | 1:1   |
// |                    | display aspect of the whole frame        |        |        |        |       |
// | VIDEO_BITRATE_MODE | MVBR, CBR, VBR                           | MVBR   | MVBR   | MVBR   | MVBR  |
// | AUDIO_FORMAT       | MP2, MP3, AAC, AC3, PCM, WAV, None       | MP2    | MP3    | AAC    | MP3   |
// | CONSTRAINT         | NTSC, PAL, iPod, iPod Nano, iPhone, Film,| NTSC   | NTSC   | PAL    | PAL   |
// |                    | HD, None                                 |        |        |        |       |
// | WIDTH, HEIGHT      | pixels, 0 = the source's                 | 0, 0   |640,480 |640,480 | 0, 0  |
// | FRAMERATE          | frames/s, 29.97 = 30000/1001, 0 = source | 29.97  | 30     | 25     | 25    |
// | VIDEO_BITRATE      | kbit/s                                   | 1150   | 1150   | 1150   | 768   |
// | AUDIO_CHANNELS     | 1 or 2                                   | 2      | 2      | 2      | 2     |
// | AUDIO_SAMPLE_RATE  | Hz                                       | 44100  | 48000  | 48000  | 44100 |
// | AUDIO_BITRATE      | kbit/s                                   | 224    | 256    | 320    | 256   |
//
// Containers: .mpeg/.mpg an MPEG-1 system stream for MPEG-1 video, an MPEG-2 program stream for
// MPEG-2 video; .mp4/.m4v MP4; .mov QuickTime; .flv FLV (Sorenson Spark); .wmv/.asf ASF (wmv2);
// .avi AVI. A codec the container cannot hold becomes the container's default.
// Video: the picture keeps its display aspect; a different frame shape gets black bars. The
// frame rate is held exactly by dropping or repeating frames; MPEG-1/2 take the nearest of their
// eight rates.
// Rate control: MVBR = target, peak 1.5 x target, buffer of 1 s at the target; CBR = min = max
// = target; VBR = target only. Each with a tolerance of target/4, which holds short files within
// a few per cent of the target, and quantiser 1 allowed, so easy pictures reach the target.
// CONSTRAINT:
//   NTSC / PAL   GOP 18 / 15 frames. MPEG-1 at 352x240 / 352x288 is a VCD, MPEG-2 at 480x480 /
//                480x576 an SVCD, MPEG-2 at 720x480 / 720x576 a DVD: the disc's multiplex
//                (packet size, mux rate), frame rate (29.97 / 25), peak bit rate and buffer
//                (VCD 1150 kbit/s constant, SVCD 2516 peak, DVD 9000 peak), audio (VCD and SVCD
//                MP2 at 44100 Hz, VCD 224 kbit/s; DVD MP2, AC3 or PCM at 48000 Hz).
//   iPod         MPEG-4 Simple Profile, at most 480x480, 2500 kbit/s, 30 frames/s
//   iPod Nano,   MPEG-4 Simple Profile, at most 640x480, 2500 kbit/s, 30 frames/s
//   iPhone
//   Film         GOP 12 with two B-frames (MPEG-1/2/4): best quality per bit for film material
//   HD           GOP 15 with two B-frames, no size limit
//   None         GOP 12, no B-frames
// Audio codec, sample rate and bit rate become the nearest the container and encoder take
// (AudioChoice.cpp), e.g. MP3 in FLV only at 11025/22050/44100 Hz, MP2 below 32 kHz at most
// 160 kbit/s, PCM in MP4 -> AAC, MP2 in MP4 -> MP3.
//
// WMV (Format_WMV): WMV_Custom_Video_Width/Height (0 = source), _FrameRate (0 = 25 for PAL,
// 29.97 for NTSC, the source's for Other), _Bitrate and _PeakBitRate in kbit/s,
// _KeyFrameInterval in seconds, _Buffer_Size in milliseconds (0 = 1000), _Mode CBR (min = max =
// target), VBR_Bitrate (target), VBR_PeakBitrate (target capped at the peak when one is set),
// VBR_Quality (_Quality 0..100). Audio from WMV_Custom_Audio_Format's text, e.g. "128 kbps,
// 44 kHz, stereo CBR"; wmav2 is constant-rate, so the audio mode and peak change nothing.
// *_StreamPresent false leaves that stream out (custom mode only).
//
// Format_AVI / Format_MP3: Audio_Codec "PCM"/"WAV" (Audio_BPS 8 -> 8-bit, else 16-bit), "MP3",
// "MP2", "AC3", "AAC", "None"; Audio_Channels 1 or 2; Audio_SampleRate in Hz.

namespace pellucor::engine {
namespace {

struct FormatDefaults {
    const char* codec;
    const char* aspect;
    const char* audio;
    const char* constraint;
    int width, height;
    const char* frameRate;
    int videoKbps, channels, sampleRate, audioKbps;
};

const FormatDefaults& defaultsFor(Muxer m) {
    static const FormatDefaults mpeg{"MPEG1", "1:1", "MP2", "NTSC", 0, 0, "29.97", 1150, 2, 44100, 224};
    static const FormatDefaults mp4{"MPEG4", "1:1", "MP3", "NTSC", 640, 480, "30", 1150, 2, 48000, 256};
    static const FormatDefaults mov{"MPEG4", "4:3", "AAC", "PAL", 640, 480, "25", 1150, 2, 48000, 320};
    static const FormatDefaults flv{"FLV", "1:1", "MP3", "PAL", 0, 0, "25", 768, 2, 44100, 256};
    static const FormatDefaults asf{"WMV", "1:1", "WMA", "None", 0, 0, "25", 512, 2, 44100, 128};
    static const FormatDefaults avi{"MJPEG", "1:1", "PCM", "None", 0, 0, "0", 1150, 2, 44100, 224};
    switch (m) {
    case Muxer::Mp4: return mp4;
    case Muxer::Mov: return mov;
    case Muxer::Flv: return flv;
    case Muxer::Asf: return asf;
    case Muxer::Avi: return avi;
    default: return mpeg;
    }
}

// The parameter list as name -> value, names upper-cased, the last of a repeated name winning.
class Params {
public:
    explicit Params(const std::vector<std::pair<std::string, std::string>>& list) {
        for (const auto& [name, value] : list) {
            std::string key(trimmed(name));
            for (char& c : key)
                if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            values_[key] = value;
        }
    }
    std::string_view text(const char* name) const {
        auto it = values_.find(name);
        return it == values_.end() ? std::string_view{} : trimmed(it->second);
    }
    // A whole number, or the default when the text is empty or not a number (noted).
    std::int64_t number(const char* name, std::int64_t fallback, std::vector<std::string>& notes) const {
        const std::string_view t = text(name);
        if (t.empty()) return fallback;
        if (auto n = parseInteger(t)) return *n;
        if (auto d = parseDecimal(t)) return static_cast<std::int64_t>(*d);
        notes.push_back(std::string(name) + " '" + std::string(t) + "' is not a number: " +
                        std::to_string(fallback));
        return fallback;
    }

private:
    std::map<std::string, std::string> values_;
};

int gopFor(Constraint c) {
    switch (c) {
    case Constraint::Ntsc: return 18;
    case Constraint::Pal: case Constraint::Hd: return 15;
    default: return 12;
    }
}

void planMpegVideo(const Params& p, const FormatDefaults& def, Constraint constraint,
                   const SourceFacts& source, JobPlan& plan) {
    VideoPlan& v = plan.video;
    auto& notes = plan.notes;
    const TvNorm norm = constraint == Constraint::Ntsc ? TvNorm::Ntsc
                        : constraint == Constraint::Pal ? TvNorm::Pal : TvNorm::None;
    const DeviceLimits* device = deviceLimits(constraint);

    const std::int64_t w = std::max<std::int64_t>(0, p.number("WIDTH", def.width, notes));
    const std::int64_t h = std::max<std::int64_t>(0, p.number("HEIGHT", def.height, notes));
    chooseFrameSize(v.codec, static_cast<int>(std::min<std::int64_t>(w, 8192)),
                    static_cast<int>(std::min<std::int64_t>(h, 8192)), source, device, v.width,
                    v.height, notes);

    // Frame rate: "0" keeps the source's; empty or nonsense is the format's default.
    std::optional<Fraction> rate;
    const std::string_view rateText = p.text("FRAMERATE");
    if (!rateText.empty() && parseDecimal(rateText) == 0.0) rate = source.frameRate;
    else if (!rateText.empty()) rate = parseFrameRate(rateText);
    if (!rateText.empty() && !rate && parseDecimal(rateText) != 0.0)
        notes.push_back("FRAMERATE '" + std::string(rateText) + "' is not a frame rate: " + def.frameRate);
    if (!rate || !rate->valid()) rate = parseFrameRate(def.frameRate);
    if (!rate || !rate->valid()) rate = source.frameRate.valid() ? source.frameRate : Fraction{25, 1};
    if (device && rate->value() > device->maxFrameRate + 0.01)
        rate = rate->den == 1001 ? Fraction{30000, 1001} : Fraction{30, 1};

    std::int64_t target = p.number("VIDEO_BITRATE", def.videoKbps, notes) * 1000;
    if (target <= 0) target = def.videoKbps * 1000LL;
    if (device && target > device->maxBitRate) {
        notes.push_back("video bit rate " + std::to_string(target / 1000) + " kbit/s -> " +
                        std::to_string(device->maxBitRate / 1000) + " kbit/s: the device's limit");
        target = device->maxBitRate;
    }
    auto mode = rateModeFromText(p.text("VIDEO_BITRATE_MODE"));
    if (!mode && !p.text("VIDEO_BITRATE_MODE").empty())
        notes.push_back("VIDEO_BITRATE_MODE '" + std::string(p.text("VIDEO_BITRATE_MODE")) + "' is unknown: MVBR");
    v.rate = rateControlFor(mode.value_or(RateMode::Mvbr), target);
    v.gopSize = gopFor(constraint);

    const bool mpegFamily = v.codec == VideoCodec::Mpeg1 || v.codec == VideoCodec::Mpeg2 ||
                            v.codec == VideoCodec::Mpeg4;
    if ((constraint == Constraint::Film || constraint == Constraint::Hd) && mpegFamily) v.maxBFrames = 2;
    if (device && v.codec == VideoCodec::Mpeg4) {
        v.profile = 0;  // FF_PROFILE_MPEG4_SIMPLE
        v.level = (v.width <= 352 && v.height <= 288 && v.rate.bitRate <= 384000) ? 3 : 5;
    }

    const DiscTarget* disc = (plan.container.muxer == Muxer::Mpeg || plan.container.muxer == Muxer::Vob)
                                 ? discTargetFor(v.codec, v.width, v.height, norm)
                                 : nullptr;
    if (disc) {
        plan.container.muxer = disc->muxer;
        plan.container.packetSize = disc->packetSize;
        plan.container.muxRate = disc->muxRate;
        plan.container.preloadMicros = disc->preloadMicros;
        if (!(reduced(*rate) == disc->frameRate))
            notes.push_back("frame rate -> " + std::to_string(disc->frameRate.num) + "/" +
                            std::to_string(disc->frameRate.den) + ": a " + disc->name + " has no other");
        rate = disc->frameRate;
        v.gopSize = disc->gopSize;
        if (disc->minVideoRate) {
            if (v.rate.bitRate != disc->minVideoRate)
                notes.push_back("video bit rate -> " + std::to_string(disc->minVideoRate / 1000) +
                                " kbit/s constant: a " + disc->name + " has no other");
            v.rate = rateControlFor(RateMode::Cbr, disc->minVideoRate);
        } else {
            v.rate.bitRate = std::min(v.rate.bitRate, disc->maxVideoRate);
            v.rate.maxRate = disc->maxVideoRate;
            v.rate.minRate = 0;
        }
        v.rate.bufferSize = disc->bufferSize;
        v.scanOffset = disc->scanOffset;
    } else if (v.codec == VideoCodec::Mpeg1 || v.codec == VideoCodec::Mpeg2) {
        // The largest buffer an MPEG-2 Main Profile decoder has (and MPEG-1 players in practice).
        v.rate.bufferSize = std::min<std::int64_t>(v.rate.bufferSize, 1835008);
    }
    v.frameRate = legalFrameRate(v.codec, *rate, notes);

    // Shape: "1:1" is square pixels whatever the frame size; another ratio is the display
    // aspect of the whole frame; empty keeps the source's display aspect.
    const std::string_view aspectText = p.text("ASPECT_RATIO").empty() ? std::string_view(def.aspect)
                                                                      : p.text("ASPECT_RATIO");
    const auto aspect = parseRatio(aspectText);
    if (!aspect)
        notes.push_back("ASPECT_RATIO '" + std::string(aspectText) + "' is not a ratio: square pixels");
    if (!aspect || (aspect->num == aspect->den)) {
        v.sampleAspect = Fraction{1, 1};
    } else {
        v.sampleAspect = sampleAspectFor(*aspect, v.width, v.height);
    }
    v.picture = fitPicture(source.width, source.height, source.sampleAspect, v.width, v.height,
                           v.sampleAspect);
}

JobPlan planStandard(const JobRequest& r, const SourceFacts& source) {
    const auto muxer = muxerForExtension(r.Output_File_Name);
    if (!muxer || *muxer == Muxer::Mp3)
        throw EngineError(Error_Settings,
                          "The output name '" + r.Output_File_Name +
                              "' has no extension this format writes (.mpeg, .mpg, .mp4, .m4v, "
                              ".mov, .flv, .wmv, .avi)");
    JobPlan plan;
    plan.container.muxer = *muxer;
    const Params p(r.params);
    const FormatDefaults& def = defaultsFor(*muxer);

    auto constraint = constraintFromText(p.text("CONSTRAINT"));
    if (!constraint && !p.text("CONSTRAINT").empty())
        plan.notes.push_back("CONSTRAINT '" + std::string(p.text("CONSTRAINT")) + "' is unknown: None");
    if (!constraint && p.text("CONSTRAINT").empty()) constraint = constraintFromText(def.constraint);

    if (source.hasVideo) {
        auto codec = videoCodecFromText(p.text("OUTPUT_FORMAT"));
        if (!codec) codec = videoCodecFromText(p.text("VIDEO_FORMAT"));
        VideoCodec c = codec.value_or(*videoCodecFromText(def.codec));
        if (*muxer == Muxer::Mpeg && c == VideoCodec::Mpeg2) plan.container.muxer = Muxer::Vob;
        if (!accepts(plan.container.muxer, c)) {
            const VideoCodec fallback = acceptedVideo(plan.container.muxer).front();
            plan.notes.push_back(std::string("video codec ") + codecName(c) + " -> " +
                                 codecName(fallback) + ": " + muxerName(plan.container.muxer) +
                                 " does not carry it");
            c = fallback;
        }
        plan.video.codec = c;
        plan.video.fullRange = c == VideoCodec::Mjpeg;
        planMpegVideo(p, def, constraint.value_or(Constraint::None), source, plan);
    } else if (*muxer == Muxer::Mpeg && videoCodecFromText(p.text("OUTPUT_FORMAT")) == VideoCodec::Mpeg2) {
        plan.container.muxer = Muxer::Vob;
    }

    if (source.hasAudio) {
        const std::string_view codecText = p.text("AUDIO_FORMAT");
        auto codec = audioCodecFromText(codecText);
        if (!codec && !codecText.empty())
            plan.notes.push_back("AUDIO_FORMAT '" + std::string(codecText) + "' is unknown: the container's default");
        AudioPlan wanted;
        wanted.codec = codec.value_or(audioCodecFromText(def.audio).value_or(AudioCodec::None));
        wanted.channels = static_cast<int>(p.number("AUDIO_CHANNELS", def.channels, plan.notes));
        if (wanted.channels <= 0) wanted.channels = def.channels;
        wanted.sampleRate = static_cast<int>(
            std::clamp<std::int64_t>(p.number("AUDIO_SAMPLE_RATE", def.sampleRate, plan.notes), 0, 192000));
        if (wanted.sampleRate <= 0) wanted.sampleRate = def.sampleRate;
        wanted.bitRate = p.number("AUDIO_BITRATE", def.audioKbps, plan.notes) * 1000;
        if (wanted.bitRate <= 0) wanted.bitRate = def.audioKbps * 1000LL;
        const DiscTarget* disc = nullptr;
        if (plan.video.codec != VideoCodec::None) {
            const TvNorm norm = constraint == Constraint::Ntsc ? TvNorm::Ntsc
                                : constraint == Constraint::Pal ? TvNorm::Pal : TvNorm::None;
            disc = discTargetFor(plan.video.codec, plan.video.width, plan.video.height, norm);
            if (disc && disc->muxer != plan.container.muxer) disc = nullptr;
        }
        plan.audio = legalAudio(plan.container.muxer, disc, wanted, plan.notes);
    }
    return plan;
}

AudioPlan audioFromProperties(const JobRequest& r, std::vector<std::string>& notes) {
    AudioPlan a;
    auto codec = audioCodecFromText(r.Audio_Codec);
    if (!codec) {
        if (!trimmed(r.Audio_Codec).empty())
            notes.push_back("Audio_Codec '" + r.Audio_Codec + "' is unknown: PCM");
        codec = AudioCodec::PcmS16le;
    }
    a.codec = *codec;
    if (a.codec == AudioCodec::PcmS16le && r.Audio_BPS > 0 && r.Audio_BPS <= 8) a.codec = AudioCodec::PcmU8;
    a.channels = r.Audio_Channels > 0 ? r.Audio_Channels : 2;
    a.sampleRate = r.Audio_SampleRate > 0 ? r.Audio_SampleRate : 44100;
    static const std::map<AudioCodec, int> kbps{
        {AudioCodec::Mp2, 224}, {AudioCodec::Mp3, 192}, {AudioCodec::Ac3, 192}, {AudioCodec::Aac, 160}};
    a.bitRate = kbps.count(a.codec) ? kbps.at(a.codec) * 1000LL : 0;
    return a;
}

JobPlan planAvi(const JobRequest& r, const SourceFacts& source) {
    JobPlan plan;
    plan.container.muxer = Muxer::Avi;
    if (source.hasVideo) {
        VideoPlan& v = plan.video;
        v.codec = VideoCodec::Mjpeg;
        v.fullRange = true;
        chooseFrameSize(v.codec, 0, 0, source, nullptr, v.width, v.height, plan.notes);
        v.sampleAspect = source.sampleAspect.valid() ? source.sampleAspect : Fraction{1, 1};
        v.picture = PictureRect{0, 0, v.width, v.height};
        v.frameRate = legalFrameRate(v.codec, source.frameRate.valid() ? source.frameRate : Fraction{25, 1},
                                     plan.notes);
        v.rate.quality = 3;  // Motion JPEG has no bit-rate control worth the name; fixed quality
        v.gopSize = 1;
    }
    if (source.hasAudio) {
        plan.audio = legalAudio(Muxer::Avi, nullptr, audioFromProperties(r, plan.notes), plan.notes);
    }
    return plan;
}

JobPlan planMp3(const JobRequest& r, const SourceFacts& source) {
    if (!source.hasAudio)
        throw EngineError(Error_Nothing, "The source has no audio, so there is nothing to put into an MP3 file");
    JobPlan plan;
    plan.container.muxer = Muxer::Mp3;
    AudioPlan a;
    a.codec = AudioCodec::Mp3;
    // The sample width means nothing to MP3; the presets use 8 for "small" and 16 for "best".
    a.vbrQuality = r.Audio_BPS == 8 ? 5 : 2;
    a.channels = r.Audio_Channels > 0 ? r.Audio_Channels : 2;
    a.sampleRate = r.Audio_SampleRate > 0 ? r.Audio_SampleRate : 44100;
    plan.audio = legalAudio(Muxer::Mp3, nullptr, a, plan.notes);
    return plan;
}

} // namespace

JobPlan planJob(const JobRequest& request, const SourceFacts& source) {
    if (!source.hasVideo && !source.hasAudio)
        throw EngineError(Error_Nothing, "The source holds neither video nor audio that can be decoded");
    JobPlan plan;
    switch (request.Output_Format) {
    case Format_IndStr_Standard_MPEG: plan = planStandard(request, source); break;
    case Format_WMV: plan = planWmv(request, source); break;
    case Format_AVI: plan = planAvi(request, source); break;
    case Format_MP3: plan = planMp3(request, source); break;
    default:
        throw EngineError(Error_Settings,
                          "Unknown output format " + std::to_string(static_cast<int>(request.Output_Format)));
    }
    if (plan.video.codec == VideoCodec::None && plan.audio.codec == AudioCodec::None)
        throw EngineError(Error_Nothing,
                          "Nothing to convert: the source has no video and the profile asks for no audio");
    return plan;
}

} // namespace pellucor::engine
