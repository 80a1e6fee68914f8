#include "widgets/BitmapSlider.h"

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/settings.h>

#include "engine/Messages.h"
#include "widgets/MemDC2.h"
#include "widgets/SliderBitmaps.h"
#include "widgets/UiThread.h"

namespace vantrel {

namespace {
// The image of id, with its colour-key mask when transparent; invalid when
// the id has no image or the key pixel lies outside it.
wxBitmap loadImage(int id, const wxColour& surround, bool transparent, uint32_t key, int keyX,
                   int keyY) {
  wxBitmap bitmap = LoadSliderBitmap(id, surround);
  if (!bitmap.IsOk() || !transparent) return bitmap;
  wxColour colour(static_cast<unsigned long>(key));
  if (key == kKeyFromPixel) {
    const wxImage image = bitmap.ConvertToImage();
    if (keyX < 0 || keyY < 0 || keyX >= image.GetWidth() || keyY >= image.GetHeight()) {
      return wxNullBitmap;
    }
    colour.Set(image.GetRed(keyX, keyY), image.GetGreen(keyX, keyY), image.GetBlue(keyX, keyY));
  }
  bitmap.SetMask(new wxMask(bitmap, colour));
  return bitmap;
}

// Both images of a pair, or neither: the active one must match the normal one's size.
bool loadPair(int id, int activeId, const wxColour& surround, bool transparent, uint32_t key,
              int keyX, int keyY, wxBitmap& normal, wxBitmap& active) {
  normal = loadImage(id, surround, transparent, key, keyX, keyY);
  if (!normal.IsOk()) return false;
  if (activeId == 0) return true;
  active = loadImage(activeId, surround, transparent, key, keyX, keyY);
  return active.IsOk() && active.GetSize() == normal.GetSize();
}
}  // namespace

CBitmapSlider::CBitmapSlider(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                             const wxSize& size, long style) {
  // The slider never erases: with a see-through channel the parent shows.
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  // Created here, not by the base constructor, so GetDefaultBorder is ours.
  Create(parent, id, pos, size, style | wxWANTS_CHARS);
  Bind(wxEVT_PAINT, &CBitmapSlider::OnPaint, this);
  Bind(wxEVT_LEFT_DOWN, &CBitmapSlider::OnLeftDown, this);
  Bind(wxEVT_MOTION, &CBitmapSlider::OnMouseMove, this);
  Bind(wxEVT_LEFT_UP, &CBitmapSlider::OnLeftUp, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &CBitmapSlider::OnCaptureLost, this);
  Bind(wxEVT_KEY_DOWN, &CBitmapSlider::OnKeyDown, this);
  Bind(wxEVT_SET_FOCUS, &CBitmapSlider::OnFocus, this);
  Bind(wxEVT_KILL_FOCUS, &CBitmapSlider::OnFocus, this);
}

wxColour CBitmapSlider::SurroundColour() const {
  return GetParent() ? GetParent()->GetBackgroundColour()
                     : wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
}

SliderTrack CBitmapSlider::Track() const {
  return {m_width, m_thumbWidth, m_marginLeft, m_marginRight, m_rangeMin, m_rangeMax};
}

wxSize CBitmapSlider::DoGetBestSize() const {
  if (m_channelLoaded) return {m_width, m_height};
  if (m_thumbLoaded) return {m_thumbWidth, m_thumbHeight};
  return wxControl::DoGetBestSize();
}

void CBitmapSlider::SetRange(int min, int max, bool redraw) {
  if (deferToUiThread(this, [=, this] { SetRange(min, max, redraw); })) return;
  m_rangeMin = min;
  SetRangeMax(max, redraw);
}

void CBitmapSlider::SetRangeMin(int min, bool redraw) {
  if (deferToUiThread(this, [=, this] { SetRangeMin(min, redraw); })) return;
  m_rangeMin = min;
  if (redraw) Refresh();
}

void CBitmapSlider::SetRangeMax(int max, bool redraw) {
  if (deferToUiThread(this, [=, this] { SetRangeMax(max, redraw); })) return;
  m_rangeMax = max;
  if (redraw) Refresh();
}

void CBitmapSlider::SetPos(int pos) {
  if (deferToUiThread(this, [=, this] { SetPos(pos); })) return;
  m_pos = Track().clampPos(pos);
  Refresh();
}

int CBitmapSlider::SetPageSize(int size) {
  return std::exchange(m_pageSize, size);
}

void CBitmapSlider::SetMargin(int left, int top, int right, int bottom) {
  m_marginLeft = left;
  m_marginTop = top;
  m_marginRight = right;
  m_marginBottom = bottom;
}

bool CBitmapSlider::SetBitmapChannel(int channelId, int activeId, bool transparent,
                                     uint32_t transparentColor, int keyX, int keyY) {
  if (channelId == 0) {
    m_channelLoaded = false;
    m_channel = m_channelActive = wxNullBitmap;
    return true;
  }
  wxBitmap channel, active;
  if (!loadPair(channelId, activeId, SurroundColour(), transparent, transparentColor, keyX, keyY,
                channel, active)) {
    return false;
  }
  m_channel = channel;
  m_channelActive = active;
  m_hasActiveChannel = activeId != 0;
  m_width = channel.GetWidth();
  m_height = channel.GetHeight();
  SetSize(m_width, m_height);  // keeps the position
  InvalidateBestSize();
  m_channelTransparent = transparent;
  m_channelLoaded = true;
  Refresh();
  return true;
}

bool CBitmapSlider::SetBitmapThumb(int thumbId, int activeId, bool transparent,
                                   uint32_t transparentColor, int keyX, int keyY) {
  if (thumbId == 0) {
    m_thumbLoaded = false;
    m_thumb = m_thumbActive = m_thumbBackground = wxNullBitmap;
    m_prevThumb = wxPoint(-1, -1);
    return true;
  }
  wxBitmap thumb, active;
  if (!loadPair(thumbId, activeId, SurroundColour(), transparent, transparentColor, keyX, keyY,
                thumb, active)) {
    return false;
  }
  const wxSize room = m_channelLoaded ? wxSize(m_width, m_height) : GetClientSize();
  if (thumb.GetWidth() > room.x || thumb.GetHeight() > room.y) return false;
  m_thumb = thumb;
  m_thumbActive = active;
  m_hasActiveThumb = activeId != 0;
  m_thumbWidth = thumb.GetWidth();
  m_thumbHeight = thumb.GetHeight();
  if (!m_channelLoaded) {
    m_width = room.x;
    m_height = room.y;
  }
  m_thumbTransparent = transparent;
  m_thumbLoaded = true;
  Refresh();
  return true;
}

void CBitmapSlider::DrawFocusRect(bool draw, bool redraw) {
  m_drawFocusRect = draw;
  if (redraw) Refresh();
}

bool CBitmapSlider::Enable(bool enable) {
  const bool changed = wxControl::Enable(enable);
  if (!enable && m_dragging) {
    m_dragging = false;
    if (HasCapture()) ReleaseMouse();
  }
  Refresh();
  return changed;
}

void CBitmapSlider::Post(int message) {
  wxWindow* parent = GetParent();
  if (!parent) return;
  auto* event = new wxThreadEvent(wxEVT_THREAD, message);
  event->SetInt(m_pos);
  event->SetExtraLong(GetId());
  wxQueueEvent(parent->GetEventHandler(), event);
}

void CBitmapSlider::OnPaint(wxPaintEvent&) {
  wxPaintDC paint(this);
  CMemDC2 buffer(paint, GetClientRect(), m_channelTransparent);
  wxDC& dc = buffer.DC();
  const int thumbX = Track().pixelOf(m_pos);
  if (m_channelLoaded) DrawChannel(dc, thumbX);
  if (m_prevThumb.x != -1) {
    // Where the frame starts from the screen, the old thumb would still show.
    dc.DrawBitmap(m_thumbBackground, m_prevThumb);
    m_prevThumb = wxPoint(-1, -1);
  }
  // Only a frame composed in our own buffer can be read back dependably; a
  // system-buffered surface starts from the parent each time anyway.
  const bool seeThrough = m_channelTransparent || !m_channelLoaded;
  if (m_thumbLoaded && IsEnabled()) DrawThumb(dc, thumbX, seeThrough && buffer.IsBuffered());
  if (m_drawFocusRect && HasFocus() && IsEnabled()) DrawFocusFrame(dc);
}

void CBitmapSlider::DrawFocusFrame(wxDC& dc) const {
  // A dotted frame round the client area; themes that draw focus as a glow
  // or not at all would leave a focused slider unmarked.
  wxDCPenChanger pen(
      dc, wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT), 1, wxPENSTYLE_DOT));
  wxDCBrushChanger brush(dc, *wxTRANSPARENT_BRUSH);
  dc.DrawRectangle(GetClientRect());
}

void CBitmapSlider::DrawChannel(wxDC& dc, int thumbX) {
  if (!(m_hasActiveChannel && IsEnabled())) {
    dc.DrawBitmap(m_channel, 0, 0, m_channelTransparent);
    return;
  }
  // Active image left of the thumb centre, the normal one from there on.
  if (thumbX < m_width) {
    wxDCClipper clip(dc, wxRect(thumbX, 0, m_width - thumbX, m_height));
    dc.DrawBitmap(m_channel, 0, 0, m_channelTransparent);
  }
  if (thumbX > 0) {
    wxDCClipper clip(dc, wxRect(0, 0, thumbX, m_height));
    dc.DrawBitmap(m_channelActive, 0, 0, m_channelTransparent);
  }
}

void CBitmapSlider::DrawThumb(wxDC& dc, int thumbX, bool saveBackground) {
  const wxBitmap& image = (m_hasActiveThumb && m_dragging) ? m_thumbActive : m_thumb;
  const wxPoint at(thumbX - m_thumbWidth / 2, m_marginTop);
  if (saveBackground) {
    m_thumbBackground.Create(m_thumbWidth, m_thumbHeight, dc);
    wxMemoryDC saved(m_thumbBackground);
    saved.Blit(0, 0, m_thumbWidth, m_thumbHeight, &dc, at.x, at.y);
    m_prevThumb = at;
  }
  dc.DrawBitmap(image, at, m_thumbTransparent);
}

void CBitmapSlider::OnLeftDown(wxMouseEvent& event) {
  if (!IsEnabled()) return;
  if (!HasCapture()) CaptureMouse();
  SetFocus();
  m_dragging = true;
  // Off the thumb the thumb centre jumps to the pointer; on it, it keeps its grip.
  const int d = event.GetX() - Track().pixelOf(m_pos);
  m_dragOffset = std::abs(d) > m_thumbWidth / 2 ? 0 : d;
  DragTo(event.GetX());
  Refresh();
  event.Skip();
}

void CBitmapSlider::OnMouseMove(wxMouseEvent& event) {
  if (!(m_dragging && IsEnabled())) return;
  DragTo(event.GetX());
  event.Skip();
}

void CBitmapSlider::DragTo(int x) {
  const SliderTrack track = Track();
  const int centre = track.clampCentre(x - m_dragOffset);
  if (centre == track.pixelOf(m_pos)) return;
  SetPos(track.positionAt(centre));
  Post(WM_SLIDER_TRACK);
}

void CBitmapSlider::OnLeftUp(wxMouseEvent& event) {
  if (!IsEnabled()) return;
  if (HasCapture()) ReleaseMouse();
  m_dragging = false;
  Refresh();
  Post(WM_SLIDER_SET);
  event.Skip();
}

void CBitmapSlider::OnCaptureLost(wxMouseCaptureLostEvent&) {
  m_dragging = false;
  Refresh();
}

void CBitmapSlider::OnKeyDown(wxKeyEvent& event) {
  if (!IsEnabled()) return;
  // Tab still moves the focus on; the slider keeps every other key.
  if (event.GetKeyCode() == WXK_TAB && HandleAsNavigationKey(event)) return;
  const std::optional<int> target =
      sliderKeyTarget(event.GetKeyCode(), m_pos, m_pageSize, m_rangeMin, m_rangeMax);
  if (!target) {
    event.Skip();
    return;
  }
  SetPos(*target);
  Post(WM_SLIDER_SET);  // even when the position did not change
}

void CBitmapSlider::OnFocus(wxFocusEvent& event) {
  event.Skip();
  Refresh();  // to show or remove the focus frame
}

}  // namespace vantrel
