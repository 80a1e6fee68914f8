#pragma once
// Builds the bytes of boxes and records for the embedded-track tests.
#include <bit>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace embeddedtest {

using Bytes = std::vector<uint8_t>;

inline Bytes join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

inline Bytes be16(uint16_t v) {
  return {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

inline Bytes be32(uint32_t v) {
  return {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16),
          static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

inline Bytes be64(uint64_t v) {
  return join({be32(static_cast<uint32_t>(v >> 32)), be32(static_cast<uint32_t>(v))});
}

inline Bytes le32(uint32_t v) {
  return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
          static_cast<uint8_t>(v >> 24)};
}

inline Bytes leFloat(float v) {
  return le32(std::bit_cast<uint32_t>(v));
}

inline Bytes tag(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

// A box of type around payload, with a 32-bit size.
inline Bytes box(const std::string& type, const Bytes& payload) {
  return join({be32(static_cast<uint32_t>(8 + payload.size())), tag(type), payload});
}

}  // namespace embeddedtest
