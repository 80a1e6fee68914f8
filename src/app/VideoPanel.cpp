#include "app/VideoPanel.h"

#include <wx/dcclient.h>

namespace vantrel {

VideoPanel::VideoPanel(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                       long style)
    : wxPanel(parent, id, pos, size, style | wxFULL_REPAINT_ON_RESIZE) {
  SetBackgroundColour(*wxBLACK);
  SetBackgroundStyle(wxBG_STYLE_PAINT);  // OnPaint covers every pixel
  Bind(wxEVT_PAINT, &VideoPanel::OnPaint, this);
}

void VideoPanel::presentFrame(std::shared_ptr<const BgrFrame> frame) {
  {
    std::lock_guard<std::mutex> hold(m_frameLock);
    m_frame = std::move(frame);
  }
  if (!m_refreshQueued.exchange(true)) {
    CallAfter([this] {
      m_refreshQueued = false;
      Refresh(false);
    });
  }
}

std::shared_ptr<const BgrFrame> VideoPanel::CurrentFrame() const {
  std::lock_guard<std::mutex> hold(m_frameLock);
  return m_frame;
}

wxSize VideoPanel::PictureSize(const wxSize& outer) {
  return wxSize(std::max(outer.x - 2, 0), std::max(outer.y - 2, 0));
}

void VideoPanel::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  Draw(dc);
}

void VideoPanel::Draw(wxDC& dc) {
  dc.SetBackground(*wxBLACK_BRUSH);
  const std::shared_ptr<const BgrFrame> frame = CurrentFrame();
  const wxSize size = PictureSize(GetSize());
  if (!frame || frame->width == 0 || size.x == 0 || size.y == 0) {
    dc.Clear();
    return;
  }
  if (!m_image.IsOk() || m_image.GetSize() != size) m_image.Create(size, false);
  m_scaler.scale(*frame, size.x, size.y, m_image.GetData());
  dc.DrawBitmap(wxBitmap(m_image), 0, 0);
  // Without a border the client area reaches past the picture: black there.
  const wxSize client = GetClientSize();
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(*wxBLACK_BRUSH);
  if (client.x > size.x) dc.DrawRectangle(size.x, 0, client.x - size.x, client.y);
  if (client.y > size.y) dc.DrawRectangle(0, size.y, size.x, client.y - size.y);
}

}  // namespace vantrel
