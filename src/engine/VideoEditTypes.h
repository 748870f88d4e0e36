#pragma once
// The enumerations and the preview picture of the video-edit component, in a header of their
// own so the planner can use them without the component.
#include <cstdint>
#include <vector>

namespace pellucor::engine {

enum TVFOutputFormat { Format_AVI = 0, Format_WMV = 1, Format_IndStr_Standard_MPEG = 10, Format_MP3 = 100 };
enum TVF_WMV_Mode { VF_WM_ExternalProfile = 0, VF_WM_CustomSettings = 2 };
enum TVF_WMV_Stream_Mode { VF_SM_CBR = 0, VF_SM_VBR_Quality = 1, VF_SM_VBR_Bitrate = 2, VF_SM_VBR_PeakBitrate = 3 };
enum TVFTVSystem { VF_TS_PAL = 0, VF_TS_NTSC = 1, VF_TS_Other = 2 };

// A small picture of what is being converted. RGB24, rows of width*3 bytes, top row first.
struct PreviewPicture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
};

} // namespace pellucor::engine
