#pragma once
// What each page of the profile editor holds, as the design lists it: its controls in tab
// order (hidden width and height fields included) and its labels with their texts.
#include <string>
#include <utility>
#include <vector>

namespace pellucor::editor::test {

struct PageTable {
    int format;
    const char* page;
    std::vector<std::string> tabOrder;
    std::vector<std::pair<std::string, std::string>> labels; // object name, text
};

inline const std::vector<PageTable>& PageTables()
{
    static const std::vector<PageTable> tables{
        {0,
         "tsMPEG",
         {"cbbFrameSize", "cbbAspectRatio", "cbbBitRate", "cbbAudioBitrate", "cbbAudioChannels",
          "cbbSampleRate", "cbbmpegframerate", "cbbmpegkcompression", "cbbmpegcodec", "edtWidth",
          "edtHeight", "cbbmpegconstraint"},
         {{"lblimg", "Image"}, {"lblVedio", "Video"}, {"lblAudio", "Audio"},
          {"lblFrameSize", "Frame Size:"}, {"lblAspectRatio", "Aspect Ratio:"},
          {"lblBitRate", "Target Bitrates:"}, {"lbl6", "(kbps)"}, {"Label23", "Frame Rate:"},
          {"Label47", "Video Compression:"}, {"Label49", "Constraint:"},
          {"Label48", "Audio Codec:"}, {"lblAudioBitRate", "Bitrates:"}, {"lbl2", "(kbps)"},
          {"lblChannels", "Channels:"}, {"lblFrequency", "Frequency:"}, {"lbl3", "(HZ)"}}},
        {1,
         "tsMP4",
         {"cbbmp4framesize", "cbbmp4aspectratio", "cbbmp4vediobitrate", "cbbmp4framerate",
          "cbbmp4compression", "cbbmp4audiocodec", "cbbmp4channels", "cbbmp4audiobitrate",
          "cbbmp4frequency", "edtmp4width", "edtmp4height", "cbbmp4constraint"},
         {{"Label33", "Image"}, {"Label36", "Video"}, {"Label40", "Audio"},
          {"Label35", "Frame Size:"}, {"Label34", "Aspect Ratio:"},
          {"Label39", "Target Bitrates:"}, {"lbl7", "(kbps)"}, {"Label38", "Frame Rate:"},
          {"Label37", "Video Compression:"}, {"lblconstraint", "Constraint:"},
          {"Label41", "Audio Codec:"}, {"Label44", "Bitrates:"}, {"Label45", "(kbps)"},
          {"Label42", "Channels:"}, {"Label43", "Frequency:"}, {"Label46", "(HZ)"}}},
        {2,
         "tsWMV",
         {"cbbwmvframesize", "cbbwmvcompression", "cbbwmvframerate", "cbbwmvvediobitrate",
          "cbbformat", "cbbwmvmode", "edtPeakbitrate", "cbbaudioCodec", "cbbWMVFormat1",
          "edtauPeakbitrate", "edtwmvwidth", "edtwmvheight", "cbbWMVFormat2", "cbbWMVFormat3"},
         {{"Label19", "Image"}, {"Label20", "Video"}, {"Label21", "Audio"},
          {"Label22", "Frame Size:"}, {"lblmdoe", "Mode:"}, {"lblpeakbitrate", "Peak bit rate:"},
          {"lbl12", "(kbps)"}, {"lbltvformat", "TV Format:"}, {"Label26", "Target Bitrates:"},
          {"lbl8", "(kbps)"}, {"Label25", "Frame Rate:"}, {"Label24", "Video Codec:"},
          {"Label27", "Audio Codec:"}, {"lblformat", "Format:"}, {"Label28", "Peak bit rate:"},
          {"Label31", "(kbps)"}}},
        {3,
         "tsFLV",
         {"cbbflvbitrate", "cbbflvaudiobitrate", "cbbflvchannels", "cbbflvfrequency",
          "cbbflvframesize", "cbbflvaspectratio", "cbbflvaudiocodec", "cbbflvframerate",
          "cbbflvcompression", "cbbflvconstraint", "edtflvwidth", "edtflvheight"},
         {{"Label52", "Image"}, {"Label3", "Video"}, {"Label4", "Audio"},
          {"Label2", "Frame Size:"}, {"Label51", "Aspect Ratio:"},
          {"lblFLVBitRate", "Video Bitrates:"}, {"lbl5", "(kbps)"}, {"Label54", "Frame Rate:"},
          {"Label55", "Video Compression:"}, {"Label56", "Constraint:"},
          {"Label53", "Audio Codec:"}, {"lblflvauidobitrate", "Audio Bitrates:"},
          {"lbl9", "(kbps)"}, {"lblflvaudiochannels", "Channels:"},
          {"lblflvaudiofrequency", "Frequency:"}, {"lbl10", "(HZ)"}}},
        {4,
         "tsMOV",
         {"cbbmovframesize", "cbbmovaspectratio", "cbbmovvediobitrate", "cbbmovframerate",
          "cbbmovvediocompression", "cbbmovaudiocodec", "cbbmovbitrate", "cbbmovfrequency",
          "cbbmovchannels", "cbbmovconstraint", "edtmovwidth", "edtmovheight"},
         {{"Label5", "Image"}, {"Label8", "Video"}, {"Label12", "Audio"},
          {"Label6", "Frame Size:"}, {"Label7", "Aspect Ratio:"}, {"Label9", "Target Bitrates:"},
          {"lbl11", "(kbps)"}, {"Label10", "Frame Rate:"}, {"Label11", "Video Compression:"},
          {"Label50", "Constraint:"}, {"Label13", "Audio Codec:"}, {"Label14", "Bitrates:"},
          {"Label15", "(kbps)"}, {"Label18", "Channels:"}, {"Label17", "Frequency:"},
          {"Label16", "(HZ)"}}},
        {5,
         "tsMP3",
         {"cbbMP3BitRate", "cbbMP3Channels", "cbbMP3SampleRate"},
         {{"Label1", "Audio"}, {"lblMP3BitRate", "BPS:"}, {"lbl1", "(bit)"},
          {"lblMP3Channels", "Channels:"}, {"lblMP3Frequency", "Frequency:"}, {"lbl4", "(HZ)"}}},
    };
    return tables;
}

} // namespace pellucor::editor::test
