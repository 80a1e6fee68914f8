#include "library/ClipPoints.h"

#include <bit>

namespace vantrel {

namespace {

constexpr uint8_t kVersion = 1;
// offset (8), latitude and longitude (8 + 8), speed, altitude, g x/y/z (5 x 4), flags (1)
constexpr size_t kRecordBytes = 8 + 8 + 8 + 5 * 4 + 1;

void putBits(std::string& out, uint64_t bits, size_t bytes) {
  for (size_t i = 0; i < bytes; ++i) out.push_back(static_cast<char>(bits >> (8 * i)));
}

uint64_t getBits(const char* in, size_t bytes) {
  uint64_t bits = 0;
  for (size_t i = 0; i < bytes; ++i) bits |= uint64_t{static_cast<unsigned char>(in[i])} << (8 * i);
  return bits;
}

void putDouble(std::string& out, double value) {
  putBits(out, std::bit_cast<uint64_t>(value), 8);
}

void putFloat(std::string& out, float value) {
  putBits(out, std::bit_cast<uint32_t>(value), 4);
}

double getDouble(const char*& in) {
  const double value = std::bit_cast<double>(getBits(in, 8));
  in += 8;
  return value;
}

float getFloat(const char*& in) {
  const float value = std::bit_cast<float>(static_cast<uint32_t>(getBits(in, 4)));
  in += 4;
  return value;
}

}  // namespace

std::string encodeClipPoints(const std::vector<ClipPoint>& points) {
  std::string out;
  out.reserve(1 + points.size() * kRecordBytes);
  out.push_back(static_cast<char>(kVersion));
  for (const ClipPoint& p : points) {
    putBits(out, static_cast<uint64_t>(p.offsetMs), 8);
    putDouble(out, p.latitude);
    putDouble(out, p.longitude);
    putFloat(out, p.speedKmh);
    putFloat(out, p.altitude);
    for (float g : p.gsensor) putFloat(out, g);
    out.push_back(static_cast<char>(p.flags));
  }
  return out;
}

std::optional<std::vector<ClipPoint>> decodeClipPoints(std::string_view bytes) {
  if (bytes.empty() || static_cast<uint8_t>(bytes[0]) != kVersion ||
      (bytes.size() - 1) % kRecordBytes != 0) {
    return std::nullopt;
  }
  std::vector<ClipPoint> points((bytes.size() - 1) / kRecordBytes);
  const char* in = bytes.data() + 1;
  for (ClipPoint& p : points) {
    p.offsetMs = static_cast<int64_t>(getBits(in, 8));
    in += 8;
    p.latitude = getDouble(in);
    p.longitude = getDouble(in);
    p.speedKmh = getFloat(in);
    p.altitude = getFloat(in);
    for (float& g : p.gsensor) g = getFloat(in);
    p.flags = static_cast<uint8_t>(*in++);
  }
  return points;
}

}  // namespace vantrel
