#pragma once
// A horizontal slider drawn from bitmaps: a channel whose part left of the
// thumb comes from an "active" channel image, and an optional thumb (with a
// second image while dragged), either drawn through a colour-key mask. It
// reports to its parent with wxThreadEvent(wxEVT_THREAD, WM_SLIDER_TRACK)
// while dragged and WM_SLIDER_SET when a change is complete: GetInt() is the
// position, GetExtraLong() the slider's id.
#include <wx/bitmap.h>
#include <wx/control.h>

#include <cstdint>

#include "widgets/SliderGeometry.h"

namespace vantrel {

// As a transparent colour: take the key from the image's own pixel instead.
constexpr uint32_t kKeyFromPixel = 0xFF000000;

class CBitmapSlider : public wxControl {
 public:
  CBitmapSlider(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = 0);

  // The range and position setters are safe from any thread: a call off the
  // UI thread is carried out there, in calling order. pos is not re-clamped
  // by a new range until the next SetPos.
  void SetRange(int min, int max, bool redraw = false);
  void SetRangeMin(int min, bool redraw = false);
  void SetRangeMax(int max, bool redraw = false);
  // Clamped to the range; always repaints.
  void SetPos(int pos);
  int GetPos() const { return m_pos; }
  int GetRangeMin() const { return m_rangeMin; }
  int GetRangeMax() const { return m_rangeMax; }
  // Returns the previous page size.
  int SetPageSize(int size);
  // The left and right margins bound the thumb's travel; the top one places
  // the thumb; the bottom one is kept but a horizontal slider has no use for it.
  void SetMargin(int left, int top, int right, int bottom);
  void SetMarginLeft(int margin) { m_marginLeft = margin; }
  void SetMarginTop(int margin) { m_marginTop = margin; }
  void SetMarginRight(int margin) { m_marginRight = margin; }
  void SetMarginBottom(int margin) { m_marginBottom = margin; }

  // Images by resource id (SliderBitmaps.h); activeId 0 for none. With
  // transparent, pixels of transparentColor (0x00BBGGRR), or of the colour at
  // (keyX, keyY) when it is kKeyFromPixel, let the background show. The
  // channel sets the slider's size. On failure the previous images stay.
  // channelId / thumbId 0 removes the images. Return whether they loaded.
  bool SetBitmapChannel(int channelId, int activeId, bool transparent, uint32_t transparentColor,
                        int keyX, int keyY);
  bool SetBitmapThumb(int thumbId, int activeId, bool transparent, uint32_t transparentColor,
                      int keyX, int keyY);
  void DrawFocusRect(bool draw, bool redraw);
  // A disabled slider ignores mouse and keys and shows only its plain channel.
  bool Enable(bool enable = true) override;

  // The geometry the slider works with now.
  SliderTrack Track() const;
  bool IsDragging() const { return m_dragging; }
  bool HasChannel() const { return m_channelLoaded; }
  bool HasThumb() const { return m_thumbLoaded; }
  wxSize ThumbSize() const { return {m_thumbWidth, m_thumbHeight}; }

 protected:
  wxSize DoGetBestSize() const override;
  wxBorder GetDefaultBorder() const override { return wxBORDER_NONE; }

 private:
  // The colour of the window the slider sits on.
  wxColour SurroundColour() const;
  void Post(int message);
  void DragTo(int x);
  void DrawChannel(wxDC& dc, int thumbX);
  // saveBackground: keep the picture under the thumb, to put back next frame.
  void DrawThumb(wxDC& dc, int thumbX, bool saveBackground);
  void DrawFocusFrame(wxDC& dc) const;
  void OnPaint(wxPaintEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnMouseMove(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void OnFocus(wxFocusEvent& event);

  int m_rangeMax = 100;
  int m_rangeMin = 0;
  int m_pos = 0;
  int m_pageSize = 20;
  int m_width = 0, m_height = 0;  // of the channel, else of the client area
  int m_thumbWidth = 0, m_thumbHeight = 0;
  int m_marginLeft = 0, m_marginRight = 0, m_marginTop = 0, m_marginBottom = 0;
  wxPoint m_prevThumb{-1, -1};  // where the saved background goes back; -1: nothing
  int m_dragOffset = 0;         // from the thumb centre to the grip point
  bool m_hasActiveChannel = false;
  bool m_hasActiveThumb = false;
  bool m_channelTransparent = false;
  bool m_thumbTransparent = false;
  bool m_thumbLoaded = false;
  bool m_channelLoaded = false;
  bool m_dragging = false;
  bool m_drawFocusRect = true;

  wxBitmap m_channel, m_channelActive;  // with their masks when transparent
  wxBitmap m_thumb, m_thumbActive;
  wxBitmap m_thumbBackground;  // the picture under the thumb
};

}  // namespace vantrel
