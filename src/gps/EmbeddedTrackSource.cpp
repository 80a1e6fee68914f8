#include "gps/EmbeddedTrackSource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "gps/BoxReader.h"
#include "gps/ByteOrder.h"
#include "gps/TrackFile.h"

namespace vantrel {

bool looksLikeIsoMedia(std::string_view head) {
  if (head.size() < 8) return false;
  static constexpr uint32_t kFirstBoxes[] = {fourCC("ftyp"), fourCC("moov"), fourCC("mdat"),
                                             fourCC("free"), fourCC("wide"), fourCC("skip")};
  const uint32_t first = readBe32(reinterpret_cast<const uint8_t*>(head.data()) + 4);
  return std::find(std::begin(kFirstBoxes), std::end(kFirstBoxes), first) != std::end(kFirstBoxes);
}

bool EmbeddedTrackSource::probe(const std::string&, std::string_view head) const {
  return looksLikeIsoMedia(head);
}

TrackLoad EmbeddedTrackSource::load(const TrackRequest& request) const {
  TrackLoad load;
  if (!isRegularTrackFile(request.file, &load.reason)) return load;
  FileBytes bytes(request.file);
  if (!bytes.valid()) {
    load.reason = "cannot open '" + request.file + "': " + std::strerror(errno);
    return load;
  }
  Track track;
  const int status = read(bytes, request, track);
  return finishLoad(status, request, std::move(track));
}

}  // namespace vantrel
