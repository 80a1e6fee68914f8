#pragma once
// The video area's picture between paints: one 32-bit image kept as long as
// the area keeps its size and filled in place for every picture. Made like
// the surface it is painted on, so on X it lies in memory shared with the
// server, and a paint hands over no pixels through the connection.
#include <cstdint>

extern "C" {
typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;
}

namespace vantrel {

class ScreenImage {
 public:
  ScreenImage() = default;
  ScreenImage(const ScreenImage&) = delete;
  ScreenImage& operator=(const ScreenImage&) = delete;
  ~ScreenImage();

  // Makes the image ready to be filled for a width x height paint on target
  // (the one from before when nothing changed). False when none can be made.
  bool Prepare(cairo_t* target, int width, int height);
  // Pixels 0x00RRGGBB in the machine's byte order, rows Stride() bytes apart.
  uint8_t* Data() const;
  int Stride() const;
  // Paints the filled image at the target's origin.
  void PaintOn(cairo_t* target);

 private:
  void Release();

  cairo_surface_t* m_surface = nullptr;
  int m_targetType = -1;  // the kind of surface it was made for
  int m_width = 0, m_height = 0;
};

}  // namespace vantrel
