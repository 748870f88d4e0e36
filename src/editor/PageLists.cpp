#include "editor/PageLists.h"

#include <array>

namespace pellucor::editor {

namespace {

using namespace std::string_view_literals;

struct ListOfControl {
    std::string_view control;
    ValueList (*items)();
    int count; // -1: the whole list
};

ValueList firstOf(ValueList list, int count)
{
    return count < 0 ? list : list.first(static_cast<std::size_t>(count));
}

constexpr std::array<ListOfControl, 53> kLists{{
    // MPEG
    {"cbbFrameSize", FrameSizes, -1},
    {"cbbAspectRatio", AspectRatios, -1},
    {"cbbBitRate", VideoBitrates, -1},
    {"cbbmpegframerate", FrameRates, -1},
    {"cbbmpegkcompression", MpegCompressions, -1},
    {"cbbmpegconstraint", Constraints, -1},
    {"cbbmpegcodec", AudioCodecs, -1},
    {"cbbAudioBitrate", AudioBitrates, -1},
    {"cbbAudioChannels", Channels, -1},
    {"cbbSampleRate", SampleRates, -1},
    // MP4
    {"cbbmp4framesize", FrameSizes, -1},
    {"cbbmp4aspectratio", AspectRatios, -1},
    {"cbbmp4vediobitrate", VideoBitrates, -1},
    {"cbbmp4framerate", FrameRates, -1},
    {"cbbmp4compression", Mp4Compressions, -1},
    {"cbbmp4constraint", Constraints, -1},
    {"cbbmp4audiocodec", AudioCodecs, -1},
    {"cbbmp4audiobitrate", AudioBitrates, kMp4MovAudioBitrateCount},
    {"cbbmp4channels", Channels, -1},
    {"cbbmp4frequency", SampleRates, -1},
    // WMV
    {"cbbwmvframesize", WmvFrameSizes, -1},
    {"cbbwmvmode", WmvModes, -1},
    {"cbbformat", WmvTvFormats, -1},
    {"cbbwmvvediobitrate", VideoBitrates, -1},
    {"cbbwmvframerate", FrameRates, -1},
    {"cbbwmvcompression", WmvVideoCodecs, -1},
    {"cbbaudioCodec", WmvAudioCodecs, -1},
    {"cbbWMVFormat1", WmvAudioFormats1, -1},
    {"cbbWMVFormat2", WmvAudioFormats2, -1},
    {"cbbWMVFormat3", WmvAudioFormats3, -1},
    // FLV
    {"cbbflvframesize", FrameSizes, -1},
    {"cbbflvaspectratio", AspectRatios, -1},
    {"cbbflvbitrate", VideoBitrates, kFlvVideoBitrateCount},
    {"cbbflvframerate", FrameRates, -1},
    {"cbbflvcompression", FlvCompressions, -1},
    {"cbbflvconstraint", FlvConstraints, -1},
    {"cbbflvaudiocodec", AudioCodecs, -1},
    {"cbbflvaudiobitrate", AudioBitrates, -1},
    {"cbbflvchannels", Channels, -1},
    {"cbbflvfrequency", SampleRates, -1},
    // MOV
    {"cbbmovframesize", FrameSizes, -1},
    {"cbbmovaspectratio", AspectRatios, -1},
    {"cbbmovvediobitrate", VideoBitrates, -1},
    {"cbbmovframerate", FrameRates, -1},
    {"cbbmovvediocompression", Mp4Compressions, -1},
    {"cbbmovconstraint", Constraints, -1},
    {"cbbmovaudiocodec", AudioCodecs, -1},
    {"cbbmovbitrate", AudioBitrates, kMp4MovAudioBitrateCount},
    {"cbbmovchannels", Channels, -1},
    {"cbbmovfrequency", SampleRates, -1},
    // MP3
    {"cbbMP3BitRate", Mp3Bits, -1},
    {"cbbMP3Channels", Channels, -1},
    {"cbbMP3SampleRate", SampleRates, -1},
}};

constexpr auto kListNames = [] {
    std::array<std::string_view, kLists.size()> names{};
    for (std::size_t i = 0; i < kLists.size(); ++i) names[i] = kLists[i].control;
    return names;
}();

constexpr std::array kPageNames{"tsMPEG"sv, "tsMP4"sv, "tsWMV"sv, "tsFLV"sv, "tsMOV"sv, "tsMP3"sv};
constexpr std::array kFormatNames{"MPEG"sv, "MP4"sv, "WMV"sv, "FLV"sv, "MOV"sv, "MP3"sv};
constexpr std::array kWmvFormatLists{"cbbWMVFormat1"sv, "cbbWMVFormat2"sv, "cbbWMVFormat3"sv};

bool isFormat(int format) { return format >= 0 && format < kFormatCount; }

} // namespace

std::string_view PageName(int format)
{
    return isFormat(format) ? kPageNames[static_cast<std::size_t>(format)] : std::string_view{};
}

std::string EditCaption(int format)
{
    if (!isFormat(format)) return {};
    return "Edit " + std::string(kFormatNames[static_cast<std::size_t>(format)]) + " Profiles";
}

ValueList PageListItems(std::string_view control)
{
    for (const ListOfControl& list : kLists)
        if (list.control == control) return firstOf(list.items(), list.count);
    return {};
}

std::span<const std::string_view> AllPageLists() { return kListNames; }

std::string_view WmvFormatListOf(int codecPosition)
{
    return codecPosition >= 0 && codecPosition < static_cast<int>(kWmvFormatLists.size())
               ? kWmvFormatLists[static_cast<std::size_t>(codecPosition)]
               : std::string_view{};
}

} // namespace pellucor::editor
