#include "gps/GpsSentence.h"

#include <cstring>

namespace vantrel {

std::string sentenceFromBytes(const char* bytes, size_t size) {
  if (size == 0) return std::string();  // bytes may then be null, which memchr must not see
  const void* zero = std::memchr(bytes, 0, size);
  size_t length = zero ? static_cast<size_t>(static_cast<const char*>(zero) - bytes) : size;
  return std::string(bytes, length < kMaxSentenceLength ? length : kMaxSentenceLength);
}

}  // namespace vantrel
