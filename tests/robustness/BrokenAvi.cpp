#include "BrokenAvi.h"

#include "fixtures/AviFixture.h"
#include "fixtures/TempDir.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace pellucor::test {

namespace {

namespace fs = std::filesystem;

std::uint32_t get32(const std::string& b, std::size_t at) {
    if (at + 4 > b.size()) throw std::out_of_range("read past the end of the AVI");
    return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
           static_cast<std::uint8_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}

void put32(std::string& b, std::size_t at, std::uint32_t v) {
    if (at + 4 > b.size()) throw std::out_of_range("patch past the end of the AVI");
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
}

void put16(std::string& b, std::size_t at, std::uint16_t v) {
    if (at + 2 > b.size()) throw std::out_of_range("patch past the end of the AVI");
    b[at] = static_cast<char>(v);
    b[at + 1] = static_cast<char>(v >> 8);
}

void walk(const std::string& b, std::size_t from, std::size_t end, std::vector<RiffChunk>& out) {
    while (from + 8 <= end) {
        const std::string id = b.substr(from, 4);
        const std::size_t size = get32(b, from + 4);
        const std::size_t next = from + 8 + size + (size & 1);
        if ((id == "RIFF" || id == "LIST") && size >= 4) {
            out.push_back({b.substr(from + 8, 4), true, from + 12, size - 4});
            walk(b, from + 12, std::min(from + 8 + size, end), out);
        } else {
            out.push_back({id, false, from + 8, size});
        }
        from = next;
    }
}

const RiffChunk& find(const std::vector<RiffChunk>& chunks, const std::string& id, int nth = 0) {
    for (const RiffChunk& c : chunks)
        if (c.id == id && nth-- == 0) return c;
    throw std::runtime_error("the fixture has no chunk '" + id + "'");
}

// The stream header of the video stream ("vids") and the format chunk that follows it.
std::pair<RiffChunk, RiffChunk> videoHeaders(const std::string& b, const std::vector<RiffChunk>& chunks) {
    for (std::size_t i = 0; i + 1 < chunks.size(); ++i)
        if (chunks[i].id == "strh" && b.substr(chunks[i].offset, 4) == "vids" && chunks[i + 1].id == "strf")
            return {chunks[i], chunks[i + 1]};
    throw std::runtime_error("the fixture has no video stream header");
}

using fixtures::readFile;

std::string randomBytes(std::size_t n, std::uint32_t seed) {
    std::string s(n, '\0');
    for (char& c : s) {
        seed = seed * 1664525u + 1013904223u;
        c = static_cast<char>(seed >> 24);
    }
    return s;
}

} // namespace

std::vector<RiffChunk> riffChunks(const std::string& bytes) {
    std::vector<RiffChunk> chunks;
    walk(bytes, 0, bytes.size(), chunks);
    return chunks;
}

std::vector<BrokenAvi> brokenAviCorpus(const fs::path& scratch) {
    fixtures::AviSpec spec;
    spec.seconds = 0.4;
    const std::string good = readFile(fixtures::writeAvi(scratch / "good.avi", spec));
    fixtures::AviSpec audioOnly = spec;
    audioOnly.video = fixtures::AviSpec::Video::None;
    fixtures::AviSpec videoOnly = spec;
    videoOnly.audio = fixtures::AviSpec::Audio::None;

    const std::vector<RiffChunk> chunks = riffChunks(good);
    const RiffChunk& avih = find(chunks, "avih");
    const RiffChunk& movi = find(chunks, "movi");
    const RiffChunk& idx1 = find(chunks, "idx1");
    const auto [strh, strf] = videoHeaders(good, chunks);

    // 65535x65535 in every place the header states the picture size.
    std::string huge = good;
    put32(huge, avih.offset + 32, 65535);  // dwWidth
    put32(huge, avih.offset + 36, 65535);  // dwHeight
    put16(huge, strh.offset + 52, 65535);  // rcFrame.right
    put16(huge, strh.offset + 54, 65535);  // rcFrame.bottom
    put32(huge, strf.offset + 4, 65535);   // biWidth
    put32(huge, strf.offset + 8, 65535);   // biHeight

    // Every index entry's offset far beyond the end of the file.
    std::string pastEnd = good;
    for (std::size_t e = idx1.offset; e + 16 <= idx1.offset + idx1.size; e += 16)
        put32(pastEnd, e + 8, static_cast<std::uint32_t>(good.size()) + 0x100000u + static_cast<std::uint32_t>(e));

    // A frame rate of zero: no time per frame in the main header, and the video stream's rate
    // (or its scale, the divisor) zero.
    std::string zeroRate = good;
    put32(zeroRate, avih.offset + 0, 0);   // dwMicroSecPerFrame
    put32(zeroRate, strh.offset + 24, 0);  // dwRate
    std::string zeroScale = good;
    put32(zeroScale, avih.offset + 0, 0);
    put32(zeroScale, strh.offset + 20, 0);  // dwScale

    const std::size_t firstFrame = movi.offset;  // the first chunk header inside "movi"
    using O = Outcome;
    return {
        {"intact control", good, O::MustConvert, O::MustConvert},
        {"zero bytes", "", O::MustFail, O::MustFail},
        {"random bytes", randomBytes(50000, 11), O::MustFail, O::MustFail},
        {"cut inside the RIFF header", good.substr(0, 11), O::MustFail, O::MustFail},
        {"cut inside the stream header", good.substr(0, strh.offset + 20), O::MustFail, O::MustFail},
        {"cut before the first frame", good.substr(0, firstFrame), O::Either, O::Either},
        {"cut inside the first frame", good.substr(0, firstFrame + 8 + 500), O::Either, O::Either},
        {"cut in the middle", good.substr(0, good.size() / 2 + 3), O::Either, O::Either},
        {"cut before the index", good.substr(0, idx1.offset - 8), O::Either, O::Either},
        {"cut inside the index", good.substr(0, idx1.offset + 24), O::Either, O::Either},
        {"a 65535x65535 picture in the headers", huge, O::Either, O::Either},
        {"an index pointing past the end", pastEnd, O::Either, O::Either},
        {"a zero frame rate", zeroRate, O::Either, O::Either},
        {"a zero frame-rate scale", zeroScale, O::Either, O::Either},
        // One stream: a video format keeps what there is; MP3 needs the sound.
        {"audio only", readFile(fixtures::writeAvi(scratch / "audio.avi", audioOnly)), O::MustConvert, O::MustConvert},
        {"video only", readFile(fixtures::writeAvi(scratch / "video.avi", videoOnly)), O::MustConvert, O::MustFail},
        // Kept from fuzzing (8.8 kB): frames FFmpeg's MJPEG decoder rejects with EPERM rather than
        // INVALIDDATA. The damaged pictures are dropped and the rest converts; no sound for MP3.
        {"MJPEG frames the decoder refuses", readFile(PELLUCOR_ROBUSTNESS_MEDIA "/damaged-mjpeg-frames.avi"),
         O::MustConvert, O::MustFail},
    };
}

} // namespace pellucor::test
