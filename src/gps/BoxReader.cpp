#include "gps/BoxReader.h"

#include <algorithm>

#include "gps/ByteOrder.h"

namespace vantrel {

namespace {

// Boxes looked at in one range before the walk gives up: far more than any
// recording holds at one level, few enough that a file of tiny boxes costs
// no more than a moment.
constexpr unsigned kMaxBoxesWalked = 1u << 16;

}  // namespace

std::optional<Box> readBox(MediaBytes& bytes, uint64_t offset, uint64_t end) {
  end = std::min(end, bytes.size());
  if (offset > end || end - offset < 8) return std::nullopt;
  uint8_t header[32];
  const size_t got =
      bytes.readAt(offset, std::span<uint8_t>(header, std::min<uint64_t>(32, end - offset)));
  if (got < 8) return std::nullopt;
  Box box;
  box.offset = offset;
  box.type = readBe32(header + 4);
  const uint32_t size32 = readBe32(header);
  if (size32 == 1) {
    if (got < 16) return std::nullopt;
    box.headerSize = 16;
    box.size = readBe64(header + 8);
  } else if (size32 == 0) {
    box.size = end - offset;
  } else {
    box.size = size32;
  }
  if (box.type == fourCC("uuid")) {
    if (got < box.headerSize + 16u) return std::nullopt;
    std::copy_n(header + box.headerSize, 16, box.userType.begin());
    box.headerSize += 16;
  }
  if (box.size < box.headerSize || box.size > end - offset) return std::nullopt;
  return box;
}

BoxWalk::BoxWalk(MediaBytes& bytes, uint64_t begin, uint64_t end)
    : bytes_(bytes), position_(begin), end_(std::min(end, bytes.size())) {}

BoxWalk::BoxWalk(MediaBytes& bytes, const Box& parent)
    : BoxWalk(bytes, parent.payload(), parent.end()) {}

std::optional<Box> BoxWalk::next() {
  if (damaged_ || position_ >= end_) return std::nullopt;
  std::optional<Box> box;
  if (++walked_ <= kMaxBoxesWalked) box = readBox(bytes_, position_, end_);
  if (!box) {
    damaged_ = true;
    return std::nullopt;
  }
  position_ = box->end();
  return box;
}

std::optional<Box> findBox(MediaBytes& bytes, uint64_t begin, uint64_t end, uint32_t type) {
  BoxWalk walk(bytes, begin, end);
  while (std::optional<Box> box = walk.next()) {
    if (box->type == type) return box;
  }
  return std::nullopt;
}

std::optional<Box> findChild(MediaBytes& bytes, const Box& parent, uint32_t type) {
  return findBox(bytes, parent.payload(), parent.end(), type);
}

std::optional<Box> findTopLevel(MediaBytes& bytes, uint32_t type) {
  return findBox(bytes, 0, bytes.size(), type);
}

std::optional<std::vector<uint8_t>> readPayload(MediaBytes& bytes, const Box& box, size_t cap) {
  return bytes.readRange(box.payload(), box.payloadSize(), cap);
}

}  // namespace vantrel
