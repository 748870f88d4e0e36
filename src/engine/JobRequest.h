#pragma once
// Everything a job reads from the component, copied when Start() is called, so the worker never
// looks at properties the main thread may change while it runs.
#include "engine/VideoEditTypes.h"

#include <string>
#include <utility>
#include <vector>

namespace pellucor::engine {

struct JobRequest {
    TVFOutputFormat format = Format_AVI;
    std::string outputFile;
    bool debug = false;
    std::string audioCodec = "PCM";
    int audioChannels = 2;
    int audioBps = 16;
    int audioSampleRate = 44100;

    TVF_WMV_Mode wmvMode = VF_WM_ExternalProfile;
    std::string wmvAudioCodec, wmvAudioFormat;
    int wmvAudioPeakBitrate = 0;
    TVF_WMV_Stream_Mode wmvAudioMode = VF_SM_CBR;
    bool wmvAudioPresent = false;
    std::string wmvVideoCodec;
    int wmvWidth = 0, wmvHeight = 0;
    double wmvFrameRate = 0;
    int wmvKeyFrameInterval = 0;
    int wmvBitrate = 0;
    int wmvPeakBitrate = 0;
    int wmvBufferSize = 0;
    int wmvQuality = 0;
    TVF_WMV_Stream_Mode wmvVideoMode = VF_SM_CBR;
    TVFTVSystem wmvTvSystem = VF_TS_PAL;
    bool wmvVideoPresent = false;

    std::vector<std::pair<std::string, std::string>> params;  // encoder parameters, call order
};

} // namespace pellucor::engine
