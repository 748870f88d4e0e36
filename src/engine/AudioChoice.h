#pragma once
// The audio a container and its encoder can take, chosen as close as possible to what the
// profile asked for. Deterministic: the same request always gives the same answer, and every
// replacement is described in the plan's notes. Pure functions; any thread.
#include "engine/ContainerChoice.h"
#include "engine/JobPlan.h"

#include <optional>
#include <string_view>

namespace pellucor::engine {

// "MP2", "MP3", "AAC", "AC3", "PCM", "WAV" (16-bit PCM), "None" (no audio), any letter case.
// nullopt for an empty or unknown text: the caller uses the container's default.
std::optional<AudioCodec> audioCodecFromText(std::string_view text);

// The nearest value of a list: smallest distance, the higher one on a tie.
int nearestOf(const std::vector<int>& allowed, int wanted);

// Makes `wanted` something the muxer (and the disc, when there is one) and the encoder
// accept: the codec (a refused one becomes the container's default, 16-bit PCM becomes the
// byte order the container stores), the channels (1 or 2), the nearest sample rate and the
// nearest bit rate. Every change is appended to notes.
AudioPlan legalAudio(Muxer muxer, const DiscTarget* disc, AudioPlan wanted,
                     std::vector<std::string>& notes);

// The sample rates the codec takes in this container.
std::vector<int> sampleRatesFor(AudioCodec codec, Muxer muxer);

} // namespace pellucor::engine
