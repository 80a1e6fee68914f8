// The large map as a user meets it: opened with a click while the main
// window runs modally, then its zoom buttons, the wheel, a drag and its exit
// button, with real mouse input; without a window manager and under one.
#include <gtest/gtest.h>
#include <wx/display.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/ControlTable.h"
#include "app/VantrelDlg.h"
#include "engine/PlayerState.h"
#include "map/BigMap.h"
#include "map/MapPages.h"
#include "map/MapTestSupport.h"
#include "support/ModalScript.h"
#include "support/RealInput.h"
#include "support/WindowManager.h"

using namespace vantrel;
using testsupport::after;
using testsupport::evaluate;
using testsupport::ModalScript;

namespace {

class LargeMapMouse : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    setenv(kMapTilesVariable, "none", 1);  // offline: a plain background
    if (GetParam()) {
      windowManager.emplace();
      ASSERT_TRUE(windowManager->running());
    }
    dialog.emplace(player);
  }
  void TearDown() override { dialog.reset(); }

  CBigMap* Big() { return dialog->RouteMaps().BigMap(); }
  CExplorer1& Page() { return Big()->Browser(); }
  bool PageReady() {
    return Big() && Big()->IsShownOnScreen() && Page().Document() &&
           evaluate(Page(), "!!vantrelMap.map") == "true";
  }
  int Zoom() { return std::atoi(evaluate(Page(), "vantrelMap.map.getZoom()").c_str()); }
  // A point of the page (CSS pixels, one to a screen pixel) on the screen.
  wxPoint OnScreen(const std::string& pagePoint) {
    int x = -1, y = -1;
    std::sscanf(pagePoint.c_str(), "%d %d", &x, &y);
    return Page().Window()->ClientToScreen(wxPoint(x, y));
  }
  // The centre of the page element that selector finds, on the screen.
  wxPoint CentreOf(const char* selector) {
    return OnScreen(
        evaluate(Page(), std::string("(function () { var r = document.querySelector('") + selector +
                             "').getBoundingClientRect();"
                             " return Math.round(r.left + r.width / 2) + ' ' +"
                             " Math.round(r.top + r.height / 2); })()"));
  }
  // The screen rectangle of window's client area.
  static wxRect ScreenRect(const wxWindow& window) {
    return wxRect(window.ClientToScreen(wxPoint(0, 0)), window.GetClientSize());
  }

  std::optional<testsupport::WindowManager> windowManager;
  PlayerState player;
  std::optional<CVantrelDlg> dialog;
};

}  // namespace

TEST_P(LargeMapMouse, ZoomButtonsWheelDragAndTheExitButtonWork) {
  const wxRect screen = wxDisplay(0u).GetGeometry();
  const wxPoint drag(-150, -100);
  int zoom = -1;
  wxPoint pressed;
  ModalScript script;
  script.step("shown", nullptr, [&] { return dialog->IsShownOnScreen(); })
      .step(
          "open the large map", [&] { testsupport::clickOn(*dialog->FindWindow(IDC_BIG_MAP)); },
          [&] { return PageReady() && (zoom = Zoom()) > 0; }, 15000)
      // Laid out over the whole screen (the window manager may still be
      // carrying that out), the exit button inside it.
      .step("cover the screen", nullptr,
            [&] {
              return ScreenRect(*Big()) == screen &&
                     ScreenRect(*Big()).Contains(ScreenRect(*Big()->FindWindow(wxID_OK))) &&
                     ScreenRect(*Big()).Contains(ScreenRect(*Page().Window()));
            })
      .step(
          "zoom in", [&] { testsupport::clickAt(CentreOf(".leaflet-control-zoom-in")); },
          [&] { return Zoom() == zoom + 1; })
      .step(
          "zoom out", [&] { testsupport::clickAt(CentreOf(".leaflet-control-zoom-out")); },
          [&] { return Zoom() == zoom; })
      .step(
          "wheel",
          [&] {
            testsupport::moveMouseTo(OnScreen("600 400"));
            testsupport::xdotool("click 4");
          },
          [&] { return Zoom() > zoom; })
      // The place under the pointer follows it; the pause before the
      // release leaves no speed for the map to glide on.
      .step(
          "press and move",
          [&] {
            evaluate(Page(), "window.held = vantrelMap.map.containerPointToLatLng([600, 400])");
            pressed = OnScreen("600 400");
            testsupport::xdotool("mousedown 1");
            for (int k = 1; k <= 5; ++k) testsupport::moveMouseTo(pressed + drag * k / 5);
          },
          after(300))
      .step(
          "release", [&] { testsupport::xdotool("mouseup 1"); },
          [&] {
            const std::string at = evaluate(
                Page(),
                "(function () { var p = vantrelMap.map.latLngToContainerPoint(window.held);"
                " return Math.round(p.x) + ' ' + Math.round(p.y); })()");
            const wxPoint moved = OnScreen(at) - (pressed + drag);
            return std::abs(moved.x) <= 2 && std::abs(moved.y) <= 2;
          })
      .step(
          "the exit button", [&] { testsupport::clickOn(*Big()->FindWindow(wxID_OK)); },
          [&] { return !Big()->IsShown() && !Big()->m_bOpen && dialog->IsModal(); })
      .step("exit", [&] { testsupport::clickOn(*dialog->FindWindow(IDOK_EXIT)); });
  EXPECT_EQ(script.run(*dialog), wxID_OK);
  EXPECT_EQ(script.unfinished(), "");
}

INSTANTIATE_TEST_SUITE_P(WindowManagers, LargeMapMouse, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "UnderAWindowManager" : "WithoutOne";
                         });
