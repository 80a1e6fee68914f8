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
  // The point (CSS pixels of the page, one to a screen pixel) that
  // expression gives as {x, y}; the map fills the page.
  wxPoint PagePoint(const std::string& expression) {
    int x = -1, y = -1;
    std::sscanf(
        evaluate(Page(), "(function (p) { return Math.round(p.x) + ' ' + Math.round(p.y); })(" +
                             expression + ")")
            .c_str(),
        "%d %d", &x, &y);
    return {x, y};
  }
  wxPoint OnScreen(const wxPoint& pagePoint) { return Page().Window()->ClientToScreen(pagePoint); }
  // The centre of the page element that selector finds, on the screen.
  wxPoint CentreOf(const std::string& selector) {
    return OnScreen(
        PagePoint("(function (r) { return {x: r.left + r.width / 2, y: r.top + r.height / 2}; })"
                  "(document.querySelector('" +
                  selector + "').getBoundingClientRect())"));
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
  const wxPoint pressed(600, 400), kick(10, 10), drag(-150, -100);  // page points and moves
  int zoom = -1;
  ModalScript script;
  // A window manager places the window when it takes it on, after the
  // toolkit has shown it, and then gives it the focus: clicks aimed before
  // that would miss.
  script
      .step("shown", nullptr,
            [&] { return dialog->IsShownOnScreen() && (!windowManager || dialog->IsActive()); })
      .step(
          "open the large map", [&] { testsupport::clickOn(*dialog->FindWindow(IDC_BIG_MAP)); },
          [&] { return PageReady() && (zoom = Zoom()) > 0; }, 15000)
      // Over the whole screen (a window without a manager's help may stand a
      // pixel past it), with the map and the exit button wholly on it.
      .step("cover the screen", nullptr,
            [&] {
              return ScreenRect(*Big()).Contains(screen) &&
                     screen.Contains(ScreenRect(*Big()->FindWindow(wxID_OK))) &&
                     screen.Contains(ScreenRect(*Page().Window()));
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
            testsupport::moveMouseTo(OnScreen(pressed));
            testsupport::xdotool("click 4");
          },
          [&] { return Zoom() != zoom; })
      .step(
          "one level a notch", nullptr, [&] { return Zoom() == zoom + 1; }, 500)
      // The map starts dragging at the first move past a few pixels, and
      // takes that move for its start: from there on, the place under the
      // pointer follows it.
      .step(
          "press",
          [&] {
            testsupport::moveMouseTo(OnScreen(pressed));
            testsupport::xdotool("mousedown 1");
            testsupport::moveMouseTo(OnScreen(pressed + kick));
          },
          [&] {
            return evaluate(Page(), "document.body.classList.contains('leaflet-dragging')") ==
                   "true";
          })
      // The pause before the release leaves no speed for the map to glide on.
      .step(
          "move",
          [&] {
            evaluate(Page(), "window.held = vantrelMap.map.containerPointToLatLng([" +
                                 std::to_string(pressed.x + kick.x) + ", " +
                                 std::to_string(pressed.y + kick.y) + "])");
            for (int k = 1; k <= 5; ++k)
              testsupport::moveMouseTo(OnScreen(pressed + kick + drag * k / 5));
          },
          after(300))
      .step(
          "release", [&] { testsupport::xdotool("mouseup 1"); },
          [&] {
            const wxPoint moved = PagePoint("vantrelMap.map.latLngToContainerPoint(window.held)") -
                                  (pressed + kick + drag);
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
