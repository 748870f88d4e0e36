#include "engine/VideoChoice.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace pellucor::engine {

std::optional<VideoCodec> videoCodecFromText(std::string_view text) {
    const std::string t = lowerAscii(trimmed(text));
    if (t == "mpeg1") return VideoCodec::Mpeg1;
    if (t == "mpeg2") return VideoCodec::Mpeg2;
    if (t == "mpeg4") return VideoCodec::Mpeg4;
    if (t == "flv" || t == "flash video" || t == "flash vedio") return VideoCodec::Flv1;
    if (t == "wmv" || t.rfind("windows media video", 0) == 0) return VideoCodec::Wmv2;
    if (t == "mjpeg") return VideoCodec::Mjpeg;
    return std::nullopt;
}

std::optional<Constraint> constraintFromText(std::string_view text) {
    const std::string t = lowerAscii(trimmed(text));
    if (t == "ntsc") return Constraint::Ntsc;
    if (t == "pal") return Constraint::Pal;
    if (t == "ipod") return Constraint::IPod;
    if (t == "ipod nano") return Constraint::IPodNano;
    if (t == "iphone") return Constraint::IPhone;
    if (t == "film") return Constraint::Film;
    if (t == "hd") return Constraint::Hd;
    if (t == "none") return Constraint::None;
    return std::nullopt;
}

const DeviceLimits* deviceLimits(Constraint c) {
    // Apple's published video limits for MPEG-4: Simple Profile, 2.5 Mbit/s, 30 frames/s;
    // 480x480 on the video iPod, 640x480 on the iPod nano and the iPhone.
    static const DeviceLimits ipod{480, 480, 2500000, 30.0};
    static const DeviceLimits wide{640, 480, 2500000, 30.0};
    switch (c) {
    case Constraint::IPod: return &ipod;
    case Constraint::IPodNano:
    case Constraint::IPhone: return &wide;
    default: return nullptr;
    }
}

void chooseFrameSize(VideoCodec codec, int wantWidth, int wantHeight, const SourceFacts& source,
                     const DeviceLimits* device, int& width, int& height,
                     std::vector<std::string>& notes) {
    width = wantWidth > 0 ? wantWidth : source.width;
    height = wantHeight > 0 ? wantHeight : source.height;
    const int askedW = width, askedH = height;
    if (device && (width > device->maxWidth || height > device->maxHeight)) {
        const double scale = std::min(static_cast<double>(device->maxWidth) / width,
                                      static_cast<double>(device->maxHeight) / height);
        width = static_cast<int>(width * scale);
        height = static_cast<int>(height * scale);
    }
    // MPEG-1/2 sequence headers hold 12-bit sizes.
    const int most = (codec == VideoCodec::Mpeg1 || codec == VideoCodec::Mpeg2) ? 4094 : 8192;
    width = std::clamp(width / 2 * 2, 16, most);
    height = std::clamp(height / 2 * 2, 16, most);
    if (width != askedW || height != askedH)
        notes.push_back("frame size " + std::to_string(askedW) + "x" + std::to_string(askedH) +
                        " -> " + std::to_string(width) + "x" + std::to_string(height) +
                        (device ? ": within the device's limits, even sizes"
                                : ": the encoder needs even sizes"));
}

Fraction sampleAspectFor(Fraction displayAspect, int width, int height) {
    std::int64_t num = static_cast<std::int64_t>(displayAspect.num) * height;
    std::int64_t den = static_cast<std::int64_t>(displayAspect.den) * width;
    const std::int64_t g = std::gcd(num, den);
    if (g > 1) {
        num /= g;
        den /= g;
    }
    while (num > 65535 || den > 65535) {  // keep it representable in every header
        num = (num + 1) / 2;
        den = (den + 1) / 2;
    }
    return reduced(Fraction{static_cast<int>(std::max<std::int64_t>(num, 1)),
                            static_cast<int>(std::max<std::int64_t>(den, 1))});
}

PictureRect fitPicture(int srcWidth, int srcHeight, Fraction srcSampleAspect, int width,
                       int height, Fraction sampleAspect) {
    if (srcWidth <= 0 || srcHeight <= 0 || !srcSampleAspect.valid() || !sampleAspect.valid())
        return PictureRect{0, 0, width, height};
    // Display aspect of the source, and the width the frame's pixels give it at full height.
    const double srcDisplay = srcWidth * srcSampleAspect.value() / srcHeight;
    const double fullHeightWidth = height * srcDisplay / sampleAspect.value();
    int w = width, h = height;
    if (fullHeightWidth <= width) w = static_cast<int>(std::lround(fullHeightWidth));
    else h = static_cast<int>(std::lround(width * sampleAspect.value() / srcDisplay));
    // A bar of a pixel or two is rounding, not a different shape: fill the frame instead.
    if (width - w < 4) w = width;
    if (height - h < 4) h = height;
    w = std::max(2, w / 2 * 2);
    h = std::max(2, h / 2 * 2);
    const int x = (width - w) / 4 * 2;
    const int y = (height - h) / 4 * 2;
    return PictureRect{x, y, w, h};
}

Fraction legalFrameRate(VideoCodec codec, Fraction wanted, std::vector<std::string>& notes) {
    Fraction out = wanted.valid() ? reduced(wanted) : Fraction{25, 1};
    if (codec == VideoCodec::Mpeg1 || codec == VideoCodec::Mpeg2) {
        static const Fraction standard[] = {{24000, 1001}, {24, 1}, {25, 1}, {30000, 1001},
                                            {30, 1},       {50, 1}, {60000, 1001}, {60, 1}};
        Fraction best = standard[0];
        for (const Fraction& f : standard) {
            const double d = std::fabs(f.value() - out.value());
            const double bd = std::fabs(best.value() - out.value());
            if (d < bd - 1e-9 || (std::fabs(d - bd) <= 1e-9 && f.value() > best.value())) best = f;
        }
        out = best;
    } else if (out.num > 65535 || out.den > 65535) {
        out = frameRateOf(out.value()).value_or(Fraction{25, 1});
        if (out.num > 65535) out = Fraction{static_cast<int>(std::lround(out.value())), 1};
    }
    if (wanted.valid() && !(out == reduced(wanted)))
        notes.push_back("frame rate " + std::to_string(wanted.num) + "/" + std::to_string(wanted.den) +
                        " -> " + std::to_string(out.num) + "/" + std::to_string(out.den) +
                        ": the nearest rate the codec can signal");
    return out;
}

std::optional<RateMode> rateModeFromText(std::string_view text) {
    const std::string t = lowerAscii(trimmed(text));
    if (t == "mvbr") return RateMode::Mvbr;
    if (t == "cbr") return RateMode::Cbr;
    if (t == "vbr") return RateMode::Vbr;
    return std::nullopt;
}

RateControl rateControlFor(RateMode mode, std::int64_t target, std::int64_t peak, int bufferMillis,
                           int quality) {
    RateControl rc;
    if (mode == RateMode::Quality) {
        // 100 -> quantiser 2 (best the MPEG family offers), 0 -> 31 (worst).
        rc.quality = std::clamp(31 - std::clamp(quality, 0, 100) * 29 / 100, 2, 31);
        return rc;
    }
    rc.bitRate = target;
    rc.tolerance = target / 4;
    // FFmpeg stops at quantiser 2, so simple or small pictures fall far short of a generous
    // target; quantiser 1 lets the rate control spend what was asked for.
    rc.minQuantiser = 1;
    const std::int64_t buffer = target * std::max(bufferMillis, 100) / 1000;
    switch (mode) {
    case RateMode::Mvbr:
        rc.maxRate = target * 3 / 2;
        rc.bufferSize = target;
        break;
    case RateMode::Cbr:
        rc.minRate = rc.maxRate = target;
        rc.bufferSize = buffer;
        break;
    case RateMode::PeakVbr:
        if (peak > target) {
            rc.maxRate = peak;
            rc.bufferSize = buffer;
        }
        break;
    case RateMode::Vbr:
    case RateMode::Quality:
        break;
    }
    return rc;
}

} // namespace pellucor::engine
