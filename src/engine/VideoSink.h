#pragma once
// Where the display hands each finished picture: the window's video area, a
// test's recorder, or a counter in the headless player.
#include <memory>

#include "engine/BgrFrame.h"

namespace vantrel {

struct PixelSize {
  int width = 0;
  int height = 0;
};

class VideoSink {
 public:
  virtual ~VideoSink() = default;
  // Called on the playback thread once per presented picture. The frame does
  // not change after the call; the sink may keep it as long as it likes.
  virtual void presentFrame(std::shared_ptr<const BgrFrame> frame) = 0;
  // A sink that only counts the pictures gets each one's time and size
  // without pixels: converting pictures nobody looks at costs a buffer and
  // the time of the conversion.
  virtual bool wantsPixels() const { return true; }
  // The size in pixels the sink shows a picture of width x height in (its
  // pixels sampleAspect times as wide as high) as things stand. Where that
  // is smaller than the picture the display converts only the pixels shown
  // and hands the decoded planes along for whatever needs the picture whole.
  // Any thread.
  virtual PixelSize shownSize(int width, int height, double /*sampleAspect*/) const {
    return {width, height};
  }
};

}  // namespace vantrel
