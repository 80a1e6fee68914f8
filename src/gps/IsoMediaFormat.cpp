#include "gps/IsoMediaFormat.h"

#include <string_view>

extern "C" {
#include <libavformat/avformat.h>
}

namespace vantrel {

const AVInputFormat* isoMediaFormat(std::span<const uint8_t> head) {
  if (head.size() < kIsoMediaHeadBytes) return nullptr;
  const std::string_view type(reinterpret_cast<const char*>(head.data()) + 4, 4);
  const std::string_view brand(reinterpret_cast<const char*>(head.data()) + 8, 4);
  // JPEG 2000 images open with a file-type box too.
  const bool movie = (type == "ftyp" && brand != "jp2 " && brand != "jpx ") || type == "moov" ||
                     type == "mdat" || type == "wide" || type == "free";
  return movie ? av_find_input_format("mov") : nullptr;
}

}  // namespace vantrel
