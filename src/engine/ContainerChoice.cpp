#include "engine/ContainerChoice.h"

#include <algorithm>
#include <array>

namespace pellucor::engine {

std::optional<Muxer> muxerForExtension(std::string_view fileName) {
    const auto slash = fileName.find_last_of('/');
    const std::string_view leaf = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    const auto dot = leaf.find_last_of('.');
    if (dot == std::string_view::npos) return std::nullopt;
    const std::string ext = lowerAscii(trimmed(leaf.substr(dot)));
    struct Entry { const char* ext; Muxer muxer; };
    static constexpr std::array<Entry, 12> table{{
        {".mpeg", Muxer::Mpeg}, {".mpg", Muxer::Mpeg}, {".mpe", Muxer::Mpeg},
        {".mp4", Muxer::Mp4},   {".m4v", Muxer::Mp4},  {".mov", Muxer::Mov},
        {".qt", Muxer::Mov},    {".flv", Muxer::Flv},  {".wmv", Muxer::Asf},
        {".asf", Muxer::Asf},   {".avi", Muxer::Avi},  {".mp3", Muxer::Mp3},
    }};
    for (const auto& e : table)
        if (ext == e.ext) return e.muxer;
    return std::nullopt;
}

const std::vector<VideoCodec>& acceptedVideo(Muxer m) {
    using V = VideoCodec;
    static const std::vector<V> mpeg1{V::Mpeg1}, mpeg2{V::Mpeg2};
    static const std::vector<V> mp4{V::Mpeg4, V::Mpeg2, V::Mpeg1};
    static const std::vector<V> mov{V::Mpeg4, V::Mpeg2, V::Mpeg1, V::Mjpeg};
    static const std::vector<V> flv{V::Flv1}, asf{V::Wmv2}, none{};
    static const std::vector<V> avi{V::Mjpeg, V::Mpeg4, V::Mpeg1, V::Mpeg2, V::Wmv2, V::Flv1};
    switch (m) {
    case Muxer::Mpeg: case Muxer::Vcd: return mpeg1;
    case Muxer::Vob: case Muxer::Svcd: case Muxer::Dvd: return mpeg2;
    case Muxer::Mp4: return mp4;
    case Muxer::Mov: return mov;
    case Muxer::Flv: return flv;
    case Muxer::Asf: return asf;
    case Muxer::Avi: return avi;
    case Muxer::Mp3: return none;
    }
    return none;
}

const std::vector<AudioCodec>& acceptedAudio(Muxer m) {
    using A = AudioCodec;
    static const std::vector<A> mpeg{A::Mp2, A::Mp3, A::Ac3};
    static const std::vector<A> vob{A::Mp2, A::Mp3, A::Ac3, A::PcmS16be};
    static const std::vector<A> mp2Only{A::Mp2};
    static const std::vector<A> dvd{A::Mp2, A::Ac3, A::PcmS16be};
    static const std::vector<A> mp4{A::Aac, A::Mp3, A::Ac3};
    static const std::vector<A> mov{A::Aac, A::Mp3, A::Mp2, A::Ac3, A::PcmS16be};
    static const std::vector<A> flv{A::Mp3, A::Aac, A::PcmS16le};
    static const std::vector<A> asf{A::Wmav2};
    static const std::vector<A> avi{A::PcmS16le, A::PcmU8, A::Mp3, A::Mp2, A::Ac3, A::Aac};
    static const std::vector<A> mp3{A::Mp3};
    switch (m) {
    case Muxer::Mpeg: return mpeg;
    case Muxer::Vob: return vob;
    case Muxer::Vcd: case Muxer::Svcd: return mp2Only;
    case Muxer::Dvd: return dvd;
    case Muxer::Mp4: return mp4;
    case Muxer::Mov: return mov;
    case Muxer::Flv: return flv;
    case Muxer::Asf: return asf;
    case Muxer::Avi: return avi;
    case Muxer::Mp3: return mp3;
    }
    return mp3;
}

bool accepts(Muxer m, VideoCodec c) {
    const auto& list = acceptedVideo(m);
    return std::find(list.begin(), list.end(), c) != list.end();
}

bool accepts(Muxer m, AudioCodec c) {
    const auto& list = acceptedAudio(m);
    return std::find(list.begin(), list.end(), c) != list.end();
}

namespace {

// The numbers of `ffmpeg -target vcd|svcd|dvd`, which follow the disc standards.
const std::vector<DiscTarget>& discTargets() {
    using A = AudioCodec;
    static const std::vector<DiscTarget> targets{
        {"VCD NTSC", Muxer::Vcd, VideoCodec::Mpeg1, TvNorm::Ntsc, 352, 240, {30000, 1001}, 18,
         1150000, 1150000, 327680, false, {A::Mp2}, {44100}, 224000, 2324, 1411200, 440000},
        {"VCD PAL", Muxer::Vcd, VideoCodec::Mpeg1, TvNorm::Pal, 352, 288, {25, 1}, 15,
         1150000, 1150000, 327680, false, {A::Mp2}, {44100}, 224000, 2324, 1411200, 440000},
        {"SVCD NTSC", Muxer::Svcd, VideoCodec::Mpeg2, TvNorm::Ntsc, 480, 480, {30000, 1001}, 18,
         2516000, 0, 1835008, true, {A::Mp2}, {44100}, 0, 2324, 0, -1},
        {"SVCD PAL", Muxer::Svcd, VideoCodec::Mpeg2, TvNorm::Pal, 480, 576, {25, 1}, 15,
         2516000, 0, 1835008, true, {A::Mp2}, {44100}, 0, 2324, 0, -1},
        {"DVD NTSC", Muxer::Dvd, VideoCodec::Mpeg2, TvNorm::Ntsc, 720, 480, {30000, 1001}, 18,
         9000000, 0, 1835008, false, {A::Mp2, A::Ac3, A::PcmS16be}, {48000}, 0, 2048, 10080000, -1},
        {"DVD PAL", Muxer::Dvd, VideoCodec::Mpeg2, TvNorm::Pal, 720, 576, {25, 1}, 15,
         9000000, 0, 1835008, false, {A::Mp2, A::Ac3, A::PcmS16be}, {48000}, 0, 2048, 10080000, -1},
    };
    return targets;
}

} // namespace

const DiscTarget* discTargetFor(VideoCodec codec, int width, int height, TvNorm norm) {
    for (const auto& t : discTargets())
        if (t.codec == codec && t.width == width && t.height == height && t.norm == norm) return &t;
    return nullptr;
}

} // namespace pellucor::engine
