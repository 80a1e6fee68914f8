#pragma once
// Where the picture lies in the video area: kept in its shape (black bars
// beside or above it), enlarged from 1x to 8x around a point, and moved by
// dragging. Plain geometry, so tests check it without painting.

namespace vantrel {

constexpr double kMinZoom = 1.0;
constexpr double kMaxZoom = 8.0;

// The whole picture's rectangle in area pixels; when enlarged it reaches
// past the area.
struct PictureRect {
  double x = 0, y = 0, width = 0, height = 0;
};

// A picture of width x height pixels whose pixels are sampleAspect times as
// wide as high, in an area of areaWidth x areaHeight pixels.
struct ViewSizes {
  double width = 0, height = 0, sampleAspect = 1.0;
  double areaWidth = 0, areaHeight = 0;
};

class ZoomView {
 public:
  double Zoom() const { return m_zoom; }
  bool Zoomed() const { return m_zoom > kMinZoom; }

  // The picture's rectangle: at 1x the largest of its shape that fits,
  // centred; enlarged, the point of the picture at the view's centre lies at
  // the area's centre, moved only as far as keeps the area covered.
  PictureRect Place(const ViewSizes& sizes) const;

  // Enlarges by factor (below 1: back towards 1x) keeping the picture point
  // under (x, y) where it is, as far as the limits allow.
  void ZoomAround(double factor, double x, double y, const ViewSizes& sizes);
  // Moves the picture by (dx, dy) area pixels.
  void PanBy(double dx, double dy, const ViewSizes& sizes);
  void Reset();

 private:
  // Keeps the centre where the enlarged picture still covers the area.
  void Clamp(const ViewSizes& sizes);

  double m_zoom = kMinZoom;
  // The picture point (0..1 across and down) shown at the area's centre.
  double m_centerX = 0.5;
  double m_centerY = 0.5;
};

// The rectangle of the picture's shape that fits the area, centred (all
// zero when either has no size).
PictureRect fitPicture(const ViewSizes& sizes);

}  // namespace vantrel
