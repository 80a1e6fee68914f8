// The picture converter against libyuv's I420ToRGB24 and libswscale's
// YUV420P -> BGR24 on the same frames, at 1080p and 720p.
#include <benchmark/benchmark.h>
#include <libyuv/convert_argb.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

extern "C" {
#include <libswscale/swscale.h>
}

#include "engine/YuvToBgr.h"
#include "support/RatioReporter.h"

using namespace vantrel;

namespace {

// A frame with smooth gradients and some noise, like a camera picture.
struct Frame {
  int width, height;
  std::vector<uint8_t> y, u, v, bgr;
  Frame(int w, int h)
      : width(w),
        height(h),
        y(size_t(w) * h),
        u(size_t(w / 2) * (h / 2)),
        v(u.size()),
        bgr(size_t(w) * h * 3) {
    uint32_t noise = 1;
    for (int r = 0; r < h; ++r) {
      for (int x = 0; x < w; ++x) {
        noise = noise * 1664525u + 1013904223u;
        y[size_t(r) * w + x] = static_cast<uint8_t>(16 + (x + r) % 200 + (noise >> 29));
      }
    }
    for (int r = 0; r < h / 2; ++r) {
      for (int x = 0; x < w / 2; ++x) {
        u[size_t(r) * (w / 2) + x] = static_cast<uint8_t>(64 + x % 128);
        v[size_t(r) * (w / 2) + x] = static_cast<uint8_t>(64 + r % 128);
      }
    }
  }
};

Frame& frame(int width, int height) {
  static std::map<std::pair<int, int>, Frame> frames;
  auto it = frames.find({width, height});
  if (it == frames.end()) it = frames.emplace(std::pair{width, height}, Frame(width, height)).first;
  return it->second;
}

void convertWith(benchmark::State& state, YuvToBgrKernel kernel, int width, int height) {
  Frame& f = frame(width, height);
  for (auto _ : state) {
    kernel(f.y.data(), width, f.u.data(), f.v.data(), width / 2, f.bgr.data(), width, height,
           width * 3);
    benchmark::DoNotOptimize(f.bgr.data());
  }
}

void ours(benchmark::State& state, int width, int height) {
  convertWith(state, convertYuvToBgr, width, height);
}

void kernel(benchmark::State& state, YuvKernelKind kind, int width, int height) {
  if (YuvToBgrKernel k = yuvToBgrKernel(kind)) {
    convertWith(state, k, width, height);
  } else {
    state.SkipWithError("this CPU cannot run the kernel");
  }
}

void libyuvI420ToRgb24(benchmark::State& state, int width, int height) {
  Frame& f = frame(width, height);
  for (auto _ : state) {
    libyuv::I420ToRGB24(f.y.data(), width, f.u.data(), width / 2, f.v.data(), width / 2,
                        f.bgr.data(), width * 3, width, height);
    benchmark::DoNotOptimize(f.bgr.data());
  }
}

void swscaleToBgr24(benchmark::State& state, int width, int height) {
  Frame& f = frame(width, height);
  SwsContext* sws = sws_getContext(width, height, AV_PIX_FMT_YUV420P, width, height,
                                   AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr, nullptr, nullptr);
  const uint8_t* src[3] = {f.y.data(), f.u.data(), f.v.data()};
  const int srcStride[3] = {width, width / 2, width / 2};
  uint8_t* dst[1] = {f.bgr.data()};
  const int dstStride[1] = {width * 3};
  for (auto _ : state) {
    sws_scale(sws, src, srcStride, 0, height, dst, dstStride);
    benchmark::DoNotOptimize(f.bgr.data());
  }
  sws_freeContext(sws);
}

}  // namespace

int main(int argc, char** argv) {
  struct Size {
    const char* name;
    int width, height;
  };
  const Size sizes[] = {{"1080p", 1920, 1080}, {"720p", 1280, 720}};
  for (const Size& s : sizes) {
    const std::string tag = std::string("/") + s.name;
    benchmark::RegisterBenchmark(("convert/ours" + tag).c_str(), ours, s.width, s.height);
    for (YuvKernelKind kind : {YuvKernelKind::Scalar, YuvKernelKind::Sse2, YuvKernelKind::Avx2}) {
      benchmark::RegisterBenchmark(("convert/" + std::string(yuvKernelName(kind)) + tag).c_str(),
                                   kernel, kind, s.width, s.height);
    }
    benchmark::RegisterBenchmark(("convert/libyuv" + tag).c_str(), libyuvI420ToRgb24, s.width,
                                 s.height);
    benchmark::RegisterBenchmark(("convert/swscale" + tag).c_str(), swscaleToBgr24, s.width,
                                 s.height);
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const Size& s : sizes) {
    const std::string tag = std::string("/") + s.name;
    const std::string ourRun = "convert/ours" + tag;
    reporter.printRatio((std::string("convert-") + s.name + "-vs-libyuv").c_str(),
                        "convert/libyuv" + tag, ourRun, true);
    reporter.printRatio((std::string("convert-") + s.name + "-vs-swscale").c_str(),
                        "convert/swscale" + tag, ourRun, true);
  }
  benchmark::Shutdown();
  return 0;
}
