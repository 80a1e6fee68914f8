// The drives panel's columns in every language: each column holds its
// heading and its drive rows whole, and all of them fit the list side by
// side, also with a scroll bar beside them.
#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>

#include "app/DrivesPanel.h"
#include "app/LanguageTable.h"
#include "library/CivilTime.h"
#include "library/LibraryRecords.h"
#include "support/WxTestSupport.h"

using namespace vantrel;

namespace {

// Drives with the widest figures a card gives: four-digit clip counts,
// five-digit distances, speeds over 100 in both units; many of them, so the
// list scrolls. Then a file that could not be read, with a long name.
LibraryContents wideDrives() {
  LibraryContents contents;
  for (int i = 0; i < 40; ++i) {
    Drive drive;
    drive.clips.resize(1234);
    drive.startMs = *utcMsOf({2024, 12, 31, 23, 10 + i % 40, 0});
    drive.endMs = drive.startMs + 3'600'000;
    drive.distanceMetres = 12'345'678;
    drive.maxKmh = 288.8f;
    contents.drives.push_back(drive);
  }
  ClipRecord unreadable;
  unreadable.key.path = "/card/DCIM/Movie/20241231_231000_20241231_231300_F.MP4";
  unreadable.reason = "not a recording: Invalid data found when processing input";
  contents.clips.push_back(unreadable);
  return contents;
}

}  // namespace

TEST(DrivesPanel, EveryColumnShowsWholeInEveryLanguage) {
  testsupport::ScopedTimeZone utc("UTC0");
  auto* frame = new wxFrame(nullptr, wxID_ANY, "drives");
  auto* panel = new CDrivesPanel(frame);
  auto* sizer = new wxBoxSizer(wxHORIZONTAL);
  sizer->Add(panel, 0, wxEXPAND);
  sizer->AddStretchSpacer();
  frame->SetSizer(sizer);
  frame->SetSize(1200, 500);
  frame->Show();
  const LibraryContents contents = wideDrives();
  wxListCtrl* list = panel->List();
  for (int language = 0; language < kLanguageCount; ++language) {
    for (int unit : {0, 1}) {
      panel->SetLanguage(language);
      panel->ShowDrives(contents, unit);
      testsupport::pumpFor(50);
      const std::string where =
          "language " + std::to_string(language) + " unit " + std::to_string(unit);
      int total = 0;
      for (int c = 0; c < list->GetColumnCount(); ++c) {
        const int width = list->GetColumnWidth(c);
        total += width;
        wxListItem heading;
        heading.SetMask(wxLIST_MASK_TEXT);
        ASSERT_TRUE(list->GetColumn(c, heading));
        // The header keeps 5 pixels either side of its text, a cell 8 in all.
        EXPECT_GE(width, list->GetTextExtent(heading.GetText()).x + 10)
            << where << " heading " << heading.GetText();
        for (long row = 0; row < static_cast<long>(contents.drives.size()); ++row) {
          const wxString cell = list->GetItemText(row, c);
          EXPECT_GE(width, list->GetTextExtent(cell).x + 8) << where << " cell " << cell;
        }
      }
      ASSERT_EQ(list->GetItemCount(), 41);
      EXPECT_GE(list->GetColumnWidth(0), list->GetTextExtent(list->GetItemText(40, 0)).x + 8)
          << where << " " << list->GetItemText(40, 0);
      // The list scrolls: its client width is what remains beside the bar.
      EXPECT_LE(total, list->GetClientSize().x) << where;
      EXPECT_GE(panel->GetSize().x, list->GetSize().x) << where;
    }
  }
  frame->Destroy();
}
