#include "engine/JobPlan.h"

#include <sstream>

namespace pellucor::engine {

const char* codecName(VideoCodec c) {
    switch (c) {
    case VideoCodec::None: return "";
    case VideoCodec::Mpeg1: return "mpeg1video";
    case VideoCodec::Mpeg2: return "mpeg2video";
    case VideoCodec::Mpeg4: return "mpeg4";
    case VideoCodec::Flv1: return "flv";
    case VideoCodec::Wmv2: return "wmv2";
    case VideoCodec::Mjpeg: return "mjpeg";
    }
    return "";
}

const char* codecName(AudioCodec c) {
    switch (c) {
    case AudioCodec::None: return "";
    case AudioCodec::Mp2: return "mp2";
    case AudioCodec::Mp3: return "libmp3lame";
    case AudioCodec::Aac: return "aac";
    case AudioCodec::Ac3: return "ac3";
    case AudioCodec::PcmS16le: return "pcm_s16le";
    case AudioCodec::PcmS16be: return "pcm_s16be";
    case AudioCodec::PcmU8: return "pcm_u8";
    case AudioCodec::Wmav2: return "wmav2";
    }
    return "";
}

const char* muxerName(Muxer m) {
    switch (m) {
    case Muxer::Mpeg: return "mpeg";
    case Muxer::Vob: return "vob";
    case Muxer::Vcd: return "vcd";
    case Muxer::Svcd: return "svcd";
    case Muxer::Dvd: return "dvd";
    case Muxer::Mp4: return "mp4";
    case Muxer::Mov: return "mov";
    case Muxer::Flv: return "flv";
    case Muxer::Asf: return "asf";
    case Muxer::Avi: return "avi";
    case Muxer::Mp3: return "mp3";
    }
    return "";
}

std::string describe(const JobPlan& p) {
    std::ostringstream out;
    out << muxerName(p.container.muxer) << ":";
    if (p.video.codec != VideoCodec::None) {
        const VideoPlan& v = p.video;
        out << " video " << codecName(v.codec) << " " << v.width << "x" << v.height << " (picture " << v.picture.width
            << "x" << v.picture.height << " at " << v.picture.x << "," << v.picture.y << ", pixels " << v.sampleAspect.num
            << ":" << v.sampleAspect.den << ") " << v.frameRate.num << "/" << v.frameRate.den << " fps, ";
        if (v.rate.quality) out << "quantiser " << v.rate.quality;
        else out << v.rate.bitRate / 1000 << " kbit/s (peak " << v.rate.maxRate / 1000 << ", buffer " << v.rate.bufferSize
                 << ", finest quantiser " << v.rate.minQuantiser << ")";
        out << ", GOP " << v.gopSize << ", B-frames " << v.maxBFrames << ";";
    }
    if (p.audio.codec != AudioCodec::None) {
        const AudioPlan& a = p.audio;
        out << " audio " << codecName(a.codec) << " " << a.sampleRate << " Hz " << a.channels << " ch ";
        if (a.vbrQuality >= 0) out << "VBR quality " << a.vbrQuality;
        else out << a.bitRate / 1000 << " kbit/s";
    }
    return out.str();
}

} // namespace pellucor::engine
