// The whole display step for one 1080p picture, in its parts: the decoder's
// hand-over into the picture slot, the display step on the playback thread
// (pacing check, conversion, hand-over to the window) and the window's paint
// (stretch to the video area, bitmap, draw). Runs under a (virtual) display.
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/init.h>
#include <wx/panel.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
}

#include "app/FrameScaler.h"
#include "app/VideoPanel.h"
#include "engine/EngineState.h"
#include "engine/PlayerState.h"
#include "engine/VideoDecoder.h"
#include "support/RatioReporter.h"

using namespace vantrel;

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

class BenchApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

AVFrame* pictureFrame() {
  static AVFrame* frame = [] {
    AVFrame* f = av_frame_alloc();
    f->format = AV_PIX_FMT_YUV420P;
    f->width = kWidth;
    f->height = kHeight;
    av_frame_get_buffer(f, 64);
    for (int plane = 0; plane < 3; ++plane) {
      const int rows = plane ? kHeight / 2 : kHeight;
      for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < f->linesize[plane]; ++x) {
          f->data[plane][y * f->linesize[plane] + x] = static_cast<uint8_t>(16 + (x + y) % 200);
        }
      }
    }
    return f;
  }();
  return frame;
}

// A window with the video area at a given size, and a player whose display
// hands its pictures to it.
struct Stage {
  PlayerState state;
  EngineState& engine = engineOf(state);
  AVFormatContext* format = avformat_alloc_context();
  wxFrame* window;
  VideoPanel* panel;

  explicit Stage(wxSize area) {
    engine.formatContext = format;
    engine.videoStream = avformat_new_stream(format, nullptr);
    state.audioClock = 1e9;  // never ahead of the sound: no pacing waits
    window = new wxFrame(nullptr, wxID_ANY, "bench", wxPoint(0, 0), area + wxSize(40, 40));
    wxPanel* host = new wxPanel(window);
    panel = new VideoPanel(host, wxID_ANY, wxPoint(0, 0), area + wxSize(2, 2), wxBORDER_SIMPLE);
    window->Show();
    state.display.bindVideoSurface(panel);
    settle();
  }
  ~Stage() {
    state.display.bindVideoSurface(nullptr);
    window->Destroy();
    settle();
    engine.videoStream = nullptr;
    engine.formatContext = nullptr;
    avformat_free_context(format);
  }
  static void settle() {
    for (int i = 0; i < 20; ++i) {
      wxTheApp->ProcessPendingEvents();
      while (wxTheApp->Pending()) wxTheApp->Dispatch();
    }
  }
  void handOver() { queuePicture(state, pictureFrame(), 1.0, engine.videoQueue.serial); }
  void present() { state.display.presentPicture(state); }
  // The panel's paint into a window DC: the stretch, the bitmap and its way
  // to the X server. (A paint event is not synchronous under GTK 3.)
  void draw() {
    wxClientDC dc(panel);
    panel->Draw(dc);
  }
};

std::map<std::pair<int, int>, std::unique_ptr<Stage>> stages;  // gone before wx is

Stage& stage(wxSize area) {
  auto& s = stages[{area.x, area.y}];
  if (!s) s = std::make_unique<Stage>(area);
  return *s;
}

void handOver(benchmark::State& st) {
  Stage& s = stage({780, 461});
  for (auto _ : st) {
    s.handOver();
    st.PauseTiming();
    s.present();
    st.ResumeTiming();
  }
}

void present(benchmark::State& st) {
  Stage& s = stage({780, 461});
  for (auto _ : st) {
    st.PauseTiming();
    s.handOver();
    st.ResumeTiming();
    s.present();
  }
}

void draw(benchmark::State& st, wxSize area) {
  Stage& s = stage(area);
  s.handOver();
  s.present();
  for (auto _ : st) s.draw();
}

// The first part of the paint alone: the picture scaled to the area.
void stretch(benchmark::State& st, wxSize area) {
  Stage& s = stage(area);
  s.handOver();
  s.present();
  const std::shared_ptr<const BgrFrame> frame = s.panel->CurrentFrame();
  std::vector<uint8_t> out(static_cast<size_t>(area.x) * area.y * 4);
  FrameScaler scaler;
  for (auto _ : st) {
    scaler.scale(*frame,
                 PictureRect{0, 0, static_cast<double>(area.x), static_cast<double>(area.y)},
                 area.x, area.y, out.data(), area.x * 4);
    benchmark::DoNotOptimize(out.data());
  }
}

// The yardstick for the paint: what a paint costs when each picture becomes
// a new wxImage and wxBitmap that is then drawn (the picture already scaled).
void bitmapPerPicture(benchmark::State& st, wxSize area) {
  Stage& s = stage(area);
  wxImage image(area, false);
  std::memset(image.GetData(), 0x80, static_cast<size_t>(area.x) * area.y * 3);
  for (auto _ : st) {
    wxClientDC dc(s.panel);
    dc.DrawBitmap(wxBitmap(image), 0, 0);
  }
}

void wholeStep(benchmark::State& st, wxSize area) {
  Stage& s = stage(area);
  for (auto _ : st) {
    s.handOver();
    s.present();
    s.draw();
  }
}

}  // namespace

int main(int argc, char** argv) {
  wxApp::SetInstance(new BenchApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "bench_display needs a display (run it under xvfb-run)\n");
    return 1;
  }
  const wxSize windowArea(780, 461), fullScreen(1920, 1080);
  // Each of these two pauses the clock around the other half of the step; a fixed count keeps
  // the untimed half from running for minutes while the timed one gathers its half second.
  benchmark::RegisterBenchmark("display/1080p/hand-over-in", handOver)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(300);
  benchmark::RegisterBenchmark("display/1080p/present", present)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(300);
  benchmark::RegisterBenchmark("display/1080p/draw-780x461", draw, windowArea)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("display/1080p/draw-1920x1080", draw, fullScreen)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("display/1080p/draw-780x461/stretch", stretch, windowArea)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("display/1080p/draw-1920x1080/stretch", stretch, fullScreen)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("display/1080p/bitmap-per-picture-1920x1080", bitmapPerPicture,
                               fullScreen)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("display/1080p/step-780x461", wholeStep, windowArea)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("display/1080p/step-1920x1080", wholeStep, fullScreen)
      ->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  // The yardstick of a display step is the time one picture has at 30 fps.
  for (const char* area : {"780x461", "1920x1080"}) {
    const std::string step = std::string("display/1080p/step-") + area;
    if (reporter.has(step)) {
      std::printf("ratio: display-step-1080p-in-%s-vs-30fps-interval %.2f\n", area,
                  (1000.0 / 30.0) / reporter.times.at(step).cpu);
    }
  }
  // Our whole paint, scaling included, against one that only hands a new
  // bitmap over; in wall time too, as the X server's share is not ours.
  for (const bool cpu : {true, false}) {
    reporter.printRatio(cpu ? "display-draw-1080p-in-1920x1080-vs-bitmap-per-picture"
                            : "display-draw-1080p-in-1920x1080-vs-bitmap-per-picture-wall",
                        "display/1080p/bitmap-per-picture-1920x1080",
                        "display/1080p/draw-1920x1080", cpu);
  }
  benchmark::Shutdown();
  stages.clear();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return 0;
}
