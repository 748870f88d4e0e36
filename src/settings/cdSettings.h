#pragma once
// TcdSettings: everything the program remembers between runs, and its one instance AppSettings.
//
// 81 published properties, plain public data members named exactly as their registry values
// (the odd spellings - MPEGTragetBitrate, WMVVedioMode, MP4constraint, Applocation - are the
// stored names and must not be "fixed"). Setters do nothing but store: readers interpret values.
// Most profile values are texts even where they denote numbers ("1150", "29.97").
//
// Owner: AppSettings is created and destroyed (and so saved) by SettingsModule. Main thread only.
#include "settings/uBaseSettings.h"

#include <cstdint>
#include <string>

namespace pellucor {

class TcdSettings : public TBaseSettings {
public:
    // Defaults are those of an account without stored settings. SavePath and Applocation are
    // filled by the constructor (documents folder, running program file).
    TcdSettings();
    ~TcdSettings() override;

    // General
    std::string LogDir;
    std::string Indir;
    std::string OutDir;
    bool SubDir = false;
    std::string SavePath;
    std::int32_t PageIndex = 0;  // 0 MPEG, 1 MP4, 2 WMV, 3 FLV, 4 MOV, 5 MP3

    // MPEG
    std::string MPEGFrameSize = "Original";
    std::string MPEGAspectRatio = "1:1";
    std::string MPEGTragetBitrate = "1150";
    std::string MPEGFrameRate = "29.97";
    std::string MPEGCompression = "MPEG1";
    std::string MPEGAudioCodec = "MP2";
    std::string MPEGAudioBitrate = "224";
    std::string MPEGAudioChannels = "Stereo";
    std::string MPEGAudioFrequency = "44100";
    std::string MPEGWidth = "0";
    std::string MPEGHeight = "0";
    std::int32_t MPEGCbbIdx = 0;
    std::string MPEGConstraint = "NTSC";

    // MP4
    std::string MP4FrameSize = "640*480";
    std::string MP4AspectRatio = "1:1";
    std::string MP4TragetBitrate = "1150";
    std::string MP4FrameRate = "30";
    std::string MP4Compression = "MPEG4";
    std::string MP4AudioCodec = "MP3";
    std::string MP4AudioBitrate = "256";
    std::string MP4AudioChannels = "Stereo";
    std::string MP4AudioFrequency = "48000";
    std::string MP4Width = "640";
    std::string MP4Height = "480";
    std::int32_t MP4CbbIdx = 0;
    std::string MP4constraint = "NTSC";

    // MOV
    std::string MOVFrameSize = "640*480";
    std::string MOVAspectRatio = "4:3";
    std::string MOVTragetBitrate = "1150";
    std::string MOVFrameRate = "25";
    std::string MOVCompression = "MPEG4";
    std::string MOVAudioCodec = "AAC";
    std::string MOVAudioBitrate = "320";
    std::string MOVAudioChannels = "Stereo";
    std::string MOVAudioFrequency = "48000";
    std::string MOVWidth = "640";
    std::string MOVHeight = "480";
    std::int32_t MOVCbbIdx = 0;
    std::string MOVconstraint = "PAL";

    // MP3 (MP3Bitrate is the sample width in bits, "8" or "16", despite its name)
    std::string MP3Bitrate = "8";
    std::string MP3Channels = "Stereo";
    std::string MP3Samplerate = "44100";
    std::int32_t MP3CbbIdx = 0;

    // FLV
    std::string FLVFrameSize = "Original";
    std::string FLVAspectRatio = "1:1";
    std::string FLVTragetBitrate = "768";
    std::string FLVFrameRate = "25";
    std::string FLVCompression = "Flash Vedio";
    std::string FLVAudioCodec = "MP3";
    std::string FLVAudioBitrate = "256";
    std::string FLVAudioChannels = "Stereo";
    std::string FLVAudioFrequency = "44100";
    std::string FLVWidth = "0";
    std::string FLVHeight = "0";
    std::int32_t FLVCbbIdx = 0;
    std::string FLVConstraint = "PAL";

    // WMV
    std::int32_t WMVCbbIdx = 0;
    std::string WMVFrameSize = "320*240";
    std::int32_t WMVVedioMode = 0;  // 0 CBR, 1 VBR, 2 VBR(Peak)
    std::string WMVPeakBitrate = "6000";
    std::int32_t WMVTVFormat = 0;   // 0 PAL, 1 NTSC, 2 Other
    std::string WMVTragetBitrate = "512";
    std::string WMVFramerate = "25";
    std::string WMVAudioPeakBitrate = "384";
    std::int32_t WMVVedioCodec = 1;
    std::int32_t WMVAudioCodec = 1;
    std::int32_t WMVAudioFormat1 = 0;
    std::int32_t WMVAudioFormat2 = 6;
    std::int32_t WMVAudioFormat3 = 0;
    std::string WMVWidth = "320";
    std::string WMVHeight = "240";
    std::string G_WMVAudioCodec = "Windows Media Audio 9.2";
    std::string G_WMVAudioFormat = "128 kbps, 44 kHz, stereo CBR";
    std::string G_WMVVedioCodec = "Windows Media Video 9";

    std::string Applocation;

    std::string_view ClassName() const override { return "TcdSettings"; }

protected:
    std::span<const PublishedPropertyInfo> ownProperties() const override;
};

// The program's one settings object, alive from module start-up to shutdown (SettingsModule).
extern TcdSettings* AppSettings;

} // namespace pellucor
