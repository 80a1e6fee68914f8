#include "library/ClipReader.h"

#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "gps/IsoMediaFormat.h"
#include "gps/MediaBytes.h"
#include "gps/TrackLoader.h"
#include "gps/TrackTimeline.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace vantrel {

namespace {

std::string avErrorText(int error) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(error, text, sizeof text);
  return text;
}

// The recording's length from its header (the streams are probed only when
// the header does not say). -1 with reason when it is no recording.
int64_t recordingDurationMs(const std::string& path, std::string& reason) {
  AVFormatContext* context = nullptr;
  std::array<uint8_t, kIsoMediaHeadBytes> head{};
  FileBytes file(path);
  const AVInputFormat* iso = file.readAt(0, head) == head.size() ? isoMediaFormat(head) : nullptr;
  int result = avformat_open_input(&context, path.c_str(), iso, nullptr);
  // Not the movie its head promised: libavformat probes what it is.
  if (result < 0 && iso) result = avformat_open_input(&context, path.c_str(), nullptr, nullptr);
  if (result < 0) {
    reason = "not a recording: " + avErrorText(result);
    return -1;
  }
  if (context->duration == AV_NOPTS_VALUE || context->nb_streams == 0) {
    result = avformat_find_stream_info(context, nullptr);
  }
  int64_t duration = -1;
  if (context->nb_streams == 0) {
    reason = "not a recording: it holds no streams";
  } else if (result < 0) {
    reason = "not a recording: " + avErrorText(result);
  } else {
    duration = context->duration == AV_NOPTS_VALUE ? 0 : context->duration / 1000;
  }
  avformat_close_input(&context);
  return duration;
}

ClipPoint pointOf(const GpsFix& fix, int64_t offsetMs) {
  ClipPoint point;
  point.offsetMs = offsetMs;
  point.latitude = fix.latitude;
  point.longitude = fix.longitude;
  point.speedKmh = fix.has(kFixPosition) ? fix.speedKmh : 0;
  if (fix.has(kFixAltitude)) {
    point.altitude = fix.altitude;
    point.flags |= kPointAltitude;
  }
  if (fix.has(kFixGsensor)) {
    std::memcpy(point.gsensor, fix.gsensor, sizeof point.gsensor);
    point.flags |= kPointGsensor;
  }
  return point;
}

}  // namespace

std::optional<ClipKey> clipKeyOf(const std::string& path, std::string* reason) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (reason) *reason = std::string("cannot examine it: ") + std::strerror(errno);
    return std::nullopt;
  }
  if (!S_ISREG(info.st_mode)) {
    if (reason) *reason = "not a regular file";
    return std::nullopt;
  }
  return ClipKey{path, static_cast<int64_t>(info.st_size),
                 static_cast<int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

void placeTrack(const Track& track, int64_t durationMs, ClipRecord& record) {
  record.trackSource = track.source;
  const TrackTimeline timeline(track);
  // Fixes without a time of their own are spread evenly over the recording
  // (one a second when its length is unknown).
  const auto count = static_cast<int64_t>(track.fixes.size());
  const int64_t spacingOver = durationMs > 0 ? durationMs : count * 1000;
  for (size_t i = 0; i < track.fixes.size(); ++i) {
    const GpsFix& fix = track.fixes[i];
    const int64_t offset =
        timeline.stepped() ? static_cast<int64_t>(i) * spacingOver / count : timeline.placeOf(i);
    if (!record.utcStartMs && fix.has(kFixUtc)) record.utcStartMs = fix.utcMs - offset;
    if (fix.has(kFixOnMap)) record.points.push_back(pointOf(fix, offset));
  }
}

ClipRecord readClip(const std::string& path, const std::atomic<bool>* quit) {
  ClipRecord record;
  record.key.path = path;
  std::optional<ClipKey> key = clipKeyOf(path, &record.reason);
  if (!key) return record;
  record.key = *key;
  record.durationMs = recordingDurationMs(path, record.reason);
  if (record.durationMs < 0) {
    record.durationMs = 0;
    return record;
  }
  record.readable = true;
  const TrackLoad load = loadTrack(path, quit);
  if (load.result == 0 && !load.track.fixes.empty())
    placeTrack(load.track, record.durationMs, record);
  return record;
}

}  // namespace vantrel
