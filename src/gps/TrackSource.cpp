#include "gps/TrackSource.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "gps/TrackFile.h"

namespace vantrel {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

constexpr size_t kReadChunk = 65536;

}  // namespace

TrackLoad StreamTrackSource::load(const TrackRequest& request) const {
  TrackLoad load;
  if (!isRegularTrackFile(request.file, &load.reason)) return load;
  File file(std::fopen(request.file.c_str(), "rb"));
  if (!file) {
    load.reason = "cannot open '" + request.file + "': " + std::strerror(errno);
    return load;
  }
  Track track;
  const int status = read(file.get(), request, track);
  return finishLoad(status, request, std::move(track));
}

TrackLoad TrackSource::finishLoad(int status, const TrackRequest& request, Track track) const {
  TrackLoad load;
  if (status != 0) {
    load.reason = "cannot read '" + request.file + "'";
    return load;
  }
  load.result = 0;
  load.track = std::move(track);
  load.track.fixes.shrink_to_fit();  // the track is kept for the whole playback
  load.track.source = name();
  load.track.file = request.file;
  load.track.timing = timing();
  if (load.track.fixes.empty()) {
    load.track.streamIndex = -1;
  } else if (load.track.streamIndex < 0) {
    load.track.streamIndex = 255;
  }
  return load;
}

bool readChunks(std::FILE* file, const TrackRequest& request,
                const std::function<bool(std::string_view)>& take) {
  std::vector<char> chunk(kReadChunk);
  while (!request.stopped()) {
    const size_t size = std::fread(chunk.data(), 1, chunk.size(), file);
    if (size == 0 || !take(std::string_view(chunk.data(), size))) break;
  }
  return !std::ferror(file);
}

std::string readHead(const std::string& path) {
  if (!isRegularTrackFile(path, nullptr)) return std::string();
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) return std::string();
  std::string head(kProbeBytes, '\0');
  head.resize(std::fread(head.data(), 1, head.size(), file.get()));
  return head;
}

std::string baseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace vantrel
