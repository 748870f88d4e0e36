#include "editor/ProfilePage.h"

#include "editor/PageLists.h"
#include "editor/ValueLists.h"
#include "settings/cdSettings.h"

namespace pellucor::editor {

namespace {

template <class T>
struct Property {
    std::string_view name;
    T TcdSettings::*member;
};

// The settings' names are also the names the write log reports, so both come from one token.
#define EDITOR_PROPERTY(member) \
    Property<decltype(TcdSettings::member)> { #member, &TcdSettings::member }

constexpr std::string_view kModeList = "cbbwmvmode";
constexpr std::string_view kVideoPeakField = "edtPeakbitrate";
constexpr std::string_view kAudioCodecList = "cbbaudioCodec";
constexpr int kVbrPeak = 2;

int countOf(std::string_view list) { return static_cast<int>(PageListItems(list).size()); }

// Opening: a looked-up position selects an entry only when the page's list has it.
class Filler {
public:
    explicit Filler(PageControls& page) : page_(page) {}

    void select(std::string_view list, int position)
    {
        page_.select(list, PagePosition(position, countOf(list)));
    }
    void stored(std::string_view list, std::int32_t value)
    {
        page_.select(list, StoredPosition(value, countOf(list)));
    }
    void text(std::string_view field, const std::string& value) { page_.setText(field, value); }

private:
    PageControls& page_;
};

// OK: each step stores what its control holds; the log records the writes in their order.
class Writer {
public:
    Writer(PageControls& page, TcdSettings& settings, WriteLog* log)
        : page_(page), settings_(settings), log_(log)
    {
    }

    void listText(Property<std::string> property, std::string_view list)
    {
        // A list opened on a value it lacks has no selection; storing its empty text would wipe
        // a value the user never touched.
        if (page_.position(list) >= 0) store(property, page_.text(list));
    }
    void listPosition(Property<std::int32_t> property, std::string_view list)
    {
        const int position = page_.position(list);
        if (position >= 0) store(property, position);
    }
    void fieldText(Property<std::string> property, std::string_view field)
    {
        store(property, page_.text(field));
    }
    // Width and height follow the frame size just stored, through the page's hidden fields.
    // The list's text is that frame size; an unknown one (no selection) keeps both as they were.
    void size(std::string_view frameList, std::string_view widthField,
              std::string_view heightField, Property<std::string> width,
              Property<std::string> height)
    {
        const auto split = SplitFrameSize(page_.text(frameList));
        if (!split) return;
        page_.setText(widthField, split->width);
        page_.setText(heightField, split->height);
        fieldText(width, widthField);
        fieldText(height, heightField);
    }
    // A WMV name is the text of the entry selected in its list, the same entry whose position
    // the earlier step stored.
    void name(Property<std::string> property, std::string_view list)
    {
        listText(property, list);
    }

    template <class T>
    void store(Property<T> property, const T& value)
    {
        settings_.*property.member = value;
        if (log_) log_->push_back({std::string(property.name), value});
    }

private:
    PageControls& page_;
    TcdSettings& settings_;
    WriteLog* log_;
};

void fillMpeg(const TcdSettings& s, Filler& f)
{
    f.select("cbbFrameSize", FrameSizeIndex(s.MPEGFrameSize));
    f.select("cbbAspectRatio", AspectRatioIndex(s.MPEGAspectRatio));
    f.select("cbbBitRate", VideoBitrateIndex(s.MPEGTragetBitrate));
    f.select("cbbmpegframerate", FrameRateIndex(s.MPEGFrameRate));
    f.select("cbbmpegkcompression", MpegCompressionPosition(s.MPEGCompression));
    f.select("cbbmpegconstraint", ConstraintIndex(s.MPEGConstraint));
    f.select("cbbmpegcodec", AudioCodecIndex(s.MPEGAudioCodec));
    f.select("cbbAudioBitrate", AudioBitrateIndex(s.MPEGAudioBitrate));
    f.select("cbbAudioChannels", ChannelPosition(s.MPEGAudioChannels));
    f.select("cbbSampleRate", SampleRateIndex(s.MPEGAudioFrequency));
}

void fillMp4(const TcdSettings& s, Filler& f)
{
    f.select("cbbmp4framesize", FrameSizeIndex(s.MP4FrameSize));
    f.select("cbbmp4aspectratio", AspectRatioIndex(s.MP4AspectRatio));
    f.select("cbbmp4vediobitrate", VideoBitrateIndex(s.MP4TragetBitrate));
    f.select("cbbmp4framerate", FrameRateIndex(s.MP4FrameRate));
    f.select("cbbmp4compression", 0);
    f.select("cbbmp4constraint", ConstraintIndex(s.MP4constraint));
    f.select("cbbmp4audiocodec", AudioCodecIndex(s.MP4AudioCodec));
    f.select("cbbmp4audiobitrate", AudioBitrateIndex(s.MP4AudioBitrate));
    f.select("cbbmp4channels", ChannelPosition(s.MP4AudioChannels));
    f.select("cbbmp4frequency", SampleRateIndex(s.MP4AudioFrequency));
}

void fillWmv(const TcdSettings& s, Filler& f, PageControls& page)
{
    f.select("cbbwmvframesize", WmvFrameSizePosition(s.WMVFrameSize));
    f.stored(kModeList, s.WMVVedioMode);
    f.text(kVideoPeakField, s.WMVPeakBitrate);
    page.setEnabled(kVideoPeakField, page.position(kModeList) == kVbrPeak);
    f.stored("cbbformat", s.WMVTVFormat);
    f.select("cbbwmvvediobitrate", VideoBitrateIndex(s.WMVTragetBitrate));
    f.select("cbbwmvframerate", FrameRateIndex(s.WMVFramerate));
    f.stored("cbbwmvcompression", s.WMVVedioCodec);
    f.stored(kAudioCodecList, s.WMVAudioCodec);
    f.stored("cbbWMVFormat1", s.WMVAudioFormat1);
    f.stored("cbbWMVFormat2", s.WMVAudioFormat2);
    f.stored("cbbWMVFormat3", s.WMVAudioFormat3);
    f.text("edtauPeakbitrate", s.WMVAudioPeakBitrate);
    ShowFormatListOf(page, page.position(kAudioCodecList));
}

void fillFlv(const TcdSettings& s, Filler& f)
{
    f.select("cbbflvframesize", FrameSizeIndex(s.FLVFrameSize));
    f.select("cbbflvaspectratio", AspectRatioIndex(s.FLVAspectRatio));
    f.select("cbbflvbitrate", VideoBitrateIndex(s.FLVTragetBitrate));
    f.select("cbbflvframerate", FrameRateIndex(s.FLVFrameRate));
    f.select("cbbflvcompression", 0);
    f.select("cbbflvconstraint", 0);
    f.select("cbbflvaudiocodec", AudioCodecIndex(s.FLVAudioCodec));
    f.select("cbbflvaudiobitrate", AudioBitrateIndex(s.FLVAudioBitrate));
    f.select("cbbflvchannels", ChannelPosition(s.FLVAudioChannels));
    f.select("cbbflvfrequency", SampleRateIndex(s.FLVAudioFrequency));
}

void fillMov(const TcdSettings& s, Filler& f)
{
    f.select("cbbmovframesize", FrameSizeIndex(s.MOVFrameSize));
    f.select("cbbmovaspectratio", AspectRatioIndex(s.MOVAspectRatio));
    f.select("cbbmovvediobitrate", VideoBitrateIndex(s.MOVTragetBitrate));
    f.select("cbbmovframerate", FrameRateIndex(s.MOVFrameRate));
    f.select("cbbmovvediocompression", 0);
    f.select("cbbmovconstraint", ConstraintIndex(s.MOVconstraint));
    f.select("cbbmovaudiocodec", AudioCodecIndex(s.MOVAudioCodec));
    f.select("cbbmovbitrate", AudioBitrateIndex(s.MOVAudioBitrate));
    f.select("cbbmovchannels", ChannelPosition(s.MOVAudioChannels));
    f.select("cbbmovfrequency", SampleRateIndex(s.MOVAudioFrequency));
}

void fillMp3(const TcdSettings& s, Filler& f)
{
    f.select("cbbMP3BitRate", Mp3BitsPosition(s.MP3Bitrate));
    f.select("cbbMP3Channels", Mp3ChannelPosition(s.MP3Channels));
    f.select("cbbMP3SampleRate", SampleRateIndex(s.MP3Samplerate));
}

void writeMpeg(Writer& w)
{
    w.listText(EDITOR_PROPERTY(MPEGFrameSize), "cbbFrameSize");
    w.listText(EDITOR_PROPERTY(MPEGAspectRatio), "cbbAspectRatio");
    w.listText(EDITOR_PROPERTY(MPEGTragetBitrate), "cbbBitRate");
    w.listText(EDITOR_PROPERTY(MPEGFrameRate), "cbbmpegframerate");
    w.listText(EDITOR_PROPERTY(MPEGCompression), "cbbmpegkcompression");
    w.listText(EDITOR_PROPERTY(MPEGAudioCodec), "cbbmpegcodec");
    w.listText(EDITOR_PROPERTY(MPEGAudioChannels), "cbbAudioChannels");
    w.listText(EDITOR_PROPERTY(MPEGAudioBitrate), "cbbAudioBitrate");
    w.listText(EDITOR_PROPERTY(MPEGAudioFrequency), "cbbSampleRate");
    w.size("cbbFrameSize", "edtWidth", "edtHeight", EDITOR_PROPERTY(MPEGWidth),
           EDITOR_PROPERTY(MPEGHeight));
    w.listText(EDITOR_PROPERTY(MPEGConstraint), "cbbmpegconstraint");
}

void writeMp4(Writer& w)
{
    w.listText(EDITOR_PROPERTY(MP4FrameSize), "cbbmp4framesize");
    w.listText(EDITOR_PROPERTY(MP4AspectRatio), "cbbmp4aspectratio");
    w.listText(EDITOR_PROPERTY(MP4TragetBitrate), "cbbmp4vediobitrate");
    w.listText(EDITOR_PROPERTY(MP4FrameRate), "cbbmp4framerate");
    w.listText(EDITOR_PROPERTY(MP4Compression), "cbbmp4compression");
    w.listText(EDITOR_PROPERTY(MP4AudioCodec), "cbbmp4audiocodec");
    w.listText(EDITOR_PROPERTY(MP4AudioBitrate), "cbbmp4audiobitrate");
    w.listText(EDITOR_PROPERTY(MP4AudioChannels), "cbbmp4channels");
    w.listText(EDITOR_PROPERTY(MP4AudioFrequency), "cbbmp4frequency");
    w.size("cbbmp4framesize", "edtmp4width", "edtmp4height", EDITOR_PROPERTY(MP4Width),
           EDITOR_PROPERTY(MP4Height));
    w.listText(EDITOR_PROPERTY(MP4constraint), "cbbmp4constraint");
}

void writeWmv(Writer& w, const PageControls& page)
{
    w.listText(EDITOR_PROPERTY(WMVFrameSize), "cbbwmvframesize");
    w.listPosition(EDITOR_PROPERTY(WMVVedioMode), kModeList);
    w.fieldText(EDITOR_PROPERTY(WMVPeakBitrate), kVideoPeakField);
    w.listPosition(EDITOR_PROPERTY(WMVTVFormat), "cbbformat");
    w.listText(EDITOR_PROPERTY(WMVTragetBitrate), "cbbwmvvediobitrate");
    w.listText(EDITOR_PROPERTY(WMVFramerate), "cbbwmvframerate");
    w.listPosition(EDITOR_PROPERTY(WMVVedioCodec), "cbbwmvcompression");
    w.listPosition(EDITOR_PROPERTY(WMVAudioCodec), kAudioCodecList);
    // All three format positions, the hidden lists' as they stand: each codec keeps its own.
    w.listPosition(EDITOR_PROPERTY(WMVAudioFormat1), "cbbWMVFormat1");
    w.listPosition(EDITOR_PROPERTY(WMVAudioFormat2), "cbbWMVFormat2");
    w.listPosition(EDITOR_PROPERTY(WMVAudioFormat3), "cbbWMVFormat3");
    w.fieldText(EDITOR_PROPERTY(WMVAudioPeakBitrate), "edtauPeakbitrate");
    w.size("cbbwmvframesize", "edtwmvwidth", "edtwmvheight", EDITOR_PROPERTY(WMVWidth),
           EDITOR_PROPERTY(WMVHeight));
    // The names the encoder is given, character for character (leading blanks included).
    w.name(EDITOR_PROPERTY(G_WMVVedioCodec), "cbbwmvcompression");
    w.name(EDITOR_PROPERTY(G_WMVAudioCodec), kAudioCodecList);
    const std::string_view formatList = WmvFormatListOf(page.position(kAudioCodecList));
    if (!formatList.empty()) w.name(EDITOR_PROPERTY(G_WMVAudioFormat), formatList);
}

void writeFlv(Writer& w)
{
    w.listText(EDITOR_PROPERTY(FLVFrameSize), "cbbflvframesize");
    w.listText(EDITOR_PROPERTY(FLVAspectRatio), "cbbflvaspectratio");
    w.listText(EDITOR_PROPERTY(FLVTragetBitrate), "cbbflvbitrate");
    w.listText(EDITOR_PROPERTY(FLVFrameRate), "cbbflvframerate");
    w.listText(EDITOR_PROPERTY(FLVCompression), "cbbflvcompression");
    w.listText(EDITOR_PROPERTY(FLVConstraint), "cbbflvconstraint");
    w.listText(EDITOR_PROPERTY(FLVAudioCodec), "cbbflvaudiocodec");
    w.listText(EDITOR_PROPERTY(FLVAudioBitrate), "cbbflvaudiobitrate");
    w.listText(EDITOR_PROPERTY(FLVAudioChannels), "cbbflvchannels");
    w.listText(EDITOR_PROPERTY(FLVAudioFrequency), "cbbflvfrequency");
    w.size("cbbflvframesize", "edtflvwidth", "edtflvheight", EDITOR_PROPERTY(FLVWidth),
           EDITOR_PROPERTY(FLVHeight));
}

void writeMov(Writer& w)
{
    w.listText(EDITOR_PROPERTY(MOVFrameSize), "cbbmovframesize");
    w.listText(EDITOR_PROPERTY(MOVAspectRatio), "cbbmovaspectratio");
    w.listText(EDITOR_PROPERTY(MOVTragetBitrate), "cbbmovvediobitrate");
    w.listText(EDITOR_PROPERTY(MOVFrameRate), "cbbmovframerate");
    w.listText(EDITOR_PROPERTY(MOVCompression), "cbbmovvediocompression");
    w.listText(EDITOR_PROPERTY(MOVAudioCodec), "cbbmovaudiocodec");
    w.listText(EDITOR_PROPERTY(MOVAudioBitrate), "cbbmovbitrate");
    w.listText(EDITOR_PROPERTY(MOVAudioChannels), "cbbmovchannels");
    w.listText(EDITOR_PROPERTY(MOVAudioFrequency), "cbbmovfrequency");
    w.size("cbbmovframesize", "edtmovwidth", "edtmovheight", EDITOR_PROPERTY(MOVWidth),
           EDITOR_PROPERTY(MOVHeight));
    w.listText(EDITOR_PROPERTY(MOVconstraint), "cbbmovconstraint");
}

void writeMp3(Writer& w)
{
    w.listText(EDITOR_PROPERTY(MP3Bitrate), "cbbMP3BitRate");
    w.listText(EDITOR_PROPERTY(MP3Samplerate), "cbbMP3SampleRate");
    w.listText(EDITOR_PROPERTY(MP3Channels), "cbbMP3Channels");
}

} // namespace

void FillPage(int format, const TcdSettings& settings, PageControls& page)
{
    Filler f(page);
    switch (format) {
    case 0: fillMpeg(settings, f); break;
    case 1: fillMp4(settings, f); break;
    case 2: fillWmv(settings, f, page); break;
    case 3: fillFlv(settings, f); break;
    case 4: fillMov(settings, f); break;
    case 5: fillMp3(settings, f); break;
    default: break;
    }
}

void WritePage(int format, PageControls& page, TcdSettings& settings, WriteLog* log)
{
    Writer w(page, settings, log);
    switch (format) {
    case 0: writeMpeg(w); break;
    case 1: writeMp4(w); break;
    case 2: writeWmv(w, page); break;
    case 3: writeFlv(w); break;
    case 4: writeMov(w); break;
    case 5: writeMp3(w); break;
    default: break;
    }
}

void ApplyModeChange(PageControls& page, TcdSettings& settings, WriteLog* log)
{
    Writer w(page, settings, log);
    w.listPosition(EDITOR_PROPERTY(WMVVedioMode), kModeList);
    page.setEnabled(kVideoPeakField, page.position(kModeList) == kVbrPeak);
}

void ApplyAudioCodecChange(PageControls& page)
{
    const int codec = page.position(kAudioCodecList);
    const std::string_view formatList = WmvFormatListOf(codec);
    if (formatList.empty()) return;
    ShowFormatListOf(page, codec);
    page.select(formatList, 0);
}

void ShowFormatListOf(PageControls& page, int codecPosition)
{
    if (WmvFormatListOf(codecPosition).empty()) return;
    page.setVisible(WmvFormatListOf(codecPosition), true);
    for (int codec = 0; codec < 3; ++codec)
        if (codec != codecPosition) page.setVisible(WmvFormatListOf(codec), false);
}

} // namespace pellucor::editor
