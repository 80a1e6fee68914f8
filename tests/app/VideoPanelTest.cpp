#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>

#include <atomic>
#include <thread>

#include "app/ControlTable.h"
#include "app/FrameScaler.h"
#include "app/VantrelDlg.h"
#include "app/VideoPanel.h"
#include "engine/Demuxer.h"
#include "engine/PlayerState.h"
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

}  // namespace

TEST(FrameScaler, NearestSourceIsThePixelUnderTheCentre) {
  struct Case {
    int i, n, size, expected;
  };
  const Case cases[] = {
      {0, 4, 4, 0},      {3, 4, 4, 3},                          // same size: itself
      {0, 2, 4, 1},      {1, 2, 4, 3},                          // halved: the second of each pair
      {0, 8, 4, 0},      {1, 8, 4, 0},           {7, 8, 4, 3},  // doubled: each twice
      {0, 1, 1920, 960}, {639, 640, 1920, 1918},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(nearestSource(c.i, c.n, c.size), c.expected) << c.i << "/" << c.n << " of " << c.size;
  }
}

TEST(FrameScaler, StretchesNearestAndTurnsBgrIntoRgb) {
  struct Size {
    int width, height;
  };
  const Size sizes[] = {{160, 120}, {80, 60}, {321, 239}, {7, 3}, {1920, 1080}};
  std::shared_ptr<BgrFrame> frame = quadrants(160, 120);
  FrameScaler scaler;
  for (const Size& s : sizes) {
    std::vector<uint8_t> rgb(static_cast<size_t>(s.width) * s.height * 3);
    scaler.scale(*frame, s.width, s.height, rgb.data());
    for (int y = 0; y < s.height; ++y) {
      for (int x = 0; x < s.width; ++x) {
        const uint8_t* source =
            frame->row(nearestSource(y, s.height, 120)) + nearestSource(x, s.width, 160) * 3;
        const uint8_t* out = &rgb[(static_cast<size_t>(y) * s.width + x) * 3];
        ASSERT_EQ(out[0], source[2]) << s.width << "x" << s.height << " at " << x << "," << y;
        ASSERT_EQ(out[1], source[1]);
        ASSERT_EQ(out[2], source[0]);
      }
    }
  }
}

TEST(VideoPanel, PictureTakesTheAreaLessTwoPixels) {
  EXPECT_EQ(VideoPanel::PictureSize({322, 242}), wxSize(320, 240));
  EXPECT_EQ(VideoPanel::PictureSize({1, 0}), wxSize(0, 0));
}

// A picture handed over from another thread makes the UI thread paint it,
// stretched over the area inside the border.
TEST(VideoPanel, DrawsTheLatestPictureStretchedOverItsArea) {
  wxFrame* window = new wxFrame(nullptr, wxID_ANY, "video", wxPoint(0, 0), wxSize(500, 400));
  wxPanel* host = new wxPanel(window);  // a frame would stretch its only child
  VideoPanel* panel =
      new VideoPanel(host, wxID_ANY, wxPoint(10, 10), wxSize(322, 242), wxBORDER_SIMPLE);
  window->Show();
  testsupport::pumpFor(200);
  ASSERT_EQ(panel->GetClientSize(), wxSize(320, 240));

  PaintCounter counter(panel);
  const int before = counter.paints;
  std::thread playback([&] {
    panel->presentFrame(quadrants(64, 48));
    panel->presentFrame(quadrants(160, 120));  // replaces the first before any paint
  });
  playback.join();
  EXPECT_EQ(panel->CurrentFrame()->width, 160);
  EXPECT_TRUE(testsupport::pumpUntil([&] { return counter.paints > before; }));

  struct Probe {
    int x, y;
    Rgb colour;
  };
  const Probe probes[] = {{80, 60, {255, 0, 0}},  {240, 60, {0, 255, 0}},
                          {80, 180, {0, 0, 255}}, {240, 180, {255, 255, 255}},
                          {0, 0, {255, 0, 0}},    {319, 239, {255, 255, 255}}};
  const auto mismatches = [&](const wxImage& image) {
    int wrong = 0;
    for (const Probe& p : probes) {
      wrong += image.GetRed(p.x, p.y) != p.colour.r || image.GetGreen(p.x, p.y) != p.colour.g ||
               image.GetBlue(p.x, p.y) != p.colour.b;
    }
    return wrong;
  };
  EXPECT_EQ(mismatches(drawnImage(panel)), 0);
  testsupport::saveScreenshot("video-panel");
  window->Destroy();
  testsupport::pumpFor(50);
}

// The main window's video area shows a recording's pictures through the whole
// video path (demuxer, decoder, display): what it paints is the presented
// picture stretched over it, with the 2-pixel inset black.
TEST(VideoPanel, MainWindowShowsARecordingsPictures) {
  PlayerState player;
  CVantrelDlg dialog(player);
  dialog.Show();
  testsupport::pumpFor(300);
  VideoPanel* area = dialog.VideoArea();
  ASSERT_EQ(area, dialog.FindWindow(IDC_VIDEO));

  const std::string path = std::string(VANTREL_FIXTURES) + "/play-pcm.AVI";  // MJPEG 4:2:2
  ASSERT_EQ(avformat_open_input(&player.formatContext, path.c_str(), nullptr, nullptr), 0);
  ASSERT_GE(avformat_find_stream_info(player.formatContext, nullptr), 0);
  const int video =
      av_find_best_stream(player.formatContext, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
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

  const std::shared_ptr<const BgrFrame> frame = area->CurrentFrame();
  ASSERT_TRUE(frame);
  const wxSize size = VideoPanel::PictureSize(area->GetSize());
  // Probes over the area against the picture stretched; past the picture, black.
  const auto mismatches = [&](const wxImage& image) {
    int wrong = 0;
    for (int py = 0; py < 8; ++py) {
      for (int px = 0; px < 8; ++px) {
        const int x = px * size.x / 8 + 3, y = py * size.y / 8 + 3;
        const uint8_t* bgr = frame->row(nearestSource(y, size.y, frame->height)) +
                             nearestSource(x, size.x, frame->width) * 3;
        wrong += image.GetRed(x, y) != bgr[2] || image.GetGreen(x, y) != bgr[1] ||
                 image.GetBlue(x, y) != bgr[0];
      }
    }
    for (int x = size.x; x < image.GetWidth(); ++x) {
      wrong += image.GetRed(x, size.y / 2) + image.GetGreen(x, size.y / 2) != 0;
    }
    return wrong;
  };
  EXPECT_EQ(mismatches(drawnImage(area)), 0);
  testsupport::saveScreenshot("main-window-video");
  avformat_close_input(&player.formatContext);
}
