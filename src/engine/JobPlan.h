#pragma once
// What one conversion will produce, decided before any FFmpeg object exists.
//
// The planner (EncoderSettings) turns the component's properties and parameter texts, together
// with what the source holds, into this plain description; the transcoder only carries it out.
// Keeping the decisions here, free of FFmpeg types, lets the parameter rules be read and tested
// on their own. Plain values; copied freely between threads.
#include "engine/NumberText.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pellucor::engine {

enum class VideoCodec { None, Mpeg1, Mpeg2, Mpeg4, Flv1, Wmv2, Mjpeg };
enum class AudioCodec { None, Mp2, Mp3, Aac, Ac3, PcmS16le, PcmS16be, PcmU8, Wmav2 };
// The FFmpeg muxer of each kind of output; Mpeg is the MPEG-1 system stream, Vob the MPEG-2
// program stream, Vcd/Svcd/Dvd the disc multiplexes.
enum class Muxer { Mpeg, Vob, Vcd, Svcd, Dvd, Mp4, Mov, Flv, Asf, Avi, Mp3 };

const char* codecName(VideoCodec c);  // FFmpeg encoder name, "" for None
const char* codecName(AudioCodec c);
const char* muxerName(Muxer m);       // FFmpeg muxer name

struct PictureRect {
    int x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const PictureRect&, const PictureRect&) = default;
};

// Bit rates in bit/s. Zero means "not set" (the encoder's own behaviour).
struct RateControl {
    std::int64_t bitRate = 0;
    std::int64_t minRate = 0;
    std::int64_t maxRate = 0;
    std::int64_t bufferSize = 0;  // bits
    std::int64_t tolerance = 0;   // how far the running average may stray, bits
    int quality = 0;              // > 0: constant quantiser 1..31 instead of a bit rate
    int minQuantiser = 0;         // finest quantiser the rate control may use, 0 = encoder's (2)
};

struct VideoPlan {
    VideoCodec codec = VideoCodec::None;
    int width = 0, height = 0;        // encoded frame size, even
    Fraction sampleAspect{1, 1};      // shape of one encoded pixel
    PictureRect picture;              // where the source goes; the rest is black
    Fraction frameRate;               // exact output rate
    RateControl rate;
    int gopSize = 12;
    int maxBFrames = 0;
    int profile = -99, level = -99;   // FF_PROFILE_UNKNOWN / FF_LEVEL_UNKNOWN unless a device asks
    bool scanOffset = false;          // SVCD players want the scan offset in MPEG-2 headers
    bool fullRange = false;           // MJPEG is full-range JPEG colour
};

struct AudioPlan {
    AudioCodec codec = AudioCodec::None;
    int sampleRate = 0;
    int channels = 0;
    std::int64_t bitRate = 0;  // bit/s; 0 for PCM and for quality-based MP3
    int vbrQuality = -1;       // LAME VBR quality 0 (best) .. 9, -1 for a bit rate
    int frameSamples = 0;      // PCM samples per packet, 0 = the usual 1024
};

struct ContainerPlan {
    Muxer muxer = Muxer::Avi;
    int packetSize = 0;             // bytes, 0 = muxer default
    std::int64_t muxRate = 0;       // bit/s, 0 = muxer default
    std::int64_t preloadMicros = -1;  // -1 = muxer default
};

struct JobPlan {
    ContainerPlan container;
    VideoPlan video;
    AudioPlan audio;
    // One line per value the planner replaced with the nearest one that works ("audio sample
    // rate 22050 Hz -> 44100 Hz: FLV takes MP3 only at 11025, 22050 and 44100 Hz"). Written to
    // standard error when Debug_Mode is on.
    std::vector<std::string> notes;
};

// One line saying what the plan writes, for Debug_Mode.
std::string describe(const JobPlan& plan);

// What the planner needs to know about the source.
struct SourceFacts {
    bool hasVideo = false;
    int width = 0, height = 0;
    Fraction sampleAspect{1, 1};
    Fraction frameRate;  // invalid when the source does not say
    bool hasAudio = false;
    int sampleRate = 0;
    int channels = 0;
};

} // namespace pellucor::engine
