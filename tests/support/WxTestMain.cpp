// Test main for window tests: a real wx application on the (virtual) display.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

#include <cstdlib>
#include <filesystem>
#include <string>

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
  // Settings and caches of this run stay out of the user's own folders.
  std::string home = (std::filesystem::temp_directory_path() / "vantrel-test-XXXXXX").string();
  if (!mkdtemp(home.data())) return 1;
  setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
  setenv("XDG_CACHE_HOME", (home + "/cache").c_str(), 1);
  wxApp::SetInstance(new TestApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    fprintf(stderr, "cannot start wx (is there a display?)\n");
    return 1;
  }
  int result = RUN_ALL_TESTS();
  wxTheApp->OnExit();
  wxEntryCleanup();
  std::error_code ignored;
  std::filesystem::remove_all(home, ignored);
  return result;
}
