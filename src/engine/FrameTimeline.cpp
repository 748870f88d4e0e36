#include "engine/FrameTimeline.h"

#include <algorithm>
#include <cmath>

namespace pellucor::engine {

std::int64_t FrameTimeline::slotAt(double seconds) const {
    // Nearest slot: a source at exactly the output rate maps frame k to slot k even when its
    // timestamps carry rounding noise.
    return static_cast<std::int64_t>(std::llround(std::max(0.0, seconds) * rate_.num / rate_.den));
}

std::int64_t FrameTimeline::fillTo(std::int64_t slot) {
    const std::int64_t count = std::max<std::int64_t>(0, slot - next_);
    next_ += count;
    return count;
}

std::int64_t FrameTimeline::arrive(double seconds) {
    const std::int64_t count = fillTo(slotAt(seconds));
    holding_ = true;
    return count;
}

std::int64_t FrameTimeline::finish(double seconds) {
    if (!holding_) return 0;
    holding_ = false;
    std::int64_t slot = slotAt(seconds);
    if (next_ == 0) slot = std::max<std::int64_t>(slot, 1);
    return fillTo(slot);
}

} // namespace pellucor::engine
