// Two costs of the window the user feels: the time from pressing Play to the
// first picture on a 1 GB MOV with a GPS text stream, and the CPU a paused
// playback takes.
//
// First picture: the yardstick is the least any player must do in the same
// run: open the file with libavformat, read its stream information and decode
// its first picture. Measured with the page cache dropped (when this process
// may drop it) and warm.
// Paused: CPU seconds of this process over 10 s (the web engine's own process
// and the X server are not counted); the yardstick is mpv paused on the same
// file for the same 10 s, and the idle window is shown beside it.
//
//   bench_start_and_pause [MEGABYTES]   size of the generated MOV (default 1000)
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/init.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "app/ControlTable.h"
#include "app/VantrelDlg.h"
#include "app/VideoPanel.h"
#include "engine/PlayerState.h"
#include "support/BigRecording.h"
#include "support/WindowLoop.h"

namespace fs = std::filesystem;
using namespace vantrel;
using Clock = std::chrono::steady_clock;

namespace {

bool dropPageCache() {
  sync();
  std::ofstream drop("/proc/sys/vm/drop_caches");
  return static_cast<bool>(drop << "3\n" << std::flush);
}

// The yardstick: open, stream information, first decoded picture. Seconds, or
// a negative number when the file does not decode.
double bareFirstPicture(const std::string& path) {
  const auto start = Clock::now();
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) != 0) return -1;
  double seconds = -1;
  const AVCodec* codec = nullptr;
  const int stream = avformat_find_stream_info(format, nullptr) < 0
                         ? -1
                         : av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
  AVCodecContext* context = stream >= 0 ? avcodec_alloc_context3(codec) : nullptr;
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  if (context && avcodec_parameters_to_context(context, format->streams[stream]->codecpar) >= 0 &&
      avcodec_open2(context, codec, nullptr) == 0) {
    while (seconds < 0 && av_read_frame(format, packet) >= 0) {
      if (packet->stream_index == stream && avcodec_send_packet(context, packet) == 0 &&
          avcodec_receive_frame(context, frame) == 0) {
        seconds = since(start);
      }
      av_packet_unref(packet);
    }
  }
  av_frame_free(&frame);
  av_packet_free(&packet);
  avcodec_free_context(&context);
  avformat_close_input(&format);
  return seconds;
}

void click(CVantrelDlg& dialog, int id) {
  wxCommandEvent event(wxEVT_BUTTON, id);
  event.SetEventObject(dialog.FindWindow(id));
  dialog.GetEventHandler()->ProcessEvent(event);
}

// Pressing Play on the listed recording up to its first picture on screen:
// the video area's first paint that draws a picture (handed over is not yet
// shown: the paint may wait behind the window's other work).
double windowFirstPicture(CVantrelDlg& dialog, PlayerState& player) {
  click(dialog, IDC_STOP);
  runLoopUntil([&] { return player.playState == Idle && !player.opening; }, 10);
  VideoPanel* area = dialog.VideoArea();
  area->presentFrame(nullptr);
  runLoopFor(50);  // the cleared area's own paint
  bool painted = false;
  const auto watch = [&](wxPaintEvent& event) {
    painted = painted || area->CurrentFrame() != nullptr;
    event.Skip();  // the area draws it
  };
  area->Bind(wxEVT_PAINT, watch);
  const auto start = Clock::now();
  click(dialog, IDC_PLAY);
  const bool shown = runLoopUntil([&] { return painted; }, 30);
  const double seconds = since(start);
  area->Unbind(wxEVT_PAINT, watch);
  return shown ? seconds : -1;
}

void reportFirstPicture(const char* cache, double bare, double ours) {
  if (bare < 0 || ours < 0) {
    std::printf("first picture (%s): did not decode\n", cache);
    return;
  }
  std::printf("first picture (%s): bare decode %.0f ms, Play to picture %.0f ms\n", cache,
              bare * 1000, ours * 1000);
  std::printf("ratio: first-picture-%s bare/vantrel %.2f\n", cache, bare / ours);
  // Play waits for the start timer before it opens anything: its share on
  // its own, and the rest against the bare decode.
  const double timer = CVantrelDlg::kStartPlaybackDelayMs / 1000.0;
  std::printf("first picture (%s): start timer %.0f ms of it (%.0f %%)\n", cache, timer * 1000,
              100 * timer / ours);
  if (ours > timer) {
    std::printf("ratio: first-picture-%s-after-start-timer bare/vantrel %.2f\n", cache,
                bare / (ours - timer));
  }
}

// CPU seconds (user + system) of a process so far, from /proc.
double cpuSecondsOf(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  const size_t nameEnd = line.rfind(')');
  if (nameEnd == std::string::npos) return -1;
  std::istringstream fields(line.substr(nameEnd + 2));
  std::string field;
  long ticks = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i >= 14) ticks += std::stol(field);  // utime, stime
  }
  return static_cast<double>(ticks) / sysconf(_SC_CLK_TCK);
}

// mpv started paused on the recording: its CPU seconds over `seconds` once it
// has settled; negative when mpv is not there.
double mpvPausedCpu(const fs::path& recording, int seconds) {
  if (std::system("command -v mpv >/dev/null 2>&1") != 0) return -1;
  std::fflush(stdout);
  const pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    std::freopen("/dev/null", "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    execlp("mpv", "mpv", "--no-config", "--pause", "--vo=x11", "--ao=null", recording.c_str(),
           static_cast<char*>(nullptr));
    _exit(127);
  }
  std::this_thread::sleep_for(std::chrono::seconds(3));
  const double before = cpuSecondsOf(pid);
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  const double after = cpuSecondsOf(pid);
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return before < 0 || after < 0 ? -1 : after - before;
}

// CPU seconds this process spends over seconds of running its event loop.
double cpuOver(int seconds) {
  const double before = cpuSeconds();
  runLoopFor(seconds * 1000);
  return cpuSeconds() - before;
}

int benchmark(const fs::path& recording) {
  PlayerState player;
  CVantrelDlg dialog(player);
  dialog.Show();
  runLoopFor(2000);  // the window and its map pages settle
  const double idle = cpuOver(10);

  dialog.OpenFolder(recording.parent_path().string());
  const bool cold = dropPageCache();
  const double coldBare = cold ? bareFirstPicture(recording.string()) : -1;
  if (cold) dropPageCache();
  const double coldOurs = cold ? windowFirstPicture(dialog, player) : -1;
  if (cold) reportFirstPicture("cold", coldBare, coldOurs);
  const double warmBare = bareFirstPicture(recording.string());
  const double warmOurs = windowFirstPicture(dialog, player);
  reportFirstPicture("warm", warmBare, warmOurs);

  runLoopFor(2000);
  const double playing = cpuOver(10);
  click(dialog, IDC_PLAY);  // pause
  runLoopFor(500);
  const double paused = cpuOver(10);
  const bool stillPaused = player.playState == Paused;
  std::printf("cpu over 10 s: idle window %.3f s, playing 1080p %.3f s, paused %.3f s%s\n", idle,
              playing, paused, stillPaused ? "" : " (NOT PAUSED)");
  const double mpv = mpvPausedCpu(recording, 10);
  if (mpv >= 0) {
    std::printf("cpu over 10 s: mpv paused %.3f s\n", mpv);
    // Clock ticks are 10 ms: neither side is taken below one.
    std::printf("ratio: paused-cpu mpv/vantrel %.2f\n",
                std::max(mpv, 0.01) / std::max(paused, 0.01));
  }
  click(dialog, IDC_STOP);
  runLoopUntil([&] { return player.playState == Idle; }, 10);
  return stillPaused && warmOurs >= 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const int megabytes = bigRecordingMegabytes(argc, argv, "bench_start_and_pause");
  if (megabytes == 0) return 2;
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("VANTREL_MAP_TILES", "none", 0);  // tiles would make the idle figure the network's
  const fs::path dir = fs::temp_directory_path() / ("vantrel-start-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const fs::path recording = dir / "DRIVE.MOV";
  int status = 1;
  if (makeBigRecording(recording, megabytes)) {
    std::printf("%.0f MB MOV, 1920x1080 at 30 pictures a second, H.264 + AAC + GPS text\n",
                fs::file_size(recording) / 1e6);
    wxApp::SetInstance(new BenchApp);
    if (wxEntryStart(argc, argv) && wxTheApp->CallOnInit()) {
      status = benchmark(recording);
      wxTheApp->OnExit();
    }
    wxEntryCleanup();
  } else {
    std::fputs("could not make the recording\n", stderr);
  }
  fs::remove_all(dir);
  return status;
}
