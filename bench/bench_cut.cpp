// Saving a 60 s clip of a 1 GB recording without re-encoding, against
// `ffmpeg -ss S -to E -i FILE -map 0 -c copy` doing the same in the same run.
// Both copy every stream from the keyframe at or before S; the page cache is
// warm for both. Wall time, the median of five runs each, taken in turns.
//
//   bench_cut [MEGABYTES]   size of the generated MOV (default 1000)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/ClipSaver.h"
#include "support/BigRecording.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRuns = 5;
constexpr double kClipSeconds = 60;

double since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Seconds, or a negative number when the clip was not written.
double ours(const fs::path& recording, const fs::path& out, double start) {
  fs::remove(out);
  const auto begin = Clock::now();
  const vantrel::SavedClip saved =
      vantrel::saveClipAs(recording.string(), out.string(), start, start + kClipSeconds, nullptr);
  const double seconds = since(begin);
  if (saved.status != vantrel::kClipWritten) {
    std::fprintf(stderr, "clip not saved: %s\n", saved.reason.c_str());
    return -1;
  }
  return seconds;
}

double ffmpeg(const fs::path& recording, const fs::path& out, double start) {
  const std::string command = "ffmpeg -nostdin -loglevel error -y -ss " + std::to_string(start) +
                              " -to " + std::to_string(start + kClipSeconds) + " -i '" +
                              recording.string() + "' -map 0 -c copy '" + out.string() + "'";
  const auto begin = Clock::now();
  const bool made = std::system(command.c_str()) == 0;
  return made ? since(begin) : -1;
}

}  // namespace

int main(int argc, char** argv) {
  const int megabytes = bigRecordingMegabytes(argc, argv, "bench_cut");
  if (megabytes == 0) return 2;
  const fs::path dir = fs::temp_directory_path() / ("vantrel-cut-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const fs::path recording = dir / "DRIVE.MOV";
  int status = 1;
  if (makeBigRecording(recording, megabytes)) {
    std::printf("%.0f MB MOV, 1920x1080 at 30 pictures a second, H.264 + AAC + GPS text\n",
                fs::file_size(recording) / 1e6);
    // From a third of the way in (the generated recording is about 2 MB a second).
    const double start = std::floor(fs::file_size(recording) / 2e6 / 3);
    std::vector<double> our, their;
    ffmpeg(recording, dir / "warm.MOV", start);  // the page cache warmed for both
    for (int i = 0; i < kRuns; ++i) {
      our.push_back(ours(recording, dir / "ours.MOV", start));
      their.push_back(ffmpeg(recording, dir / "ffmpeg.MOV", start));
    }
    if (*std::min_element(our.begin(), our.end()) >= 0 &&
        *std::min_element(their.begin(), their.end()) >= 0) {
      std::printf(
          "60 s clip from %.0f s: vantrel %.0f ms (%.0f MB), ffmpeg -c copy %.0f ms (%.0f MB)\n",
          start, median(our) * 1000, fs::file_size(dir / "ours.MOV") / 1e6, median(their) * 1000,
          fs::file_size(dir / "ffmpeg.MOV") / 1e6);
      std::printf("ratio: cut-60s ffmpeg/vantrel %.2f\n", median(their) / median(our));
      status = 0;
    }
  } else {
    std::fputs("could not make the recording\n", stderr);
  }
  fs::remove_all(dir);
  return status;
}
