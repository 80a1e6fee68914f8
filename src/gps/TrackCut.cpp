#include "gps/TrackCut.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "gps/Dashboard.h"
#include "gps/SidecarTrack.h"
#include "gps/TrackLoader.h"

namespace vantrel {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Where each entry's line starts in the file, read the way the sentence
// layout's source reads it (so the entries counted are the ones playback
// counts), and where the last one ends.
bool entryOffsets(std::FILE* file, std::vector<long>& offsets) {
  std::string line;
  for (;;) {
    offsets.push_back(std::ftell(file));
    if (readTrackLine(file, line) != 0) break;
  }
  return !std::ferror(file);
}

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

// The sentence layout: the lines of the span, byte for byte.
TrackCutStatus cutSentenceLines(const TrackFile& track, int64_t durationSeconds, double start,
                                double end, const std::string& target, std::string& why) {
  File from(std::fopen(track.file.c_str(), "rb"));
  if (!from) {
    why = "cannot open '" + track.file + "': " + std::strerror(errno);
    return kTrackCutFailed;
  }
  std::vector<long> offsets;
  if (!entryOffsets(from.get(), offsets)) {
    why = "cannot read '" + track.file + "'";
    return kTrackCutFailed;
  }
  const EntryRange range = trackEntriesFor(offsets.size() - 1, durationSeconds, start, end);
  if (range.first == range.last) {
    why = "no track entries in that span";
    return kTrackCutEmpty;
  }
  File to(std::fopen(target.c_str(), "wb"));
  bool written = to && copyBytes(from.get(), offsets[range.first], offsets[range.last], to.get());
  if (to) written = std::fclose(to.release()) == 0 && written;
  if (!written) {
    why = "cannot write '" + target + "': " + std::strerror(errno);
    return kTrackCutFailed;
  }
  return kTrackCutWritten;
}

using CutFunction = TrackCutStatus (*)(const TrackFile&, int64_t, double, double,
                                       const std::string&, std::string&);

// One line per source whose files can be cut, by the source's name.
struct TrackCutter {
  const char* source;
  CutFunction cut;
};
constexpr TrackCutter kCutters[] = {
    {"sidecar", cutSentenceLines},
};

}  // namespace

std::optional<TrackFile> trackFileOf(const std::string& recording) {
  const TrackLoad load = loadTrack(recording);
  if (load.result != 0 || load.track.file.empty() || load.track.file == recording) return {};
  return TrackFile{load.track.file, load.track.source, load.track.fixes.size()};
}

std::string clipTrackPath(const TrackFile& track, const std::string& recording,
                          const std::string& clip) {
  if (track.file == sidecarPath(recording)) return sidecarPath(clip);
  std::filesystem::path path(clip);
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
  for (const TrackCutter& cutter : kCutters) {
    if (track.source == cutter.source) {
      status = cutter.cut(track, durationSeconds, start, end, target, why);
    }
  }
  if (reason) *reason = status == kTrackCutWritten ? "" : why;
  std::error_code ignored;
  if (status != kTrackCutWritten) std::filesystem::remove(target, ignored);
  return status;
}

}  // namespace vantrel
