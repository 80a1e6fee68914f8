// Vantrel: the window, or one of the modes without a window named on the
// command line. Every option is one row of kOptions; --help prints them.
#include <glib.h>
#include <wx/app.h>

#include "app/CommandLine.h"
#include "app/CutCommand.h"
#include "app/ExportCommand.h"
#include "app/IndexCommand.h"
#include "app/PlayProgram.h"
#include "app/VantrelApp.h"
#include "engine/HeadlessPlayer.h"
#include "engine/MallocArenas.h"
#include "gps/DashboardPrinter.h"
#include "gps/TrackLoader.h"
#include "gps/TrackPrinter.h"

namespace {

std::span<const vantrel::CommandLineOption> options();

int playHeadless(int argc, char** argv) {
  vantrel::runPlayProgram(argc, argv);
  vantrel::GpsTrack track;
  return vantrel::runHeadlessPlayer(argc, argv, vantrel::trackLoaderInto(track));
}

int printHelp(int, char**) {
  vantrel::printHelp(options(), stdout);
  return 0;
}

int printVersion(int, char**) {
  vantrel::printVersion(stdout);
  return 0;
}

const vantrel::CommandLineOption kOptions[] = {
    {"--autoplay", "", "start playing the first recording of FOLDER", nullptr,
     &vantrel::WindowStart::autoplay},
    {"--track", "FILE", "print FILE's GPS track, one line per entry", vantrel::runTrackPrinter},
    {"--play", "FILE [--speed S]",
     "play FILE with its sound (at speed S: 0.25 to 4), print the dashboard messages and a "
     "summary",
     playHeadless},
    {"--dashboard", "FILE [--mph]", "print the dashboard of FILE for every second",
     vantrel::runDashboardPrinter},
    {"--index", "FOLDER", "index FOLDER's recordings (or reuse the index) and print its drives",
     vantrel::runIndexCommand},
    {"--export", "FILE|FOLDER --to gpx|kml|csv|geojson [-o OUT]",
     "write the track of FILE, or of each drive of FOLDER (one file each into OUT)",
     vantrel::runExportCommand},
    {"--cut", "FILE START END OUT",
     "save START to END of FILE (seconds or hh:mm:ss) as a clip OUT (a file or a folder)",
     vantrel::runCutCommand},
    {"--help", "", "print this help and exit", printHelp},
    {"--version", "", "print the version and exit", printVersion},
};

std::span<const vantrel::CommandLineOption> options() {
  return kOptions;
}

}  // namespace

int main(int argc, char** argv) {
  vantrel::shareMallocArenas();
  if (std::optional<int> status = vantrel::runCommandLine(options(), argc, argv)) return *status;
  // The window class the desktop file names and the web engine's cache
  // folder follow this name, whatever the executable is called.
  g_set_prgname("vantrel");
  wxApp::SetInstance(
      new vantrel::CVantrelApp(*vantrel::parseWindowArguments(options(), argc, argv).start));
  return wxEntry(argc, argv);
}
