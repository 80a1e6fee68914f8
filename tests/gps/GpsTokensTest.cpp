#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gps/GpsFields.h"
#include "gps/GpsTokens.h"

using namespace vantrel;

namespace {

std::vector<std::string> listOf(const GpsTokens& tokens) {
  std::vector<std::string> list;
  for (int k = 0; k < tokens.count; ++k) list.push_back(tokens[k]);
  return list;
}

std::vector<std::string> tokensOf(const std::string& sentence) {
  GpsTokens tokens;
  EXPECT_EQ(tokenizeGpsSentence(sentence, tokens), tokens.count);
  return listOf(tokens);
}

using List = std::vector<std::string>;

}  // namespace

TEST(TokenizeGpsSentence, TakesNonEmptyFieldsInOrder) {
  const std::pair<std::string, List> cases[] = {
      {"", {}},
      {",,,,", {}},
      {"$GPRMC,A,123519,4807.0380,N", {"$GPRMC", "A", "123519", "4807.0380", "N"}},
      {",,a,,b,", {"a", "b"}},
      {"1.2.3,x", {"1.2.3", "x"}},
      {std::string("a,b\0,c", 6), {"a", "b"}},
  };
  for (const auto& [sentence, expected] : cases)
    EXPECT_EQ(tokensOf(sentence), expected) << sentence;
}

TEST(TokenizeGpsSentence, StopsAtFifteenTokens) {
  std::string sentence;
  List expected;
  for (int k = 0; k < 20; ++k) {
    sentence += "t" + std::to_string(k) + ",";
    if (k < GpsTokens::kMaxTokens) expected.push_back("t" + std::to_string(k));
  }
  EXPECT_EQ(tokensOf(sentence), expected);
}

TEST(TokenizeGpsSentence, ReadsOnlyTheFirst255Characters) {
  std::string sentence = "a," + std::string(400, 'x') + ",b";
  EXPECT_EQ(tokensOf(sentence), (List{"a", std::string(253, 'x')}));
}

// An empty field keeps its place in the split but gives no token, so the
// later tokens move down one place.
TEST(TokenizeGpsSentence, ConsecutiveCommasShiftTokensButNotFields) {
  std::string sentence = "$GPRMC,,123519,4807.0380,N";
  GpsFields fields;
  ASSERT_EQ(splitGpsSentence(sentence, fields), 0);
  EXPECT_STREQ(fields[1], "");
  EXPECT_STREQ(fields[2], "123519");
  EXPECT_EQ(tokensOf(sentence), (List{"$GPRMC", "123519", "4807.0380", "N"}));
}

TEST(TokenizeGpsSentence, AbsentTokensReadAsEmpty) {
  GpsTokens tokens;
  tokenizeGpsSentence("$GPRMC,A,123519,4807.0380,N,01131.0000,E,42.5", tokens);
  tokenizeGpsSentence("$GPRMC,A", tokens);
  EXPECT_STREQ(tokens[1], "A");
  EXPECT_STREQ(tokens[2], "");
  EXPECT_STREQ(tokens[5], "");
  EXPECT_STREQ(tokens[GpsTokens::kMaxTokens], "");
}

TEST(TokenizeGpsSentence, CopiedTokensStandOnTheirOwn) {
  GpsTokens original;
  tokenizeGpsSentence("a,bb,ccc", original);
  GpsTokens copy = original;
  tokenizeGpsSentence("x,y", original);
  EXPECT_EQ(listOf(copy), (List{"a", "bb", "ccc"}));
}
