#include "engine/EngineVersion.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace pellucor::engine {
namespace {

std::string versionOf(const char* library, unsigned version) {
    return std::string(library) + " " + std::to_string(AV_VERSION_MAJOR(version)) + "." +
           std::to_string(AV_VERSION_MINOR(version)) + "." + std::to_string(AV_VERSION_MICRO(version));
}

} // namespace

std::string FFmpegVersionText() {
    return std::string(av_version_info()) + " (" + versionOf("libavformat", avformat_version()) + ", " +
           versionOf("libavcodec", avcodec_version()) + ", " + versionOf("libswscale", swscale_version()) + ", " +
           versionOf("libswresample", swresample_version()) + ")";
}

} // namespace pellucor::engine
