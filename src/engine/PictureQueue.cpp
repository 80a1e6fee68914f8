#include "engine/PictureQueue.h"

extern "C" {
#include <libavutil/frame.h>
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

PictureQueue::PictureQueue() : planes_(spare_.take()) {}

PictureQueue::~PictureQueue() {
  sws_freeContext(converter_);
}

bool PictureQueue::needsConversion(const AVFrame* frame) {
  return frame->format != AV_PIX_FMT_YUV420P || isFullRange(frame);
}

bool PictureQueue::store(const AVFrame* frame, double time, int serial) {
  if (frame->width <= 0 || frame->height <= 0 || !frame->data[0]) return false;
  // A picture that cannot be referenced as it is gets copied by the converter.
  if (needsConversion(frame) || !planes_->refer(frame)) {
    if (!convert(frame)) return false;
  }
  time_ = time;
  serial_ = serial;
  const AVRational aspect = frame->sample_aspect_ratio;
  sampleAspect_ = aspect.num > 0 && aspect.den > 0 ? av_q2d(aspect) : 1.0;
  return true;
}

std::shared_ptr<const YuvPlanes> PictureQueue::takePlanes() {
  std::shared_ptr<const YuvPlanes> taken = std::move(planes_);
  planes_ = spare_.take();
  return taken;
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
  uint8_t* planes[4] = {};
  int strides[4] = {};
  planes_->own(frame->width, frame->height, planes, strides);
  return sws_scale(converter_, frame->data, frame->linesize, 0, frame->height, planes, strides) > 0;
}

}  // namespace vantrel
