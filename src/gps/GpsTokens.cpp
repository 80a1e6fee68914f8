#include "gps/GpsTokens.h"

#include <algorithm>

namespace vantrel {

int tokenizeGpsSentence(std::string_view sentence, GpsTokens& tokens) {
  size_t length = std::min(sentence.find('\0'), sentence.size());
  length = std::min(length, sizeof(tokens.buffer) - 1);
  std::copy_n(sentence.data(), length, tokens.buffer);
  tokens.buffer[length] = '\0';

  tokens.count = 0;
  size_t pos = 0;
  while (tokens.count < GpsTokens::kMaxTokens) {
    while (pos < length && tokens.buffer[pos] == ',') ++pos;
    if (pos == length) break;
    tokens.start[tokens.count++] = static_cast<uint8_t>(pos);
    while (pos < length && tokens.buffer[pos] != ',') ++pos;
    tokens.buffer[pos] = '\0';  // ends the token; pos <= length < kBufferSize
    if (pos < length) ++pos;
  }
  return tokens.count;
}

}  // namespace vantrel
