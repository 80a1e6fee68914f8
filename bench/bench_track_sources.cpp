// Loading a day of GPS track: a 24-hour NMEA log (86,400 epochs of RMC, GGA
// and three GSV sentences) and an 86,400-point GPX file, by our loader and by
// gpsbabel converting the same file to unicsv, in the same run. Each load is
// a child process; its CPU seconds (user + system) and peak RSS come from
// wait4, so both sides are measured alike. A third load reads 500 MB of NMEA
// that holds few fixes, to show that memory follows the fixes, not the file.
//
// Ends with `ratio: <what> <gpsbabel CPU / our CPU>` and our peak memory per
// fix (peak RSS of the load less that of a child that loads nothing).
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "gps/TrackLoader.h"

namespace fs = std::filesystem;

namespace {

const fs::path kFolder = fs::path(VANTREL_BINARY_DIR) / "bench" / "track-sources";
constexpr int kRuns = 3;
constexpr int kDaySeconds = 86400;

struct Cost {
  double cpuSeconds = 0;
  double peakRssMb = 0;
  long fixes = 0;  // what the child reported through its exit pipe
};

bool run(const std::string& command) {
  return std::system(command.c_str()) == 0;
}

bool generate(const fs::path& file, const std::string& arguments) {
  if (fs::exists(file)) return true;
  fs::create_directories(kFolder);
  const fs::path partial = file.string() + ".partial";
  if (!run(std::string(VANTREL_SOURCE_DIR) + "/tests/fixtures/gps-log.py " + arguments + " > '" +
           partial.string() + "'")) {
    return false;
  }
  fs::rename(partial, file);
  return true;
}

// 500 MB of GSV sentences with one RMC, a second after the one before, every
// 64 KiB.
bool generateLongLog(const fs::path& file) {
  if (fs::exists(file)) return true;
  const fs::path partial = file.string() + ".partial";
  std::ofstream out(partial, std::ios::binary);
  const std::string gsv =
      "$GPGSV,3,1,12,05,00,000,30,06,11,037,31,07,22,074,32,08,33,111,33*72\r\n";
  std::string block;
  while (block.size() < 65536) block += gsv;
  int second = 0;
  for (size_t written = 0; written < size_t{500} << 20; written += block.size(), ++second) {
    char rmc[128];
    std::snprintf(rmc, sizeof rmc,
                  "$GPRMC,%02d%02d%02d.00,A,6001.3154,N,02458.6870,E,12.3,84.4,220215\r\n",
                  second / 3600, second / 60 % 60, second % 60);
    out << block << rmc;
  }
  out.close();
  if (!out) return false;
  fs::rename(partial, file);
  return true;
}

// Runs work in a child; work's result goes back through a pipe.
std::optional<Cost> inChild(const std::function<long()>& work) {
  int channel[2];
  if (pipe(channel) != 0) return std::nullopt;
  std::fflush(stdout);
  const pid_t pid = fork();
  if (pid < 0) return std::nullopt;
  if (pid == 0) {
    close(channel[0]);
    const long result = work();
    const ssize_t written = write(channel[1], &result, sizeof result);
    _exit(written == sizeof result ? 0 : 1);
  }
  close(channel[1]);
  Cost cost;
  const ssize_t got = read(channel[0], &cost.fixes, sizeof cost.fixes);
  close(channel[0]);
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid || got != sizeof cost.fixes || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    return std::nullopt;
  }
  cost.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                    static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  cost.peakRssMb = static_cast<double>(usage.ru_maxrss) / 1024;
  return cost;
}

// The median CPU of kRuns, with the largest peak RSS.
std::optional<Cost> measure(const std::function<long()>& work) {
  std::vector<Cost> costs;
  for (int i = 0; i < kRuns; ++i) {
    std::optional<Cost> cost = inChild(work);
    if (!cost) return std::nullopt;
    costs.push_back(*cost);
  }
  std::sort(costs.begin(), costs.end(),
            [](const Cost& a, const Cost& b) { return a.cpuSeconds < b.cpuSeconds; });
  Cost median = costs[kRuns / 2];
  for (const Cost& c : costs) median.peakRssMb = std::max(median.peakRssMb, c.peakRssMb);
  return median;
}

long ourLoad(const fs::path& recording) {
  const vantrel::TrackLoad load = vantrel::loadTrack(recording.string());
  return load.result == 0 ? static_cast<long>(load.track.fixes.size()) : -1;
}

long gpsbabel(const char* format, const fs::path& file) {
  const std::string command =
      std::string("gpsbabel -i ") + format + " -f '" + file.string() + "' -o unicsv -F /dev/null";
  return run(command) ? 1 : -1;
}

bool compare(const char* what, const char* format, const fs::path& log, const Cost& idle) {
  fs::path recording = log;
  recording.replace_extension(".mp4");
  const std::optional<Cost> ours = measure([&] { return ourLoad(recording); });
  const std::optional<Cost> theirs = measure([&] { return gpsbabel(format, log); });
  if (!ours || !theirs || ours->fixes != kDaySeconds) {
    std::fprintf(stderr, "bench_track_sources: %s did not load (%ld fixes)\n", what,
                 ours ? ours->fixes : -1);
    return false;
  }
  const double perFix = (ours->peakRssMb - idle.peakRssMb) * 1024 * 1024 / ours->fixes;
  std::printf("%s: ours %.3f s CPU, peak %.1f MB (%.0f bytes a fix); gpsbabel %.3f s CPU\n", what,
              ours->cpuSeconds, ours->peakRssMb, perFix, theirs->cpuSeconds);
  std::printf("ratio: %s_vs_gpsbabel %.2f\n", what, theirs->cpuSeconds / ours->cpuSeconds);
  return true;
}

}  // namespace

int main() {
  // Each beside a recording name of its own, so that each is what is found.
  const fs::path nmea = kFolder / "nmea-day.NMEA";
  const fs::path gpx = kFolder / "gpx-day.gpx";
  const fs::path longLog = kFolder / "long.NMEA";
  if (!generate(nmea, "nmea 86400 --plain --start 2025-02-21T00:00:00") ||
      !generate(gpx, "gpx11 86400 --start 2025-02-21T00:00:00") || !generateLongLog(longLog)) {
    std::fprintf(stderr, "bench_track_sources: cannot generate the logs in %s\n", kFolder.c_str());
    return 1;
  }
  if (!run("command -v gpsbabel >/dev/null")) {
    std::fprintf(stderr, "bench_track_sources: gpsbabel is not installed (scripts/setup)\n");
    return 1;
  }
  const std::optional<Cost> idle = measure([] { return 0L; });
  if (!idle) return 1;
  bool ok = compare("nmea_24h", "nmea", nmea, *idle);
  ok = compare("gpx_86400_points", "gpx", gpx, *idle) && ok;
  const std::optional<Cost> big = measure([&] { return ourLoad(kFolder / "long.mp4"); });
  if (!big) return 1;
  std::printf("500 MB NMEA with %ld fixes: %.2f s CPU, peak %.1f MB (%.1f MB over an idle child)\n",
              big->fixes, big->cpuSeconds, big->peakRssMb, big->peakRssMb - idle->peakRssMb);
  return ok ? 0 : 1;
}
