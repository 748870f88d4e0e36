#include "editor/ValueLists.h"

#include <array>

namespace pellucor::editor {

namespace {

using namespace std::string_view_literals;

constexpr std::array kFrameSizes{
    "80*60"sv,    "96*72"sv,    "128*96"sv,   "160*120"sv,   "176*96"sv,    "176*120"sv,
    "176*144"sv,  "192*144"sv,  "208*160"sv,  "240*176"sv,   "240*180"sv,   "320*176"sv,
    "320*180"sv,  "320*192"sv,  "320*200"sv,  "320*240"sv,   "352*240"sv,   "352*288"sv,
    "368*208"sv,  "384*160"sv,  "400*192"sv,  "416*176"sv,   "480*160"sv,   "480*272"sv,
    "480*480"sv,  "480*576"sv,  "512*384"sv,  "640*360"sv,   "640*480"sv,   "720*432"sv,
    "720*480"sv,  "720*576"sv,  "800*450"sv,  "800*600"sv,   "960*540"sv,   "960*720"sv,
    "1024*576"sv, "1024*768"sv, "1024*1080"sv, "1280*720"sv, "1280*960"sv,  "1440*1080"sv,
    "Original"sv};
static_assert(kFrameSizes.size() == 43);

// The WMV page's own list: the master sizes without "Original" (the WMV encoder needs a size),
// with 512*384 before 480*576 and the two 1280 sizes before 1024*1080. The page matches stored
// texts, never positions, so this order is only what the user sees.
constexpr std::array kWmvFrameSizes{
    "80*60"sv,    "96*72"sv,    "128*96"sv,   "160*120"sv,  "176*96"sv,    "176*120"sv,
    "176*144"sv,  "192*144"sv,  "208*160"sv,  "240*176"sv,  "240*180"sv,   "320*176"sv,
    "320*180"sv,  "320*192"sv,  "320*200"sv,  "320*240"sv,  "352*240"sv,   "352*288"sv,
    "368*208"sv,  "384*160"sv,  "400*192"sv,  "416*176"sv,  "480*160"sv,   "480*272"sv,
    "480*480"sv,  "512*384"sv,  "480*576"sv,  "640*360"sv,  "640*480"sv,   "720*432"sv,
    "720*480"sv,  "720*576"sv,  "800*450"sv,  "800*600"sv,  "960*540"sv,   "960*720"sv,
    "1024*576"sv, "1024*768"sv, "1280*720"sv, "1280*960"sv, "1024*1080"sv, "1440*1080"sv};
static_assert(kWmvFrameSizes.size() == 42);

constexpr std::array kAspectRatios{"1:1"sv, "4:3"sv, "16:9"sv, "2.21:1"sv};
constexpr std::array kVideoBitrates{"128"sv,  "256"sv,   "512"sv,   "768"sv,   "1024"sv,
                                    "1150"sv, "2048"sv,  "2376"sv,  "2500"sv,  "3000"sv,
                                    "3500"sv, "4000"sv,  "4500"sv,  "5000"sv,  "8000"sv,
                                    "9000"sv, "10000"sv, "11000"sv, "12000"sv, "15000"sv};
static_assert(kVideoBitrates.size() == 20);
constexpr std::array kFrameRates{"23.979"sv, "24"sv, "25"sv,    "29.97"sv,
                                 "30"sv,     "50"sv, "59.94"sv, "60"sv};
constexpr std::array kAudioCodecs{"None"sv, "MP3"sv, "MP2"sv, "PCM"sv, "AAC"sv, "AC3"sv, "WAV"sv};
constexpr std::array kAudioBitrates{"64"sv,  "96"sv,  "112"sv, "128"sv, "160"sv,
                                    "192"sv, "224"sv, "256"sv, "320"sv};
constexpr std::array kSampleRates{"48000"sv, "44100"sv, "32000"sv, "24000"sv, "22050"sv,
                                  "16000"sv, "12000"sv, "11025"sv, "8000"sv};
constexpr std::array kConstraints{"None"sv,   "PAL"sv,  "NTSC"sv, "iPod"sv,
                                  "iPod Nano"sv, "iPhone"sv, "Film"sv, "HD"sv};

constexpr std::array kChannels{"Mono"sv, "Stereo"sv};
constexpr std::array kMpegCompressions{"MPEG1"sv, "MPEG2"sv};
constexpr std::array kMp4Compressions{"MPEG4"sv};
constexpr std::array kFlvCompressions{"Flash Video"sv};
constexpr std::array kFlvConstraints{"PAL"sv};
constexpr std::array kMp3Bits{"8"sv, "16"sv};
constexpr std::array kWmvModes{"CBR"sv, "VBR"sv, "VBR(Peak)"sv};
constexpr std::array kWmvTvFormats{"PAL"sv, "NTSC"sv, "Other"sv};
constexpr std::array kWmvVideoCodecs{"Windows Media Video 9 Screen"sv, "Windows Media Video 9"sv};
constexpr std::array kWmvAudioCodecs{"Windows Media Audio Voice 9"sv, "Windows Media Audio 9.2"sv,
                                     "Windows Media Audio 10 Professional"sv};

// The blanks are part of the names the encoder is given: figures are right-aligned.
constexpr std::array kWmvAudioFormats1{"4 kbps, 8 kHz, mono"sv, "8 kbps, 8 kHz, mono"sv,
                                       "16 kbps, 16 kHz, mono"sv, "20 kbps, 22.05 kHz, mono"sv};
constexpr std::array kWmvAudioFormats2{
    "  8 kbps,  8 kHz, mono CBR"sv,   " 12 kbps,  8 kHz, stereo CBR"sv,
    " 20 kbps, 16 kHz, stereo CBR"sv, " 32 kbps, 22 kHz, stereo CBR"sv,
    " 48 kbps, 32 kHz, stereo CBR"sv, " 96 kbps, 44 kHz, stereo CBR"sv,
    "128 kbps, 44 kHz, stereo CBR"sv, "192 kbps, 48 kHz, stereo CBR"sv};
constexpr std::array kWmvAudioFormats3{
    " 32 kbps, 32 kHz, 2 channel 16 bit CBR"sv, " 48 kbps, 44 kHz, 2 channel 16 bit CBR"sv,
    " 64 kbps, 44 kHz, 2 channel 16 bit CBR"sv, " 96 kbps, 44 kHz, 2 channel 16 bit CBR"sv,
    "128 kbps, 44 kHz, 2 channel 24 bit CBR"sv, "192 kbps, 44 kHz, 2 channel 24 bit CBR"sv};

int indexOr(ValueList list, std::string_view text, int fallback)
{
    const int found = ExactIndex(list, text);
    return found >= 0 ? found : fallback;
}

} // namespace

ValueList FrameSizes() { return kFrameSizes; }
ValueList AspectRatios() { return kAspectRatios; }
ValueList VideoBitrates() { return kVideoBitrates; }
ValueList FrameRates() { return kFrameRates; }
ValueList AudioCodecs() { return kAudioCodecs; }
ValueList AudioBitrates() { return kAudioBitrates; }
ValueList SampleRates() { return kSampleRates; }
ValueList Constraints() { return kConstraints; }
ValueList WmvFrameSizes() { return kWmvFrameSizes; }
ValueList Channels() { return kChannels; }
ValueList MpegCompressions() { return kMpegCompressions; }
ValueList Mp4Compressions() { return kMp4Compressions; }
ValueList FlvCompressions() { return kFlvCompressions; }
ValueList FlvConstraints() { return kFlvConstraints; }
ValueList Mp3Bits() { return kMp3Bits; }
ValueList WmvModes() { return kWmvModes; }
ValueList WmvTvFormats() { return kWmvTvFormats; }
ValueList WmvVideoCodecs() { return kWmvVideoCodecs; }
ValueList WmvAudioCodecs() { return kWmvAudioCodecs; }
ValueList WmvAudioFormats1() { return kWmvAudioFormats1; }
ValueList WmvAudioFormats2() { return kWmvAudioFormats2; }
ValueList WmvAudioFormats3() { return kWmvAudioFormats3; }

int ExactIndex(ValueList list, std::string_view text)
{
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i] == text) return static_cast<int>(i);
    return -1;
}

int FrameSizeIndex(std::string_view text) { return indexOr(kFrameSizes, text, 42); }
int AspectRatioIndex(std::string_view text) { return indexOr(kAspectRatios, text, 0); }
int VideoBitrateIndex(std::string_view text) { return indexOr(kVideoBitrates, text, 5); }
int FrameRateIndex(std::string_view text) { return indexOr(kFrameRates, text, 3); }
int AudioCodecIndex(std::string_view text) { return indexOr(kAudioCodecs, text, 2); }
int AudioBitrateIndex(std::string_view text) { return indexOr(kAudioBitrates, text, 6); }
int SampleRateIndex(std::string_view text) { return indexOr(kSampleRates, text, 1); }
int ConstraintIndex(std::string_view text) { return indexOr(kConstraints, text, 0); }

int PagePosition(int position, int count)
{
    return position >= 0 && position < count ? position : -1;
}

int StoredPosition(std::int32_t value, int count)
{
    return value >= 0 && value < count ? static_cast<int>(value) : -1;
}

int ChannelPosition(std::string_view text) { return ExactIndex(kChannels, text); }
int Mp3ChannelPosition(std::string_view text) { return text == "Mono" ? 0 : 1; }
int Mp3BitsPosition(std::string_view text) { return ExactIndex(kMp3Bits, text); }
int MpegCompressionPosition(std::string_view text) { return text == "MPEG1" ? 0 : 1; }
int WmvFrameSizePosition(std::string_view text) { return ExactIndex(kWmvFrameSizes, text); }

std::optional<FrameSizeSplit> SplitFrameSize(std::string_view text)
{
    if (ExactIndex(kFrameSizes, text) < 0) return std::nullopt;
    if (text == "Original") return FrameSizeSplit{"0", "0"};
    const auto star = text.find('*');
    return FrameSizeSplit{std::string(text.substr(0, star)), std::string(text.substr(star + 1))};
}

} // namespace pellucor::editor
