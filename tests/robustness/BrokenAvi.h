#pragma once
// A corpus of broken AVI files, made at test time from small valid fixtures: cut at several
// points, empty, random bytes, headers that lie (a 65535x65535 picture, a zero frame rate), an
// index that points past the end, and the one-stream files a converter must also survive.
//
// The damage is done on the RIFF structure the fixture generator wrote, found by walking its
// chunks, so a change in the generator's layout moves the patches with it rather than silently
// patching the wrong bytes (a chunk that is not found throws).
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pellucor::test {

// What a conversion of the file may end in.
enum class Outcome {
    MustFail,     // OnError with a clear text
    MustConvert,  // OnStop with a readable output
    Either,       // either of the two, never anything else
};

struct BrokenAvi {
    std::string name;   // says what is wrong with the file; also its file name (plus ".avi")
    std::string bytes;
    Outcome video = Outcome::Either;  // converting to a format with video
    Outcome mp3 = Outcome::Either;    // converting to MP3
};

// One chunk of a RIFF file: its four-character code, where its data starts and how long it is.
struct RiffChunk {
    std::string id;        // "avih", "strh", "idx1"; for lists the list type ("hdrl", "movi")
    bool list = false;
    std::size_t offset = 0;  // of the chunk's data (after the 8-byte header, and the list type)
    std::size_t size = 0;    // of the data
};

// Every chunk of the file in file order, lists and their members alike.
std::vector<RiffChunk> riffChunks(const std::string& bytes);

// Builds the corpus into memory from fixtures written into scratch.
std::vector<BrokenAvi> brokenAviCorpus(const std::filesystem::path& scratch);

} // namespace pellucor::test
