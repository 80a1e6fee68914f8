#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "engine/YuvToBgr.h"

using namespace vantrel;

namespace {

// A 4:2:0 picture with padded rows, so strides are exercised too.
struct Planes {
  int width, height, yStride, uvStride;
  std::vector<uint8_t> y, u, v;
  Planes(int w, int h)
      : width(w),
        height(h),
        yStride(w + 7),
        uvStride((w + 1) / 2 + 5),
        y(static_cast<size_t>(yStride) * h),
        u(static_cast<size_t>(uvStride) * ((h + 1) / 2)),
        v(u.size()) {}
};

// Output with a guard after every row and after the picture, so a kernel that
// writes past width x 3 bytes is caught.
constexpr uint8_t kGuard = 0xA5;
constexpr int kGuardBytes = 13;

struct Output {
  int stride;
  std::vector<uint8_t> bytes;
  Output(const Planes& p)
      : stride(p.width * 3 + kGuardBytes),
        bytes(static_cast<size_t>(stride) * p.height + kGuardBytes, kGuard) {}
  const uint8_t* pixel(int x, int row) const { return &bytes[size_t(row) * stride + 3 * x]; }
  bool guardsIntact(int width, int height) const {
    for (int row = 0; row < height; ++row) {
      for (int i = width * 3; i < stride; ++i) {
        if (bytes[size_t(row) * stride + i] != kGuard) return false;
      }
    }
    for (size_t i = size_t(stride) * height; i < bytes.size(); ++i) {
      if (bytes[i] != kGuard) return false;
    }
    return true;
  }
};

void run(YuvToBgrKernel kernel, const Planes& p, Output& out) {
  kernel(p.y.data(), p.yStride, p.u.data(), p.v.data(), p.uvStride, out.bytes.data(), p.width,
         p.height, out.stride);
}

void dispatched(const uint8_t* y, int ys, const uint8_t* u, const uint8_t* v, int uvs, uint8_t* out,
                int w, int h, int os) {
  convertYuvToBgr(y, ys, u, v, uvs, out, w, h, os);
}

// Every kernel this CPU runs, and the one convertYuvToBgr picks.
std::vector<std::pair<std::string, YuvToBgrKernel>> kernels() {
  std::vector<std::pair<std::string, YuvToBgrKernel>> all;
  for (YuvKernelKind kind : {YuvKernelKind::Scalar, YuvKernelKind::Sse2, YuvKernelKind::Avx2}) {
    if (YuvToBgrKernel k = yuvToBgrKernel(kind)) all.emplace_back(yuvKernelName(kind), k);
  }
  all.emplace_back("dispatched", dispatched);
  return all;
}

struct KnownColour {
  uint8_t y, u, v;
  uint8_t b, g, r;
};

// Worked by hand from floor(8 x input x coefficient / 65536).
const KnownColour kKnownColours[] = {
    {16, 128, 128, 0, 0, 0},         // black
    {235, 128, 128, 255, 255, 255},  // white: 8 x 219 x 9576 / 65536 = 255.9
    {0, 128, 128, 0, 0, 0},          // Y below 16 counts as 16
    {10, 128, 128, 0, 0, 0},
    {128, 128, 128, 130, 130, 130},  // 8 x 112 x 9576 / 65536 = 130.9
    // y 75, blue -77 (floor of -76.96), green 14 - 92 (floor of -91.4), red 179
    {81, 90, 240, 0, 0, 254},
    // y 75, blue 226, green -44 (floor of -43.996) + 31, red -61 (floor of -60.9)
    {81, 240, 90, 255, 62, 14},
    {255, 255, 255, 255, 125, 255},  // B, R clamp at 255; green 279 - 50 - 104
    {0, 0, 0, 0, 154, 0},            // green 50 + 104 from both negative chroma inputs
};

}  // namespace

TEST(YuvToBgr, KnownColoursInEveryKernelAndColumn) {
  // 45 columns: two AVX2 blocks would need 64, so both SIMD blocks and the
  // column tail are covered; 3 rows cover a row pair and a last odd row.
  for (const KnownColour& c : kKnownColours) {
    Planes p(45, 3);
    std::fill(p.y.begin(), p.y.end(), c.y);
    std::fill(p.u.begin(), p.u.end(), c.u);
    std::fill(p.v.begin(), p.v.end(), c.v);
    for (const auto& [name, kernel] : kernels()) {
      SCOPED_TRACE(name + " Y=" + std::to_string(c.y) + " U=" + std::to_string(c.u) +
                   " V=" + std::to_string(c.v));
      Output out(p);
      run(kernel, p, out);
      for (int row = 0; row < p.height; ++row) {
        for (int x = 0; x < p.width; ++x) {
          const uint8_t* px = out.pixel(x, row);
          ASSERT_EQ(px[0], c.b) << "column " << x << " row " << row;
          ASSERT_EQ(px[1], c.g) << "column " << x << " row " << row;
          ASSERT_EQ(px[2], c.r) << "column " << x << " row " << row;
        }
      }
      EXPECT_TRUE(out.guardsIntact(p.width, p.height));
    }
  }
}

TEST(YuvToBgr, ChromaSampleServesTwoColumnsAndTwoRows) {
  Planes p(4, 4);
  std::fill(p.y.begin(), p.y.end(), 128);
  std::fill(p.u.begin(), p.u.end(), 128);
  std::fill(p.v.begin(), p.v.end(), 128);
  p.v[p.uvStride + 1] = 255;  // chroma (1, 1): pixels (2..3, 2..3) turn red
  for (const auto& [name, kernel] : kernels()) {
    SCOPED_TRACE(name);
    Output out(p);
    run(kernel, p, out);
    for (int row = 0; row < 4; ++row) {
      for (int x = 0; x < 4; ++x) {
        const bool red = row >= 2 && x >= 2;
        EXPECT_EQ(out.pixel(x, row)[2] > 200, red) << x << "," << row;
      }
    }
  }
}

TEST(YuvToBgr, RandomPicturesMatchTheScalarReferenceBitForBit) {
  struct Size {
    int width, height;
  };
  const Size sizes[] = {{8, 2},  {16, 4}, {854, 6}, {1366, 5}, {1920, 4}, {1, 1}, {2, 3},
                        {31, 7}, {33, 2}, {63, 3},  {65, 9},   {853, 3},  {97, 1}};
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> byte(0, 255);
  for (const Size& size : sizes) {
    Planes p(size.width, size.height);
    for (auto* plane : {&p.y, &p.u, &p.v}) {
      for (uint8_t& b : *plane) b = static_cast<uint8_t>(byte(random));
    }
    Output reference(p);
    run(convertYuvToBgrScalar, p, reference);
    ASSERT_TRUE(reference.guardsIntact(p.width, p.height));
    for (const auto& [name, kernel] : kernels()) {
      SCOPED_TRACE(name + " " + std::to_string(size.width) + "x" + std::to_string(size.height));
      Output out(p);
      run(kernel, p, out);
      EXPECT_EQ(out.bytes, reference.bytes);
    }
  }
}

TEST(YuvToBgr, TheDispatchedKernelIsTheBestThisCpuRuns) {
  const YuvToBgrKernel avx2 = yuvToBgrKernel(YuvKernelKind::Avx2);
  EXPECT_NE(yuvToBgrKernel(YuvKernelKind::Sse2), nullptr);
  if (__builtin_cpu_supports("avx2")) {
    EXPECT_NE(avx2, nullptr);
  } else {
    EXPECT_EQ(avx2, nullptr);
  }
}
