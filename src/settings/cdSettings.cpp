#include "settings/cdSettings.h"

#include "platform/Paths.h"

#include <array>

namespace pellucor {

TcdSettings* AppSettings = nullptr;

namespace {

// The name is the member's own name, so a property can never be stored under a misspelling of it.
#define P(member) publish(#member, &TcdSettings::member)

// Declaration order: the order of saving and loading, and of the published-property positions.
const std::array<PublishedPropertyInfo, 81> kProperties = {
    P(LogDir),
    P(Indir),
    P(OutDir),
    P(SubDir),
    P(SavePath),
    P(PageIndex),
    P(MPEGFrameSize),
    P(MPEGAspectRatio),
    P(MPEGTragetBitrate),
    P(MPEGFrameRate),
    P(MPEGCompression),
    P(MPEGAudioCodec),
    P(MPEGAudioBitrate),
    P(MPEGAudioChannels),
    P(MPEGAudioFrequency),
    P(MPEGWidth),
    P(MPEGHeight),
    P(MPEGCbbIdx),
    P(MPEGConstraint),
    P(MP4FrameSize),
    P(MP4AspectRatio),
    P(MP4TragetBitrate),
    P(MP4FrameRate),
    P(MP4Compression),
    P(MP4AudioCodec),
    P(MP4AudioBitrate),
    P(MP4AudioChannels),
    P(MP4AudioFrequency),
    P(MP4Width),
    P(MP4Height),
    P(MP4CbbIdx),
    P(MP4constraint),
    P(MOVFrameSize),
    P(MOVAspectRatio),
    P(MOVTragetBitrate),
    P(MOVFrameRate),
    P(MOVCompression),
    P(MOVAudioCodec),
    P(MOVAudioBitrate),
    P(MOVAudioChannels),
    P(MOVAudioFrequency),
    P(MOVWidth),
    P(MOVHeight),
    P(MOVCbbIdx),
    P(MOVconstraint),
    P(MP3Bitrate),
    P(MP3Channels),
    P(MP3Samplerate),
    P(MP3CbbIdx),
    P(FLVFrameSize),
    P(FLVAspectRatio),
    P(FLVTragetBitrate),
    P(FLVFrameRate),
    P(FLVCompression),
    P(FLVAudioCodec),
    P(FLVAudioBitrate),
    P(FLVAudioChannels),
    P(FLVAudioFrequency),
    P(FLVWidth),
    P(FLVHeight),
    P(FLVCbbIdx),
    P(FLVConstraint),
    P(WMVCbbIdx),
    P(WMVFrameSize),
    P(WMVVedioMode),
    P(WMVPeakBitrate),
    P(WMVTVFormat),
    P(WMVTragetBitrate),
    P(WMVFramerate),
    P(WMVAudioPeakBitrate),
    P(WMVVedioCodec),
    P(WMVAudioCodec),
    P(WMVAudioFormat1),
    P(WMVAudioFormat2),
    P(WMVAudioFormat3),
    P(WMVWidth),
    P(WMVHeight),
    P(G_WMVAudioCodec),
    P(G_WMVAudioFormat),
    P(G_WMVVedioCodec),
    P(Applocation),
};

#undef P

} // namespace

TcdSettings::TcdSettings()
{
    const std::string documents = platform::documentsFolder();
    SavePath = documents + (documents.empty() || documents.back() != '/' ? "/" : "") + "Tamrix free Pellucor";
    Applocation = platform::programFile().string();
}

TcdSettings::~TcdSettings()
{
    saveOnDestroy();  // while the 81 members still exist
}

std::span<const PublishedPropertyInfo> TcdSettings::ownProperties() const
{
    return kProperties;
}

} // namespace pellucor
