#pragma once
// Reads a media file back with the ffprobe tool, as any other program would, so the tests
// judge the engine's files by what a reader finds in them, not by what the engine meant.
#include <map>
#include <string>
#include <vector>

namespace pellucor::test {

struct ProbedStream {
    std::map<std::string, std::string> fields;  // codec_type, codec_name, width, r_frame_rate, ...
    std::string get(const std::string& key) const {
        auto it = fields.find(key);
        return it == fields.end() ? std::string() : it->second;
    }
    int integer(const std::string& key) const;
};

struct Probed {
    bool readable = false;  // ffprobe opened the file
    std::string formatName;
    double duration = 0;
    std::vector<ProbedStream> streams;
    const ProbedStream* first(const std::string& codecType) const;  // "video", "audio"
};

Probed probe(const std::string& path);

// The luma plane of the frame at `seconds`, decoded by the ffmpeg tool and brought to
// limited-range 4:2:0 (rows of `width` bytes); empty when it cannot be decoded.
std::vector<unsigned char> greyFrame(const std::string& path, double seconds, int width, int height);

// The same, scaled by the ffmpeg tool to width x height (to compare a picture with its source).
std::vector<unsigned char> greyFrameScaled(const std::string& path, double seconds, int width, int height);

} // namespace pellucor::test
