#include <gtest/gtest.h>

#include "app/ZoomView.h"

namespace vantrel {
namespace {

struct FitCase {
  const char* what;
  ViewSizes sizes;
  PictureRect rect;
};

TEST(FitPicture, KeepsThePicturesShapeCentredBetweenBars) {
  const FitCase cases[] = {
      {"16:9 in 16:9", {1920, 1080, 1, 640, 360}, {0, 0, 640, 360}},
      {"16:9 in 4:3: bars above and below", {1920, 1080, 1, 640, 480}, {0, 60, 640, 360}},
      {"4:3 in 16:9: bars beside", {640, 480, 1, 640, 360}, {80, 0, 480, 360}},
      {"the window's area (892 x 492) with 1080p", {1920, 1080, 1, 892, 492}, {8, 0, 875, 492}},
      {"1440 x 1080 with 4:3 pixels is 16:9", {1440, 1080, 4.0 / 3, 640, 360}, {0, 0, 640, 360}},
      {"portrait", {480, 854, 1, 640, 360}, {219, 0, 202, 360}},
      {"no picture", {0, 0, 1, 640, 360}, {0, 0, 0, 0}},
      {"no area", {640, 480, 1, 0, 0}, {0, 0, 0, 0}},
  };
  for (const FitCase& c : cases) {
    const PictureRect r = fitPicture(c.sizes);
    EXPECT_EQ(r.x, c.rect.x) << c.what;
    EXPECT_EQ(r.y, c.rect.y) << c.what;
    EXPECT_EQ(r.width, c.rect.width) << c.what;
    EXPECT_EQ(r.height, c.rect.height) << c.what;
  }
}

// Where the picture point under (x, y) lies, as a fraction of the picture.
std::pair<double, double> pointUnder(const ZoomView& view, const ViewSizes& sizes, double x,
                                     double y) {
  const PictureRect r = view.Place(sizes);
  return {(x - r.x) / r.width, (y - r.y) / r.height};
}

const ViewSizes k1080In4To3{1920, 1080, 1, 640, 480};  // bars of 60 above and below

TEST(ZoomView, EnlargesAroundTheCursorKeepingThePointUnderIt) {
  ZoomView view;
  const auto before = pointUnder(view, k1080In4To3, 400, 200);
  view.ZoomAround(4, 400, 200, k1080In4To3);
  EXPECT_DOUBLE_EQ(view.Zoom(), 4);
  const auto after = pointUnder(view, k1080In4To3, 400, 200);
  EXPECT_NEAR(after.first, before.first, 1e-9);
  EXPECT_NEAR(after.second, before.second, 1e-9);
  const PictureRect r = view.Place(k1080In4To3);
  EXPECT_DOUBLE_EQ(r.width, 2560);
  EXPECT_DOUBLE_EQ(r.height, 1440);
  // Back out a step at the same place: the point stays again.
  view.ZoomAround(0.5, 400, 200, k1080In4To3);
  const auto back = pointUnder(view, k1080In4To3, 400, 200);
  EXPECT_NEAR(back.first, before.first, 1e-9);
  EXPECT_NEAR(back.second, before.second, 1e-9);
}

TEST(ZoomView, StaysBetweenOneAndEightTimes) {
  ZoomView view;
  view.ZoomAround(0.5, 100, 100, k1080In4To3);
  EXPECT_DOUBLE_EQ(view.Zoom(), 1);
  for (int i = 0; i < 20; ++i) view.ZoomAround(1.26, 320, 240, k1080In4To3);
  EXPECT_DOUBLE_EQ(view.Zoom(), 8);
  // Out past 1x: whole and centred again.
  view.ZoomAround(0.01, 10, 10, k1080In4To3);
  EXPECT_FALSE(view.Zoomed());
  const PictureRect r = view.Place(k1080In4To3);
  EXPECT_EQ(r.y, 60);
  EXPECT_EQ(r.x, 0);
}

// Enlarged, the picture covers the area where it is large enough: near a
// corner it stops at the corner; a dimension still smaller than the area
// stays centred.
TEST(ZoomView, NeverLeavesAGapWhereThePictureCoversTheArea) {
  ZoomView view;
  view.ZoomAround(2, 0, 60, k1080In4To3);  // at the picture's top left corner
  PictureRect r = view.Place(k1080In4To3);
  EXPECT_DOUBLE_EQ(r.x, 0);
  EXPECT_DOUBLE_EQ(r.y, 0);  // 720 high now: covers the 480 rows
  view.PanBy(500, 500, k1080In4To3);
  r = view.Place(k1080In4To3);
  EXPECT_DOUBLE_EQ(r.x, 0);
  EXPECT_DOUBLE_EQ(r.y, 0);
  view.PanBy(-5000, -5000, k1080In4To3);
  r = view.Place(k1080In4To3);
  EXPECT_DOUBLE_EQ(r.x + r.width, 640);
  EXPECT_DOUBLE_EQ(r.y + r.height, 480);
  view.PanBy(100, 30, k1080In4To3);
  r = view.Place(k1080In4To3);
  EXPECT_DOUBLE_EQ(r.x + r.width, 740);
  EXPECT_DOUBLE_EQ(r.y + r.height, 510);

  ZoomView slightly;
  slightly.ZoomAround(1.2, 0, 0, k1080In4To3);  // 432 high: still under 480
  r = slightly.Place(k1080In4To3);
  EXPECT_DOUBLE_EQ(r.y, 24);
  slightly.Reset();
  EXPECT_FALSE(slightly.Zoomed());
  // Not enlarged, dragging does nothing.
  slightly.PanBy(50, 50, k1080In4To3);
  EXPECT_EQ(slightly.Place(k1080In4To3).x, 0);
}

}  // namespace
}  // namespace vantrel
