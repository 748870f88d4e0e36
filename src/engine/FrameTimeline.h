#pragma once
// Holds an exact output frame rate over a source whose frames come at another rate, or
// irregularly: output frame n shows the source frame that is on screen at n / rate, so source
// frames are repeated or dropped as the two clocks drift. Times are seconds from the source's
// start. Pure; used by one thread.
#include "engine/NumberText.h"

#include <cstdint>

namespace pellucor::engine {

class FrameTimeline {
public:
    explicit FrameTimeline(Fraction rate) : rate_(rate) {}

    // A source frame that starts at `seconds` arrives. Returns how many output frames the frame
    // held until now fills; for the first frame, how many output frames before it this frame
    // fills itself (a source that starts late is padded with its first picture). Zero means the
    // held frame is dropped.
    std::int64_t arrive(double seconds);

    // The source ended at `seconds`: how many output frames the held frame fills. At least one
    // output frame comes out of a source that had any frame.
    std::int64_t finish(double seconds);

    // Index of the next output frame (its pts in 1/rate units).
    std::int64_t next() const { return next_; }
    bool holding() const { return holding_; }

private:
    std::int64_t slotAt(double seconds) const;
    std::int64_t fillTo(std::int64_t slot);

    Fraction rate_;
    std::int64_t next_ = 0;
    bool holding_ = false;
};

} // namespace pellucor::engine
