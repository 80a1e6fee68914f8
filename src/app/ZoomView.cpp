#include "app/ZoomView.h"

#include <algorithm>
#include <cmath>

namespace vantrel {

PictureRect fitPicture(const ViewSizes& s) {
  PictureRect rect;
  const double shownWidth = s.width * (s.sampleAspect > 0 ? s.sampleAspect : 1.0);
  if (shownWidth <= 0 || s.height <= 0 || s.areaWidth <= 0 || s.areaHeight <= 0) return rect;
  const double scale = std::min(s.areaWidth / shownWidth, s.areaHeight / s.height);
  // Whole pixels, so the bars are even and an exact fit leaves none.
  rect.width = std::min(s.areaWidth, std::round(shownWidth * scale));
  rect.height = std::min(s.areaHeight, std::round(s.height * scale));
  rect.x = std::floor((s.areaWidth - rect.width) / 2);
  rect.y = std::floor((s.areaHeight - rect.height) / 2);
  return rect;
}

PictureRect ZoomView::Place(const ViewSizes& sizes) const {
  const PictureRect fit = fitPicture(sizes);
  if (!Zoomed()) return fit;
  PictureRect rect;
  rect.width = fit.width * m_zoom;
  rect.height = fit.height * m_zoom;
  rect.x = sizes.areaWidth / 2 - m_centerX * rect.width;
  rect.y = sizes.areaHeight / 2 - m_centerY * rect.height;
  return rect;
}

void ZoomView::ZoomAround(double factor, double x, double y, const ViewSizes& sizes) {
  const PictureRect before = Place(sizes);
  if (before.width <= 0 || before.height <= 0 || !(factor > 0)) return;
  // The picture point under the cursor, before.
  const double u = (x - before.x) / before.width;
  const double v = (y - before.y) / before.height;
  m_zoom = std::clamp(m_zoom * factor, kMinZoom, kMaxZoom);
  if (!Zoomed()) {
    Reset();
    return;
  }
  const PictureRect fit = fitPicture(sizes);
  // Put (u, v) back under the cursor: centre = u - (x - area centre) / width.
  m_centerX = u - (x - sizes.areaWidth / 2) / (fit.width * m_zoom);
  m_centerY = v - (y - sizes.areaHeight / 2) / (fit.height * m_zoom);
  Clamp(sizes);
}

void ZoomView::PanBy(double dx, double dy, const ViewSizes& sizes) {
  if (!Zoomed()) return;
  const PictureRect rect = Place(sizes);
  if (rect.width <= 0 || rect.height <= 0) return;
  m_centerX -= dx / rect.width;
  m_centerY -= dy / rect.height;
  Clamp(sizes);
}

void ZoomView::Reset() {
  m_zoom = kMinZoom;
  m_centerX = m_centerY = 0.5;
}

void ZoomView::Clamp(const ViewSizes& sizes) {
  const PictureRect rect = Place(sizes);
  const auto keep = [](double center, double size, double area) {
    // Smaller than the area: centred. Larger: no gap at either edge.
    if (size <= area) return 0.5;
    const double half = area / 2 / size;
    return std::clamp(center, half, 1.0 - half);
  };
  m_centerX = keep(m_centerX, rect.width, sizes.areaWidth);
  m_centerY = keep(m_centerY, rect.height, sizes.areaHeight);
}

}  // namespace vantrel
