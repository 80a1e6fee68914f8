#include "engine/PictureQueue.h"

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace vantrel {
namespace {

bool isFullRange(const AVFrame* frame) {
  switch (frame->format) {
    case AV_PIX_FMT_YUVJ420P:
    case AV_PIX_FMT_YUVJ422P:
    case AV_PIX_FMT_YUVJ444P:
    case AV_PIX_FMT_YUVJ440P:
    case AV_PIX_FMT_YUVJ411P:
      return true;
    default:
      return frame->color_range == AVCOL_RANGE_JPEG;
  }
}

// A context that brings this layout to limited-range 8-bit 4:2:0 at the
// same size; null when libswscale cannot.
SwsContext* makeConverter(int width, int height, int format, bool fullRange) {
  // Checked first: an option libswscale refuses would leave its default format.
  if (!sws_isSupportedInput(static_cast<AVPixelFormat>(format))) return nullptr;
  SwsContext* context = sws_alloc_context();
  if (!context) return nullptr;
  av_opt_set_int(context, "srcw", width, 0);
  av_opt_set_int(context, "srch", height, 0);
  av_opt_set_int(context, "src_format", format, 0);
  av_opt_set_int(context, "src_range", fullRange ? 1 : 0, 0);
  av_opt_set_int(context, "dstw", width, 0);
  av_opt_set_int(context, "dsth", height, 0);
  av_opt_set_int(context, "dst_format", AV_PIX_FMT_YUV420P, 0);
  av_opt_set_int(context, "dst_range", 0, 0);
  av_opt_set_int(context, "sws_flags", SWS_BILINEAR, 0);
  if (sws_init_context(context, nullptr, nullptr) < 0) {
    sws_freeContext(context);
    return nullptr;
  }
  return context;
}

}  // namespace

PictureQueue::~PictureQueue() {
  sws_freeContext(converter_);
}

bool PictureQueue::needsConversion(const AVFrame* frame) {
  return frame->format != AV_PIX_FMT_YUV420P || isFullRange(frame);
}

void PictureQueue::resize(int width, int height) {
  width_ = width;
  height_ = height;
  const size_t lumaBytes = static_cast<size_t>(width) * height;
  const size_t chromaBytes = static_cast<size_t>(chromaStride()) * ((height + 1) / 2);
  // Grown, never shrunk: a playlist of mixed sizes allocates once.
  if (luma_.size() < lumaBytes) luma_.resize(lumaBytes);
  if (cb_.size() < chromaBytes) {
    cb_.resize(chromaBytes);
    cr_.resize(chromaBytes);
  }
}

bool PictureQueue::store(const AVFrame* frame, double time, int serial) {
  if (frame->width <= 0 || frame->height <= 0 || !frame->data[0]) return false;
  if (needsConversion(frame)) {
    if (!convert(frame)) return false;
  } else {
    resize(frame->width, frame->height);
    const int chromaRows = (height_ + 1) / 2;
    av_image_copy_plane(luma_.data(), lumaStride(), frame->data[0], frame->linesize[0], width_,
                        height_);
    av_image_copy_plane(cb_.data(), chromaStride(), frame->data[1], frame->linesize[1],
                        chromaStride(), chromaRows);
    av_image_copy_plane(cr_.data(), chromaStride(), frame->data[2], frame->linesize[2],
                        chromaStride(), chromaRows);
  }
  time_ = time;
  serial_ = serial;
  const AVRational aspect = frame->sample_aspect_ratio;
  sampleAspect_ = aspect.num > 0 && aspect.den > 0 ? av_q2d(aspect) : 1.0;
  return true;
}

bool PictureQueue::convert(const AVFrame* frame) {
  const bool fullRange = isFullRange(frame);
  if (!converter_ || converterWidth_ != frame->width || converterHeight_ != frame->height ||
      converterFormat_ != frame->format || converterFullRange_ != fullRange) {
    sws_freeContext(converter_);
    converter_ = makeConverter(frame->width, frame->height, frame->format, fullRange);
    if (!converter_) return false;
    converterWidth_ = frame->width;
    converterHeight_ = frame->height;
    converterFormat_ = frame->format;
    converterFullRange_ = fullRange;
  }
  resize(frame->width, frame->height);
  uint8_t* const planes[4] = {luma_.data(), cb_.data(), cr_.data(), nullptr};
  const int strides[4] = {lumaStride(), chromaStride(), chromaStride(), 0};
  return sws_scale(converter_, frame->data, frame->linesize, 0, frame->height, planes, strides) > 0;
}

}  // namespace vantrel
