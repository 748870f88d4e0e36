#pragma once
// Building and starting one conversion job: the video-edit component is reset, configured from
// the profile of the settings' current format (PageIndex) and started.
//
// Runs on the main thread. Both modes (the batch list and the hot directory) start every job
// here; the component then reports through its events.
#include <string>

namespace pellucor {
class TcdSettings;
namespace engine {
class VideoEdit;
}
} // namespace pellucor

namespace pellucor::conversion {

// Replaces the component's encoder parameter list with the thirteen named parameters, in order.
void SetEncoderParameters(engine::VideoEdit& edit, const std::string& outputFormat,
                          const std::string& videoFormat, const std::string& aspectRatio,
                          const std::string& bitrateMode, const std::string& audioFormat,
                          const std::string& constraint, const std::string& width,
                          const std::string& height, const std::string& frameRate,
                          const std::string& videoBitrate, const std::string& audioChannels,
                          const std::string& audioBitrate, const std::string& audioSampleRate);

// Configures edit for converting source into destination with the profile of
// settings.PageIndex and starts it. A profile text that must be a number and is not raises
// ConversionError before the component is started. A destination folder that cannot be created
// is reported by the component's OnError.
void StartJob(engine::VideoEdit& edit, const TcdSettings& settings, const std::string& source,
              const std::string& destination);

} // namespace pellucor::conversion
