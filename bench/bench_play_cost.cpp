// The cost of playing: a 1080p30 H.264 + AAC recording played in our window
// under the virtual display, against ffplay and mpv playing the same file in
// the same run; and the engine alone (`vantrel --play`) against the least any
// player must do, ffmpeg decoding the file into nothing. Each player is a child process; its CPU
// seconds (user + system; the X server's are not counted) and peak RSS come from wait4.
//
//   bench_play_cost [SECONDS]   length of the generated recording (default 30)
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Cost {
  double cpuSeconds = 0.0;
  double peakRssMb = 0.0;
};

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
  while (wait4(pid, &status, WNOHANG, &usage) == 0) {
    if (!stopped && std::chrono::steady_clock::now() >= deadline) {
      kill(pid, SIGTERM);
      stopped = true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  const bool ended = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (endsByItself ? stopped || !ended : !stopped) return std::nullopt;
  Cost cost;
  cost.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                    (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  cost.peakRssMb = usage.ru_maxrss / 1024.0;
  return cost;
}

void report(const char* who, const std::optional<Cost>& cost) {
  if (cost) {
    std::printf("%-8s cpu %6.2f s  peak rss %6.1f MB\n", who, cost->cpuSeconds, cost->peakRssMb);
  } else {
    std::printf("%-8s did not play the recording to its end\n", who);
  }
}

void ratios(const char* who, const std::optional<Cost>& theirs, const std::optional<Cost>& ours) {
  if (!theirs || !ours) return;
  std::printf("ratio: cpu %s/vantrel %.2f\n", who, theirs->cpuSeconds / ours->cpuSeconds);
  std::printf("ratio: peak-rss %s/vantrel %.2f\n", who, theirs->peakRssMb / ours->peakRssMb);
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
