#include <gtest/gtest.h>

#include "engine/FramePool.h"

using namespace vantrel;

// Buffers come back for the next picture of about the same size; one of a
// picture many times larger (a whole 4K picture before the zoom went back
// to 1x) is given up, not kept for pictures a twentieth its size.
TEST(FramePool, ReusesBuffersButLetsGoOfMuchLargerOnes) {
  FramePool pool;
  const uint8_t* small = nullptr;
  {
    std::shared_ptr<BgrFrame> frame = pool.take(320, 180);
    small = frame->pixels.data();
  }
  {
    std::shared_ptr<BgrFrame> frame = pool.take(300, 170);
    EXPECT_EQ(frame->pixels.data(), small);
    EXPECT_EQ(frame->pixels.size(), 300u * 3 * 170);
  }
  pool.take(3840, 2160);  // returned at once
  std::shared_ptr<BgrFrame> frame = pool.take(818, 460);
  EXPECT_EQ(frame->stride, 818 * 3);
  EXPECT_EQ(frame->pixels.size(), 818u * 3 * 460);
  EXPECT_LE(frame->pixels.capacity(), 2u * 818 * 3 * 460);
}
