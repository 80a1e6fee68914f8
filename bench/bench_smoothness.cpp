// Smoothness on a heavy recording: 10 s of 4K30 H.264 at 50 Mbit/s with
// sound, played in our window under the virtual display, against mpv (x11
// output, its window as large as our video area) on the same file in the same
// run. Our figures are the window's statistics line (pictures shown, dropped,
// late, offsets against the sound); mpv's are its own drop counters, read by a
// small script when it ends. CPU seconds of each player beside them.
//
//   bench_smoothness [SECONDS]   length of the generated recording (default 10)
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <wx/init.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/ControlTable.h"
#include "app/VantrelDlg.h"
#include "app/VideoPanel.h"
#include "engine/PlayerState.h"
#include "support/WindowLoop.h"

namespace fs = std::filesystem;
using namespace vantrel;

namespace {

bool makeRecording(const fs::path& out, int seconds) {
  const std::string s = std::to_string(seconds);
  const std::string make =
      "ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc2=size=3840x2160:rate=30:duration=" +
      s + " -f lavfi -i sine=frequency=440:duration=" + s +
      " -c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 30 -b:v 50M -maxrate 50M"
      " -bufsize 100M -c:a aac -b:a 128k -shortest '" +
      out.string() + "'";
  return std::system(make.c_str()) == 0;
}

struct Played {
  PlaybackStats stats;
  double cpuSeconds = 0;
};

// Plays the folder's one recording once through in the window.
bool playInWindow(const fs::path& folder, int seconds, Played& played) {
  PlayerState player;
  CVantrelDlg dialog(player);
  dialog.Show();
  runLoopFor(2000);  // the window and its map pages settle
  dialog.OpenFolder(folder.string());
  const PlaybackStats before = dialog.ShownStats();
  const double cpuBefore = cpuSeconds();
  wxCommandEvent play(wxEVT_BUTTON, IDC_PLAY);
  play.SetEventObject(dialog.FindWindow(IDC_PLAY));
  dialog.GetEventHandler()->ProcessEvent(play);
  const bool started = runLoopUntil([&] { return player.playState == Playing; }, 10);
  // To the last second: the playlist would start the recording again.
  const bool ended =
      started && runLoopUntil([&] { return player.elapsedSeconds >= seconds; }, seconds * 4.0);
  runLoopFor(300);  // the last pictures
  played.cpuSeconds = cpuSeconds() - cpuBefore;
  played.stats = dialog.ShownStats();
  played.stats.shown -= before.shown;
  played.stats.dropped -= before.dropped;
  wxCommandEvent stop(wxEVT_BUTTON, IDC_STOP);
  stop.SetEventObject(dialog.FindWindow(IDC_STOP));
  dialog.GetEventHandler()->ProcessEvent(stop);
  runLoopUntil([&] { return player.playState == Idle; }, 10);
  return ended;
}

struct MpvPlayed {
  long dropped = -1;  // the output's and the decoder's together
  double cpuSeconds = 0;
};

bool playInMpv(const fs::path& recording, const fs::path& work, wxSize area, MpvPlayed& played) {
  if (std::system("command -v mpv >/dev/null 2>&1") != 0) return false;
  const fs::path script = work / "drops.lua";
  const fs::path counts = work / "drops.txt";
  std::ofstream(script) << "mp.register_event('shutdown', function()\n"
                           "  local f = io.open('"
                        << counts.string()
                        << "', 'w')\n"
                           "  f:write((mp.get_property_number('frame-drop-count') or 0) +\n"
                           "          (mp.get_property_number('decoder-frame-drop-count') or 0))\n"
                           "  f:close()\nend)\n";
  std::fflush(stdout);
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    std::freopen("/dev/null", "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    const std::string autofit =
        "--autofit=" + std::to_string(area.x) + "x" + std::to_string(area.y);
    const std::string scriptOption = "--script=" + script.string();
    execlp("mpv", "mpv", "--no-config", "--vo=x11", "--ao=null", autofit.c_str(),
           scriptOption.c_str(), recording.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  played.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                      (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  std::ifstream(counts) >> played.dropped;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 && played.dropped >= 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
  if (seconds <= 0) {
    std::fputs("usage: bench_smoothness [SECONDS]\n", stderr);
    return 2;
  }
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("VANTREL_MAP_TILES", "none", 0);
  wxApp::SetInstance(new BenchApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    std::fputs("bench_smoothness needs a display (run it under xvfb-run)\n", stderr);
    return 1;
  }
  const fs::path dir = fs::temp_directory_path() / ("vantrel-smooth-" + std::to_string(getpid()));
  const fs::path folder = dir / "drive";
  fs::create_directories(folder);
  const fs::path recording = folder / "drive-4k.MOV";
  int status = 1;
  if (makeRecording(recording, seconds)) {
    std::printf("%d s of 3840x2160 at 30 pictures a second, H.264 50 Mbit/s + AAC\n", seconds);
    Played ours;
    wxSize area;
    {
      // The area our window shows the pictures in, for mpv's window.
      PlayerState player;
      CVantrelDlg dialog(player);
      area = VideoPanel::PictureSize(dialog.VideoArea()->GetSize());
    }
    if (playInWindow(folder, seconds, ours)) {
      std::printf("vantrel  cpu %6.2f s  %s\n", ours.cpuSeconds, formatStats(ours.stats).c_str());
      // The picture furthest from its sound against the 0.1 s allowed:
      // above 1 it stayed within.
      const double largest = std::max(std::abs(ours.stats.offsetLargest), 1e-3);
      std::printf("ratio: largest-offset-4k30 0.1s/vantrel %.2f\n", 0.1 / largest);
      status = 0;
    } else {
      std::puts("vantrel did not play the recording through");
    }
    MpvPlayed mpv;
    if (playInMpv(recording, dir, area, mpv)) {
      std::printf("mpv      cpu %6.2f s  dropped=%ld (%dx%d window)\n", mpv.cpuSeconds, mpv.dropped,
                  area.x, area.y);
      // One added to each side: none dropped is a count, not a division by
      // zero. Above 1 we dropped fewer; when mpv drops none, 1.00 (none
      // dropped here either) is the best there is.
      if (status == 0) {
        std::printf("ratio: dropped-4k30 mpv/vantrel %.2f%s\n",
                    (mpv.dropped + 1.0) / (ours.stats.dropped + 1.0),
                    mpv.dropped == 0 && ours.stats.dropped == 0
                        ? " (neither dropped a picture: the best possible)"
                        : "");
        std::printf("ratio: cpu-4k30 mpv/vantrel %.2f\n", mpv.cpuSeconds / ours.cpuSeconds);
      }
    } else {
      std::puts("mpv did not play the recording: no comparison");
    }
  } else {
    std::fputs("could not make the recording\n", stderr);
  }
  fs::remove_all(dir);
  wxTheApp->OnExit();
  wxEntryCleanup();
  return status;
}
