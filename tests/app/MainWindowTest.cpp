#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/stattext.h>

#include "app/ControlTable.h"
#include "app/VantrelDlg.h"
#include "engine/PlayerState.h"
#include "support/WxTestSupport.h"

using namespace vantrel;

TEST(DialogUnits, EdgesScaleAndRoundIndependently) {
  // base 7 x 15: x' = round(x * 7 / 4), y' = round(y * 15 / 8)
  wxRect px = dialogRectToPixels({454, 13, 168, 73}, {7, 15});
  EXPECT_EQ(px, wxRect(795, 24, 294, 137));
  EXPECT_EQ(dialogSizeToPixels({627, 389}, {7, 15}), wxSize(1097, 729));
  EXPECT_EQ(dialogRectToPixels({0, 0, 1, 1}, {6, 13}), wxRect(0, 0, 2, 2));
}

TEST(ControlTable, IdsAreUniqueAndLookupFindsEach) {
  auto controls = dialogControls();
  EXPECT_EQ(controls.size(), 36u);
  for (const ControlSpec& spec : controls) {
    EXPECT_EQ(findControl(spec.id), &spec) << spec.name;
  }
  EXPECT_EQ(findControl(4242), nullptr);
}

class MainWindow : public testing::Test {
 protected:
  PlayerState player;
};

TEST_F(MainWindow, EveryControlSitsAtItsTemplateRectangleWithItsText) {
  CVantrelDlg dialog(player);
  dialog.Show();
  testsupport::pumpFor(300);
  const wxSize base = dialog.DialogBase();
  EXPECT_EQ(base, wxSize(dialog.GetCharWidth(), dialog.GetCharHeight()));
  EXPECT_EQ(dialog.GetClientSize(), dialogSizeToPixels(kDialogSizeDlu, base));
  EXPECT_EQ(dialog.GetTitle(), "Vantrel");
  for (const ControlSpec& spec : dialogControls()) {
    wxWindow* control = dialog.FindWindow(spec.id);
    ASSERT_NE(control, nullptr) << spec.name;
    const wxRect expected = dialogRectToPixels(spec.dialogUnits, base);
    EXPECT_EQ(control->GetPosition(), expected.GetPosition()) << spec.name;
    // A drop-down list keeps its natural height; a slider takes its channel image's size.
    if (spec.kind != ControlKind::ComboBox && spec.kind != ControlKind::Slider) {
      EXPECT_EQ(control->GetSize(), expected.GetSize()) << spec.name;
    }
    if (spec.kind == ControlKind::Button) {  // start-up puts the language's texts on them
      EXPECT_FALSE(control->GetLabel().empty()) << spec.name;
    }
  }
  EXPECT_EQ(dialog.FindWindow(IDC_TIME_POS)->GetLabel(), "00:00:00");
  testsupport::saveScreenshot("main-window");
}

TEST_F(MainWindow, StartsWithPlayDisabledAndLoadingAndStatusHidden) {
  CVantrelDlg dialog(player);
  dialog.Show();
  EXPECT_FALSE(dialog.FindWindow(IDC_PLAY)->IsEnabled());
  EXPECT_FALSE(dialog.FindWindow(IDC_LOADING)->IsShown());
  EXPECT_FALSE(dialog.FindWindow(IDC_STATUS)->IsShown());
  EXPECT_TRUE(dialog.FindWindow(IDC_OPEN)->IsEnabled());
  auto* unit = static_cast<wxChoice*>(dialog.FindWindow(IDC_SPEED_UNIT));
  ASSERT_EQ(unit->GetCount(), 2u);
  EXPECT_EQ(unit->GetString(0), "KMH");
  EXPECT_EQ(unit->GetString(1), "MPH");
  EXPECT_EQ(unit->GetSelection(), 0);
  EXPECT_FALSE(dialog.ModuleDir().empty());
  EXPECT_EQ(dialog.ModuleDir().back(), '/');
}

TEST_F(MainWindow, EscapeEndsTheModalDialog) {
  CVantrelDlg dialog(player);
  dialog.CallAfter([&] {
    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.m_keyCode = WXK_ESCAPE;
    key.SetEventObject(&dialog);
    dialog.GetEventHandler()->ProcessEvent(key);
  });
  EXPECT_EQ(dialog.ShowModal(), wxID_CANCEL);
}

TEST_F(MainWindow, ExitButtonEndsTheModalDialogWithOk) {
  CVantrelDlg dialog(player);
  dialog.CallAfter([&] {
    wxCommandEvent click(wxEVT_BUTTON, IDOK_EXIT);
    click.SetEventObject(dialog.FindWindow(IDOK_EXIT));
    dialog.GetEventHandler()->ProcessEvent(click);
  });
  EXPECT_EQ(dialog.ShowModal(), wxID_OK);
}

static std::string rectText(const wxRect& r) {
  return wxString::Format("(%d,%d %dx%d)", r.x, r.y, r.width, r.height).utf8_string();
}

// GTK's drop-down lists are taller than the template's rows; none may reach
// into its neighbour (the speed-unit box into the gauge's frame).
TEST_F(MainWindow, NoTwoControlsOverlap) {
  CVantrelDlg dialog(player);
  dialog.Show();
  testsupport::pumpFor(300);
  const auto controls = dialogControls();
  for (size_t i = 0; i < controls.size(); ++i) {
    for (size_t j = i + 1; j < controls.size(); ++j) {
      const wxWindow* a = dialog.FindWindow(controls[i].id);
      const wxWindow* b = dialog.FindWindow(controls[j].id);
      if (!a->IsShown() || !b->IsShown()) continue;
      EXPECT_FALSE(a->GetRect().Intersects(b->GetRect()))
          << controls[i].name << " " << rectText(a->GetRect()) << " and " << controls[j].name << " "
          << rectText(b->GetRect());
    }
  }
  const wxRect box = dialog.FindWindow(IDC_SPEED_UNIT)->GetRect();
  EXPECT_TRUE(dialogRectToPixels(findControl(IDC_SPEED_UNIT)->dialogUnits, dialog.DialogBase())
                  .Contains(box))
      << rectText(box);
}
