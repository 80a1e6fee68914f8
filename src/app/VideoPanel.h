#pragma once
// The video area (IDC_VIDEO). The playback thread hands it each finished
// picture; the panel keeps the latest under a lock and asks for a repaint,
// and the UI thread alone draws it, in its own shape with black bars around
// it. The mouse wheel enlarges it from 1x to 8x around the cursor, dragging
// moves it, a double-click (or ResetZoom) shows it whole again.
#include <wx/dc.h>
#include <wx/panel.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

#include "app/FrameScaler.h"
#include "app/ScreenImage.h"
#include "app/ZoomView.h"
#include "engine/VideoSink.h"

struct _GSource;

namespace vantrel {

class VideoPanel : public wxPanel, public VideoSink {
 public:
  VideoPanel(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style);
  ~VideoPanel() override;

  // Any thread: keeps the frame and queues one repaint (a playback's first
  // ahead of everything else the window has to do). Pictures that come
  // faster than the window paints replace each other; from another thread
  // a picture first waits a little for the one before it to be painted.
  void presentFrame(std::shared_ptr<const BgrFrame> frame) override;
  // Any thread: at 1x in an area smaller than the picture, the size it is
  // drawn at; zoomed, or before the first paint, the picture's own.
  PixelSize shownSize(int width, int height, double sampleAspect) const override;

  // The frame the next paint shows; null before the first. Its pixels may
  // hold the picture at the size shown (fullPicture() gives it whole).
  std::shared_ptr<const BgrFrame> CurrentFrame() const;
  // Shows no picture (black) until the next frame comes. UI thread.
  void ClearPicture();

  // Pictures handed over that a newer one replaced before they were painted.
  int64_t DroppedFrames() const;

  // Draws what a paint shows: the current picture over PicturePlace, black
  // over the rest of the client area.
  void Draw(wxDC& dc);

  // Where the picture goes: from the top left, 2 pixels narrower and lower
  // than the panel's outer size (inside a one-pixel border, the client area).
  static wxSize PictureSize(const wxSize& outer);

  // Zoom, UI thread only. factor multiplies the enlargement, around the
  // point at (area pixels); a new recording starts whole.
  void ZoomAround(double factor, const wxPoint& at);
  void PanBy(const wxPoint& delta);
  void ResetZoom();
  double Zoom() const { return m_zoom.Zoom(); }
  // Where the current picture lies in the area, in pixels (zero without one).
  PictureRect PicturePlace() const;

 private:
  void OnPaint(wxPaintEvent& event);
  // The queued repaint, on the UI thread.
  void PaintNow();
  void OnMouseWheel(wxMouseEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnMotion(wxMouseEvent& event);
  void OnLeftDoubleClick(wxMouseEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);
  std::optional<ViewSizes> CurrentSizes() const;
  void ZoomChanged();
  // The current frame, counted as painted.
  std::shared_ptr<const BgrFrame> FrameToPaint();
  // Tells the playback thread (through shownSize) what the view is now.
  void NoteView();
  // The pixels to draw frame over place from: its own when they are the
  // whole picture or lie one to one over place, else the whole picture made
  // from its planes (once per frame: a zoom or a larger area while paused).
  const BgrFrame& PixelsFor(const std::shared_ptr<const BgrFrame>& frame, const PictureRect& place);

  mutable std::mutex m_frameLock;
  std::shared_ptr<const BgrFrame> m_frame;              // guarded by m_frameLock
  bool m_framePainted = false;                          // guarded by m_frameLock
  std::chrono::steady_clock::time_point m_lastPaint;    // guarded by m_frameLock
  std::chrono::steady_clock::time_point m_lastPresent;  // guarded by m_frameLock
  std::condition_variable m_painted;                    // the current frame was painted
  int64_t m_dropped = 0;                                // guarded by m_frameLock
  wxSize m_viewArea;                                    // guarded by m_frameLock
  bool m_viewZoomed = false;                            // guarded by m_frameLock
  std::atomic<bool> m_refreshQueued{false};
  _GSource* m_firstRepaint = nullptr;  // wakes the UI thread for PaintNow
  // UI thread only: the drawn picture, reused from paint to paint, and the view.
  FrameScaler m_scaler;
  ScreenImage m_screen;
  std::shared_ptr<const BgrFrame> m_wholeOf, m_whole;  // a frame and its whole picture
  ZoomView m_zoom;
  uint32_t m_zoomGeneration = 0;      // the playback the zoom was set in
  std::optional<wxPoint> m_dragFrom;  // while the left button drags
  std::chrono::steady_clock::time_point m_lastPaintEnd;
};

}  // namespace vantrel
