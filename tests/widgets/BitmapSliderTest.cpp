#include <gtest/gtest.h>
#include <wx/frame.h>

#include <thread>
#include <vector>

#include "WidgetShot.h"
#include "WxPrinters.h"
#include "engine/Messages.h"
#include "support/WxTestSupport.h"
#include "widgets/BitmapSlider.h"
#include "widgets/SliderBitmaps.h"

using namespace vantrel;

namespace {
constexpr int kProgressId = 1014;
constexpr int kVolumeId = 1013;

struct Posted {
  int message, pos;
  long id;
  bool operator==(const Posted&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Posted& p) {
  return out << "{" << p.message << ", " << p.pos << ", " << p.id << "}";
}

// A parent that records the sliders' messages as its event queue delivers them.
class SliderTest : public testing::Test {
 protected:
  void SetUp() override {
    frame = new wxFrame(nullptr, wxID_ANY, "sliders", wxPoint(0, 0), wxSize(760, 200));
    frame->SetBackgroundColour(wxColour(90, 120, 200));
    frame->Bind(wxEVT_THREAD, [this](wxThreadEvent& e) {
      posted.push_back({e.GetId(), e.GetInt(), e.GetExtraLong()});
    });
    progress = new CBitmapSlider(frame, kProgressId, wxPoint(20, 20), wxSize(300, 8));
    volume = new CBitmapSlider(frame, kVolumeId, wxPoint(20, 80), wxSize(60, 23));
    // As the main window sets them up.
    progress->SetBitmapChannel(IDB_PROGRESS_CHANNEL, IDB_PROGRESS_CHANNEL_ACTIVE, false,
                               kKeyFromPixel, 0, 0);
    progress->SetBitmapThumb(IDB_PROGRESS_THUMB, IDB_PROGRESS_THUMB_ACTIVE, true, kKeyFromPixel, 0,
                             0);
    progress->DrawFocusRect(false, false);
    progress->SetRange(0, 0, false);
    progress->SetPos(0);
    progress->SetMargin(2, 3, 2, 0);
    progress->SetPageSize(1);
    volume->SetBitmapChannel(IDB_VOLUME_CHANNEL, IDB_VOLUME_CHANNEL_ACTIVE, true, kKeyFromPixel, 0,
                             0);
    volume->SetRange(0, 128, false);
    volume->SetPos(80);
    volume->SetMarginLeft(8);
    volume->SetMarginRight(8);
    volume->SetPageSize(1);
    frame->Show();
    testsupport::pumpFor(100);
    delivered();
  }
  void TearDown() override {
    frame->Destroy();
    testsupport::pumpEvents();
  }

  void mouse(CBitmapSlider* slider, wxEventType type, int x) {
    wxMouseEvent event(type);
    event.SetPosition(wxPoint(x, 8));
    event.SetEventObject(slider);
    event.SetId(slider->GetId());
    slider->GetEventHandler()->ProcessEvent(event);
  }
  void key(CBitmapSlider* slider, int code) {
    wxKeyEvent event(wxEVT_KEY_DOWN);
    event.m_keyCode = code;
    event.SetEventObject(slider);
    slider->GetEventHandler()->ProcessEvent(event);
  }
  // The messages the parent has received since the last call.
  std::vector<Posted> delivered() {
    testsupport::pumpEvents();
    return std::exchange(posted, {});
  }

  wxFrame* frame = nullptr;
  CBitmapSlider* progress = nullptr;
  CBitmapSlider* volume = nullptr;
  std::vector<Posted> posted;
};
}  // namespace

TEST_F(SliderTest, ChannelImagesSizeTheSliders) {
  EXPECT_EQ(progress->GetSize(), wxSize(640, 17));
  EXPECT_EQ(progress->GetPosition(), wxPoint(20, 20));
  EXPECT_EQ(progress->ThumbSize(), wxSize(23, 11));
  EXPECT_EQ(volume->GetSize(), wxSize(110, 40));
  EXPECT_FALSE(volume->HasThumb());
  EXPECT_EQ(volume->GetPos(), 80);
  EXPECT_EQ(volume->Track().pixelOf(volume->GetPos()), 66);
}

TEST_F(SliderTest, APressOffTheThumbJumpsThereAndTracks) {
  progress->SetRange(0, 300);
  mouse(progress, wxEVT_LEFT_DOWN, 319);
  EXPECT_TRUE(progress->IsDragging());
  EXPECT_EQ(progress->GetPos(), 149);
  EXPECT_EQ(delivered(), (std::vector<Posted>{{WM_SLIDER_TRACK, 149, kProgressId}}));
  mouse(progress, wxEVT_LEFT_UP, 319);
  EXPECT_FALSE(progress->IsDragging());
  EXPECT_EQ(delivered(), (std::vector<Posted>{{WM_SLIDER_SET, 149, kProgressId}}));
}

TEST_F(SliderTest, APressOnTheThumbKeepsItsGripUntilItMoves) {
  progress->SetRange(0, 300);
  progress->SetPos(150);  // centre at 319
  mouse(progress, wxEVT_LEFT_DOWN, 324);
  EXPECT_TRUE(delivered().empty());
  EXPECT_EQ(progress->GetPos(), 150);
  mouse(progress, wxEVT_MOTION, 334);  // centre to 329
  EXPECT_EQ(progress->GetPos(), 154);
  EXPECT_EQ(delivered(), (std::vector<Posted>{{WM_SLIDER_TRACK, 154, kProgressId}}));
  mouse(progress, wxEVT_LEFT_UP, 334);
  EXPECT_EQ(delivered(), (std::vector<Posted>{{WM_SLIDER_SET, 154, kProgressId}}));
}

TEST_F(SliderTest, DraggingPastEitherEndHoldsTheEndValues) {
  progress->SetRange(0, 300);
  mouse(progress, wxEVT_LEFT_DOWN, 100);
  mouse(progress, wxEVT_MOTION, 5000);
  EXPECT_EQ(progress->GetPos(), 300);
  // The centre is held at 627, a pixel past where 300 sits (the thumb is 23
  // wide), so each move out there reports the end value again.
  mouse(progress, wxEVT_MOTION, 5200);
  mouse(progress, wxEVT_MOTION, -900);
  EXPECT_EQ(progress->GetPos(), 0);
  mouse(progress, wxEVT_MOTION, -950);  // held at the left end, where 0 sits: nothing
  mouse(progress, wxEVT_LEFT_UP, -950);
  EXPECT_EQ(delivered(), (std::vector<Posted>{{WM_SLIDER_TRACK, 42, kProgressId},
                                              {WM_SLIDER_TRACK, 300, kProgressId},
                                              {WM_SLIDER_TRACK, 300, kProgressId},
                                              {WM_SLIDER_TRACK, 0, kProgressId},
                                              {WM_SLIDER_SET, 0, kProgressId}}));
}

TEST_F(SliderTest, MovingWithoutAPressDoesNothingButAReleasePostsSet) {
  mouse(volume, wxEVT_MOTION, 30);
  EXPECT_TRUE(delivered().empty());
  mouse(volume, wxEVT_LEFT_UP, 30);
  EXPECT_EQ(delivered(), (std::vector<Posted>{{WM_SLIDER_SET, 80, kVolumeId}}));
}

TEST_F(SliderTest, KeysMoveThePositionAndPostSetEvenWhenUnchanged) {
  struct Case {
    int key, pos;
  } cases[] = {{WXK_PAGEDOWN, 81}, {WXK_PAGEUP, 80}, {WXK_RIGHT, 81}, {WXK_DOWN, 82},
               {WXK_LEFT, 81},     {WXK_UP, 80},     {WXK_END, 128},  {WXK_PAGEDOWN, 128},
               {WXK_HOME, 0},      {WXK_HOME, 0},    {WXK_LEFT, 0}};
  for (const Case& c : cases) {
    key(volume, c.key);
    EXPECT_EQ(volume->GetPos(), c.pos) << c.key;
    EXPECT_EQ(delivered(), (std::vector<Posted>{{WM_SLIDER_SET, c.pos, kVolumeId}})) << c.key;
  }
  key(volume, 'Q');
  EXPECT_TRUE(delivered().empty());
  volume->SetPageSize(20);
  EXPECT_EQ(volume->SetPageSize(1), 20);
}

TEST_F(SliderTest, ADisabledSliderIgnoresMouseAndKeys) {
  volume->Enable(false);
  mouse(volume, wxEVT_LEFT_DOWN, 30);
  mouse(volume, wxEVT_MOTION, 40);
  mouse(volume, wxEVT_LEFT_UP, 40);
  key(volume, WXK_HOME);
  EXPECT_EQ(volume->GetPos(), 80);
  EXPECT_FALSE(volume->IsDragging());
  EXPECT_TRUE(delivered().empty());
  volume->Enable(true);
  key(volume, WXK_HOME);
  EXPECT_EQ(delivered(), (std::vector<Posted>{{WM_SLIDER_SET, 0, kVolumeId}}));
}

TEST_F(SliderTest, DisablingDuringADragEndsIt) {
  progress->SetRange(0, 300);
  mouse(progress, wxEVT_LEFT_DOWN, 200);
  ASSERT_TRUE(progress->IsDragging());
  progress->Enable(false);
  EXPECT_FALSE(progress->IsDragging());
  EXPECT_FALSE(progress->HasCapture());
}

TEST_F(SliderTest, AnEmptyRangePostsTheMinimumWithTheThumbAtTheLeft) {
  ASSERT_EQ(progress->GetRangeMin(), progress->GetRangeMax());
  mouse(progress, wxEVT_LEFT_DOWN, 400);
  mouse(progress, wxEVT_MOTION, 500);
  mouse(progress, wxEVT_LEFT_UP, 500);
  for (const Posted& p : delivered()) EXPECT_EQ(p.pos, 0);
  EXPECT_EQ(progress->GetPos(), 0);
  EXPECT_EQ(progress->Track().pixelOf(progress->GetPos()), 13);
}

TEST_F(SliderTest, PositionsAreClampedButANewRangeLeavesThePositionAlone) {
  progress->SetRange(0, 300);
  progress->SetPos(250);
  progress->SetRange(0, 100);
  EXPECT_EQ(progress->GetPos(), 250);
  progress->SetPos(progress->GetPos());
  EXPECT_EQ(progress->GetPos(), 100);
  progress->SetPos(-5);
  EXPECT_EQ(progress->GetPos(), 0);
  progress->SetRangeMin(40);
  progress->SetRangeMax(20);
  progress->SetPos(30);
  EXPECT_EQ(progress->GetPos(), 40);  // a reversed range gives its minimum
}

TEST_F(SliderTest, OtherThreadsSetRangeAndPositionThroughTheUiThread) {
  std::thread playback([this] {
    progress->SetRange(0, 600);
    progress->SetPos(420);
  });
  playback.join();
  EXPECT_EQ(progress->GetRangeMax(), 0) << "applied off the UI thread";
  EXPECT_EQ(progress->GetPos(), 0);
  testsupport::pumpEvents();
  EXPECT_EQ(progress->GetRangeMax(), 600);
  EXPECT_EQ(progress->GetPos(), 420);
}

TEST_F(SliderTest, AFailedLoadKeepsThePreviousImages) {
  EXPECT_FALSE(volume->SetBitmapChannel(4711, 0, false, 0, 0, 0));
  EXPECT_FALSE(volume->SetBitmapChannel(IDB_VOLUME_CHANNEL, 4711, false, 0, 0, 0));
  // An active image of another size than its channel.
  EXPECT_FALSE(volume->SetBitmapChannel(IDB_VOLUME_CHANNEL, IDB_PROGRESS_CHANNEL, false, 0, 0, 0));
  // A key pixel outside the image.
  EXPECT_FALSE(volume->SetBitmapChannel(IDB_VOLUME_CHANNEL, 0, true, kKeyFromPixel, 110, 0));
  // A thumb larger than the channel.
  EXPECT_FALSE(volume->SetBitmapThumb(IDB_PROGRESS_CHANNEL, 0, false, 0, 0, 0));
  EXPECT_TRUE(volume->HasChannel());
  EXPECT_FALSE(volume->HasThumb());
  EXPECT_EQ(volume->GetSize(), wxSize(110, 40));
  EXPECT_TRUE(volume->SetBitmapChannel(0, 0, false, 0, 0, 0));
  EXPECT_FALSE(volume->HasChannel());
  EXPECT_TRUE(progress->SetBitmapThumb(0, 0, false, 0, 0, 0));
  EXPECT_FALSE(progress->HasThumb());
}

TEST_F(SliderTest, RenderedSlidersShowTheirBitmaps) {
  progress->SetRange(0, 300);
  progress->SetPos(150);  // thumb centre at 319
  const wxImage shotProgress = widgettest::grabClientArea(progress, "slider-progress");
  const wxImage shotVolume = widgettest::grabClientArea(volume, "slider-volume");
  ASSERT_TRUE(shotProgress.IsOk() && shotVolume.IsOk());
  using widgettest::pixelAt;
  const wxColour parent = frame->GetBackgroundColour();
  // Progress: green groove left of the thumb, grey right of it, the thumb's
  // green end in between and the parent showing through its keyed corners.
  const wxColour leftGroove = pixelAt(shotProgress, 100, 8);
  EXPECT_GT(leftGroove.Green(), leftGroove.Red() + 40);
  const wxColour rightGroove = pixelAt(shotProgress, 500, 8);
  EXPECT_EQ(rightGroove.Red(), rightGroove.Green());
  EXPECT_EQ(pixelAt(shotProgress, 319 - 11 + 2, 8), wxColour(60, 180, 75));
  EXPECT_EQ(pixelAt(shotProgress, 319 - 11, 3), parent) << "keyed corner, groove surround";
  // Volume at 80: lit bars left of x 66, olive ones after, the parent around them.
  EXPECT_EQ(pixelAt(shotVolume, 60, 37).Red(), 255);
  EXPECT_EQ(pixelAt(shotVolume, 70, 37), wxColour(128, 128, 0));
  EXPECT_EQ(pixelAt(shotVolume, 60, 2), parent);
  EXPECT_EQ(pixelAt(shotVolume, 2, 2), parent);
}

TEST_F(SliderTest, RenderedDragAndFocusStates) {
  progress->SetRange(0, 300);
  progress->SetPos(150);
  mouse(progress, wxEVT_LEFT_DOWN, 319);  // on the thumb: dragging without moving it
  const wxImage dragged = widgettest::grabClientArea(progress, "slider-progress-dragged");
  ASSERT_TRUE(dragged.IsOk());
  EXPECT_EQ(widgettest::pixelAt(dragged, 319 - 11 + 2, 8), wxColour(255, 140, 0));
  mouse(progress, wxEVT_LEFT_UP, 319);
  const wxImage released = widgettest::grabClientArea(progress, "slider-progress-released");
  EXPECT_EQ(widgettest::pixelAt(released, 319 - 11 + 2, 8), wxColour(60, 180, 75));

  // The volume slider draws a focus rectangle round itself while focused.
  const wxColour parent = frame->GetBackgroundColour();
  auto framed = [&](const wxImage& shot) {  // marks down the left edge, where no bar is
    int marked = 0;
    for (int y = 0; y < shot.GetHeight(); ++y) marked += widgettest::pixelAt(shot, 0, y) != parent;
    return marked;
  };
  EXPECT_EQ(framed(widgettest::grabClientArea(volume, "slider-volume-unfocused")), 0);
  volume->SetFocus();
  ASSERT_TRUE(testsupport::pumpUntil([&] { return volume->HasFocus(); }, 2000));
  EXPECT_GT(framed(widgettest::grabClientArea(volume, "slider-volume-focused")), 10);
}

TEST_F(SliderTest, AThumbOverASeeThroughChannelLeavesNoTrailWhenItMoves) {
  ASSERT_TRUE(volume->SetBitmapThumb(IDB_PROGRESS_THUMB, 0, true, kKeyFromPixel, 0, 0));
  volume->SetMarginTop(2);
  volume->SetPos(10);
  const int before = volume->Track().pixelOf(10);  // 24: the thumb over x 13 .. 35
  widgettest::grabClientArea(volume, "slider-volume-thumb-before");
  volume->SetPos(120);
  const int after = volume->Track().pixelOf(120);  // 85
  const wxImage shot = widgettest::grabClientArea(volume, "slider-volume-thumb-after");
  ASSERT_TRUE(shot.IsOk());
  using widgettest::pixelAt;
  const wxColour parent = frame->GetBackgroundColour();
  EXPECT_EQ(pixelAt(shot, before, 6), parent) << "the old thumb's place shows the parent again";
  EXPECT_EQ(pixelAt(shot, 9, 37), wxColour(255, 255, 0)) << "and the first bar, lit";
  EXPECT_EQ(pixelAt(shot, after - 11 + 2, 6), wxColour(60, 180, 75)) << "the thumb's green end";
  EXPECT_EQ(pixelAt(shot, after - 11, 2), parent) << "its keyed corner";
}
