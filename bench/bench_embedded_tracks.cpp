// Loading the track inside a 2 GB recording, per camera layout, against
// ExifTool reading the positions of the same file:
//   exiftool -ee -n -p '$GPSLatitude $GPSLongitude' FILE
// Each recording is generated (a 10-second 40 Mbit/s clip looped by stream
// copy, the track written in by tests/fixtures/make-embedded-recording),
// measured, and deleted before the next is made. Besides the time, the bytes
// the loader reads (read calls, from /proc/self/io) show how little of the
// recording a track costs.
#include <benchmark/benchmark.h>
#include <sys/statvfs.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "gps/TrackLoader.h"
#include "support/RatioReporter.h"

namespace {

const std::string kFolder = std::string(VANTREL_BINARY_DIR) + "/bench/embedded-tracks";
const std::string kClip = kFolder + "/clip.mp4";
constexpr int kClipSeconds = 10;
constexpr int kSeconds = 400;  // 40 Mbit/s: 2 GB
constexpr double kNeededBytes = 2.6e9;
const char* const kLayouts[] = {"novatek", "gopro", "garmin", "blackvue", "nmea"};

bool run(const std::string& command) {
  return std::system(command.c_str()) == 0;
}

bool makeClip() {
  if (std::filesystem::exists(kClip)) return true;
  std::filesystem::create_directories(kFolder);
  const std::string partial = kFolder + "/partial.mp4";
  const bool made = run(
      "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i testsrc2=size=1280x720:rate=30:"
      "duration=" +
      std::to_string(kClipSeconds) +
      " -c:v libx264 -preset ultrafast -pix_fmt yuv420p -b:v 40M -minrate 40M -maxrate 40M"
      " -bufsize 20M -x264-params nal-hrd=cbr '" +
      partial + "'");
  if (made) std::filesystem::rename(partial, kClip);
  return made;
}

bool enoughSpace() {
  struct statvfs disk {};
  return statvfs(kFolder.c_str(), &disk) == 0 &&
         static_cast<double>(disk.f_bavail) * disk.f_frsize > kNeededBytes;
}

// NMEA in a text stream is named as a MOV: ExifTool reads such a stream of
// a MOV only.
std::string recordingOf(const std::string& layout) {
  return kFolder + "/" + layout + (layout == "nmea" ? ".MOV" : ".MP4");
}

bool makeRecording(const std::string& layout) {
  return run(std::string(VANTREL_SOURCE_DIR) + "/tests/fixtures/make-embedded-recording '" +
             recordingOf(layout) + "' " + std::to_string(kSeconds) + " --layout " + layout +
             " --base '" + kClip + "'");
}

// Bytes this process has asked read calls for so far.
uint64_t bytesReadSoFar() {
  std::ifstream io("/proc/self/io");
  std::string key;
  uint64_t value = 0;
  while (io >> key >> value) {
    if (key == "rchar:") return value;
  }
  return 0;
}

struct Load {
  size_t fixes = 0;
  uint64_t bytesRead = 0;
};

Load loadOnce(const std::string& recording) {
  const uint64_t before = bytesReadSoFar();
  const vantrel::TrackLoad load = vantrel::loadTrack(recording);
  return {load.track.fixes.size(), bytesReadSoFar() - before};
}

void benchOurs(benchmark::State& state, const std::string& recording) {
  Load load;
  for (auto _ : state) load = loadOnce(recording);
  if (load.fixes == 0) state.SkipWithError("no fix loaded");
  state.counters["fixes"] = static_cast<double>(load.fixes);
  state.counters["MB_read"] = static_cast<double>(load.bytesRead) / 1e6;
}

// The positions ExifTool prints; -1 when it fails.
long exiftoolPositions(const std::string& recording) {
  FILE* out = popen(
      ("exiftool -ee -n -p '$GPSLatitude $GPSLongitude' '" + recording + "' 2> /dev/null").c_str(),
      "r");
  if (!out) return -1;
  long lines = 0;
  for (int c; (c = std::fgetc(out)) != EOF;) lines += c == '\n';
  return pclose(out) == 0 ? lines : -1;
}

void benchExiftool(benchmark::State& state, const std::string& recording) {
  long positions = 0;
  for (auto _ : state) positions = exiftoolPositions(recording);
  // A yardstick that reads no position would measure nothing.
  if (positions <= 0) state.SkipWithError("exiftool read no position");
  state.counters["fixes"] = static_cast<double>(positions);
}

void registerLayout(const std::string& layout) {
  const std::string recording = recordingOf(layout);
  benchmark::RegisterBenchmark(("BM_Ours/" + layout).c_str(), benchOurs, recording)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->Repetitions(5);
  benchmark::RegisterBenchmark(("BM_Exiftool/" + layout).c_str(), benchExiftool, recording)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->Iterations(1)
      ->Repetitions(3);
}

// Generates, measures and deletes one layout's recording.
bool measure(const std::string& layout, RatioReporter& reporter) {
  if (!makeRecording(layout)) {
    std::fprintf(stderr, "bench_embedded_tracks: cannot generate the %s recording\n",
                 layout.c_str());
    return false;
  }
  const std::string recording = recordingOf(layout);
  const double size = static_cast<double>(std::filesystem::file_size(recording));
  const Load load = loadOnce(recording);
  benchmark::ClearRegisteredBenchmarks();
  registerLayout(layout);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::filesystem::remove(recording);
  std::printf("%s: %.0f MB, %zu fixes, %llu bytes read (%.4f %% of the file)\n", layout.c_str(),
              size / 1e6, load.fixes, static_cast<unsigned long long>(load.bytesRead),
              100.0 * static_cast<double>(load.bytesRead) / size);
  reporter.printRatio(("embedded_" + layout + "_vs_exiftool").c_str(), "BM_Exiftool/" + layout,
                      "BM_Ours/" + layout, false);
  return load.fixes > 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (!makeClip()) {
    std::fprintf(stderr, "bench_embedded_tracks: cannot generate %s\n", kClip.c_str());
    return 1;
  }
  if (!enoughSpace()) {
    std::fprintf(stderr, "bench_embedded_tracks: %s needs %.1f GB free\n", kFolder.c_str(),
                 kNeededBytes / 1e9);
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  bool ok = true;
  for (const char* layout : kLayouts) ok = measure(layout, reporter) && ok;
  return ok ? 0 : 1;
}
