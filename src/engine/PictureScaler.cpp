#include "engine/PictureScaler.h"

#include "engine/EngineError.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavutil/imgutils.h>
}

namespace pellucor::engine {
namespace {

// The scaler takes a plain copy for "same format, same size" and then ignores a change of
// colour range; the JPEG ("J") formats are its own way of saying "full range", which it never
// copies blindly. So full-range pictures are named by their J format on both sides.
AVPixelFormat rangedFormat(AVPixelFormat f, bool fullRange) {
    if (!fullRange) return f;
    switch (f) {
    case AV_PIX_FMT_YUV420P: return AV_PIX_FMT_YUVJ420P;
    case AV_PIX_FMT_YUV422P: return AV_PIX_FMT_YUVJ422P;
    case AV_PIX_FMT_YUV444P: return AV_PIX_FMT_YUVJ444P;
    case AV_PIX_FMT_YUV440P: return AV_PIX_FMT_YUVJ440P;
    default: return f;
    }
}

bool isJpegFormat(int f) {
    return f == AV_PIX_FMT_YUVJ420P || f == AV_PIX_FMT_YUVJ422P || f == AV_PIX_FMT_YUVJ444P ||
           f == AV_PIX_FMT_YUVJ440P;
}

FramePtr allocatePicture(AVPixelFormat format, int width, int height) {
    FramePtr f = newFrame();
    f->format = format;
    f->width = width;
    f->height = height;
    check(av_frame_get_buffer(f.get(), 0), "allocate picture", Error_Internal);
    return f;
}

} // namespace

constexpr int kAlign = 64;  // the widest SIMD rows FFmpeg uses

PictureScaler::PictureScaler(const VideoPlan& plan) : plan_(plan) {
    outFormat_ = plan.fullRange ? AV_PIX_FMT_YUVJ420P : AV_PIX_FMT_YUV420P;
    poolSize_ = av_image_get_buffer_size(outFormat_, plan.width, plan.height, kAlign);
    if (poolSize_ <= 0) throw EngineError(Error_Internal, "picture size: " + avErrorText(poolSize_));
    pool_.reset(av_buffer_pool_init(static_cast<std::size_t>(poolSize_), av_buffer_alloc));
    if (!pool_) throw EngineError(Error_Internal, "picture pool: out of memory");
    // SIMD scalers write whole aligned blocks; a picture starting mid-block goes through a
    // staging frame and is copied into place.
    direct_ = plan.picture.x % 32 == 0;
}

void PictureScaler::prepare(const AVFrame* in) {
    const bool full = in->color_range == AVCOL_RANGE_JPEG || isJpegFormat(in->format);
    const AVPixelFormat src = rangedFormat(static_cast<AVPixelFormat>(in->format), full);
    if (sws_ && in->width == srcWidth_ && in->height == srcHeight_ && in->format == srcFormat_ &&
        static_cast<int>(full) == srcRange_)
        return;
    sws_.reset(sws_getContext(in->width, in->height, src, plan_.picture.width, plan_.picture.height, outFormat_,
                              SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!sws_)
        throw EngineError(Error_Convert, std::string("set up scaler from ") +
                                             (av_get_pix_fmt_name(src) ? av_get_pix_fmt_name(src) : "?") + " " +
                                             std::to_string(in->width) + "x" + std::to_string(in->height));
    const int* coefficients = sws_getCoefficients(SWS_CS_DEFAULT);
    sws_setColorspaceDetails(sws_.get(), coefficients, full ? 1 : 0, coefficients, plan_.fullRange ? 1 : 0, 0,
                             1 << 16, 1 << 16);
    srcWidth_ = in->width;
    srcHeight_ = in->height;
    srcFormat_ = in->format;
    srcRange_ = full;
    if (!direct_ && !staging_)
        staging_ = allocatePicture(outFormat_, plan_.picture.width, plan_.picture.height);
}

void PictureScaler::paintBars(AVFrame* out) const {
    const PictureRect& r = plan_.picture;
    if (r.x == 0 && r.y == 0 && r.width == out->width && r.height == out->height) return;
    const std::uint8_t black = plan_.fullRange ? 0 : 16;
    for (int plane = 0; plane < 3; ++plane) {
        const int shift = plane ? 1 : 0;
        const std::uint8_t value = plane ? 128 : black;
        const int w = out->width >> shift, h = out->height >> shift;
        const int x0 = r.x >> shift, y0 = r.y >> shift;
        const int x1 = (r.x + r.width) >> shift, y1 = (r.y + r.height) >> shift;
        for (int y = 0; y < h; ++y) {
            std::uint8_t* row = out->data[plane] + static_cast<std::ptrdiff_t>(y) * out->linesize[plane];
            if (y < y0 || y >= y1) {
                std::memset(row, value, w);
            } else {
                std::memset(row, value, x0);
                std::memset(row + x1, value, w - x1);
            }
        }
    }
}

FramePtr PictureScaler::pooledPicture() {
    FramePtr f = newFrame();
    f->format = outFormat_;
    f->width = plan_.width;
    f->height = plan_.height;
    f->buf[0] = av_buffer_pool_get(pool_.get());
    if (!f->buf[0]) throw EngineError(Error_Internal, "allocate picture: out of memory");
    check(av_image_fill_arrays(f->data, f->linesize, f->buf[0]->data, outFormat_, plan_.width, plan_.height, kAlign),
          "lay out picture", Error_Internal);
    return f;
}

FramePtr PictureScaler::scale(const AVFrame* in) {
    prepare(in);
    FramePtr out = pooledPicture();
    paintBars(out.get());
    const PictureRect& r = plan_.picture;
    if (direct_) {
        std::uint8_t* dst[4] = {out->data[0] + static_cast<std::ptrdiff_t>(r.y) * out->linesize[0] + r.x,
                                out->data[1] + static_cast<std::ptrdiff_t>(r.y / 2) * out->linesize[1] + r.x / 2,
                                out->data[2] + static_cast<std::ptrdiff_t>(r.y / 2) * out->linesize[2] + r.x / 2,
                                nullptr};
        sws_scale(sws_.get(), in->data, in->linesize, 0, in->height, dst, out->linesize);
    } else {
        sws_scale(sws_.get(), in->data, in->linesize, 0, in->height, staging_->data, staging_->linesize);
        for (int plane = 0; plane < 3; ++plane) {
            const int shift = plane ? 1 : 0;
            av_image_copy_plane(out->data[plane] + static_cast<std::ptrdiff_t>(r.y >> shift) * out->linesize[plane] +
                                    (r.x >> shift),
                                out->linesize[plane], staging_->data[plane], staging_->linesize[plane],
                                r.width >> shift, r.height >> shift);
        }
    }
    out->sample_aspect_ratio = AVRational{plan_.sampleAspect.num, plan_.sampleAspect.den};
    out->color_range = plan_.fullRange ? AVCOL_RANGE_JPEG : AVCOL_RANGE_MPEG;
    return out;
}

PreviewPicture PictureScaler::preview(const AVFrame* frame, int maxWidth, int maxHeight) {
    // Display width of the frame, then fit the box keeping that shape.
    const double displayWidth = frame->width * plan_.sampleAspect.value();
    const double scale = std::min(maxWidth / displayWidth, static_cast<double>(maxHeight) / frame->height);
    PreviewPicture p;
    p.width = std::max(2, static_cast<int>(displayWidth * std::min(scale, 1.0)) / 2 * 2);
    p.height = std::max(2, static_cast<int>(frame->height * std::min(scale, 1.0)) / 2 * 2);
    previewSws_.reset(sws_getCachedContext(previewSws_.release(), frame->width, frame->height, outFormat_,
                                           p.width, p.height, AV_PIX_FMT_RGB24, SWS_BILINEAR, nullptr, nullptr,
                                           nullptr));
    if (!previewSws_) return PreviewPicture{};
    const int* coefficients = sws_getCoefficients(SWS_CS_DEFAULT);
    sws_setColorspaceDetails(previewSws_.get(), coefficients, plan_.fullRange ? 1 : 0, coefficients, 1, 0,
                             1 << 16, 1 << 16);
    p.rgb.resize(static_cast<std::size_t>(p.width) * p.height * 3);
    std::uint8_t* dst[4] = {p.rgb.data(), nullptr, nullptr, nullptr};
    int dstStride[4] = {p.width * 3, 0, 0, 0};
    sws_scale(previewSws_.get(), frame->data, frame->linesize, 0, frame->height, dst, dstStride);
    return p;
}

} // namespace pellucor::engine
