#include "gps/DashboardPrinter.h"

#include <array>
#include <cstring>
#include <memory>

#include "engine/PlayerState.h"
#include "engine/VideoDecoder.h"
#include "gps/Dashboard.h"
#include "gps/TrackLoader.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace vantrel {

namespace {

// The readouts as texts, starting from what they show while nothing plays.
class ReadoutTexts : public DashboardDisplay {
 public:
  ReadoutTexts() {
    for (Readout r : kReadouts) texts_[static_cast<size_t>(r)] = resetReadoutText(r);
  }
  void ShowReadout(Readout readout, const std::string& text) override {
    texts_[static_cast<size_t>(readout)] = text;
  }
  void ShowGauge(double) override {}
  void ShowGaugeUnits(const std::string&) override {}

  std::string Line() const {
    std::string line;
    for (Readout r : kReadouts) line += "\t" + texts_[static_cast<size_t>(r)];
    return line;
  }

 private:
  std::array<std::string, std::size(kReadouts)> texts_;
};

// durationSeconds as a playback sets it, from the video stream it plays (the
// last one that is not a cover picture); -1 when the file does not open.
int64_t probeDurationSeconds(const std::string& path) {
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) != 0) return -1;
  int64_t duration = -1;
  if (avformat_find_stream_info(format, nullptr) >= 0) {
    const AVStream* video = nullptr;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
      const AVStream* stream = format->streams[i];
      if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
          !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
        video = stream;
      }
    }
    if (video) duration = durationSecondsOf(format, video);
  }
  avformat_close_input(&format);
  return duration;
}

}  // namespace

int printDashboard(const std::string& recording, bool mph, std::FILE* out, std::FILE* err) {
  TrackLoad load;
  if (!loadTrackForPrinting(recording, load, err)) return 1;
  const int64_t duration = probeDurationSeconds(recording);
  if (duration < 0) {
    std::fprintf(err, "vantrel: %s is no recording that plays\n", recording.c_str());
    return 1;
  }
  PlayerState state;
  state.durationSeconds = duration;
  GpsTrack track;
  track.publish(track.clear(), std::make_shared<const Track>(std::move(load.track)));

  ReadoutTexts readouts;
  Dashboard dashboard(state, track, readouts, nullptr);
  if (mph) dashboard.OnSpeedUnitChange(1);
  dashboard.OnGpsSync(kSyncTrackLoaded, 0);
  std::string ticks;
  for (int64_t t = 0; t <= duration; ++t) {
    state.elapsedSeconds = t;
    int64_t index = -1;
    const bool shown = dashboard.OnGpsSync(kSyncTick, t, &index) == 0;
    ticks += std::to_string(t) + "\t" + (shown ? std::to_string(index) : "-") + readouts.Line();
    ticks += "\n";
  }
  std::fprintf(out, "entries=%zu duration=%lld trackStep=%lld distance=%.2f\n%s", track.size(),
               static_cast<long long>(duration), static_cast<long long>(dashboard.TrackStep()),
               static_cast<double>(dashboard.Trip().totalDistance), ticks.c_str());
  return 0;
}

int runDashboardPrinter(int argc, char** argv) {
  const bool mph = argc == 2 && std::strcmp(argv[1], "--mph") == 0;
  if (argc != 1 && !mph) {
    std::fprintf(stderr, "usage: vantrel --dashboard FILE [--mph]\n");
    return 1;
  }
  return printDashboard(argv[0], mph, stdout, stderr);
}

}  // namespace vantrel
