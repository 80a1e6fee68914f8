#pragma once
// The boxes of an ISO base media file (MP4, MOV): a size, a type and a
// payload, nested. Only the headers on the way to a wanted box are read, so
// finding a box costs a few small reads however large the file. Every box is
// checked against the range of its parent (the file for the top level): one
// that does not fit ends the walk there, as a cut recording does.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "gps/MediaBytes.h"

namespace vantrel {

// A four-character box type as the number its bytes spell, big-endian.
constexpr uint32_t fourCC(const char (&text)[5]) {
  return static_cast<uint32_t>(static_cast<uint8_t>(text[0])) << 24 |
         static_cast<uint32_t>(static_cast<uint8_t>(text[1])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(text[2])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(text[3]));
}

struct Box {
  uint32_t type = 0;
  uint64_t offset = 0;      // where its header starts
  uint64_t size = 0;        // header included
  uint32_t headerSize = 8;  // 16 with a 64-bit size; a uuid box adds its 16-byte user type
  std::array<uint8_t, 16> userType{};  // of a 'uuid' box

  uint64_t payload() const { return offset + headerSize; }
  uint64_t payloadSize() const { return size - headerSize; }
  uint64_t end() const { return offset + size; }
};

// The box whose header starts at offset, in a parent whose payload ends at
// end. nullopt when the header does not fit, the size is smaller than the
// header, or the box runs past end. A size of 0 reaches to end.
std::optional<Box> readBox(MediaBytes& bytes, uint64_t offset, uint64_t end);

// The boxes of one range, one after another.
class BoxWalk {
 public:
  BoxWalk(MediaBytes& bytes, uint64_t begin, uint64_t end);
  // The boxes in the payload of parent.
  BoxWalk(MediaBytes& bytes, const Box& parent);
  // The next box; nullopt at the end of the range or at a box that does not
  // fit (then damaged() is true).
  std::optional<Box> next();
  bool damaged() const { return damaged_; }

 private:
  MediaBytes& bytes_;
  uint64_t position_;
  uint64_t end_;
  unsigned walked_ = 0;
  bool damaged_ = false;
};

// The first box of type in the range, or in parent's payload.
std::optional<Box> findBox(MediaBytes& bytes, uint64_t begin, uint64_t end, uint32_t type);
std::optional<Box> findChild(MediaBytes& bytes, const Box& parent, uint32_t type);
// The first box of type at the top level of the file.
std::optional<Box> findTopLevel(MediaBytes& bytes, uint32_t type);

// The payload of box when it holds at most cap bytes, else nullopt.
std::optional<std::vector<uint8_t>> readPayload(MediaBytes& bytes, const Box& box, size_t cap);

}  // namespace vantrel
