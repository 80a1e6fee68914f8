#include "app/BmpWriter.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace vantrel {

namespace {

void put16(uint8_t*& p, uint16_t v) {
  p[0] = v & 0xFF;
  p[1] = v >> 8;
  p += 2;
}

void put32(uint8_t*& p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = (v >> (8 * i)) & 0xFF;
  p += 4;
}

// The 14-byte file header followed by the 40-byte information header.
void fillHeaders(uint8_t (&header)[54], int width, int height, uint32_t imageSize) {
  uint8_t* p = header;
  put16(p, 0x4D42);  // "BM"
  put32(p, 54 + imageSize);
  put16(p, 0);
  put16(p, 0);
  put32(p, 54);
  put32(p, 40);
  put32(p, static_cast<uint32_t>(width));
  put32(p, static_cast<uint32_t>(height));
  put16(p, 1);
  put16(p, 24);
  for (int field = 0; field < 6; ++field) put32(p, 0);  // compression .. important colours
}

}  // namespace

int bmpStride(int width) {
  return (width * 3 + 3) & ~3;
}

int WriteBmp24(const char* fileName, const uint8_t* pixels, int width, int height) {
  if (!fileName || !pixels || width <= 0 || height <= 0) return 1;
  const int stride = bmpStride(width);
  const size_t rowBytes = static_cast<size_t>(width) * 3;
  const size_t imageSize = static_cast<size_t>(stride) * height;
  FILE* file = std::fopen(fileName, "wb");
  std::printf("pFileName:%s\n", fileName);
  if (!file) return 1;

  std::vector<uint8_t> image(54 + imageSize, 0);
  uint8_t header[54];
  fillHeaders(header, width, height, static_cast<uint32_t>(imageSize));
  std::memcpy(image.data(), header, sizeof header);
  for (int row = 0; row < height; ++row) {
    std::memcpy(image.data() + 54 + static_cast<size_t>(row) * stride, pixels + row * rowBytes,
                rowBytes);
  }
  const bool written = std::fwrite(image.data(), 1, image.size(), file) == image.size();
  const bool closed = std::fclose(file) == 0;
  if (written && closed) return 0;
  std::remove(fileName);  // never leave a cut file that looks like a picture
  return 1;
}

}  // namespace vantrel
