#include <gtest/gtest.h>
#include <wx/image.h>

#include "WxPrinters.h"
#include "widgets/SliderBitmaps.h"
#include "widgets/SliderGeometry.h"

using namespace vantrel;

namespace {
// The progress slider while a 300-second recording plays, and the volume slider.
const SliderTrack kProgress{640, 23, 2, 2, 0, 300};
const SliderTrack kVolume{110, 0, 8, 8, 0, 128};
}  // namespace

TEST(SliderTrack, PositionToPixel) {
  struct Case {
    SliderTrack track;
    int pos, x;
  } cases[] = {
      {kProgress, 0, 13},
      {kProgress, 150, 319},
      {kProgress, 300, 626},
      {kVolume, 0, 8},
      {kVolume, 80, 66},
      {kVolume, 128, 102},
      {kVolume, 500, 102},  // outside the range
                            // (SetRange does not
                            // re-clamp): the nearer end
      {kVolume, -4, 8},
  };
  for (const Case& c : cases) EXPECT_EQ(c.track.pixelOf(c.pos), c.x) << c.pos;
}

TEST(SliderTrack, PixelToPosition) {
  struct Case {
    SliderTrack track;
    int x, pos;
  } cases[] = {
      {kProgress, 13, 0}, {kProgress, 319, 149}, {kProgress, 626, 300}, {kVolume, 66, 78},
      {kVolume, 8, 0},    {kVolume, 102, 128},   {kVolume, 400, 128},   {kVolume, -50, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(c.track.positionAt(c.x), c.pos) << c.x;
}

TEST(SliderTrack, AnEmptyRangeKeepsTheThumbAtTheLeftEndAndMeansTheMinimum) {
  for (const auto& [min, max] : {std::pair{0, 0}, std::pair{7, 7}, std::pair{10, 3}}) {
    SliderTrack idle = kProgress;
    idle.rangeMin = min;
    idle.rangeMax = max;
    EXPECT_EQ(idle.pixelOf(min), 13);
    EXPECT_EQ(idle.pixelOf(max), 13);
    EXPECT_EQ(idle.positionAt(300), min);
    EXPECT_EQ(idle.positionAt(13), min);
  }
  SliderTrack cramped = kProgress;
  cramped.width = 27;  // margins and thumb fill it: no room to travel
  EXPECT_EQ(cramped.positionAt(20), 0);
}

TEST(SliderTrack, ClampingPositionsAndCentres) {
  EXPECT_EQ(kVolume.clampPos(200), 128);
  EXPECT_EQ(kVolume.clampPos(-1), 0);
  EXPECT_EQ(kVolume.clampPos(64), 64);
  SliderTrack reversed = kVolume;
  reversed.rangeMin = 50;
  reversed.rangeMax = 10;
  EXPECT_EQ(reversed.clampPos(30), 50);
  EXPECT_EQ(kProgress.clampCentre(0), 13);
  EXPECT_EQ(kProgress.clampCentre(1000), 627);  // one past pixelOf(300) with an odd thumb
  EXPECT_EQ(kProgress.clampCentre(200), 200);
}

TEST(SliderKeys, EachKeysTarget) {
  struct Case {
    int key;
    std::optional<int> target;
  } cases[] = {
      {WXK_PAGEUP, 30},     {WXK_PAGEDOWN, 50},  {WXK_END, 128},
      {WXK_HOME, 0},        {WXK_LEFT, 39},      {WXK_UP, 39},
      {WXK_RIGHT, 41},      {WXK_DOWN, 41},      {WXK_NUMPAD_PAGEUP, 30},
      {WXK_NUMPAD_HOME, 0}, {'A', std::nullopt}, {WXK_RETURN, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(sliderKeyTarget(c.key, 40, 10, 0, 128), c.target) << c.key;
  EXPECT_EQ(sliderKeyTarget(WXK_PAGEDOWN, INT_MAX - 1, 10, 0, 128), INT_MAX);  // no overflow
}

TEST(SliderBitmaps, EachPictureHasItsSizeAndKey) {
  const wxColour surround(10, 20, 30);
  struct Case {
    int id;
    wxSize size;
    wxColour key;  // the colour of pixel (0, 0)
  } cases[] = {
      {IDB_PROGRESS_CHANNEL, {640, 17}, surround},
      {IDB_PROGRESS_CHANNEL_ACTIVE, {640, 17}, surround},
      {IDB_PROGRESS_THUMB, {23, 11}, {255, 0, 0}},
      {IDB_PROGRESS_THUMB_ACTIVE, {23, 11}, {255, 0, 0}},
      {IDB_VOLUME_CHANNEL, {110, 40}, {0, 0, 0}},
      {IDB_VOLUME_CHANNEL_ACTIVE, {110, 40}, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    const wxBitmap bitmap = LoadSliderBitmap(c.id, surround);
    ASSERT_TRUE(bitmap.IsOk()) << c.id;
    EXPECT_EQ(bitmap.GetSize(), c.size) << c.id;
    EXPECT_EQ(bitmap.GetDepth(), 24) << c.id;
    const wxImage image = bitmap.ConvertToImage();
    EXPECT_EQ(wxColour(image.GetRed(0, 0), image.GetGreen(0, 0), image.GetBlue(0, 0)), c.key)
        << c.id;
  }
  EXPECT_FALSE(LoadSliderBitmap(4711, surround).IsOk());
}

TEST(SliderBitmaps, ThumbKeysOnlyItsFourCorners) {
  for (int id : {IDB_PROGRESS_THUMB, IDB_PROGRESS_THUMB_ACTIVE}) {
    const wxImage image = LoadSliderBitmap(id, *wxWHITE).ConvertToImage();
    int keyed = 0;
    for (int y = 0; y < image.GetHeight(); ++y) {
      for (int x = 0; x < image.GetWidth(); ++x) {
        keyed += image.GetRed(x, y) == 255 && image.GetGreen(x, y) == 0 && image.GetBlue(x, y) == 0;
      }
    }
    EXPECT_EQ(keyed, 4) << id;
  }
}

TEST(SliderBitmaps, VolumeBarsRiseAndLightYellowToRed) {
  const wxImage plain = LoadSliderBitmap(IDB_VOLUME_CHANNEL, *wxWHITE).ConvertToImage();
  const wxImage lit = LoadSliderBitmap(IDB_VOLUME_CHANNEL_ACTIVE, *wxWHITE).ConvertToImage();
  auto barTop = [&](int x) {
    int y = 0;
    while (y < 40 && plain.GetRed(x, y) == 0 && plain.GetGreen(x, y) == 0) ++y;
    return y;
  };
  EXPECT_GT(barTop(10), barTop(50));
  EXPECT_GT(barTop(50), barTop(99));
  EXPECT_EQ(wxColour(plain.GetRed(50, 37), plain.GetGreen(50, 37), plain.GetBlue(50, 37)),
            wxColour(128, 128, 0));
  EXPECT_EQ(wxColour(lit.GetRed(10, 37), lit.GetGreen(10, 37), lit.GetBlue(10, 37)),
            wxColour(255, 255, 0));
  EXPECT_EQ(wxColour(lit.GetRed(99, 37), lit.GetGreen(99, 37), lit.GetBlue(99, 37)),
            wxColour(255, 0, 0));
}
