#pragma once
// A GPS sentence as the track stores it: single-byte text without a line end,
// at most kMaxSentenceLength characters, since every reader of a sentence
// (dashboard copy, route tokens) takes no more than that.
#include <cstddef>
#include <string>

namespace vantrel {

constexpr size_t kMaxSentenceLength = 254;

// The sentence held in raw bytes: the text up to the first zero byte (or the
// end), cut to kMaxSentenceLength characters.
std::string sentenceFromBytes(const char* bytes, size_t size);

}  // namespace vantrel
