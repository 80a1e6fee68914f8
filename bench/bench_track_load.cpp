// Loading the GPS track of a large MOV against a full av_read_frame scan of
// the same file. The loader discards every stream but the text stream, so the
// demuxer walks the sample index without reading the video and audio data.
// The input (about 600 MB, two minutes at 40 Mbit/s with a mov_text track) is
// generated once with the ffmpeg CLI and kept in the build folder.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "gps/TrackLoader.h"
#include "support/RatioReporter.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace {

const std::string kFolder = std::string(VANTREL_BINARY_DIR) + "/bench/track-load";
const std::string kMovie = kFolder + "/drive.MOV";
constexpr int kClipSeconds = 10;
constexpr int kLoops = 12;

bool run(const std::string& command) {
  return std::system(command.c_str()) == 0;
}

// A 10-second clip at 40 Mbit/s (a dashcam's rate), looped by stream copy
// under a one-sentence-per-second text track.
bool makeMovie() {
  if (std::filesystem::exists(kMovie)) return true;
  std::filesystem::create_directories(kFolder);
  std::string ffmpeg = "ffmpeg -nostdin -hide_banner -loglevel error -y ";
  std::string clip = kFolder + "/clip.mp4";
  std::string track = kFolder + "/track.srt";
  std::string partial = kFolder + "/partial.MOV";
  int seconds = kClipSeconds * kLoops;
  bool made =
      run(ffmpeg +
          "-f lavfi -i testsrc2=size=1280x720:rate=30:duration=" + std::to_string(kClipSeconds) +
          " -f lavfi -i sine=frequency=440:duration=" + std::to_string(kClipSeconds) +
          " -c:v libx264 -preset ultrafast -pix_fmt yuv420p -b:v 40M -minrate 40M -maxrate 40M"
          " -bufsize 20M -x264-params nal-hrd=cbr -c:a aac -b:a 128k '" +
          clip + "'") &&
      run(std::string(VANTREL_SOURCE_DIR) + "/tests/fixtures/gps-track.py " +
          std::to_string(seconds) + " --srt > '" + track + "'") &&
      run(ffmpeg + "-stream_loop " + std::to_string(kLoops - 1) + " -i '" + clip + "' -i '" +
          track + "' -map 0:v -map 0:a -map 1:s -c:v copy -c:a copy -c:s mov_text -t " +
          std::to_string(seconds) + " '" + partial + "'");
  std::filesystem::remove(clip);
  std::filesystem::remove(track);
  if (made) std::filesystem::rename(partial, kMovie);
  return made;
}

// The yardstick: open, probe and read every packet of every stream.
void BM_FullScan(benchmark::State& state) {
  for (auto _ : state) {
    AVFormatContext* context = nullptr;
    if (avformat_open_input(&context, kMovie.c_str(), nullptr, nullptr) < 0 ||
        avformat_find_stream_info(context, nullptr) < 0) {
      avformat_close_input(&context);
      state.SkipWithError("cannot open the bench MOV");
      return;
    }
    AVPacket* packet = av_packet_alloc();
    int64_t bytes = 0;
    while (av_read_frame(context, packet) >= 0) {
      bytes += packet->size;
      av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&context);
    benchmark::DoNotOptimize(bytes);
  }
}

void BM_TrackLoad(benchmark::State& state) {
  size_t entries = 0;
  for (auto _ : state) {
    const vantrel::TrackLoad load = vantrel::loadTrack(kMovie);
    entries = load.track.fixes.size();
    if (load.result != 0 || entries == 0) {
      state.SkipWithError("the bench MOV gave no track");
      return;
    }
  }
  state.counters["entries"] = static_cast<double>(entries);
}

// Medians of five repetitions: the machine is shared, single runs wander.
BENCHMARK(BM_FullScan)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);
BENCHMARK(BM_TrackLoad)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
  if (!makeMovie()) {
    std::fprintf(stderr, "bench_track_load: cannot generate %s\n", kMovie.c_str());
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (!reporter.has("BM_FullScan") || !reporter.has("BM_TrackLoad")) return 1;
  const double scan = reporter.times.at("BM_FullScan").real;
  const double load = reporter.times.at("BM_TrackLoad").real;
  std::printf("full scan of %.0f MB: %.2f ms, track load: %.2f ms\n",
              std::filesystem::file_size(kMovie) / 1e6, scan, load);
  reporter.printRatio("track_load_vs_full_scan", "BM_FullScan", "BM_TrackLoad", false);
  return 0;
}
