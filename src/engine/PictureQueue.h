#pragma once
// The picture waiting between the video decoder and the display: packed 8-bit,
// limited-range 4:2:0 planes sized to the picture, and its time. Frames in any
// other layout (MJPEG's full-range 4:2:2, 10-bit, ...) are brought to that by
// libswscale on the way in, so the display's converter sees one layout only.
//
// Guarded by EngineState::pictureLock together with pictureCount: the decoder
// stores only while the count is 0, the display reads only while it is 1.
#include <cstdint>
#include <vector>

extern "C" {
struct AVFrame;
struct SwsContext;
}

namespace vantrel {

class PictureQueue {
 public:
  PictureQueue() = default;
  ~PictureQueue();
  PictureQueue(const PictureQueue&) = delete;
  PictureQueue& operator=(const PictureQueue&) = delete;

  // Copies (or converts) the frame into the planes, growing them when the
  // picture is larger than any before. false when the frame's layout cannot
  // be brought to 8-bit 4:2:0.
  // serial: the video queue's serial of the packets it was decoded from.
  bool store(const AVFrame* frame, double time, int serial);

  int width() const { return width_; }
  int height() const { return height_; }
  double time() const { return time_; }
  int serial() const { return serial_; }
  // Width of a pixel over its height (the frame's sample aspect ratio; 1
  // when it gives none).
  double sampleAspect() const { return sampleAspect_; }
  const uint8_t* luma() const { return luma_.data(); }
  const uint8_t* cb() const { return cb_.data(); }
  const uint8_t* cr() const { return cr_.data(); }
  int lumaStride() const { return width_; }
  int chromaStride() const { return (width_ + 1) / 2; }

  // Whether frames of this layout need libswscale before the converter.
  static bool needsConversion(const AVFrame* frame);

 private:
  void resize(int width, int height);
  bool convert(const AVFrame* frame);

  int width_ = 0;
  int height_ = 0;
  double time_ = 0.0;
  int serial_ = 0;
  double sampleAspect_ = 1.0;
  std::vector<uint8_t> luma_, cb_, cr_;

  // The cached libswscale context and the layout it was made for.
  SwsContext* converter_ = nullptr;
  int converterWidth_ = 0;
  int converterHeight_ = 0;
  int converterFormat_ = -1;
  bool converterFullRange_ = false;
};

}  // namespace vantrel
