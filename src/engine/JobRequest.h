#pragma once
// The component's properties, and everything a job reads from the component: copied when
// Start() is called, so the worker never looks at properties the main thread may change while
// it runs.
#include "engine/VideoEditTypes.h"

#include <string>
#include <utility>
#include <vector>

namespace pellucor::engine {

// The properties under the component's own names, design-time values as initial values.
struct VideoEditProperties {
    TVFOutputFormat Output_Format = Format_AVI;
    std::string Output_File_Name;
    bool Audio_Preview_Enabled = false;  // no sound is played while converting on this system
    bool Debug_Mode = false;             // planner notes and FFmpeg's own log on standard error
    bool Video_Preview_Enabled = true;
    std::string Audio_Codec = "PCM";
    int Audio_Channels = 2;
    int Audio_BPS = 16;
    int Audio_SampleRate = 44100;
    TVF_WMV_Mode WMV_Mode = VF_WM_ExternalProfile;
    std::string WMV_Custom_Audio_Codec, WMV_Custom_Audio_Format;
    int WMV_Custom_Audio_PeakBitrate = 0;
    TVF_WMV_Stream_Mode WMV_Custom_Audio_Mode = VF_SM_CBR;
    bool WMV_Custom_Audio_StreamPresent = false;
    std::string WMV_Custom_Video_Codec;
    int WMV_Custom_Video_Width = 0, WMV_Custom_Video_Height = 0;
    double WMV_Custom_Video_FrameRate = 0;
    int WMV_Custom_Video_KeyFrameInterval = 0;
    int WMV_Custom_Video_Bitrate = 0;
    int WMV_Custom_Video_PeakBitRate = 0;
    int WMV_Custom_Video_Buffer_Size = 0;
    int WMV_Custom_Video_Quality = 0;
    TVF_WMV_Stream_Mode WMV_Custom_Video_Mode = VF_SM_CBR;
    TVFTVSystem WMV_Custom_Video_TVSystem = VF_TS_PAL;
    bool WMV_Custom_Video_StreamPresent = false;
};

struct JobRequest : VideoEditProperties {
    std::vector<std::pair<std::string, std::string>> params;  // encoder parameters, call order
};

} // namespace pellucor::engine
