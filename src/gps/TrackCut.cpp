#include "gps/TrackCut.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "gps/Dashboard.h"
#include "gps/NmeaLog.h"
#include "gps/SidecarTrack.h"
#include "gps/TrackCutRanges.h"
#include "gps/TrackLoader.h"

namespace vantrel {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool copyBytes(std::FILE* from, long begin, long end, std::FILE* to) {
  if (std::fseek(from, begin, SEEK_SET) != 0) return false;
  std::vector<char> buffer(64 * 1024);
  for (long left = end - begin; left > 0;) {
    const size_t want = static_cast<size_t>(std::min<long>(left, buffer.size()));
    const size_t got = std::fread(buffer.data(), 1, want, from);
    if (got == 0 || std::fwrite(buffer.data(), 1, got, to) != got) return false;
    left -= static_cast<long>(got);
  }
  return true;
}

bool writeRanges(std::FILE* from, const std::vector<ByteRange>& kept, const std::string& target) {
  File to(std::fopen(target.c_str(), "wb"));
  bool written = static_cast<bool>(to);
  for (const ByteRange& range : kept) {
    written = written && copyBytes(from, range.begin, range.end, to.get());
  }
  if (to) written = std::fclose(to.release()) == 0 && written;
  return written;
}

// One line per source whose files can be cut, by the source's name.
struct TrackCutter {
  const char* source;
  CutRanges cut;
};
constexpr TrackCutter kCutters[] = {
    {"sidecar", sentenceCutRanges},
    {"nmea", nmeaCutRanges},
    {"gpx", gpxCutRanges},
};

// Sources whose track a clip's streams do not carry.
constexpr const char* kBoxSources[] = {"novatek", "blackvue"};

bool isBoxSource(const std::string& source) {
  return std::find(std::begin(kBoxSources), std::end(kBoxSources), source) != std::end(kBoxSources);
}

// The track file as it is cut: the file itself, or for a track in the
// recording's boxes, its fixes as an NMEA log in a temporary file.
File openTrackFile(const TrackFile& track, std::string& why) {
  if (!track.inBoxes) {
    File from(std::fopen(track.file.c_str(), "rb"));
    if (!from) why = "cannot open '" + track.file + "': " + std::strerror(errno);
    return from;
  }
  const TrackLoad load = loadTrack(track.file);
  if (load.result != 0 || load.track.source != track.source) {
    why = "cannot read the track of '" + track.file + "'";
    return nullptr;
  }
  const std::string log = nmeaLogOf(load.track.fixes);
  File from(std::tmpfile());
  if (!from || std::fwrite(log.data(), 1, log.size(), from.get()) != log.size() ||
      std::fflush(from.get()) != 0) {
    why = std::string("cannot write a temporary file: ") + std::strerror(errno);
    return nullptr;
  }
  std::rewind(from.get());
  return from;
}

TrackCutStatus cutWith(CutRanges cut, const TrackFile& track, const CutRequest& request,
                       const std::string& target, std::string& why) {
  File from = openTrackFile(track, why);
  if (!from) return kTrackCutFailed;
  std::vector<ByteRange> kept;
  const int entries = cut(from.get(), request, kept);
  if (entries < 0) {
    why = "cannot read '" + track.file + "'";
    return kTrackCutFailed;
  }
  if (entries == 0) {
    why = "no track entries in that span";
    return kTrackCutEmpty;
  }
  if (!writeRanges(from.get(), kept, target)) {
    why = "cannot write '" + target + "': " + std::strerror(errno);
    return kTrackCutFailed;
  }
  return kTrackCutWritten;
}

}  // namespace

void keepRange(std::vector<ByteRange>& kept, long begin, long end) {
  if (end <= begin) return;
  if (!kept.empty() && kept.back().end == begin) {
    kept.back().end = end;
  } else {
    kept.push_back({begin, end});
  }
}

// Where each entry's line starts, read the way the sentence layout's source
// reads it (so the entries counted are the ones playback counts), and where
// the last one ends.
int sentenceCutRanges(std::FILE* file, const CutRequest& request, std::vector<ByteRange>& kept) {
  std::vector<long> offsets;
  std::string line;
  for (;;) {
    offsets.push_back(std::ftell(file));
    if (readTrackLine(file, line) != 0) break;
  }
  if (std::ferror(file)) return -1;
  const EntryRange range =
      trackEntriesFor(offsets.size() - 1, request.durationSeconds, request.start, request.end);
  keepRange(kept, offsets[range.first], offsets[range.last]);
  return static_cast<int>(range.last - range.first);
}

std::optional<TrackFile> trackFileOf(const std::string& recording) {
  const TrackLoad load = loadTrack(recording);
  if (load.result != 0 || load.track.file.empty()) return {};
  const bool inBoxes = load.track.file == recording;
  if (inBoxes && (!isBoxSource(load.track.source) || load.track.fixes.empty())) return {};
  TrackFile file{load.track.file, load.track.source, load.track.fixes.size(), 0, inBoxes};
  // Timed fixes count from the first that has a time (TrackTimeline).
  for (const GpsFix& fix : load.track.fixes) {
    if (fix.has(kFixUtc)) {
      file.originUtcMs = fix.utcMs;
      break;
    }
  }
  return file;
}

std::string clipTrackPath(const TrackFile& track, const std::string& recording,
                          const std::string& clip) {
  if (track.file == sidecarPath(recording)) return sidecarPath(clip);
  std::filesystem::path path(clip);
  if (track.inBoxes) return path.replace_extension(".NMEA").string();
  return path.replace_extension(std::filesystem::path(track.file).extension()).string();
}

EntryRange trackEntriesFor(size_t entries, int64_t durationSeconds, double start, double end) {
  const double step = static_cast<double>(trackStepFor(entries, durationSeconds));
  const auto clamp = [entries](double index) {
    if (!(index > 0.0)) return size_t{0};
    return std::min(entries, static_cast<size_t>(index));
  };
  EntryRange range;
  range.first = clamp(std::floor(start * step + 1e-9));
  range.last = std::max(range.first, clamp(std::ceil(end * step - 1e-9)));
  return range;
}

TrackCutStatus cutTrackFile(const TrackFile& track, int64_t durationSeconds, double start,
                            double end, const std::string& target, std::string* reason) {
  std::string why = "cannot cut tracks of the '" + track.source + "' kind";
  TrackCutStatus status = kTrackCutFailed;
  const CutRequest request{durationSeconds, start, end, track.originUtcMs};
  const std::string source = track.inBoxes ? "nmea" : track.source;
  for (const TrackCutter& cutter : kCutters) {
    if (source == cutter.source) status = cutWith(cutter.cut, track, request, target, why);
  }
  if (reason) *reason = status == kTrackCutWritten ? "" : why;
  std::error_code ignored;
  if (status != kTrackCutWritten) std::filesystem::remove(target, ignored);
  return status;
}

}  // namespace vantrel
