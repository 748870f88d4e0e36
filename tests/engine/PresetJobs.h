#pragma once
// The default presets of the six formats written out as the component settings a job builder
// makes of them (format, output name, the encoder parameters in order, the WMV and MP3
// properties), so engine tests and the benchmark can run every preset without the settings and
// conversion code. The MPEG presets carry the corrected values: item 1 "MPEG2", item 6 "MPEG1",
// item 7 "PAL".
#include "engine/VideoEdit.h"

#include <array>
#include <string>
#include <vector>

namespace pellucor::engine::presets {

enum Page { Mpeg = 0, Mp4 = 1, Wmv = 2, Flv = 3, Mov = 4, Mp3 = 5 };

inline const char* extensionOf(int page) {
    static const char* ext[] = {".mpeg", ".mp4", ".wmv", ".flv", ".mov", ".mp3"};
    return ext[page];
}
inline const char* pageName(int page) {
    static const char* name[] = {"MPEG", "MP4", "WMV", "FLV", "MOV", "MP3"};
    return name[page];
}
inline int presetCount(int page) {
    static const int count[] = {8, 4, 6, 4, 5, 4};
    return count[page];
}

// The 13 texts of a standard-MPEG preset, in the job's order (channels already "1"/"2").
struct MpegRow {
    const char *outputFormat, *videoFormat, *aspect, *mode, *audio, *constraint, *width, *height,
        *frameRate, *videoBitrate, *channels, *sampleRate, *audioBitrate;
};

inline MpegRow mpegRow(int page, int i) {
    static const std::array<MpegRow, 8> mpeg{{
        {"MPEG1", "MPEG2", "1:1", "MVBR", "MP2", "NTSC", "0", "0", "29.97", "1150", "2", "44100", "224"},
        {"MPEG2", "MPEG2", "1:1", "MVBR", "MP2", "NTSC", "0", "0", "29.97", "2376", "2", "44100", "224"},
        {"MPEG2", "MPEG2", "1:1", "MVBR", "MP2", "NTSC", "720", "480", "29.97", "4000", "2", "48000", "224"},
        {"MPEG2", "MPEG2", "1:1", "MVBR", "MP2", "PAL", "720", "576", "25", "4000", "2", "48000", "224"},
        {"MPEG2", "MPEG2", "4:3", "MVBR", "MP2", "NTSC", "480", "480", "29.97", "2376", "2", "44100", "224"},
        {"MPEG2", "MPEG2", "4:3", "MVBR", "MP2", "PAL", "480", "576", "25", "2048", "2", "44100", "224"},
        {"MPEG1", "MPEG2", "4:3", "MVBR", "MP2", "NTSC", "352", "240", "29.97", "1150", "2", "44100", "224"},
        {"MPEG1", "MPEG2", "4:3", "MVBR", "MP2", "PAL", "352", "288", "25", "1150", "2", "44100", "224"},
    }};
    static const std::array<MpegRow, 4> mp4{{
        {"MPEG4", "MPEG4", "1:1", "MVBR", "AAC", "NTSC", "640", "480", "30", "1150", "2", "48000", "128"},
        {"MPEG4", "MPEG4", "1:1", "MVBR", "AAC", "PAL", "320", "240", "24", "1150", "2", "48000", "128"},
        {"MPEG4", "MPEG4", "4:3", "MVBR", "AAC", "iPod", "320", "240", "24", "768", "2", "48000", "128"},
        {"MPEG4", "MPEG4", "4:3", "MVBR", "AAC", "iPod Nano", "320", "240", "24", "768", "2", "48000", "128"},
    }};
    static const std::array<MpegRow, 4> flv{{
        {"FLV", "FLV", "1:1", "MVBR", "MP3", "PAL", "0", "0", "25", "768", "2", "44100", "256"},
        {"FLV", "FLV", "1:1", "MVBR", "MP3", "PAL", "0", "0", "25", "512", "2", "22050", "128"},
        {"FLV", "FLV", "1:1", "MVBR", "MP3", "PAL", "0", "0", "25", "256", "2", "22050", "64"},
        {"FLV", "FLV", "1:1", "MVBR", "MP3", "PAL", "0", "0", "25", "128", "2", "11025", "64"},
    }};
    static const std::array<MpegRow, 5> mov{{
        {"MPEG4", "MPEG4", "4:3", "MVBR", "AAC", "PAL", "640", "480", "25", "1150", "2", "48000", "128"},
        {"MPEG4", "MPEG4", "1:1", "MVBR", "MP3", "PAL", "352", "288", "25", "1150", "2", "44100", "128"},
        {"MPEG4", "MPEG4", "1:1", "MVBR", "MP3", "PAL", "0", "0", "25", "1150", "2", "44100", "112"},
        {"MPEG4", "MPEG4", "1:1", "MVBR", "MP3", "PAL", "176", "144", "25", "1024", "2", "44100", "128"},
        {"MPEG4", "MPEG4", "1:1", "MVBR", "MP3", "PAL", "0", "0", "25", "768", "2", "44100", "96"},
    }};
    switch (page) {
    case Mpeg: return mpeg.at(i);
    case Mp4: return mp4.at(i);
    case Flv: return flv.at(i);
    default: return mov.at(i);
    }
}

struct WmvRow {
    int width, height;
    double frameRate;
    int bitrate;
    TVF_WMV_Stream_Mode mode;
};

inline WmvRow wmvRow(int i) {
    static const std::array<WmvRow, 6> rows{{
        {320, 240, 29.97, 512, VF_SM_CBR},
        {640, 480, 30, 1150, VF_SM_CBR},
        {320, 240, 29.97, 1150, VF_SM_VBR_Bitrate},
        {640, 480, 29.97, 1150, VF_SM_VBR_Bitrate},
        {640, 480, 29.97, 1150, VF_SM_VBR_PeakBitrate},
        {320, 240, 29.97, 786, VF_SM_CBR},
    }};
    return rows.at(i);
}

struct Mp3Row {
    int bits, sampleRate;
};
inline Mp3Row mp3Row(int i) {
    static const std::array<Mp3Row, 4> rows{{{8, 44100}, {8, 48000}, {16, 44100}, {16, 48000}}};
    return rows.at(i);
}

// Configures `edit` as the job builder does for preset `index` of `page`.
inline void configure(VideoEdit& edit, int page, int index, const std::string& source, const std::string& dest) {
    edit.Display_Reset();
    edit.Audio_Volume_Envelope_Clear();
    edit.Internal_List_Clear();
    edit.Input_Clear_List();
    edit.Video_Effects_Clear();
    edit.Additional_Filters_Clear();
    edit.Input_AddAudioFile(source, -1, -1, -1, true, 1.0);
    edit.Input_AddVideoFile(source, -1, -1, -1, source, 0, 0, 1.0);
    edit.Audio_Preview_Enabled = false;
    edit.Debug_Mode = false;
    edit.Output_File_Name = dest;
    if (page == Wmv) {
        const WmvRow r = wmvRow(index);
        edit.Output_Format = Format_WMV;
        edit.WMV_Mode = VF_WM_CustomSettings;
        edit.WMV_Custom_Audio_Codec = "Windows Media Audio 9.2";
        edit.WMV_Custom_Audio_Format = "128 kbps, 44 kHz, stereo CBR";
        edit.WMV_Custom_Audio_PeakBitrate = 6000;
        edit.WMV_Custom_Audio_Mode = VF_SM_CBR;
        edit.WMV_Custom_Audio_StreamPresent = true;
        edit.WMV_Custom_Video_Codec = "Windows Media Video 9";
        edit.WMV_Custom_Video_Width = r.width;
        edit.WMV_Custom_Video_Height = r.height;
        edit.WMV_Custom_Video_FrameRate = r.frameRate;
        edit.WMV_Custom_Video_KeyFrameInterval = 1;
        edit.WMV_Custom_Video_Bitrate = r.bitrate;
        edit.WMV_Custom_Video_Quality = 95;
        edit.WMV_Custom_Video_Mode = r.mode;
        if (r.mode == VF_SM_VBR_PeakBitrate) edit.WMV_Custom_Video_PeakBitRate = 6000;
        edit.WMV_Custom_Video_TVSystem = VF_TS_PAL;
        edit.WMV_Custom_Video_StreamPresent = true;
    } else if (page == Mp3) {
        const Mp3Row r = mp3Row(index);
        edit.Output_Format = Format_MP3;
        edit.Audio_Codec = "PCM";
        edit.Audio_Channels = 2;
        edit.Audio_BPS = r.bits;
        edit.Audio_SampleRate = r.sampleRate;
    } else {
        const MpegRow r = mpegRow(page, index);
        edit.Output_Format = Format_IndStr_Standard_MPEG;
        edit.Encoder_Params_Clear();
        const std::vector<std::pair<const char*, const char*>> params{
            {"OUTPUT_FORMAT", r.outputFormat}, {"VIDEO_FORMAT", r.videoFormat},   {"ASPECT_RATIO", r.aspect},
            {"VIDEO_BITRATE_MODE", r.mode},    {"AUDIO_FORMAT", r.audio},         {"CONSTRAINT", r.constraint},
            {"WIDTH", r.width},                {"HEIGHT", r.height},              {"FRAMERATE", r.frameRate},
            {"VIDEO_BITRATE", r.videoBitrate}, {"AUDIO_CHANNELS", r.channels},    {"AUDIO_SAMPLE_RATE", r.sampleRate},
            {"AUDIO_BITRATE", r.audioBitrate}};
        for (const auto& [name, value] : params) edit.Encoder_Param_Add(name, value);
    }
}

} // namespace pellucor::engine::presets
