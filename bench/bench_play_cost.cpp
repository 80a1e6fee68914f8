// The cost of playing: a 1080p30 H.264 + AAC recording played in our window
// under the virtual display, against ffplay and mpv playing the same file in
// the same run; and the engine alone (`vantrel --play`) against the least any
// player must do, ffmpeg decoding the file into nothing. Each player is a child process; its CPU
// seconds (user + system; the X server's are not counted) and peak RSS come from wait4.
// The footprint is the largest sum, sampled each second while playing, of the proportional set
// size (Pss) of the player and every process it started: the window's web-engine processes
// count. Pss shares a library's pages among all processes mapping it, so other programs
// running the same libraries at the same time lower everyone's figure a little.
//
//   bench_play_cost [SECONDS]   length of the generated recording (default 30)
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Cost {
  double cpuSeconds = 0.0;
  double peakRssMb = 0.0;
  double footprintMb = 0.0;
};

// pid and every process below it.
std::vector<pid_t> processTree(pid_t pid) {
  std::vector<pid_t> tree{pid};
  std::error_code error;
  for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
    std::ifstream children(task.path() / "children");
    for (pid_t child; children >> child;) {
      for (pid_t below : processTree(child)) tree.push_back(below);
    }
  }
  return tree;
}

double pssMb(pid_t pid) {
  std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
  for (std::string line; std::getline(rollup, line);) {
    std::istringstream fields(line);
    std::string name;
    double kb = 0.0;
    if (fields >> name >> kb && name == "Pss:") return kb / 1024.0;
  }
  return 0.0;
}

double footprintMb(pid_t pid) {
  double total = 0.0;
  for (pid_t one : processTree(pid)) total += pssMb(one);
  return total;
}

bool onPath(const char* program) {
  const std::string command = std::string("command -v ") + program + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

// Runs argv with its output discarded and stops it after stopAfterSeconds.
// A player that should end by itself and is still running then has hung.
std::optional<Cost> runPlayer(const std::vector<std::string>& argv, double stopAfterSeconds,
                              bool endsByItself) {
  std::fflush(stdout);  // or the child's copy of the buffer is written twice
  const pid_t pid = fork();
  if (pid < 0) return std::nullopt;
  if (pid == 0) {
    std::freopen("/dev/null", "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::milliseconds(static_cast<int>(stopAfterSeconds * 1000));
  int status = 0;
  rusage usage{};
  bool stopped = false;
  double footprint = 0.0;
  auto nextSample = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  while (wait4(pid, &status, WNOHANG, &usage) == 0) {
    const auto now = std::chrono::steady_clock::now();
    if (!stopped && now >= deadline) {
      kill(pid, SIGTERM);
      stopped = true;
    }
    if (!stopped && now >= nextSample) {
      footprint = std::max(footprint, footprintMb(pid));
      nextSample = now + std::chrono::seconds(1);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  const bool ended = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (endsByItself ? stopped || !ended : !stopped) return std::nullopt;
  Cost cost;
  cost.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                    (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  cost.peakRssMb = usage.ru_maxrss / 1024.0;
  cost.footprintMb = footprint;
  return cost;
}

void report(const char* who, const std::optional<Cost>& cost) {
  if (cost) {
    std::printf("%-8s cpu %6.2f s  peak rss %6.1f MB  footprint %6.1f MB\n", who, cost->cpuSeconds,
                cost->peakRssMb, cost->footprintMb);
  } else {
    std::printf("%-8s did not play the recording to its end\n", who);
  }
}

void ratios(const char* who, const std::optional<Cost>& theirs, const std::optional<Cost>& ours) {
  if (!theirs || !ours) return;
  std::printf("ratio: cpu %s/vantrel %.2f\n", who, theirs->cpuSeconds / ours->cpuSeconds);
  std::printf("ratio: peak-rss %s/vantrel %.2f\n", who, theirs->peakRssMb / ours->peakRssMb);
  std::printf("ratio: footprint-pss %s/vantrel %.2f\n", who,
              theirs->footprintMb / ours->footprintMb);
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
  if (seconds <= 0) {
    std::fputs("usage: bench_play_cost [SECONDS]\n", stderr);
    return 2;
  }
  // Every player plays into SDL's dummy sound device or none, as in the tests.
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  const fs::path dir =
      fs::temp_directory_path() / ("vantrel-play-cost-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const fs::path clip = dir / "drive-1080p.MOV";
  const std::string make = std::string("'") + VANTREL_SOURCE_DIR +
                           "/tests/fixtures/make-recording' '" + clip.string() + "' " +
                           std::to_string(seconds) + " --size 1920x1080 --rate 30";
  if (std::system(make.c_str()) != 0) {
    std::fputs("could not make the recording\n", stderr);
    fs::remove_all(dir);
    return 1;
  }
  std::printf("%d s of 1920x1080 at 30 pictures a second, H.264 + AAC\n", seconds);

  // Ours plays its list round, so it is stopped just after the first pass.
  const auto ours = runPlayer({std::string(VANTREL_BINARY_DIR) + "/vantrel", clip.string()},
                              seconds + 1.5, false);
  report("vantrel", ours);
  const double guard = seconds * 3.0 + 10.0;
  if (onPath("ffplay")) {
    const auto ffplay =
        runPlayer({"ffplay", "-autoexit", "-loglevel", "quiet", clip.string()}, guard, true);
    report("ffplay", ffplay);
    ratios("ffplay", ffplay, ours);
  } else {
    std::puts("ffplay not installed: no comparison");
  }
  if (onPath("mpv")) {
    const auto mpv =
        runPlayer({"mpv", "--no-config", "--vo=x11", "--ao=null", clip.string()}, guard, true);
    report("mpv", mpv);
    ratios("mpv", mpv, ours);
    // The window's goals against mpv: at 1.00 or above each is met.
    if (mpv && ours) {
      std::printf("ratio: peak-rss mpv-plus-60MB/vantrel %.2f\n",
                  (mpv->peakRssMb + 60.0) / ours->peakRssMb);
      std::printf("ratio: footprint-pss twice-mpv/vantrel %.2f\n",
                  2.0 * mpv->footprintMb / ours->footprintMb);
    }
  } else {
    std::puts("mpv not installed: no comparison");
  }
  const auto engine = runPlayer(
      {std::string(VANTREL_BINARY_DIR) + "/vantrel", "--play", clip.string()}, guard, true);
  report("--play", engine);
  const auto decode = runPlayer(
      {"ffmpeg", "-nostdin", "-loglevel", "quiet", "-i", clip.string(), "-f", "null", "-"}, guard,
      true);
  report("ffmpeg", decode);
  if (engine && decode) {
    std::printf("ratio: peak-rss ffmpeg-decode/vantrel-play %.2f\n",
                decode->peakRssMb / engine->peakRssMb);
  }
  fs::remove_all(dir);
  return ours && engine ? 0 : 1;
}
