#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/frame.h>

#include <thread>

#include "app/FrameScaler.h"
#include "app/VideoPanel.h"
#include "support/WxTestSupport.h"

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

// A picture handed over from another thread is drawn by the UI thread,
// stretched over the area inside the border.
TEST(VideoPanel, DrawsTheLatestPictureStretchedOverItsArea) {
  wxFrame* window = new wxFrame(nullptr, wxID_ANY, "video", wxPoint(0, 0), wxSize(500, 400));
  wxPanel* host = new wxPanel(window);  // a frame would stretch its only child
  VideoPanel* panel =
      new VideoPanel(host, wxID_ANY, wxPoint(10, 10), wxSize(322, 242), wxBORDER_SIMPLE);
  window->Show();
  testsupport::pumpFor(200);
  ASSERT_EQ(panel->GetClientSize(), wxSize(320, 240));

  std::thread playback([&] {
    panel->presentFrame(quadrants(64, 48));
    panel->presentFrame(quadrants(160, 120));  // replaces the first before any paint
  });
  playback.join();
  EXPECT_EQ(panel->CurrentFrame()->width, 160);
  testsupport::pumpFor(300);

  // Read back what the screen shows inside the panel's client area.
  const wxPoint origin = panel->ClientToScreen(wxPoint(0, 0));
  wxBitmap shot(320, 240);
  {
    wxScreenDC screen;
    wxMemoryDC memory(shot);
    memory.Blit(0, 0, 320, 240, &screen, origin.x, origin.y);
  }
  const wxImage image = shot.ConvertToImage();
  struct Probe {
    int x, y;
    Rgb colour;
  };
  const Probe probes[] = {{80, 60, {255, 0, 0}},  {240, 60, {0, 255, 0}},
                          {80, 180, {0, 0, 255}}, {240, 180, {255, 255, 255}},
                          {0, 0, {255, 0, 0}},    {319, 239, {255, 255, 255}}};
  for (const Probe& p : probes) {
    EXPECT_EQ(image.GetRed(p.x, p.y), p.colour.r) << p.x << "," << p.y;
    EXPECT_EQ(image.GetGreen(p.x, p.y), p.colour.g) << p.x << "," << p.y;
    EXPECT_EQ(image.GetBlue(p.x, p.y), p.colour.b) << p.x << "," << p.y;
  }
  testsupport::saveScreenshot("video-panel");
  window->Destroy();
  testsupport::pumpFor(50);
}
