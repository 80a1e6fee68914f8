#pragma once
// A GPS sentence cut into its non-empty fields, as the map route reads it:
// empty fields give no token, so token numbers and field numbers differ once
// an empty field comes before the token.
#include <cstdint>
#include <string_view>

namespace vantrel {

struct GpsTokens {
  static constexpr int kMaxTokens = 15;
  static constexpr int kBufferSize = 256;

  // Token k, zero-terminated inside this object, so a copy of the whole
  // struct stays valid; "" for an absent token (k >= count), which reads as 0.
  const char* operator[](int k) const {
    return k >= 0 && k < count && k < kMaxTokens ? buffer + start[k] : "";
  }

  int count = 0;
  uint8_t start[kMaxTokens] = {};
  char buffer[kBufferSize];
};

// Copies sentence (its first kBufferSize - 1 characters, up to a zero byte)
// and takes up to kMaxTokens runs of non-comma characters; consecutive commas
// count as one separator. Returns the number of tokens.
int tokenizeGpsSentence(std::string_view sentence, GpsTokens& tokens);

}  // namespace vantrel
