#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/dcps.h>
#include <wx/filename.h>

#include "WxPrinters.h"
#include "widgets/GCMemDC.h"
#include "widgets/MemDC2.h"

using namespace vantrel;

namespace {
// A 40 x 30 target surface with a picture of its own.
class Target {
 public:
  Target() : bitmap(40, 30, 24), dc(bitmap) { Fill(wxRect(0, 0, 40, 30), *wxWHITE); }
  void Fill(const wxRect& rect, const wxColour& colour) {
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(colour));
    dc.DrawRectangle(rect);
  }
  wxColour At(int x, int y) {
    wxColour colour;
    dc.GetPixel(x, y, &colour);
    return colour;
  }
  wxBitmap bitmap;
  wxMemoryDC dc;
};

void fillOn(wxDC& dc, const wxRect& rect, const wxColour& colour) {
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(colour));
  dc.DrawRectangle(rect);
}

const wxRect kArea(10, 5, 20, 10);
}  // namespace

// Both kinds: the last argument is useBuffer for GCMemDC, copyBackground for CMemDC2.
template <typename Buffer>
class BufferTest : public testing::Test {};
using BufferKinds = testing::Types<GCMemDC, CMemDC2>;
TYPED_TEST_SUITE(BufferTest, BufferKinds);

TYPED_TEST(BufferTest, TheFrameReachesTheTargetOnlyWhenTheBufferEnds) {
  Target target;
  {
    TypeParam buffer(target.dc, kArea, true);
    ASSERT_TRUE(buffer.IsBuffered());
    fillOn(buffer.DC(), kArea, *wxRED);
    // Drawing is in the target's coordinates: this lands at (12, 7) of the target.
    fillOn(buffer.DC(), wxRect(12, 7, 2, 2), *wxBLUE);
    EXPECT_EQ(target.At(15, 10), *wxWHITE) << "half a frame must not show";
  }
  EXPECT_EQ(target.At(15, 10), *wxRED);
  EXPECT_EQ(target.At(12, 7), *wxBLUE);
  EXPECT_EQ(target.At(13, 8), *wxBLUE);
  EXPECT_EQ(target.At(10, 5), *wxRED);
  EXPECT_EQ(target.At(29, 14), *wxRED);
  // Outside the area the target keeps its picture.
  EXPECT_EQ(target.At(9, 5), *wxWHITE);
  EXPECT_EQ(target.At(30, 14), *wxWHITE);
  EXPECT_EQ(target.At(15, 15), *wxWHITE);
}

TYPED_TEST(BufferTest, WithoutAnAreaTheTargetsClippingBoxIsCovered) {
  Target target;
  {
    TypeParam whole(target.dc, std::nullopt, false);
    EXPECT_EQ(whole.Rect(), wxRect(0, 0, 40, 30));
  }
  target.dc.SetClippingRegion(wxRect(4, 6, 8, 9));
  TypeParam clipped(target.dc, std::nullopt, false);
  EXPECT_EQ(clipped.Rect(), wxRect(4, 6, 8, 9));
}

TYPED_TEST(BufferTest, APrinterSurfaceIsDrawnOnDirectly) {
  wxPrintData print;
  print.SetFilename(wxFileName::CreateTempFileName("vantrel-ps"));
  print.SetPrintMode(wxPRINT_MODE_FILE);
  wxPostScriptDC printer(print);
  ASSERT_TRUE(printer.IsOk());
  ASSERT_TRUE(printer.StartDoc("buffer"));
  printer.StartPage();
  {
    TypeParam buffer(printer, kArea, true);
    EXPECT_FALSE(buffer.IsBuffered());
    EXPECT_EQ(&buffer.DC(), &printer);
  }
  printer.EndPage();
  printer.EndDoc();
  wxRemoveFile(print.GetFilename());
}

TEST(GCMemDC, StartsFromTheTargetsBackgroundColour) {
  Target target;
  target.dc.SetBackground(*wxGREEN_BRUSH);
  { GCMemDC buffer(target.dc, kArea, true); }
  EXPECT_EQ(target.At(10, 5), *wxGREEN);
  EXPECT_EQ(target.At(29, 14), *wxGREEN);
  EXPECT_EQ(target.At(9, 5), *wxWHITE);
}

TEST(GCMemDC, WithoutTheBufferDrawsStraightOntoTheTarget) {
  Target target;
  GCMemDC buffer(target.dc, kArea, false);
  EXPECT_FALSE(buffer.IsBuffered());
  EXPECT_EQ(&buffer.DC(), &target.dc);
  fillOn(buffer.DC(), wxRect(12, 7, 2, 2), *wxRED);
  EXPECT_EQ(target.At(12, 7), *wxRED);
}

TEST(CMemDC2, CopyingTheBackgroundKeepsWhatTheTargetShowedWhereNothingIsDrawn) {
  struct Case {
    bool copyBackground;
    wxColour untouched;  // at (11, 6), not drawn over in the frame
  };
  for (const Case& c : {Case{true, *wxBLUE}, Case{false, *wxGREEN}}) {
    Target target;
    target.Fill(wxRect(0, 0, 20, 30), *wxBLUE);
    target.dc.SetBackground(*wxGREEN_BRUSH);
    {
      CMemDC2 buffer(target.dc, kArea, c.copyBackground);
      fillOn(buffer.DC(), wxRect(20, 5, 10, 10), *wxRED);
    }
    EXPECT_EQ(target.At(11, 6), c.untouched) << "copyBackground " << c.copyBackground;
    EXPECT_EQ(target.At(25, 10), *wxRED);
    EXPECT_EQ(target.At(5, 20), *wxBLUE);
  }
}
