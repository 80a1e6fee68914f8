#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/timer.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/ControlTable.h"
#include "app/FrameScaler.h"
#include "app/VantrelDlg.h"
#include "app/VideoPanel.h"
#include "engine/Demuxer.h"
#include "engine/EngineState.h"
#include "engine/PlayerState.h"
#include "engine/ShownPicture.h"
#include "engine/TestFrames.h"
#include "engine/VideoDecoder.h"
#include "support/WxTestSupport.h"

extern "C" {
#include <libavformat/avformat.h>
}

using namespace vantrel;

namespace {

struct Rgb {
  uint8_t r, g, b;
};

// A frame of four coloured quadrants: top left red, top right green,
// bottom left blue, bottom right white.
std::shared_ptr<BgrFrame> quadrants(int width, int height) {
  auto frame = std::make_shared<BgrFrame>();
  frame->width = width;
  frame->height = height;
  frame->stride = width * 3;
  frame->pixels.resize(static_cast<size_t>(frame->stride) * height);
  const Rgb colours[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb& c = colours[(y >= height / 2) * 2 + (x >= width / 2)];
      uint8_t* px = frame->pixels.data() + y * frame->stride + x * 3;
      px[0] = c.b;
      px[1] = c.g;
      px[2] = c.r;
    }
  }
  return frame;
}

// What a paint of the panel draws over its client area (drawn into memory,
// so windows of other tests on the same display cannot get in the way).
wxImage drawnImage(VideoPanel* panel) {
  wxBitmap bitmap(panel->GetClientSize());
  {
    wxMemoryDC memory(bitmap);
    memory.SetBackground(wxBrush(wxColour(255, 0, 255)));  // shows what Draw leaves out
    memory.Clear();
    panel->Draw(memory);
  }
  return bitmap.ConvertToImage();
}

// Counts the paints of a window; its own paint handler still runs.
struct PaintCounter {
  std::atomic<int> paints{0};
  explicit PaintCounter(wxWindow* window) {
    window->Bind(wxEVT_PAINT, [this](wxPaintEvent& event) {
      ++paints;
      event.Skip();
    });
  }
};

// A shown window holding a video area of 320 x 240 inside its border; the
// window goes when the test ends, also when an assertion ends it early.
struct ShownPanel {
  wxFrame* window = new wxFrame(nullptr, wxID_ANY, "video", wxPoint(0, 0), wxSize(500, 400));
  wxPanel* host = new wxPanel(window);  // a frame would stretch its only child
  VideoPanel* panel =
      new VideoPanel(host, wxID_ANY, wxPoint(10, 10), wxSize(322, 242), wxBORDER_SIMPLE);
  ShownPanel() {
    window->Show();
    testsupport::pumpFor(200);
  }
  ~ShownPanel() {
    window->Destroy();
    testsupport::pumpFor(50);
  }
  ShownPanel(const ShownPanel&) = delete;
  ShownPanel& operator=(const ShownPanel&) = delete;
};

}  // namespace

// The picture pixel under the centre of output pixel i of n, for a picture
// n pixels wide drawn size pixels wide (integer arithmetic, as a reference).
int nearestSource(int i, int n, int size) {
  return static_cast<int>((2 * static_cast<int64_t>(i) + 1) * size / (2 * static_cast<int64_t>(n)));
}

uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) {
  return r << 16 | g << 8 | b;
}

PictureRect whole(int width, int height) {
  return {0, 0, static_cast<double>(width), static_cast<double>(height)};
}

// Scaled down or kept, each output pixel is the picture pixel under its
// centre, as 0x00RRGGBB; rows may be padded.
TEST(FrameScaler, ShrinkingTakesThePixelUnderEachCentre) {
  struct Size {
    int width, height;
  };
  const Size sizes[] = {{160, 120}, {80, 60}, {7, 3}, {159, 37}};
  std::shared_ptr<BgrFrame> frame = quadrants(160, 120);
  FrameScaler scaler;
  for (const Size& s : sizes) {
    const int stride = s.width * 4 + 12;
    std::vector<uint32_t> out(static_cast<size_t>(stride / 4) * s.height, 0xdeadbeef);
    scaler.scale(*frame, whole(s.width, s.height), s.width, s.height,
                 reinterpret_cast<uint8_t*>(out.data()), stride);
    for (int y = 0; y < s.height; ++y) {
      for (int x = 0; x < s.width; ++x) {
        const uint8_t* source =
            frame->row(nearestSource(y, s.height, 120)) + nearestSource(x, s.width, 160) * 3;
        ASSERT_EQ(out[y * (stride / 4) + x], rgb(source[2], source[1], source[0]))
            << s.width << "x" << s.height << " at " << x << "," << y;
      }
      ASSERT_EQ(out[y * (stride / 4) + s.width], 0xdeadbeef) << "padding of row " << y;
    }
  }
}

// Enlarged, each output pixel blends the two picture pixels its centre lies
// between (so enlarged text has no steps), edges held.
TEST(FrameScaler, EnlargingBlendsBetweenPixels) {
  auto ramp = std::make_shared<BgrFrame>();
  ramp->width = 4;
  ramp->height = 1;
  ramp->stride = 12;
  const uint8_t values[4] = {0, 100, 200, 250};
  for (uint8_t v : values) ramp->pixels.insert(ramp->pixels.end(), {v, v, v});
  // Twice as wide: centres at picture positions -0.25, 0.25, 0.75, ... 3.25.
  const int expected[8] = {0, 25, 75, 125, 175, 213, 238, 250};
  std::vector<uint32_t> out(8 * 2);
  FrameScaler scaler;
  scaler.scale(*ramp, whole(8, 2), 8, 2, reinterpret_cast<uint8_t*>(out.data()), 8 * 4);
  for (int row = 0; row < 2; ++row) {
    for (int x = 0; x < 8; ++x) {
      const uint32_t pixel = out[row * 8 + x];
      EXPECT_NEAR(pixel & 0xff, expected[x], 1) << x;
      EXPECT_EQ(pixel, rgb(pixel & 0xff, pixel & 0xff, pixel & 0xff)) << x;  // grey stays grey
    }
  }
}

// Over a rectangle of the output: the picture there, black around it; a
// rectangle reaching past the output shows the part of the picture inside.
TEST(FrameScaler, DrawsOverItsRectangleBlackElsewhere) {
  std::shared_ptr<BgrFrame> frame = quadrants(20, 10);
  struct Case {
    PictureRect rect;
    int x, y;  // an output pixel
    Rgb colour;
  } cases[] = {
      {{10, 5, 20, 10}, 10, 5, {255, 0, 0}},       {{10, 5, 20, 10}, 29, 14, {255, 255, 255}},
      {{10, 5, 20, 10}, 9, 5, {0, 0, 0}},          {{10, 5, 20, 10}, 30, 10, {0, 0, 0}},
      {{10, 5, 20, 10}, 15, 4, {0, 0, 0}},         {{10, 5, 20, 10}, 20, 5, {0, 255, 0}},
      {{-20, -10, 40, 20}, 5, 5, {255, 255, 255}}, {{-20, -10, 40, 20}, 39, 19, {0, 0, 0}},
  };
  FrameScaler scaler;
  std::vector<uint32_t> out(40 * 20);
  for (const Case& c : cases) {
    scaler.scale(*frame, c.rect, 40, 20, reinterpret_cast<uint8_t*>(out.data()), 40 * 4);
    EXPECT_EQ(out[c.y * 40 + c.x], rgb(c.colour.r, c.colour.g, c.colour.b))
        << c.rect.x << " " << c.x << "," << c.y;
  }
}

TEST(VideoPanel, PictureTakesTheAreaLessTwoPixels) {
  EXPECT_EQ(VideoPanel::PictureSize({322, 242}), wxSize(320, 240));
  EXPECT_EQ(VideoPanel::PictureSize({1, 0}), wxSize(0, 0));
}

// A picture handed over from another thread makes the UI thread paint it
// in its own shape (its pixels' aspect included), centred between black bars.
TEST(VideoPanel, DrawsTheLatestPictureInItsShape) {
  const ShownPanel window;
  VideoPanel* panel = window.panel;
  ASSERT_EQ(panel->GetClientSize(), wxSize(320, 240));

  PaintCounter counter(panel);
  const int before = counter.paints;
  std::thread playback([&] {
    panel->presentFrame(quadrants(64, 48));
    panel->presentFrame(quadrants(160, 120));  // replaces the first before any paint
  });
  playback.join();
  EXPECT_EQ(panel->CurrentFrame()->width, 160);
  EXPECT_EQ(panel->DroppedFrames(), 1);
  EXPECT_TRUE(testsupport::pumpUntil([&] { return counter.paints > before; }));

  struct Probe {
    int x, y;
    Rgb colour;
  };
  const Rgb black{0, 0, 0}, red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, white{255, 255, 255};
  const auto mismatches = [&](const std::vector<Probe>& probes) {
    const wxImage image = drawnImage(panel);
    int wrong = 0;
    for (const Probe& p : probes) {
      wrong += image.GetRed(p.x, p.y) != p.colour.r || image.GetGreen(p.x, p.y) != p.colour.g ||
               image.GetBlue(p.x, p.y) != p.colour.b;
    }
    return wrong;
  };
  // 4:3 in a 4:3 area: all of it.
  EXPECT_EQ(mismatches({{80, 60, red},
                        {240, 60, green},
                        {80, 180, blue},
                        {240, 180, white},
                        {0, 0, red},
                        {319, 239, white}}),
            0);
  testsupport::saveScreenshot("video-panel");
  // 16:9: 320 x 180 with bars of 30 above and below.
  panel->presentFrame(quadrants(192, 108));
  EXPECT_EQ(
      mismatches(
          {{160, 29, black}, {80, 31, red}, {240, 208, white}, {160, 210, black}, {0, 239, black}}),
      0);
  // Square pixels of a 120 x 120 picture shown 4:3 wide: the whole area again.
  std::shared_ptr<BgrFrame> anamorphic = quadrants(120, 120);
  anamorphic->sampleAspect = 4.0 / 3;
  panel->presentFrame(anamorphic);
  EXPECT_EQ(mismatches({{0, 0, red}, {319, 0, green}, {0, 239, blue}, {319, 239, white}}), 0);
  EXPECT_EQ(panel->DroppedFrames(), 1);  // each later one was painted before the next came
}

// The main window's video area shows a recording's pictures through the whole
// video path (demuxer, decoder, display): what it paints is the presented
// picture in its 4:3 shape, centred, black beside it and in the 2-pixel inset.
TEST(VideoPanel, MainWindowShowsARecordingsPictures) {
  PlayerState player;
  EngineState& engine = engineOf(player);
  CVantrelDlg dialog(player);
  dialog.Show();
  testsupport::pumpFor(300);
  VideoPanel* area = dialog.VideoArea();
  ASSERT_EQ(area, dialog.FindWindow(IDC_VIDEO));

  const std::string path = std::string(VANTREL_FIXTURES) + "/play-pcm.AVI";  // MJPEG 4:2:2
  ASSERT_EQ(avformat_open_input(&engine.formatContext, path.c_str(), nullptr, nullptr), 0);
  ASSERT_GE(avformat_find_stream_info(engine.formatContext, nullptr), 0);
  const int video =
      av_find_best_stream(engine.formatContext, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  player.display.bindVideoSurface(area);
  VideoDecoder decoder(player);
  ASSERT_EQ(videoComponentOpen(decoder, video), 0);
  Demuxer demuxer(player);
  demuxer.start();
  player.audioClock = 1e9;
  // 30 pictures: the moving parts of the test pattern are a second along.
  for (int shown = 0; shown < 30;) {
    if (player.display.waitForPicture(player, 10)) {
      player.display.presentPicture(player);
      ++shown;
    }
    testsupport::pumpEvents();
  }
  requestStop(player);
  demuxer.join();
  decoder.join();
  player.display.bindVideoSurface(nullptr);
  const PlaybackStats stats = dialog.ShownStats();
  EXPECT_EQ(stats.shown + stats.dropped, 30);
  EXPECT_GE(stats.shown, 1);

  const std::shared_ptr<const BgrFrame> frame = area->CurrentFrame();
  ASSERT_TRUE(frame);
  const wxSize size = VideoPanel::PictureSize(area->GetSize());
  const PictureRect rect = area->PicturePlace();
  EXPECT_NEAR(rect.width / rect.height, 4.0 / 3, 0.01);
  EXPECT_EQ(rect.height, size.y);
  EXPECT_NEAR(rect.x, (size.x - rect.width) / 2, 1);
  // Probes over the picture: enlarged, each lies between the four picture
  // pixels around it; beside it and past the area, black.
  const auto mismatches = [&](const wxImage& image) {
    int wrong = 0;
    for (int py = 0; py < 8; ++py) {
      for (int px = 0; px < 8; ++px) {
        const int x = static_cast<int>(rect.x + px * rect.width / 8 + 3);
        const int y = static_cast<int>(rect.y + py * rect.height / 8 + 3);
        const double u = (x + 0.5 - rect.x) * frame->width / rect.width - 0.5;
        const double v = (y + 0.5 - rect.y) * frame->height / rect.height - 0.5;
        const int u0 = std::max(0, static_cast<int>(u)), v0 = std::max(0, static_cast<int>(v));
        const int u1 = std::min(u0 + 1, frame->width - 1), v1 = std::min(v0 + 1, frame->height - 1);
        const int shown[3] = {image.GetBlue(x, y), image.GetGreen(x, y), image.GetRed(x, y)};
        for (int k = 0; k < 3; ++k) {
          const int around[4] = {frame->row(v0)[u0 * 3 + k], frame->row(v0)[u1 * 3 + k],
                                 frame->row(v1)[u0 * 3 + k], frame->row(v1)[u1 * 3 + k]};
          wrong += shown[k] < *std::min_element(around, around + 4) - 1 ||
                   shown[k] > *std::max_element(around, around + 4) + 1;
        }
      }
    }
    for (int x : {0, static_cast<int>(rect.x) - 1, static_cast<int>(rect.x + rect.width) + 1,
                  image.GetWidth() - 1}) {
      wrong += image.GetRed(x, size.y / 2) + image.GetGreen(x, size.y / 2) != 0;
    }
    return wrong;
  };
  EXPECT_EQ(mismatches(drawnImage(area)), 0);
  testsupport::saveScreenshot("main-window-video");
  avformat_close_input(&engine.formatContext);
}

// The area asks for pictures at the size it draws them while it shows them
// smaller at 1x; such a picture looks exactly as the whole one drawn there
// would, and zoomed it is drawn from the whole picture, as sharp as ever. Once
// zoomed, the area asks for whole pictures again.
TEST(VideoPanel, PicturesShownSmallerLookTheSameAndZoomSharp) {
  const ShownPanel window;
  VideoPanel* panel = window.panel;
  ASSERT_EQ(panel->GetClientSize(), wxSize(320, 240));

  struct Case {
    int width, height;
    double aspect;
    int shownWidth, shownHeight;
  };
  const Case cases[] = {{1280, 720, 1.0, 320, 180},
                        {3840, 2160, 1.0, 320, 180},
                        {1440, 1080, 4.0 / 3, 320, 180},
                        {160, 120, 1.0, 320, 240},  // enlarged: the display converts it whole
                        {640, 480, 1.0, 320, 240}};
  for (const Case& c : cases) {
    const PixelSize shown = panel->shownSize(c.width, c.height, c.aspect);
    EXPECT_EQ(shown.width, c.shownWidth) << c.width << "x" << c.height;
    EXPECT_EQ(shown.height, c.shownHeight) << c.width << "x" << c.height;
  }

  PlayerState player;
  EngineState& engine = engineOf(player);
  AVFormatContext* format = avformat_alloc_context();
  engine.formatContext = format;
  engine.videoStream = avformat_new_stream(format, nullptr);
  player.display.bindVideoSurface(panel);
  const auto present = [&](uint8_t seed) {
    videotest::FramePtr decoded = videotest::patternFrame(1280, 720, seed);
    ASSERT_EQ(queuePicture(player, decoded.get(), 0.0, engine.videoQueue.serial), 0);
    player.display.presentPicture(player, false);
  };
  present(1);
  const std::shared_ptr<const BgrFrame> small = panel->CurrentFrame();
  ASSERT_EQ(small->width, 320);
  ASSERT_TRUE(small->planes);
  const wxImage smallDrawn = drawnImage(panel);
  const wxPoint at(200, 100);
  panel->ZoomAround(4, at);
  const wxImage smallZoomed = drawnImage(panel);

  // The same picture handed over whole.
  const std::shared_ptr<const BgrFrame> whole = fullPicture(small);
  panel->ResetZoom();
  panel->presentFrame(std::const_pointer_cast<BgrFrame>(whole));
  const auto same = [](const wxImage& a, const wxImage& b) {
    return a.GetSize() == b.GetSize() &&
           std::equal(a.GetData(), a.GetData() + a.GetWidth() * a.GetHeight() * 3, b.GetData());
  };
  EXPECT_TRUE(same(smallDrawn, drawnImage(panel)));
  panel->ZoomAround(4, at);
  EXPECT_TRUE(same(smallZoomed, drawnImage(panel)));
  EXPECT_FALSE(same(smallDrawn, smallZoomed));

  // Zoomed, the next picture comes whole.
  present(2);
  EXPECT_EQ(panel->CurrentFrame()->width, 1280);
  EXPECT_FALSE(panel->CurrentFrame()->planes);
  const PixelSize zoomed = panel->shownSize(1280, 720, 1.0);
  EXPECT_EQ(zoomed.width, 1280);
  EXPECT_EQ(zoomed.height, 720);

  player.display.bindVideoSurface(nullptr);
  engine.videoStream = nullptr;
  engine.formatContext = nullptr;
  avformat_free_context(format);
}

// Pictures from the playback thread that come faster than the area paints
// wait for the one before to be painted, as long as the area paints at all:
// none is replaced unseen.
TEST(VideoPanel, PicturesWaitForTheOneBeforeToBePainted) {
  const ShownPanel window;
  VideoPanel* panel = window.panel;
  PaintCounter counter(panel);
  panel->presentFrame(quadrants(64, 48));
  ASSERT_TRUE(testsupport::pumpUntil([&] { return counter.paints > 0; }));

  constexpr int kPictures = 5;
  std::atomic<bool> done{false};
  std::thread playback([&] {
    for (int i = 0; i < kPictures; ++i) panel->presentFrame(quadrants(64 + 16 * i, 48));
    done = true;
  });
  EXPECT_TRUE(testsupport::pumpUntil([&] { return done.load(); }));
  playback.join();
  EXPECT_TRUE(testsupport::pumpUntil([&] { return counter.paints > kPictures; }));
  EXPECT_EQ(panel->DroppedFrames(), 0);
  EXPECT_EQ(panel->CurrentFrame()->width, 64 + 16 * (kPictures - 1));
}

// Pictures that come as fast as the area paints them still leave the event
// loop its turn: a timer keeps firing while they come, and they are painted
// all the while.
TEST(VideoPanel, PicturesAsFastAsItPaintsLeaveTheEventLoopItsTurn) {
  const ShownPanel window;
  // Large, so that each paint lasts well beyond the next picture's coming.
  VideoPanel* panel = window.panel;
  window.window->SetSize(1700, 1000);
  panel->SetSize(1602, 902);
  PaintCounter counter(panel);
  panel->presentFrame(quadrants(64, 48));
  ASSERT_TRUE(testsupport::pumpUntil([&] { return counter.paints > 0; }));

  std::atomic<bool> seen{false};
  bool stoppedBySeeing = false;
  // The bound only ends a starved loop's wait; a sanitizer build under load
  // needs seconds to see ten ticks and three large paints.
  std::thread playback([&] {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!seen && std::chrono::steady_clock::now() < end) {
      panel->presentFrame(quadrants(64, 48));
    }
    stoppedBySeeing = seen;
  });
  const int paintsBefore = counter.paints;
  int ticks = 0;
  wxEventLoop loop;
  wxTimer timer;
  timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    if (++ticks >= 10 && counter.paints - paintsBefore >= 3) {
      seen = true;
      loop.Exit();
    }
  });
  timer.Start(50);
  loop.Run();
  timer.Stop();
  playback.join();
  EXPECT_TRUE(stoppedBySeeing) << "the timer and the paints did not both go on while pictures came";
}
