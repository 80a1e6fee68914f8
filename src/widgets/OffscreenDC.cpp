#include "widgets/OffscreenDC.h"

#include <wx/dcprint.h>
#include <wx/dcps.h>

#include <algorithm>

namespace vantrel {

namespace {
wxRect clipBox(const wxDC& dc) {
  wxRect box;
  dc.GetClippingBox(box);
  return box;
}

void fillSolid(wxDC& dc, const wxRect& rect, const wxColour& colour) {
  wxDCPenChanger pen(dc, *wxTRANSPARENT_PEN);
  wxDCBrushChanger brush(dc, wxBrush(colour));
  dc.DrawRectangle(rect);
}
}  // namespace

bool OffscreenDC::IsPrinting(const wxDC& dc) {
  return dc.IsKindOf(wxCLASSINFO(wxPrinterDC)) || dc.IsKindOf(wxCLASSINFO(wxPostScriptDC));
}

bool OffscreenDC::IsSystemBuffered(const wxDC& dc) {
  const wxWindow* window = dc.GetWindow();
  return window && window->IsDoubleBuffered();
}

OffscreenDC::OffscreenDC(wxDC& target, const std::optional<wxRect>& rect, bool buffered,
                         Start start)
    : m_target(target), m_rect(rect ? *rect : clipBox(target)) {
  wxASSERT(target.IsOk());
  if (buffered) CreateBuffer();
  if (start == Start::CopyTarget) {
    // Unbuffered, the target already shows what it shows.
    if (m_memory) {
      m_memory->Blit(m_rect.GetPosition(), m_rect.GetSize(), &m_target, m_rect.GetPosition());
    }
  } else {
    const wxBrush& background = m_target.GetBackground();
    fillSolid(DC(), m_rect,
              background.IsOk() ? background.GetColour() : m_target.GetTextBackground());
  }
}

void OffscreenDC::CreateBuffer() {
  // The bitmap covers rect in device pixels; the memory surface maps the
  // target's logical coordinates onto it.
  const wxSize device(std::max(1, m_target.LogicalToDeviceXRel(m_rect.width)),
                      std::max(1, m_target.LogicalToDeviceYRel(m_rect.height)));
  m_bitmap.Create(device.x, device.y, m_target);
  m_memory.emplace(&m_target);
  m_memory->SelectObject(m_bitmap);
  m_memory->SetMapMode(m_target.GetMapMode());
  double scaleX = 1.0, scaleY = 1.0;
  m_target.GetUserScale(&scaleX, &scaleY);
  m_memory->SetUserScale(scaleX, scaleY);
  m_memory->SetLogicalOrigin(m_rect.x, m_rect.y);
}

OffscreenDC::~OffscreenDC() {
  if (!m_memory) return;
  m_target.Blit(m_rect.GetPosition(), m_rect.GetSize(), &*m_memory, m_rect.GetPosition());
  m_memory->SelectObject(wxNullBitmap);
}

}  // namespace vantrel
