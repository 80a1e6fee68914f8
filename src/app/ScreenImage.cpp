#include "app/ScreenImage.h"

#include <cairo.h>

namespace vantrel {

ScreenImage::~ScreenImage() {
  Release();
}

void ScreenImage::Release() {
  if (m_surface) cairo_surface_destroy(m_surface);
  m_surface = nullptr;
}

bool ScreenImage::Prepare(cairo_t* target, int width, int height) {
  cairo_surface_t* on = cairo_get_target(target);
  const int type = cairo_surface_get_type(on);
  if (!m_surface || width != m_width || height != m_height || type != m_targetType) {
    Release();
    m_surface = cairo_surface_create_similar_image(on, CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(m_surface) != CAIRO_STATUS_SUCCESS) {
      Release();
      return false;
    }
    m_width = width;
    m_height = height;
    m_targetType = type;
  }
  // The server may still be reading the last picture out of shared memory.
  cairo_surface_flush(m_surface);
  return true;
}

uint8_t* ScreenImage::Data() const {
  return cairo_image_surface_get_data(m_surface);
}

int ScreenImage::Stride() const {
  return cairo_image_surface_get_stride(m_surface);
}

void ScreenImage::PaintOn(cairo_t* target) {
  cairo_surface_mark_dirty(m_surface);
  cairo_save(target);
  cairo_set_operator(target, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(target, m_surface, 0, 0);
  cairo_rectangle(target, 0, 0, m_width, m_height);
  cairo_fill(target);
  cairo_restore(target);
}

}  // namespace vantrel
