#pragma once
// One frame composed off screen and shown on its target in a single copy when
// the object goes out of scope, so a window never shows a half-drawn frame.
// Without a buffer (a printer or PostScript target, or buffering turned off)
// drawing goes straight onto the target. One object lives for one paint.
#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/dcmemory.h>

#include <optional>

namespace vantrel {

class OffscreenDC {
 public:
  OffscreenDC(const OffscreenDC&) = delete;
  OffscreenDC& operator=(const OffscreenDC&) = delete;

  // The surface to draw on, in the target's logical coordinates.
  wxDC& DC() { return m_memory ? static_cast<wxDC&>(*m_memory) : m_target; }
  bool IsBuffered() const { return m_memory.has_value(); }
  // The area covered, in the target's logical coordinates.
  const wxRect& Rect() const { return m_rect; }

  // Printers get no buffer: they show nothing until the page is finished anyway.
  static bool IsPrinting(const wxDC& dc);
  // A window the system double-buffers (GTK 3, macOS): its paint surface
  // starts as the parent's picture and shows nothing until the paint ends.
  static bool IsSystemBuffered(const wxDC& dc);

 protected:
  enum class Start { CopyTarget, FillBackground };
  // rect: the area to cover, or the target's clipping box when none is given.
  OffscreenDC(wxDC& target, const std::optional<wxRect>& rect, bool buffered, Start start);
  ~OffscreenDC();

 private:
  void CreateBuffer();

  wxDC& m_target;  // not owned
  wxRect m_rect;
  wxBitmap m_bitmap;
  std::optional<wxMemoryDC> m_memory;  // only when buffered
};

}  // namespace vantrel
