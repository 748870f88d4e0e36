#pragma once
// The 81 settings as the design lists them: name, kind, default, in declaration order. Written
// out by hand on purpose, so a typo in the class (a "fixed" MPEGTragetBitrate, a moved row, a
// wrong default) shows up against this list. SavePath and Applocation depend on the machine.
#include "settings/uBaseSettings.h"

#include <string>
#include <vector>

namespace pellucor::testing {

struct ExpectedProperty {
    const char* name;
    PropertyKind kind;
    const char* defaultText;  // nullptr: computed at run time
};

inline const std::vector<ExpectedProperty>& expectedSettings()
{
    using K = PropertyKind;
    static const std::vector<ExpectedProperty> list = {
        {"LogDir", K::String, ""}, {"Indir", K::String, ""}, {"OutDir", K::String, ""},
        {"SubDir", K::Boolean, "false"}, {"SavePath", K::String, nullptr}, {"PageIndex", K::Integer, "0"},

        {"MPEGFrameSize", K::String, "Original"}, {"MPEGAspectRatio", K::String, "1:1"},
        {"MPEGTragetBitrate", K::String, "1150"}, {"MPEGFrameRate", K::String, "29.97"},
        {"MPEGCompression", K::String, "MPEG1"}, {"MPEGAudioCodec", K::String, "MP2"},
        {"MPEGAudioBitrate", K::String, "224"}, {"MPEGAudioChannels", K::String, "Stereo"},
        {"MPEGAudioFrequency", K::String, "44100"}, {"MPEGWidth", K::String, "0"},
        {"MPEGHeight", K::String, "0"}, {"MPEGCbbIdx", K::Integer, "0"}, {"MPEGConstraint", K::String, "NTSC"},

        {"MP4FrameSize", K::String, "640*480"}, {"MP4AspectRatio", K::String, "1:1"},
        {"MP4TragetBitrate", K::String, "1150"}, {"MP4FrameRate", K::String, "30"},
        {"MP4Compression", K::String, "MPEG4"}, {"MP4AudioCodec", K::String, "MP3"},
        {"MP4AudioBitrate", K::String, "256"}, {"MP4AudioChannels", K::String, "Stereo"},
        {"MP4AudioFrequency", K::String, "48000"}, {"MP4Width", K::String, "640"},
        {"MP4Height", K::String, "480"}, {"MP4CbbIdx", K::Integer, "0"}, {"MP4constraint", K::String, "NTSC"},

        {"MOVFrameSize", K::String, "640*480"}, {"MOVAspectRatio", K::String, "4:3"},
        {"MOVTragetBitrate", K::String, "1150"}, {"MOVFrameRate", K::String, "25"},
        {"MOVCompression", K::String, "MPEG4"}, {"MOVAudioCodec", K::String, "AAC"},
        {"MOVAudioBitrate", K::String, "320"}, {"MOVAudioChannels", K::String, "Stereo"},
        {"MOVAudioFrequency", K::String, "48000"}, {"MOVWidth", K::String, "640"},
        {"MOVHeight", K::String, "480"}, {"MOVCbbIdx", K::Integer, "0"}, {"MOVconstraint", K::String, "PAL"},

        {"MP3Bitrate", K::String, "8"}, {"MP3Channels", K::String, "Stereo"},
        {"MP3Samplerate", K::String, "44100"}, {"MP3CbbIdx", K::Integer, "0"},

        {"FLVFrameSize", K::String, "Original"}, {"FLVAspectRatio", K::String, "1:1"},
        {"FLVTragetBitrate", K::String, "768"}, {"FLVFrameRate", K::String, "25"},
        {"FLVCompression", K::String, "Flash Vedio"}, {"FLVAudioCodec", K::String, "MP3"},
        {"FLVAudioBitrate", K::String, "256"}, {"FLVAudioChannels", K::String, "Stereo"},
        {"FLVAudioFrequency", K::String, "44100"}, {"FLVWidth", K::String, "0"},
        {"FLVHeight", K::String, "0"}, {"FLVCbbIdx", K::Integer, "0"}, {"FLVConstraint", K::String, "PAL"},

        {"WMVCbbIdx", K::Integer, "0"}, {"WMVFrameSize", K::String, "320*240"},
        {"WMVVedioMode", K::Integer, "0"}, {"WMVPeakBitrate", K::String, "6000"},
        {"WMVTVFormat", K::Integer, "0"}, {"WMVTragetBitrate", K::String, "512"},
        {"WMVFramerate", K::String, "25"}, {"WMVAudioPeakBitrate", K::String, "384"},
        {"WMVVedioCodec", K::Integer, "1"}, {"WMVAudioCodec", K::Integer, "1"},
        {"WMVAudioFormat1", K::Integer, "0"}, {"WMVAudioFormat2", K::Integer, "6"},
        {"WMVAudioFormat3", K::Integer, "0"}, {"WMVWidth", K::String, "320"},
        {"WMVHeight", K::String, "240"}, {"G_WMVAudioCodec", K::String, "Windows Media Audio 9.2"},
        {"G_WMVAudioFormat", K::String, "128 kbps, 44 kHz, stereo CBR"},
        {"G_WMVVedioCodec", K::String, "Windows Media Video 9"},

        {"Applocation", K::String, nullptr},
    };
    return list;
}

} // namespace pellucor::testing
