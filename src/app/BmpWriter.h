#pragma once
#include <cstdint>

namespace vantrel {

// Writes a 24-bit BMP. pixels holds height rows of width x 3 bytes (B, G, R),
// bottom row first; each row is padded with zeros to a multiple of 4 bytes in
// the file. Prints "pFileName:<name>" to standard output. Returns 0 when the
// file was written completely, 1 otherwise.
int WriteBmp24(const char* fileName, const uint8_t* pixels, int width, int height);

// Bytes per row in the file: width x 3 rounded up to a multiple of 4.
int bmpStride(int width);

}  // namespace vantrel
