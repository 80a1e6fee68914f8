#pragma once
// Numbers as the embedded track layouts store them: big-endian in boxes,
// GPMF and Garmin records, little-endian in Novatek's. The caller has checked
// that the bytes are there.
#include <bit>
#include <cstdint>

namespace vantrel {

inline uint16_t readBe16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

inline uint32_t readBe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
         static_cast<uint32_t>(p[2]) << 8 | p[3];
}

inline uint64_t readBe64(const uint8_t* p) {
  return static_cast<uint64_t>(readBe32(p)) << 32 | readBe32(p + 4);
}

inline uint32_t readLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[1]) << 8 | p[0];
}

inline float readLeFloat(const uint8_t* p) {
  return std::bit_cast<float>(readLe32(p));
}

inline float readBeFloat(const uint8_t* p) {
  return std::bit_cast<float>(readBe32(p));
}

inline double readBeDouble(const uint8_t* p) {
  return std::bit_cast<double>(readBe64(p));
}

}  // namespace vantrel
