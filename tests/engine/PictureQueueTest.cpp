#include <gtest/gtest.h>

#include <cstring>

extern "C" {
#include <libavutil/pixdesc.h>
}

#include "engine/PictureQueue.h"
#include "engine/TestFrames.h"
#include "engine/YuvToBgr.h"

using namespace vantrel;
using namespace vantrel::videotest;

namespace {

// The stored picture converted to B, G, R.
std::vector<uint8_t> converted(const PictureQueue& picture) {
  std::vector<uint8_t> bgr(static_cast<size_t>(picture.width()) * picture.height() * 3);
  convertYuvToBgrScalar(picture.luma(), picture.lumaStride(), picture.cb(), picture.cr(),
                        picture.chromaStride(), bgr.data(), picture.width(), picture.height(),
                        picture.width() * 3);
  return bgr;
}

// The picture's pixels (not the padding past them) are the frame's.
bool planesMatch(const YuvPlanes& picture, const AVFrame* frame) {
  for (int plane = 0; plane < 3; ++plane) {
    const uint8_t* stored = plane == 0 ? picture.luma : plane == 1 ? picture.cb : picture.cr;
    const int stride = plane ? picture.chromaStride : picture.lumaStride;
    const int rows = plane ? (frame->height + 1) / 2 : frame->height;
    const int columns = plane ? (frame->width + 1) / 2 : frame->width;
    for (int y = 0; y < rows; ++y) {
      if (std::memcmp(stored + y * stride, frame->data[plane] + y * frame->linesize[plane],
                      columns) != 0) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace

// The decoder's picture is held as it is, not copied (12 MB a picture at
// 4K), and stays when the decoder lets go of its frame; rows come padded, as
// decoders give them. Small, odd, then larger than any before.
TEST(PictureQueue, HoldsTheDecodedPictureWithoutCopyingIt) {
  struct Size {
    int width, height;
  };
  const Size sizes[] = {{16, 8}, {7, 5}, {854, 480}, {33, 3}, {3840, 2160}};
  PictureQueue picture;
  uint8_t seed = 0;
  for (const Size& s : sizes) {
    SCOPED_TRACE(std::to_string(s.width) + "x" + std::to_string(s.height));
    FramePtr frame = patternFrame(s.width, s.height, seed += 11);
    ASSERT_TRUE(picture.store(frame.get(), 1.5, 0));
    EXPECT_EQ(picture.width(), s.width);
    EXPECT_EQ(picture.height(), s.height);
    EXPECT_EQ(picture.luma(), frame->data[0]);
    EXPECT_EQ(picture.lumaStride(), frame->linesize[0]);
    EXPECT_EQ(picture.chromaStride(), frame->linesize[1]);
    EXPECT_EQ(picture.time(), 1.5);
    frame.reset();  // the decoder moves on
    EXPECT_TRUE(planesMatch(picture.planes(), patternFrame(s.width, s.height, seed).get()));
  }
}

// A picture handed on keeps its planes while the slot takes the next one.
TEST(PictureQueue, PlanesTakenOutlastTheNextPicture) {
  PictureQueue picture;
  FramePtr first = patternFrame(64, 32, 1);
  ASSERT_TRUE(picture.store(first.get(), 0.0, 0));
  const std::shared_ptr<const YuvPlanes> taken = picture.takePlanes();
  first.reset();
  FramePtr second = patternFrame(64, 32, 99);
  ASSERT_TRUE(picture.store(second.get(), 0.04, 0));
  EXPECT_TRUE(planesMatch(picture.planes(), second.get()));
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->width, 64);
  EXPECT_TRUE(planesMatch(*taken, patternFrame(64, 32, 1).get()));
}

// The shape of the pixels travels with the picture; none given is square.
TEST(PictureQueue, KeepsThePixelsAspect) {
  PictureQueue picture;
  const std::pair<AVRational, double> cases[] = {
      {{4, 3}, 4.0 / 3}, {{0, 1}, 1.0}, {{1, 0}, 1.0}, {{1, 1}, 1.0}, {{32, 27}, 32.0 / 27}};
  for (const auto& [aspect, expected] : cases) {
    FramePtr frame = patternFrame(16, 8, 1);
    frame->sample_aspect_ratio = aspect;
    ASSERT_TRUE(picture.store(frame.get(), 0.0, 0));
    EXPECT_DOUBLE_EQ(picture.sampleAspect(), expected) << aspect.num << "/" << aspect.den;
  }
}

TEST(PictureQueue, OnlyLimitedRangeEightBitFourTwoZeroGoesStraightThrough) {
  struct Case {
    AVPixelFormat format;
    AVColorRange range;
    bool converted;
  };
  const Case cases[] = {
      {AV_PIX_FMT_YUV420P, AVCOL_RANGE_MPEG, false},
      {AV_PIX_FMT_YUV420P, AVCOL_RANGE_UNSPECIFIED, false},
      {AV_PIX_FMT_YUV420P, AVCOL_RANGE_JPEG, true},
      {AV_PIX_FMT_YUVJ420P, AVCOL_RANGE_UNSPECIFIED, true},
      {AV_PIX_FMT_YUVJ422P, AVCOL_RANGE_JPEG, true},
      {AV_PIX_FMT_YUV422P, AVCOL_RANGE_MPEG, true},
      {AV_PIX_FMT_YUV420P10LE, AVCOL_RANGE_MPEG, true},
      {AV_PIX_FMT_NV12, AVCOL_RANGE_MPEG, true},
  };
  for (const Case& c : cases) {
    AVFrame frame{};
    frame.format = c.format;
    frame.color_range = c.range;
    EXPECT_EQ(PictureQueue::needsConversion(&frame), c.converted)
        << av_get_pix_fmt_name(c.format) << " range " << c.range;
  }
}

// Whatever the decoder's layout, the converter must show the colour that was
// encoded. Full range taken for limited would be off by 9 to 19 here.
TEST(PictureQueue, OtherLayoutsKeepTheirColours) {
  struct Case {
    AVPixelFormat format;
    bool fullRange;
  };
  const Case cases[] = {
      {AV_PIX_FMT_YUV420P, false}, {AV_PIX_FMT_YUVJ422P, true}, {AV_PIX_FMT_YUVJ420P, true},
      {AV_PIX_FMT_YUV420P, true},  {AV_PIX_FMT_YUV422P, false}, {AV_PIX_FMT_YUV420P10LE, false},
      {AV_PIX_FMT_YUV444P, true},
  };
  struct Colour {
    uint8_t r, g, b;
  };
  const Colour colours[] = {{200, 100, 50}, {230, 230, 230}, {40, 90, 160}};
  for (const Case& c : cases) {
    for (const Colour& colour : colours) {
      SCOPED_TRACE(std::string(av_get_pix_fmt_name(c.format)) +
                   (c.fullRange ? " full" : " limited") + " colour " + std::to_string(colour.r) +
                   "," + std::to_string(colour.g) + "," + std::to_string(colour.b));
      FramePtr frame = solidFrame(c.format, 34, 18, c.fullRange, colour.r, colour.g, colour.b);
      PictureQueue picture;
      ASSERT_TRUE(picture.store(frame.get(), 0.0, 0));
      const std::vector<uint8_t> bgr = converted(picture);
      const uint8_t* centre = &bgr[(9 * 34 + 17) * 3];
      EXPECT_NEAR(centre[0], colour.b, 4);
      EXPECT_NEAR(centre[1], colour.g, 4);
      EXPECT_NEAR(centre[2], colour.r, 4);
    }
  }
}

TEST(PictureQueue, RefusesFramesWithoutPicture) {
  PictureQueue picture;
  FramePtr empty(av_frame_alloc());
  EXPECT_FALSE(picture.store(empty.get(), 0.0, 0));
  FramePtr noFormat = blankFrame(AV_PIX_FMT_YUV420P, 8, 8);
  noFormat->format = AV_PIX_FMT_NONE;
  EXPECT_FALSE(picture.store(noFormat.get(), 0.0, 0));
}
