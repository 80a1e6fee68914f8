// Vantrel: the window, or one of the headless modes named on the command line.
#include <wx/app.h>

#include <cstring>

#include "app/CutCommand.h"
#include "app/VantrelApp.h"
#include "engine/HeadlessPlayer.h"
#include "gps/DashboardPrinter.h"
#include "gps/TrackLoader.h"
#include "gps/TrackPrinter.h"

wxIMPLEMENT_APP_NO_MAIN(vantrel::CVantrelApp);

namespace {

// Modes that run without a window: the option, then the function that takes
// the remaining arguments and returns the exit status.
struct HeadlessMode {
  const char* option;
  int (*run)(int argc, char** argv);
};

int playHeadless(int argc, char** argv) {
  return vantrel::runHeadlessPlayer(
      argc, argv, [](vantrel::PlayerState& state) { return vantrel::loadGpsTrack(state); });
}

const HeadlessMode kHeadlessModes[] = {
    {"--track", vantrel::runTrackPrinter},
    {"--play", playHeadless},
    {"--dashboard", vantrel::runDashboardPrinter},
    {"--cut", vantrel::runCutCommand},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    for (const HeadlessMode& mode : kHeadlessModes) {
      if (std::strcmp(argv[1], mode.option) == 0) {
        return mode.run(argc - 2, argv + 2);
      }
    }
  }
  return wxEntry(argc, argv);
}
