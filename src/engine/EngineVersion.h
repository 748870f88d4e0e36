#pragma once
// Which FFmpeg the engine runs on, for the About box: the release and its libraries' versions,
// as loaded at run time.
#include <string>

namespace pellucor::engine {

// e.g. "5.1.8 (libavformat 59.27.100, libavcodec 59.37.100, libswscale 6.7.100, libswresample 4.7.100)"
std::string FFmpegVersionText();

} // namespace pellucor::engine
