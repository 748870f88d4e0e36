#include "conversion/StartJob.h"

#include "conversion/NumberText.h"
#include "engine/VideoEdit.h"
#include "settings/cdSettings.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace pellucor::conversion {

using namespace pellucor::engine;

namespace {

// "Mono" exactly is one channel; any other text, letter case included, is two.
std::string channelCount(const std::string& channels) { return channels == "Mono" ? "1" : "2"; }

TVFOutputFormat outputFormatOf(int pageIndex)
{
    switch (pageIndex) {
    case 2: return Format_WMV;
    // Our MP3 page writes a real MP3 file rather than an AVI container with PCM audio.
    case 5: return Format_MP3;
    default: return Format_IndStr_Standard_MPEG;
    }
}

std::string lowerTrimmedExtension(const std::string& destination)
{
    std::string ext = std::filesystem::path(destination).extension().string();
    auto notSpace = [](unsigned char c) { return !std::isspace(c); };
    ext.erase(ext.begin(), std::find_if(ext.begin(), ext.end(), notSpace));
    ext.erase(std::find_if(ext.rbegin(), ext.rend(), notSpace).base(), ext.end());
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return ext;
}

void setWmvSettings(VideoEdit& edit, const TcdSettings& s)
{
    // Parse everything first: a bad text must fail the job before the component changes.
    const int peak = StrToInt(s.WMVPeakBitrate);
    const int width = StrToInt(s.WMVWidth);
    const int height = StrToInt(s.WMVHeight);
    const double frameRate = StrToFloat(s.WMVFramerate);
    const int bitrate = StrToInt(s.WMVTragetBitrate);

    edit.WMV_Mode = VF_WM_CustomSettings;
    edit.WMV_Custom_Audio_Codec = s.G_WMVAudioCodec;
    edit.WMV_Custom_Audio_Format = s.G_WMVAudioFormat;
    edit.WMV_Custom_Audio_PeakBitrate = peak;
    edit.WMV_Custom_Audio_Mode = VF_SM_CBR;
    edit.WMV_Custom_Audio_StreamPresent = true;
    edit.WMV_Custom_Video_Codec = s.G_WMVVedioCodec;
    edit.WMV_Custom_Video_Width = width;
    edit.WMV_Custom_Video_Height = height;
    edit.WMV_Custom_Video_FrameRate = frameRate;
    edit.WMV_Custom_Video_KeyFrameInterval = 1;
    edit.WMV_Custom_Video_Bitrate = bitrate;
    edit.WMV_Custom_Video_Quality = 95;
    // The design value of the video peak is 0 (none); a VBR(Peak) job must not leave its peak
    // behind for the next job of another mode.
    edit.WMV_Custom_Video_PeakBitRate = 0;
    switch (s.WMVVedioMode) {
    case 0: edit.WMV_Custom_Video_Mode = VF_SM_CBR; break;
    case 1: edit.WMV_Custom_Video_Mode = VF_SM_VBR_Bitrate; break;
    case 2:
        edit.WMV_Custom_Video_Mode = VF_SM_VBR_PeakBitrate;
        // The peak typed for VBR(Peak) must reach the video stream too, or the mode caps nothing.
        edit.WMV_Custom_Video_PeakBitRate = peak;
        break;
    default: break;  // an unknown mode leaves the component's mode as it was
    }
    edit.WMV_Custom_Video_TVSystem = s.WMVTVFormat == 0   ? VF_TS_PAL
                                     : s.WMVTVFormat == 1 ? VF_TS_NTSC
                                                          : VF_TS_Other;
    edit.WMV_Custom_Video_StreamPresent = true;
}

void setMp3Settings(VideoEdit& edit, const TcdSettings& s)
{
    const int bits = StrToInt(s.MP3Bitrate);
    const int sampleRate = StrToInt(s.MP3Samplerate);
    edit.Audio_Codec = "PCM";
    if (s.MP3Channels == "Mono")
        edit.Audio_Channels = 1;
    else if (s.MP3Channels == "Stereo")
        edit.Audio_Channels = 2;
    edit.Audio_BPS = bits;
    edit.Audio_SampleRate = sampleRate;
}

} // namespace

void SetEncoderParameters(VideoEdit& edit, const std::string& outputFormat,
                          const std::string& videoFormat, const std::string& aspectRatio,
                          const std::string& bitrateMode, const std::string& audioFormat,
                          const std::string& constraint, const std::string& width,
                          const std::string& height, const std::string& frameRate,
                          const std::string& videoBitrate, const std::string& audioChannels,
                          const std::string& audioBitrate, const std::string& audioSampleRate)
{
    edit.Encoder_Params_Clear();
    edit.Encoder_Param_Add("OUTPUT_FORMAT", outputFormat);
    edit.Encoder_Param_Add("VIDEO_FORMAT", videoFormat);
    edit.Encoder_Param_Add("ASPECT_RATIO", aspectRatio);
    edit.Encoder_Param_Add("VIDEO_BITRATE_MODE", bitrateMode);
    edit.Encoder_Param_Add("AUDIO_FORMAT", audioFormat);
    edit.Encoder_Param_Add("CONSTRAINT", constraint);
    edit.Encoder_Param_Add("WIDTH", width);
    edit.Encoder_Param_Add("HEIGHT", height);
    edit.Encoder_Param_Add("FRAMERATE", frameRate);
    edit.Encoder_Param_Add("VIDEO_BITRATE", videoBitrate);
    edit.Encoder_Param_Add("AUDIO_CHANNELS", audioChannels);
    edit.Encoder_Param_Add("AUDIO_SAMPLE_RATE", audioSampleRate);
    edit.Encoder_Param_Add("AUDIO_BITRATE", audioBitrate);
}

void StartJob(VideoEdit& edit, const TcdSettings& s, const std::string& source,
              const std::string& destination)
{
    std::error_code ec;
    if (!std::filesystem::exists(destination, ec)) {
        // A folder that cannot be made is the component's to report, through OnError.
        const auto folder = std::filesystem::path(destination).parent_path();
        if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    }

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

    edit.Output_Format = outputFormatOf(s.PageIndex);
    edit.Output_File_Name = destination;

    const std::string ext = lowerTrimmedExtension(destination);
    const bool standard = edit.Output_Format == Format_IndStr_Standard_MPEG;
    if (standard && ext == ".mpeg") {
        SetEncoderParameters(edit, s.MPEGCompression, "MPEG2", s.MPEGAspectRatio, "MVBR",
                             s.MPEGAudioCodec, s.MPEGConstraint, s.MPEGWidth, s.MPEGHeight,
                             s.MPEGFrameRate, s.MPEGTragetBitrate,
                             channelCount(s.MPEGAudioChannels), s.MPEGAudioBitrate,
                             s.MPEGAudioFrequency);
    } else if (standard && ext == ".mp4") {
        SetEncoderParameters(edit, s.MP4Compression, "MPEG4", s.MP4AspectRatio, "MVBR",
                             s.MP4AudioCodec, s.MP4constraint, s.MP4Width, s.MP4Height,
                             s.MP4FrameRate, s.MP4TragetBitrate, channelCount(s.MP4AudioChannels),
                             s.MP4AudioBitrate, s.MP4AudioFrequency);
    } else if (standard && ext == ".mov") {
        SetEncoderParameters(edit, s.MOVCompression, "MPEG4", s.MOVAspectRatio, "MVBR",
                             s.MOVAudioCodec, s.MOVconstraint, s.MOVWidth, s.MOVHeight,
                             s.MOVFrameRate, s.MOVTragetBitrate, channelCount(s.MOVAudioChannels),
                             s.MOVAudioBitrate, s.MOVAudioFrequency);
    } else if (edit.Output_Format == Format_WMV && ext == ".wmv") {
        setWmvSettings(edit, s);
    } else if (edit.Output_Format == Format_MP3) {
        setMp3Settings(edit, s);
    } else if (standard && ext == ".flv") {
        SetEncoderParameters(edit, "FLV", "FLV", s.FLVAspectRatio, "MVBR", s.FLVAudioCodec, "PAL",
                             s.FLVWidth, s.FLVHeight, s.FLVFrameRate, s.FLVTragetBitrate,
                             channelCount(s.FLVAudioChannels), s.FLVAudioBitrate,
                             s.FLVAudioFrequency);
    }

    edit.Start();
}

} // namespace pellucor::conversion
