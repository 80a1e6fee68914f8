#include "engine/HeadlessPlayer.h"

#include <atomic>
#include <chrono>
#include <cinttypes>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "engine/Playback.h"
#include "engine/PlaybackSpeeds.h"
#include "engine/PlayerState.h"
#include "engine/ThreadName.h"
#include "engine/VideoSink.h"

namespace vantrel {

namespace {

class CountingSink : public VideoSink {
 public:
  void presentFrame(std::shared_ptr<const BgrFrame>) override { frames_++; }
  bool wantsPixels() const override { return false; }
  int64_t frames() const { return frames_.load(); }

 private:
  std::atomic<int64_t> frames_{0};
};

// Every call comes from the one playback thread, so lines keep their order.
class HeadlessHost : public PlaybackHost {
 public:
  explicit HeadlessHost(std::FILE* out) : out_(out) {}
  void postGpsSync(GpsSyncCode code, int64_t argument) override {
    std::fprintf(out_, "sync %d %" PRId64 "\n", code, argument);
  }
  void showLoading(bool) override {}
  void playbackStarted() override {}
  // ResetDashboard's own post, which ends every playback that got going.
  void playbackReset(bool) override { postGpsSync(kSyncPlaybackEnded, 0); }
  void playbackFailed(const std::string& reason) override {
    std::fprintf(stderr, "Cannot play: %s\n", reason.c_str());
  }
  void advancePlaylist() override {}  // one file, no playlist
  VideoSink* videoSink() override { return &sink_; }
  int64_t frames() const { return sink_.frames(); }

 private:
  std::FILE* out_;
  CountingSink sink_;
};

constexpr int kVolume = 80;  // what the window starts with

}  // namespace

HeadlessSummary playHeadless(const char* path, const TrackLoader& loadTrack, std::FILE* out,
                             double speed) {
  PlayerState state;
  state.volume = kVolume;
  state.speed = speed;
  state.setFileName(path);
  HeadlessHost host(out);
  HeadlessSummary summary;
  const auto start = std::chrono::steady_clock::now();
  std::thread playback([&] {
    setCurrentThreadName("playback");
    summary.result = playFile(state, host, loadTrack, &summary.audioSeconds);
  });
  playback.join();
  summary.wallSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  summary.durationSeconds = state.durationSeconds.load();
  summary.frames = host.frames();
  summary.speed = speed;
  summary.stats = state.display.stats();
  return summary;
}

void printSummary(const HeadlessSummary& s, std::FILE* out) {
  std::fprintf(out,
               "result=%d duration=%" PRId64 " frames=%" PRId64
               " audio_seconds=%.2f wall=%.2f speed=%g %s\n",
               s.result, s.durationSeconds, s.frames, s.audioSeconds, s.wallSeconds, s.speed,
               formatStats(s.stats).c_str());
}

std::optional<HeadlessArguments> parseHeadlessArguments(int argc, char** argv) {
  HeadlessArguments parsed;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--speed") == 0) {
      if (++i == argc) return std::nullopt;
      char* end = nullptr;
      parsed.speed = std::strtod(argv[i], &end);
      if (end == argv[i] || *end != '\0' || !isPlaybackSpeed(parsed.speed)) return std::nullopt;
    } else if (parsed.path) {
      return std::nullopt;
    } else {
      parsed.path = argv[i];
    }
  }
  if (!parsed.path) return std::nullopt;
  return parsed;
}

int runHeadlessPlayer(int argc, char** argv, const TrackLoader& loadTrack) {
  const std::optional<HeadlessArguments> arguments = parseHeadlessArguments(argc, argv);
  if (!arguments) {
    std::fputs("usage: vantrel --play FILE [--speed 0.25|0.5|0.75|1|1.25|1.5|2|4]\n", stderr);
    return 2;
  }
  const HeadlessSummary summary =
      playHeadless(arguments->path, loadTrack, stdout, arguments->speed);
  printSummary(summary, stdout);
  std::fflush(stdout);
  return summary.result == 100 ? 0 : 1;
}

}  // namespace vantrel
