#pragma once
// Which container an output name asks for, what each container can carry, and the disc
// multiplexes (VCD, SVCD, DVD) with the numbers `ffmpeg -target` uses for them.
// Pure tables; any thread.
#include "engine/JobPlan.h"

#include <optional>
#include <string_view>
#include <vector>

namespace pellucor::engine {

// By the output name's extension, case-insensitive: .mpeg/.mpg/.mpe -> MPEG program stream
// (Mpeg; the video codec later picks Vob for MPEG-2), .mp4/.m4v -> Mp4, .mov/.qt -> Mov,
// .flv -> Flv, .wmv/.asf -> Asf, .avi -> Avi, .mp3 -> Mp3. Anything else: nullopt.
std::optional<Muxer> muxerForExtension(std::string_view fileName);

// What the container carries, its default first. The lists are ours, not FFmpeg's: they
// leave out what FFmpeg would write but players commonly refuse or misread (PCM in MPEG-1
// system streams, MP2 in MP4, which readers take for MP3).
const std::vector<VideoCodec>& acceptedVideo(Muxer m);
const std::vector<AudioCodec>& acceptedAudio(Muxer m);
bool accepts(Muxer m, VideoCodec c);
bool accepts(Muxer m, AudioCodec c);

enum class TvNorm { None, Ntsc, Pal };

// One disc standard for one TV norm.
struct DiscTarget {
    const char* name;  // "DVD NTSC", for notes
    Muxer muxer;
    VideoCodec codec;
    TvNorm norm;
    int width, height;
    Fraction frameRate;
    int gopSize;
    std::int64_t maxVideoRate;  // bit/s
    std::int64_t minVideoRate;  // bit/s; equal to max for the constant-rate VCD
    std::int64_t bufferSize;    // bits
    bool scanOffset;
    std::vector<AudioCodec> audio;  // accepted audio, default first
    std::vector<int> sampleRates;   // accepted rates, default first
    std::int64_t audioBitRate;      // forced audio bit rate (VCD), 0 = free
    int packetSize;
    std::int64_t muxRate;           // 0 = muxer default
    std::int64_t preloadMicros;     // -1 = muxer default
};

// The disc whose codec, frame size and norm these are, or nullptr.
const DiscTarget* discTargetFor(VideoCodec codec, int width, int height, TvNorm norm);

} // namespace pellucor::engine
