#include "engine/YuvPlanes.h"

extern "C" {
#include <libavutil/frame.h>
}

namespace vantrel {

YuvPlanes::~YuvPlanes() {
  av_frame_free(&frame_);
}

void YuvPlanes::release() {
  if (frame_) av_frame_unref(frame_);
}

bool YuvPlanes::refer(const AVFrame* frame) {
  if (frame->linesize[1] != frame->linesize[2]) return false;  // one chroma stride here
  if (!frame_ && !(frame_ = av_frame_alloc())) return false;
  av_frame_unref(frame_);
  if (av_frame_ref(frame_, frame) < 0) return false;
  width = frame_->width;
  height = frame_->height;
  luma = frame_->data[0];
  cb = frame_->data[1];
  cr = frame_->data[2];
  lumaStride = frame_->linesize[0];
  chromaStride = frame_->linesize[1];
  return true;
}

void YuvPlanes::own(int newWidth, int newHeight, uint8_t* planes[3], int strides[3]) {
  release();
  width = newWidth;
  height = newHeight;
  lumaStride = width;
  chromaStride = (width + 1) / 2;
  const size_t sizes[3] = {static_cast<size_t>(lumaStride) * height,
                           static_cast<size_t>(chromaStride) * ((height + 1) / 2),
                           static_cast<size_t>(chromaStride) * ((height + 1) / 2)};
  for (int i = 0; i < 3; ++i) {
    if (own_[i].size() < sizes[i]) own_[i].resize(sizes[i]);
    planes[i] = own_[i].data();
    strides[i] = i == 0 ? lumaStride : chromaStride;
  }
  luma = planes[0];
  cb = planes[1];
  cr = planes[2];
}

}  // namespace vantrel
