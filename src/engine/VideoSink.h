#pragma once
// Where the display hands each finished picture: the window's video area, a
// test's recorder, or a counter in the headless player.
#include <memory>

#include "engine/BgrFrame.h"

namespace vantrel {

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
};

}  // namespace vantrel
