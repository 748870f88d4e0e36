#pragma once
// Makes the encoder's picture from a decoded frame: the source scaled into the plan's picture
// rectangle, black bars around it, in the encoder's pixel format and colour range; and the
// small RGB pictures for the preview. One scaler per job, used by the video decode stage only.
#include "engine/FfmpegOwners.h"
#include "engine/JobPlan.h"
#include "engine/VideoEditTypes.h"

namespace pellucor::engine {

class PictureScaler {
public:
    explicit PictureScaler(const VideoPlan& plan);

    // A new frame of the plan's size; the source may change size or format between frames.
    FramePtr scale(const AVFrame* decoded);

    // A picture of `frame` (as made by scale) that fits in maxWidth x maxHeight, with the
    // frame's display shape.
    PreviewPicture preview(const AVFrame* frame, int maxWidth, int maxHeight);

private:
    void prepare(const AVFrame* decoded);
    void paintBars(AVFrame* out) const;
    FramePtr pooledPicture();

    VideoPlan plan_;
    AVPixelFormat outFormat_;
    SwsPtr sws_;
    int srcWidth_ = 0, srcHeight_ = 0, srcFormat_ = -1, srcRange_ = -1;
    bool direct_ = true;   // scale straight into the frame (the picture's left edge is aligned)
    FramePtr staging_;     // otherwise into this picture-sized frame first
    SwsPtr previewSws_;
    // Pictures come from a pool: fresh allocations of this size would each be new pages for
    // the kernel to fault in, a cost as large as painting the bars.
    BufferPoolPtr pool_;
    int poolSize_ = 0;
};

} // namespace pellucor::engine
