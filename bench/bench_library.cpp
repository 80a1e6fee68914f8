// The library index on a folder of 500 one-minute clips (tiny pictures; half
// MOV files with their track inside, half MP4 files with a TXT beside them):
// indexed cold against ExifTool reading the positions of the same folder,
// reopened warm against that cold scan, and the "Recordings here" query on a
// synthetic index of 100,000 clips against searching every track in memory.
// The inputs are generated once and kept in the build folder.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "app/FolderLibrary.h"
#include "library/LibraryOpen.h"
#include "library/LibraryScan.h"
#include "library/PlacePasses.h"
#include "support/RatioReporter.h"

extern "C" {
#include <libavutil/log.h>
}

namespace {

namespace fs = std::filesystem;
using namespace vantrel;

const fs::path kRoot = fs::path(VANTREL_BINARY_DIR) / "bench/library";
const fs::path kFolder = kRoot / "card";
const fs::path kColdIndex = kRoot / "cold.sqlite";
const fs::path kWarmIndex = kRoot / "warm.sqlite";
const fs::path kBigIndex = kRoot / "big.sqlite";
constexpr int kClips = 500;
constexpr int kBigClips = 100'000;
constexpr int kBigPoints = 20;  // one every three seconds of a minute

bool run(const std::string& command) {
  return std::system(command.c_str()) == 0;
}

// 250 pairs of a MOV and an MP4 + TXT, one minute each, named a minute
// apart as a camera names them; each pair made from one template.
bool makeFolder() {
  if (fs::exists(kFolder / ".done")) return true;
  fs::remove_all(kFolder);
  fs::create_directories(kFolder);
  const std::string make = std::string(VANTREL_SOURCE_DIR) + "/tests/fixtures/make-recording ";
  const std::string tiny = " 60 --size 64x64 --rate 5 --audio none --gps ";
  const fs::path mov = kRoot / "template.MOV", mp4 = kRoot / "template.mp4";
  if (!run(make + mov.string() + tiny + "text") || !run(make + mp4.string() + tiny + "sidecar")) {
    return false;
  }
  const fs::path txt = kRoot / "template.TXT";
  for (int i = 0; i < kClips; ++i) {
    char name[40];
    std::snprintf(name, sizeof name, "2024%02d%02d_%02d%02d00", 5 + i / 240, 1 + i / 60 % 4 * 7,
                  8 + i / 60 % 4, i % 60);
    const bool movie = i % 2 == 0;
    fs::copy_file(movie ? mov : mp4, kFolder / (name + std::string(movie ? ".MOV" : ".mp4")));
    if (!movie) fs::copy_file(txt, kFolder / (name + std::string(".TXT")));
  }
  std::fclose(std::fopen((kFolder / ".done").c_str(), "w"));
  return true;
}

std::vector<std::string> folderPaths() {
  std::vector<std::string> paths;
  std::string error;
  listFolderRecordings(kFolder.string(), paths, error);
  return paths;
}

void scanInto(const fs::path& index, benchmark::State& state) {
  OpenedLibrary opened = openLibraryIndex(index.string());
  const ScanResult result = scanClips(folderPaths(), *opened.index);
  if (result.clips.size() != kClips) state.SkipWithError("the folder did not scan");
  state.counters["read"] = static_cast<double>(result.read);
}

void BM_IndexCold(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove(kColdIndex);
    fs::remove(kColdIndex.string() + "-wal");
    state.ResumeTiming();
    scanInto(kColdIndex, state);
  }
  state.counters["clips_per_second"] = benchmark::Counter(
      kClips * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The index the warm reopens find: made once before they are timed.
void BM_ReopenWarm(benchmark::State& state) {
  for (auto _ : state) scanInto(kWarmIndex, state);
}

void BM_Exiftool(benchmark::State& state) {
  const std::string command = "exiftool -q -q -ee -n -p '$GPSLatitude $GPSLongitude' '" +
                              kFolder.string() + "' > /dev/null 2>&1";
  for (auto _ : state) std::system(command.c_str());
}

// A synthetic library: clips scattered over a 200 x 200 km region, each a
// straight minute at 50 km/h in a random direction.
ClipRecord syntheticClip(int i, std::mt19937& random) {
  std::uniform_real_distribution<double> spread(0, 1.8), angle(0, 2 * M_PI);
  ClipRecord clip;
  clip.key = {"/fleet/" + std::to_string(i / 1000) + "/clip" + std::to_string(i) + ".MP4", 1, 1};
  clip.readable = true;
  clip.durationMs = 60'000;
  const double lat0 = 47 + spread(random), lon0 = 8 + spread(random) * 1.5, a = angle(random);
  for (int k = 0; k < kBigPoints; ++k) {
    ClipPoint p;
    p.offsetMs = k * 3000;
    p.latitude = lat0 + std::cos(a) * k * 41.7 / 111195.0;
    p.longitude = lon0 + std::sin(a) * k * 41.7 / (111195.0 * std::cos(lat0 * M_PI / 180));
    p.speedKmh = 50;
    clip.points.push_back(p);
  }
  return clip;
}

std::vector<ClipRecord>& bigLibrary() {
  static std::vector<ClipRecord> clips = [] {
    std::mt19937 random(18);
    std::vector<ClipRecord> made;
    made.reserve(kBigClips);
    for (int i = 0; i < kBigClips; ++i) made.push_back(syntheticClip(i, random));
    return made;
  }();
  return clips;
}

LibraryIndex& bigIndex() {
  static OpenedLibrary opened = [] {
    const bool fresh = !fs::exists(kBigIndex);
    OpenedLibrary library = openLibraryIndex(kBigIndex.string());
    if (fresh) {
      for (const ClipRecord& clip : bigLibrary()) library.index->store(clip);
      library.index->flush();
    }
    return library;
  }();
  return *opened.index;
}

// Query points on the synthetic tracks, so every query finds something.
std::vector<ClipPoint> queryPoints() {
  std::vector<ClipPoint> points;
  for (int i = 0; i < 200; ++i)
    points.push_back(bigLibrary()[i * 499 % kBigClips].points[i % kBigPoints]);
  return points;
}

void BM_RecordingsHere(benchmark::State& state) {
  LibraryIndex& index = bigIndex();
  const std::vector<ClipPoint> points = queryPoints();
  size_t hits = 0, i = 0;
  for (auto _ : state) {
    const ClipPoint& p = points[i++ % points.size()];
    hits += index.recordingsNear(p.latitude, p.longitude, 50, "").size();
  }
  state.counters["hits_per_query"] =
      static_cast<double>(hits) / static_cast<double>(state.iterations());
}

// The yardstick: every track of the library searched in memory.
void BM_RecordingsHereLinear(benchmark::State& state) {
  const std::vector<ClipRecord>& clips = bigLibrary();
  const std::vector<ClipPoint> points = queryPoints();
  size_t hits = 0, i = 0;
  for (auto _ : state) {
    const ClipPoint& p = points[i++ % points.size()];
    for (const ClipRecord& clip : clips)
      hits += passesNear(clip.points, p.latitude, p.longitude, 50).size();
  }
  benchmark::DoNotOptimize(hits);
}

// Medians of three: the machine is shared, single runs wander.
BENCHMARK(BM_Exiftool)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);
BENCHMARK(BM_IndexCold)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(3);
BENCHMARK(BM_ReopenWarm)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(3);
BENCHMARK(BM_RecordingsHere)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(3);
BENCHMARK(BM_RecordingsHereLinear)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(3);

}  // namespace

int main(int argc, char** argv) {
  av_log_set_level(AV_LOG_QUIET);
  if (!makeFolder()) {
    std::fprintf(stderr, "bench_library: cannot generate %s\n", kFolder.c_str());
    return 1;
  }
  {
    OpenedLibrary warm = openLibraryIndex(kWarmIndex.string());
    scanClips(folderPaths(), *warm.index);
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (reporter.has("BM_IndexCold")) {
    std::printf("cold index: %.0f clips/s; warm reopen: %.1f ms\n",
                kClips * 1000.0 / reporter.times.at("BM_IndexCold").real,
                reporter.has("BM_ReopenWarm") ? reporter.times.at("BM_ReopenWarm").real : 0.0);
  }
  if (reporter.has("BM_RecordingsHere")) {
    std::printf("recordings here on %d clips: %.1f us per query\n", kBigClips,
                reporter.times.at("BM_RecordingsHere").real);
  }
  reporter.printRatio("index_cold_vs_exiftool", "BM_Exiftool", "BM_IndexCold", false);
  reporter.printRatio("reopen_vs_fresh_scan", "BM_IndexCold", "BM_ReopenWarm", false);
  // Different units: the linear search in ms, the query in us.
  if (reporter.has("BM_RecordingsHere") && reporter.has("BM_RecordingsHereLinear")) {
    std::printf("ratio: recordings_here_vs_linear_search %.2f\n",
                reporter.times.at("BM_RecordingsHereLinear").real * 1000 /
                    reporter.times.at("BM_RecordingsHere").real);
  }
  return 0;
}
