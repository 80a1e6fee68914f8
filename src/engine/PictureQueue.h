#pragma once
// The picture waiting between the video decoder and the display: 8-bit,
// limited-range 4:2:0 planes and its time. A decoded picture of that layout
// is held by a reference, not copied; frames in any other layout (MJPEG's
// full-range 4:2:2, 10-bit, ...) are brought to it by libswscale on the way
// in, so the display's converter sees one layout only.
//
// Guarded by EngineState::pictureLock together with pictureCount: the decoder
// stores only while the count is 0, the display reads only while it is 1.
#include <cstdint>
#include <memory>

#include "engine/Recycler.h"
#include "engine/YuvPlanes.h"

extern "C" {
struct AVFrame;
struct SwsContext;
}

namespace vantrel {

class PictureQueue {
 public:
  PictureQueue();
  ~PictureQueue();
  PictureQueue(const PictureQueue&) = delete;
  PictureQueue& operator=(const PictureQueue&) = delete;

  // Takes the frame's picture (or converts it). false when the frame's
  // layout cannot be brought to 8-bit 4:2:0.
  // serial: the video queue's serial of the packets it was decoded from.
  bool store(const AVFrame* frame, double time, int serial);

  int width() const { return planes_->width; }
  int height() const { return planes_->height; }
  double time() const { return time_; }
  int serial() const { return serial_; }
  // Width of a pixel over its height (the frame's sample aspect ratio; 1
  // when it gives none).
  double sampleAspect() const { return sampleAspect_; }
  const YuvPlanes& planes() const { return *planes_; }
  const uint8_t* luma() const { return planes_->luma; }
  const uint8_t* cb() const { return planes_->cb; }
  const uint8_t* cr() const { return planes_->cr; }
  int lumaStride() const { return planes_->lumaStride; }
  int chromaStride() const { return planes_->chromaStride; }

  // Hands the stored picture over to outlive the slot (the window keeps the
  // planes of a picture it shows smaller); the slot takes other planes for
  // the next picture. Only while the display holds the slot.
  std::shared_ptr<const YuvPlanes> takePlanes();

  // Whether frames of this layout need libswscale before the converter.
  static bool needsConversion(const AVFrame* frame);

 private:
  bool convert(const AVFrame* frame);

  // Planes come back when the last frame holding them goes; the decoder's
  // picture is let go of at once then.
  Recycler<YuvPlanes> spare_{[](YuvPlanes& planes) { planes.release(); }};
  std::shared_ptr<YuvPlanes> planes_;
  double time_ = 0.0;
  int serial_ = 0;
  double sampleAspect_ = 1.0;

  // The cached libswscale context and the layout it was made for.
  SwsContext* converter_ = nullptr;
  int converterWidth_ = 0;
  int converterHeight_ = 0;
  int converterFormat_ = -1;
  bool converterFullRange_ = false;
};

}  // namespace vantrel
