#include "Probe.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace pellucor::test {
namespace {

std::string quoted(const std::string& path) {
    std::string out = "'";
    for (char c : path) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out + "'";
}

std::string run(const std::string& command) {
    std::string output;
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
        ::pclose(pipe);
    }
    return output;
}

// The luma plane of one raw 4:2:0 picture; limited range, so both kinds of source compare.
std::vector<unsigned char> lumaOf(const std::string& raw, int width, int height) {
    const std::size_t luma = static_cast<std::size_t>(width) * height;
    if (raw.size() != luma * 3 / 2) return {};
    return std::vector<unsigned char>(raw.begin(), raw.begin() + static_cast<std::ptrdiff_t>(luma));
}

} // namespace

int ProbedStream::integer(const std::string& key) const { return std::atoi(get(key).c_str()); }

const ProbedStream* Probed::first(const std::string& codecType) const {
    for (const auto& s : streams)
        if (s.get("codec_type") == codecType) return &s;
    return nullptr;
}

Probed probe(const std::string& path) {
    // compact output: one line per section, "stream|key=value|key=value".
    const std::string out = run("ffprobe -v error -show_entries "
                                "stream=codec_type,codec_name,width,height,r_frame_rate,sample_rate,channels,"
                                "sample_aspect_ratio,display_aspect_ratio,profile,has_b_frames:format=format_name,duration "
                                "-of compact " + quoted(path) + " 2>/dev/null");
    Probed result;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        std::map<std::string, std::string> fields;
        std::istringstream parts(line);
        std::string section, part;
        std::getline(parts, section, '|');
        while (std::getline(parts, part, '|')) {
            const auto eq = part.find('=');
            if (eq != std::string::npos) fields[part.substr(0, eq)] = part.substr(eq + 1);
        }
        if (section == "stream") {
            result.streams.push_back(ProbedStream{fields});
        } else if (section == "format") {
            result.readable = true;
            result.formatName = fields["format_name"];
            result.duration = std::atof(fields["duration"].c_str());
        }
    }
    return result;
}

std::vector<unsigned char> greyFrame(const std::string& path, double seconds, int width, int height) {
    const std::string out = run("ffmpeg -v error -ss " + std::to_string(seconds) + " -i " + quoted(path) +
                                " -frames:v 1 -f rawvideo -pix_fmt yuv420p - 2>/dev/null");
    return lumaOf(out, width, height);
}

std::vector<unsigned char> greyFrameScaled(const std::string& path, double seconds, int width, int height) {
    const std::string out = run("ffmpeg -v error -ss " + std::to_string(seconds) + " -i " + quoted(path) +
                                " -frames:v 1 -vf scale=" + std::to_string(width) + ":" + std::to_string(height) +
                                " -f rawvideo -pix_fmt yuv420p - 2>/dev/null");
    return lumaOf(out, width, height);
}

} // namespace pellucor::test
