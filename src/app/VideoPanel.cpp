#include "app/VideoPanel.h"

#include <glib.h>
#include <wx/dcclient.h>
#include <wx/graphics.h>
#include <wx/thread.h>

#include <cmath>

#include "engine/ShownPicture.h"

namespace vantrel {

namespace {
// One wheel notch enlarges by the cube root of 2: three notches double.
constexpr double kNotchFactor = 1.2599210498948732;
// How long a picture waits for the one before it to be painted; and the
// time without a paint after which pictures no longer wait.
constexpr auto kPaintWait = std::chrono::milliseconds(50);
constexpr auto kPaintsStop = std::chrono::milliseconds(200);
// A paint asked for within this time of the last one's end follows it back
// to back, without the event loop in between.
constexpr auto kPaintsBackToBack = std::chrono::milliseconds(2);

// A source that runs its callback once each time it is set ready.
gboolean dispatchOnce(GSource* source, GSourceFunc callback, gpointer data) {
  g_source_set_ready_time(source, -1);
  return callback(data);
}
GSourceFuncs kOnceFuncs = {nullptr, nullptr, dispatchOnce, nullptr, nullptr, nullptr};
}  // namespace

VideoPanel::VideoPanel(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                       long style)
    : wxPanel(parent, id, pos, size, style | wxFULL_REPAINT_ON_RESIZE) {
  SetBackgroundColour(*wxBLACK);
  SetBackgroundStyle(wxBG_STYLE_PAINT);  // OnPaint covers every pixel
  Bind(wxEVT_PAINT, &VideoPanel::OnPaint, this);
  // The size is known before the first paint: the first pictures need not
  // come whole (their buffers would stay in the display's pool).
  Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
    NoteView();
    event.Skip();
  });
  Bind(wxEVT_MOUSEWHEEL, &VideoPanel::OnMouseWheel, this);
  Bind(wxEVT_LEFT_DOWN, &VideoPanel::OnLeftDown, this);
  Bind(wxEVT_LEFT_UP, &VideoPanel::OnLeftUp, this);
  Bind(wxEVT_MOTION, &VideoPanel::OnMotion, this);
  Bind(wxEVT_LEFT_DCLICK, &VideoPanel::OnLeftDoubleClick, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &VideoPanel::OnCaptureLost, this);
  // A first picture is painted before the window's queued events (lowest in
  // the toolkit's order) and before the toolkit redraws the controls that
  // changed as the playback started.
  m_firstRepaint = g_source_new(&kOnceFuncs, sizeof(GSource));
  g_source_set_priority(m_firstRepaint, G_PRIORITY_HIGH_IDLE);
  g_source_set_callback(
      m_firstRepaint,
      [](gpointer panel) {
        static_cast<VideoPanel*>(panel)->PaintNow();
        return G_SOURCE_CONTINUE;
      },
      this, nullptr);
  g_source_attach(m_firstRepaint, nullptr);
}

VideoPanel::~VideoPanel() {
  g_source_destroy(m_firstRepaint);
  g_source_unref(m_firstRepaint);
}

void VideoPanel::presentFrame(std::shared_ptr<const BgrFrame> frame) {
  bool first;
  {
    std::unique_lock<std::mutex> hold(m_frameLock);
    const auto now = std::chrono::steady_clock::now();
    // The first picture of a playback, or after a while without pictures (a
    // seek, a step), is painted ahead of everything else the window has to
    // do; while pictures flow they take their turn with its other events.
    first = frame && (!m_frame || m_frame->generation != frame->generation ||
                      now - m_lastPresent >= kPaintsStop);
    if (frame) m_lastPresent = now;
    // A picture from the playback thread waits a while for the one before
    // it to be painted rather than replace it unseen, as if the display step
    // drew it itself. Only while the area paints: hidden, or with the UI
    // thread held up elsewhere, the playback does not crawl along with it.
    const bool painting = now - m_lastPaint < kPaintsStop;
    if (painting && !wxIsMainThread()) {
      m_painted.wait_for(hold, kPaintWait, [this] { return !m_frame || m_framePainted; });
    }
    if (m_frame && !m_framePainted) ++m_dropped;
    m_frame = std::move(frame);
    m_framePainted = false;
  }
  if (m_refreshQueued.exchange(true)) return;
  if (first) {
    g_source_set_ready_time(m_firstRepaint, 0);
  } else {
    CallAfter([this] { PaintNow(); });
  }
}

void VideoPanel::PaintNow() {
  m_refreshQueued = false;
  Refresh(false);
  // Painted now rather than at the toolkit's next frame: a picture that
  // waits for that may be replaced by the next one before it is seen.
  // Not when a paint has only just ended: the pictures then come as fast
  // as the area paints them, and each painted here would keep the UI
  // thread in wx's round of queued calls (this one queued again during
  // each paint), with timers, keys and clicks waiting until the playback
  // pauses. The toolkit paints it in its own turn instead.
  if (std::chrono::steady_clock::now() - m_lastPaintEnd >= kPaintsBackToBack) Update();
}

PixelSize VideoPanel::shownSize(int width, int height, double sampleAspect) const {
  std::lock_guard<std::mutex> hold(m_frameLock);
  if (m_viewZoomed || m_viewArea.x <= 0 || m_viewArea.y <= 0) return {width, height};
  const PictureRect fit =
      fitPicture({static_cast<double>(width), static_cast<double>(height), sampleAspect,
                  static_cast<double>(m_viewArea.x), static_cast<double>(m_viewArea.y)});
  return {static_cast<int>(fit.width), static_cast<int>(fit.height)};
}

void VideoPanel::NoteView() {
  const wxSize area = PictureSize(GetSize());
  std::lock_guard<std::mutex> hold(m_frameLock);
  m_viewArea = area;
  m_viewZoomed = m_zoom.Zoomed();
}

std::shared_ptr<const BgrFrame> VideoPanel::CurrentFrame() const {
  std::lock_guard<std::mutex> hold(m_frameLock);
  return m_frame;
}

void VideoPanel::ClearPicture() {
  {
    std::lock_guard<std::mutex> hold(m_frameLock);
    m_frame.reset();
  }
  m_wholeOf.reset();
  m_whole.reset();
  Refresh();
}

std::shared_ptr<const BgrFrame> VideoPanel::FrameToPaint() {
  std::shared_ptr<const BgrFrame> frame;
  {
    std::lock_guard<std::mutex> hold(m_frameLock);
    m_framePainted = true;
    m_lastPaint = std::chrono::steady_clock::now();
    frame = m_frame;
  }
  m_painted.notify_all();
  return frame;
}

int64_t VideoPanel::DroppedFrames() const {
  std::lock_guard<std::mutex> hold(m_frameLock);
  return m_dropped;
}

wxSize VideoPanel::PictureSize(const wxSize& outer) {
  return wxSize(std::max(outer.x - 2, 0), std::max(outer.y - 2, 0));
}

std::optional<ViewSizes> VideoPanel::CurrentSizes() const {
  const std::shared_ptr<const BgrFrame> frame = CurrentFrame();
  const wxSize area = PictureSize(GetSize());
  if (!frame || frame->width == 0 || frame->height == 0 || area.x == 0 || area.y == 0) return {};
  return ViewSizes{static_cast<double>(frame->pictureWidth()),
                   static_cast<double>(frame->pictureHeight()), frame->sampleAspect,
                   static_cast<double>(area.x), static_cast<double>(area.y)};
}

PictureRect VideoPanel::PicturePlace() const {
  const std::optional<ViewSizes> sizes = CurrentSizes();
  return sizes ? m_zoom.Place(*sizes) : PictureRect{};
}

void VideoPanel::ZoomAround(double factor, const wxPoint& at) {
  if (const std::optional<ViewSizes> sizes = CurrentSizes()) {
    m_zoom.ZoomAround(factor, at.x, at.y, *sizes);
    ZoomChanged();
  }
}

void VideoPanel::PanBy(const wxPoint& delta) {
  if (const std::optional<ViewSizes> sizes = CurrentSizes()) {
    m_zoom.PanBy(delta.x, delta.y, *sizes);
    ZoomChanged();
  }
}

void VideoPanel::ResetZoom() {
  m_zoom.Reset();
  ZoomChanged();
}

void VideoPanel::ZoomChanged() {
  NoteView();
  // The hand says the picture can be dragged.
  SetCursor(m_zoom.Zoomed() ? wxCursor(wxCURSOR_HAND) : wxNullCursor);
  Refresh(false);
}

void VideoPanel::OnMouseWheel(wxMouseEvent& event) {
  if (event.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL || event.GetWheelDelta() == 0) return;
  const double notches = static_cast<double>(event.GetWheelRotation()) / event.GetWheelDelta();
  ZoomAround(std::pow(kNotchFactor, notches), event.GetPosition());
}

void VideoPanel::OnLeftDown(wxMouseEvent& event) {
  // A click on the picture gives it the keys, so the arrows reach the
  // window's commands rather than the playlist or a slider.
  SetFocus();
  event.Skip();
  if (!m_zoom.Zoomed()) return;
  m_dragFrom = event.GetPosition();
  if (!HasCapture()) CaptureMouse();
}

void VideoPanel::OnMotion(wxMouseEvent& event) {
  if (!m_dragFrom || !event.LeftIsDown()) return;
  const wxPoint now = event.GetPosition();
  PanBy(now - *m_dragFrom);
  m_dragFrom = now;
}

void VideoPanel::OnLeftUp(wxMouseEvent& event) {
  // The last motion may come with the release only.
  if (m_dragFrom) PanBy(event.GetPosition() - *m_dragFrom);
  m_dragFrom.reset();
  if (HasCapture()) ReleaseMouse();
}

void VideoPanel::OnCaptureLost(wxMouseCaptureLostEvent&) {
  m_dragFrom.reset();
}

void VideoPanel::OnLeftDoubleClick(wxMouseEvent&) {
  ResetZoom();
}

void VideoPanel::OnPaint(wxPaintEvent&) {
  {
    wxPaintDC dc(this);
    Draw(dc);
  }
  m_lastPaintEnd = std::chrono::steady_clock::now();
}

const BgrFrame& VideoPanel::PixelsFor(const std::shared_ptr<const BgrFrame>& frame,
                                      const PictureRect& place) {
  if (!frame->planes || (place.width == frame->width && place.height == frame->height)) {
    m_wholeOf.reset();
    m_whole.reset();
    return *frame;
  }
  if (m_wholeOf != frame) {
    m_whole = fullPicture(frame);
    m_wholeOf = frame;
  }
  return *m_whole;
}

void VideoPanel::Draw(wxDC& dc) {
  NoteView();
  dc.SetBackground(*wxBLACK_BRUSH);
  const std::shared_ptr<const BgrFrame> frame = FrameToPaint();
  const wxSize size = PictureSize(GetSize());
  // Every DC of GTK 3 draws with cairo.
  wxGraphicsContext* graphics = dc.GetGraphicsContext();
  auto* cairo = graphics ? static_cast<cairo_t*>(graphics->GetNativeContext()) : nullptr;
  if (!frame || frame->width == 0 || size.x == 0 || size.y == 0 || !cairo ||
      !m_screen.Prepare(cairo, size.x, size.y)) {
    dc.Clear();
    return;
  }
  if (frame->generation != m_zoomGeneration) {
    // Another recording: shown whole.
    m_zoomGeneration = frame->generation;
    m_zoom.Reset();
    SetCursor(wxNullCursor);
    NoteView();
  }
  const PictureRect place = PicturePlace();
  m_scaler.scale(PixelsFor(frame, place), place, size.x, size.y, m_screen.Data(),
                 m_screen.Stride());
  m_screen.PaintOn(cairo);
  // Without a border the client area reaches past the picture: black there.
  const wxSize client = GetClientSize();
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(*wxBLACK_BRUSH);
  if (client.x > size.x) dc.DrawRectangle(size.x, 0, client.x - size.x, client.y);
  if (client.y > size.y) dc.DrawRectangle(0, size.y, size.x, client.y - size.y);
}

}  // namespace vantrel
