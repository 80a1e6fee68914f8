#pragma once
// The video area (IDC_VIDEO). The playback thread hands it each finished
// picture; the panel keeps the latest under a lock and asks for a repaint,
// and the UI thread alone draws it, stretched over the area.
#include <wx/dc.h>
#include <wx/image.h>
#include <wx/panel.h>

#include <atomic>
#include <memory>
#include <mutex>

#include "app/FrameScaler.h"
#include "engine/VideoSink.h"

namespace vantrel {

class VideoPanel : public wxPanel, public VideoSink {
 public:
  VideoPanel(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style);

  // Any thread: keeps the frame and queues one repaint (pictures that come
  // faster than the window paints replace each other).
  void presentFrame(std::shared_ptr<const BgrFrame> frame) override;

  // The frame the next paint shows; null before the first.
  std::shared_ptr<const BgrFrame> CurrentFrame() const;

  // Draws what a paint shows: the current picture stretched from the top
  // left over PictureSize, black over the rest of the client area.
  void Draw(wxDC& dc);

  // Where the picture goes: from the top left, 2 pixels narrower and lower
  // than the panel's outer size (inside a one-pixel border, the client area).
  static wxSize PictureSize(const wxSize& outer);

 private:
  void OnPaint(wxPaintEvent& event);

  mutable std::mutex m_frameLock;
  std::shared_ptr<const BgrFrame> m_frame;  // guarded by m_frameLock
  std::atomic<bool> m_refreshQueued{false};
  // UI thread only: the stretched picture, reused from paint to paint.
  FrameScaler m_scaler;
  wxImage m_image;
};

}  // namespace vantrel
