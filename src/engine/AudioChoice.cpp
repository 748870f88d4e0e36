#include "engine/AudioChoice.h"

#include <algorithm>
#include <cstdlib>

namespace pellucor::engine {
namespace {

std::string describe(AudioCodec c) {
    switch (c) {
    case AudioCodec::None: return "no audio";
    case AudioCodec::Mp2: return "MP2";
    case AudioCodec::Mp3: return "MP3";
    case AudioCodec::Aac: return "AAC";
    case AudioCodec::Ac3: return "AC3";
    case AudioCodec::PcmS16le: return "16-bit PCM";
    case AudioCodec::PcmS16be: return "16-bit PCM (big-endian)";
    case AudioCodec::PcmU8: return "8-bit PCM";
    case AudioCodec::Wmav2: return "WMA";
    }
    return "?";
}

bool isPcm16(AudioCodec c) { return c == AudioCodec::PcmS16le || c == AudioCodec::PcmS16be; }

// Bit rates in kbit/s that MPEG audio allows; the lower sampling frequencies (MPEG-2 LSF,
// below 32 kHz) have their own, shorter table.
const std::vector<int>& mpegAudioRates(AudioCodec c, int sampleRate) {
    static const std::vector<int> mp2High{32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
    static const std::vector<int> mp3High{32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    static const std::vector<int> low{8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    if (sampleRate < 32000) return low;
    return c == AudioCodec::Mp2 ? mp2High : mp3High;
}

std::int64_t legalBitRate(AudioCodec c, int sampleRate, int channels, std::int64_t wanted) {
    const int kbps = static_cast<int>(std::clamp<std::int64_t>(wanted / 1000, 1, 100000));
    switch (c) {
    case AudioCodec::Mp2:
    case AudioCodec::Mp3:
        return nearestOf(mpegAudioRates(c, sampleRate), kbps) * 1000LL;
    case AudioCodec::Ac3: {
        static const std::vector<int> ac3{32, 40, 48, 56, 64, 80, 96, 112, 128, 160,
                                          192, 224, 256, 320, 384, 448, 512, 576, 640};
        return nearestOf(ac3, kbps) * 1000LL;
    }
    case AudioCodec::Aac: {
        // The AAC encoder cannot put more than 6144 bits per channel into a 1024-sample frame.
        const std::int64_t most = 6144LL * channels * sampleRate / 1024;
        return std::clamp<std::int64_t>(kbps * 1000LL, 16000, most);
    }
    case AudioCodec::Wmav2:
        return std::clamp<std::int64_t>(kbps * 1000LL, 24000, 384000);  // wmav2 refuses < 24k
    default:
        return 0;  // PCM has no bit rate to choose
    }
}

} // namespace

std::optional<AudioCodec> audioCodecFromText(std::string_view text) {
    const std::string t = lowerAscii(trimmed(text));
    if (t == "mp2") return AudioCodec::Mp2;
    if (t == "mp3") return AudioCodec::Mp3;
    if (t == "aac") return AudioCodec::Aac;
    if (t == "ac3") return AudioCodec::Ac3;
    if (t == "pcm" || t == "wav") return AudioCodec::PcmS16le;
    if (t == "wma") return AudioCodec::Wmav2;
    if (t == "none") return AudioCodec::None;
    return std::nullopt;
}

int nearestOf(const std::vector<int>& allowed, int wanted) {
    int best = allowed.empty() ? wanted : allowed.front();
    for (int v : allowed) {
        const long d = std::labs(static_cast<long>(v) - wanted);
        const long bd = std::labs(static_cast<long>(best) - wanted);
        if (d < bd || (d == bd && v > best)) best = v;
    }
    return best;
}

std::vector<int> sampleRatesFor(AudioCodec codec, Muxer muxer) {
    switch (codec) {
    case AudioCodec::Mp2: return {16000, 22050, 24000, 32000, 44100, 48000};
    case AudioCodec::Mp3:
        if (muxer == Muxer::Flv) return {11025, 22050, 44100};  // FLV's MP3 rate field
        return {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
    case AudioCodec::Aac:
        return {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000, 64000, 88200, 96000};
    case AudioCodec::Ac3: return {32000, 44100, 48000};
    case AudioCodec::Wmav2: return {8000, 11025, 16000, 22050, 32000, 44100, 48000};
    case AudioCodec::PcmS16le:
    case AudioCodec::PcmS16be:
    case AudioCodec::PcmU8:
        if (muxer == Muxer::Flv) return {5512, 11025, 22050, 44100};
        if (muxer == Muxer::Vob || muxer == Muxer::Dvd) return {32000, 44100, 48000};  // LPCM
        return {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000, 88200, 96000};
    case AudioCodec::None: break;
    }
    return {};
}

AudioPlan legalAudio(Muxer muxer, const DiscTarget* disc, AudioPlan wanted,
                     std::vector<std::string>& notes) {
    if (wanted.codec == AudioCodec::None) return AudioPlan{};
    const std::vector<AudioCodec>& accepted = disc ? disc->audio : acceptedAudio(muxer);
    const std::string where = disc ? disc->name : muxerName(muxer);
    AudioPlan out = wanted;
    const bool taken = std::find(accepted.begin(), accepted.end(), out.codec) != accepted.end();
    if (!taken) {
        // 16-bit PCM is the same request whichever byte order the container stores.
        auto otherPcm = std::find_if(accepted.begin(), accepted.end(), isPcm16);
        if (isPcm16(out.codec) && otherPcm != accepted.end()) {
            out.codec = *otherPcm;
        } else {
            // MPEG audio layers stand in for each other before the container's default does.
            const AudioCodec kin = out.codec == AudioCodec::Mp2   ? AudioCodec::Mp3
                                   : out.codec == AudioCodec::Mp3 ? AudioCodec::Mp2
                                                                  : AudioCodec::None;
            const bool kinTaken = std::find(accepted.begin(), accepted.end(), kin) != accepted.end();
            out.codec = kinTaken ? kin : accepted.front();
            notes.push_back("audio codec " + describe(wanted.codec) + " -> " + describe(out.codec) +
                            ": " + where + " does not carry " + describe(wanted.codec));
        }
    }
    if (out.codec != AudioCodec::Mp3) out.vbrQuality = -1;
    // A program stream's LPCM buffer is 4 KiB: 1024 stereo samples would not fit in one.
    out.frameSamples = out.codec == AudioCodec::PcmS16be && (muxer == Muxer::Vob || muxer == Muxer::Dvd) ? 256 : 0;

    const int channels = std::clamp(out.channels, 1, 2);
    if (channels != out.channels && out.channels != 0)
        notes.push_back("audio channels " + std::to_string(out.channels) + " -> " +
                        std::to_string(channels) + ": only mono and stereo are written");
    out.channels = channels;

    std::vector<int> rates = sampleRatesFor(out.codec, muxer);
    if (disc) {
        std::vector<int> both;
        for (int r : disc->sampleRates)
            if (std::find(rates.begin(), rates.end(), r) != rates.end()) both.push_back(r);
        rates = both.empty() ? disc->sampleRates : both;
    }
    const int rate = nearestOf(rates, out.sampleRate > 0 ? out.sampleRate : 44100);
    if (rate != out.sampleRate && out.sampleRate > 0)
        notes.push_back("audio sample rate " + std::to_string(out.sampleRate) + " Hz -> " +
                        std::to_string(rate) + " Hz: the nearest " + describe(out.codec) + " in " +
                        where + " takes");
    out.sampleRate = rate;

    if (out.vbrQuality >= 0) {
        out.bitRate = 0;
    } else {
        std::int64_t want = out.bitRate > 0 ? out.bitRate : 128000;
        if (disc && disc->audioBitRate) want = disc->audioBitRate;
        const std::int64_t legal = legalBitRate(out.codec, out.sampleRate, out.channels, want);
        if (legal != want && legal != 0 && out.bitRate > 0)
            notes.push_back("audio bit rate " + std::to_string(out.bitRate / 1000) + " kbit/s -> " +
                            std::to_string(legal / 1000) + " kbit/s: the nearest " +
                            describe(out.codec) + " allows at " + std::to_string(out.sampleRate) + " Hz" +
                            (disc && disc->audioBitRate ? " on a " + where : ""));
        out.bitRate = legal;
    }
    return out;
}

} // namespace pellucor::engine
