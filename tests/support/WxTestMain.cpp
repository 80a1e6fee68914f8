// Test main for window tests: a real wx application on the (virtual) display.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

#include <cstdlib>

namespace {
class TestApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};
}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();  // no display needed
  setenv("VANTREL_MAP_TILES", "none", 0);  // tests never reach a tile server
  wxApp::SetInstance(new TestApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    fprintf(stderr, "cannot start wx (is there a display?)\n");
    return 1;
  }
  int result = RUN_ALL_TESTS();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return result;
}
