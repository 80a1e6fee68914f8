#include <gtest/gtest.h>

#include <string>

#include "gps/GpsSentence.h"

using namespace vantrel;

TEST(SentenceFromBytes, EndsAtZeroByteAndAtTheLengthLimit) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"$GPRMC,A", "$GPRMC,A"},
      {std::string("abc\0def", 7), "abc"},
      {std::string("\0abc", 4), ""},
      {std::string(254, 'x'), std::string(254, 'x')},
      {std::string(255, 'x'), std::string(254, 'x')},
      {std::string(300, 'x') + std::string(1, '\0'), std::string(254, 'x')},
  };
  for (const auto& [bytes, sentence] : cases) {
    EXPECT_EQ(sentenceFromBytes(bytes.data(), bytes.size()), sentence);
  }
  EXPECT_EQ(sentenceFromBytes(nullptr, 0), "");
}
