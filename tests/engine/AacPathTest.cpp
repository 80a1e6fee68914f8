#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/AacPath.h"

using namespace vantrel;

TEST(AacPath, SamplesScaleTruncateAndClampAtFullScale) {
  struct Case {
    float in;
    int16_t out;
  };
  const Case cases[] = {
      {0.5f, 16384},      {-0.25f, -8192}, {0.0f, 0},         {1.0f, 32767}, {-1.0f, -32768},
      {1.75f, 32767},     {-3.0f, -32768}, {0.9f / 32768, 0},  // truncated toward zero, not rounded
      {-0.9f / 32768, 0}, {NAN, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(aacSampleToS16(c.in), c.out) << c.in;
}

TEST(AacPath, PlaysTheSecondPlaneOfStereoAndTheOnlyPlaneOfMono) {
  EXPECT_EQ(aacSourcePlane(1), 0);
  EXPECT_EQ(aacSourcePlane(2), 1);
  EXPECT_EQ(aacSourcePlane(6), 1);
}

TEST(AacPath, WritesTheDevicesChannelCountForEveryFrame) {
  const std::vector<float> plane{0.5f, -0.25f, 1.0f};
  for (int channels : {1, 2}) {
    std::vector<int16_t> out(plane.size() * channels + 1, 7);  // one guard sample
    aacPlaneToS16(plane.data(), static_cast<int>(plane.size()), channels, out.data());
    for (size_t i = 0; i < plane.size(); ++i) {
      for (int c = 0; c < channels; ++c) {
        EXPECT_EQ(out[i * channels + c], aacSampleToS16(plane[i])) << channels << " ch";
      }
    }
    EXPECT_EQ(out.back(), 7) << "wrote past " << plane.size() << " frames";
  }
}
