#pragma once
// One kind of GPS track file behind a common interface: where it sits
// (inside the recording, beside it, in its folder), a cheap look at a file's
// first bytes to tell whether it is this kind, and loading. The table of
// sources (TrackSources.h) lists them in the order they are tried.
#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "gps/Track.h"

namespace vantrel {

enum class TrackPlace {
  Recording,  // the recording file itself
  Sidecar,    // a file named like the recording, beside it
  FolderLog,  // a log in the recording's folder that names the recordings it covers
};

// The most a probe looks at.
constexpr size_t kProbeBytes = 16384;

struct TrackRequest {
  std::string recording;                    // the recording the track is for
  std::string file;                         // the file to read
  const std::atomic<bool>* quit = nullptr;  // when set and non-zero, reading stops

  bool stopped() const { return quit && quit->load() != 0; }
};

struct TrackLoad {
  int result = -1;     // 0 read (even when it held no fix), -1 not readable
  std::string reason;  // why not, when result is -1
  Track track;
};

class TrackSource {
 public:
  virtual ~TrackSource() = default;
  // The name `vantrel --track` shows ("movie", "nmea", ...).
  virtual const char* name() const = 0;
  virtual TrackPlace place() const = 0;
  // FixTiming bits: what its fixes carry to place them in the recording.
  virtual unsigned timing() const = 0;
  // Whether file, whose first bytes (at most kProbeBytes) are head, looks
  // like this source's format. Reads nothing itself.
  virtual bool probe(const std::string& file, std::string_view head) const = 0;
  // For a FolderLog source: the logs that may name recording, in the order
  // they are tried. Lists folders; reads no file.
  virtual std::vector<std::string> folderLogs(const std::string&) const { return {}; }
  virtual TrackLoad load(const TrackRequest& request) const = 0;

 protected:
  // The outcome of reading request.file into track, read's result being
  // status: the reason when it failed; otherwise the track named after this
  // source and the file, found (at its stream, or 255 outside any) when it
  // holds a fix.
  TrackLoad finishLoad(int status, const TrackRequest& request, Track track) const;
};

// A source that reads its file as a stream of bytes; the fuzz target feeds
// such sources its inputs directly.
class StreamTrackSource : public TrackSource {
 public:
  // Opens request.file (a regular file only: a FIFO would block) and reads
  // it; the track is named after this source and the file.
  TrackLoad load(const TrackRequest& request) const override;
  // The fixes of file (and, where the source has one, its route and unit).
  // -1 only when reading failed.
  virtual int read(std::FILE* file, const TrackRequest& request, Track& track) const = 0;
};

// Hands the bytes of file to take in pieces, until its end, until take
// returns false or until the request is stopped. False when reading failed.
bool readChunks(std::FILE* file, const TrackRequest& request,
                const std::function<bool(std::string_view)>& take);

// The first kProbeBytes of path ("" when it cannot be read).
std::string readHead(const std::string& path);

// The final component of path.
std::string baseName(const std::string& path);

}  // namespace vantrel
