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
#include "gps/TrackFile.h"
#include "gps/TrackLoader.h"

namespace vantrel {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Where each entry's line starts in the file, read the way the loader reads
// it (so the entries counted are the ones playback counts), and where the
// last one ends.
bool entryOffsets(std::FILE* file, std::vector<long>& offsets) {
  std::string line;
  for (;;) {
    const long at = std::ftell(file);
    if (readTrackLine(file, line) != 0) {
      offsets.push_back(at);
      break;
    }
    offsets.push_back(at);
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

}  // namespace

bool hasTrackFile(const std::string& recording) {
  return !isMovieName(recording) && isRegularTrackFile(sidecarPath(recording), nullptr);
}

std::string clipTrackPath(const std::string& clip) {
  return sidecarPath(clip);
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

TrackCutStatus cutSidecarTrack(const std::string& recording, int64_t durationSeconds, double start,
                               double end, const std::string& target, std::string* reason) {
  const auto finish = [&](TrackCutStatus status, const std::string& why) {
    if (reason) *reason = why;
    std::error_code ignored;
    if (status != kTrackCutWritten) std::filesystem::remove(target, ignored);
    return status;
  };
  const std::string path = sidecarPath(recording);
  std::string why;
  if (!isRegularTrackFile(path, &why)) return finish(kTrackCutFailed, why);
  File from(std::fopen(path.c_str(), "rb"));
  if (!from) return finish(kTrackCutFailed, "cannot open '" + path + "': " + std::strerror(errno));
  std::vector<long> offsets;
  if (!entryOffsets(from.get(), offsets))
    return finish(kTrackCutFailed, "cannot read '" + path + "'");
  const EntryRange range = trackEntriesFor(offsets.size() - 1, durationSeconds, start, end);
  if (range.first == range.last) return finish(kTrackCutEmpty, "no track entries in that span");
  File to(std::fopen(target.c_str(), "wb"));
  bool written = to && copyBytes(from.get(), offsets[range.first], offsets[range.last], to.get());
  if (to) written = std::fclose(to.release()) == 0 && written;
  if (!written)
    return finish(kTrackCutFailed, "cannot write '" + target + "': " + std::strerror(errno));
  return finish(kTrackCutWritten, "");
}

}  // namespace vantrel
