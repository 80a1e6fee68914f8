#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "gps/GpsFields.h"

using namespace vantrel;

namespace {

struct SplitCase {
  const char* name;
  std::string sentence;
  int result;
  std::map<int, std::string> fields;  // every field not listed must be empty
};

void PrintTo(const SplitCase& c, std::ostream* out) {
  *out << c.name;
}

std::string numberedFields(int count) {
  std::string sentence;
  for (int k = 0; k < count; ++k) sentence += (k ? "," : "") + std::string("f") + std::to_string(k);
  return sentence;
}

std::map<int, std::string> numberedMap(int count) {
  std::map<int, std::string> fields;
  for (int k = 0; k < count; ++k) fields[k] = "f" + std::to_string(k);
  return fields;
}

const SplitCase kSplitCases[] = {
    {"Empty", "", 0, {}},
    {"Rmc",
     "$GPRMC,A,123519.000,4807.0380,N,01131.0000,E,42.50",
     0,
     {{0, "$GPRMC"},
      {1, "A"},
      {2, "123519.000"},
      {3, "4807.0380"},
      {4, "N"},
      {5, "01131.0000"},
      {6, "E"},
      {7, "42.50"}}},
    {"TwoDotsBeforeCommaRejects", "$GPRMC,A,123519,1.2.3,N", -1, {}},
    {"TwoDotsInLastFieldAccepted",
     "$GPRMC,A,123519,1.2.3",
     0,
     {{0, "$GPRMC"}, {1, "A"}, {2, "123519"}, {3, "1.2.3"}}},
    {"TwentyFiveFieldsKeepTwenty", numberedFields(25), 0, numberedMap(20)},
    {"DotsAfterTwentyFieldsIgnored", numberedFields(20) + ",1.2.3,x", 0, numberedMap(20)},
    {"LongFieldEndsSplit",
     "$GPRMC,A,1234567890123456789012345,4807.0380,N",
     0,
     {{0, "$GPRMC"}, {1, "A"}, {2, "12345678901234567890"}}},
    {"LongFieldWithDotsNotChecked",
     "a,1.2.34567890123456789012,b",
     0,
     {{0, "a"}, {1, "1.2.3456789012345678"}}},
    {"ConsecutiveCommasKeepPlaces",
     "$GPRMC,,123519,,N",
     0,
     {{0, "$GPRMC"}, {2, "123519"}, {4, "N"}}},
    {"ZeroByteEndsSentence", std::string("a,b\0,c,d", 8), 0, {{0, "a"}, {1, "b"}}},
};

}  // namespace

class SplitGpsSentence : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitGpsSentence, FillsPositionalFields) {
  const SplitCase& c = GetParam();
  GpsFields fields;
  std::memset(&fields, 'x', sizeof fields);  // leftovers must not survive
  ASSERT_EQ(splitGpsSentence(c.sentence, fields), c.result);
  if (c.result != 0) return;  // callers ignore the fields of a rejected sentence
  for (int k = 0; k < GpsFields::kCount; ++k) {
    auto expected = c.fields.find(k);
    EXPECT_EQ(fields[k], expected == c.fields.end() ? "" : expected->second) << "field " << k;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitGpsSentence, testing::ValuesIn(kSplitCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CheckFieldDots, RejectsTwoOrMoreDots) {
  const std::pair<const char*, int> cases[] = {
      {"", 0}, {".", 0}, {"4807.0380", 0}, {"1.2.3", -1}, {"..", -1}, {"1..", -1}, {"a.b.c.d", -1},
  };
  for (const auto& [field, result] : cases) EXPECT_EQ(checkFieldDots(field), result) << field;
}

TEST(IsValidForMap, NeedsUpperCaseHemispheresInFieldsFourAndSix) {
  const std::pair<const char*, bool> cases[] = {
      {"$GPRMC,A,1,4807.0380,N,01131.0000,E,0", true},
      {"$GPRMC,A,1,4807.0380,S,01131.0000,W,0", true},
      {"$GPRMC,A,1,4807.0380,North,01131.0000,East,0", true},
      {"$GPRMC,A,1,4807.0380,n,01131.0000,e,0", false},
      {"$GPRMC,A,1,4807.0380,N,01131.0000,e,0", false},
      {"$GPRMC,A,1,4807.0380,E,01131.0000,N,0", false},
      {"$GPRMC,A,1,4807.0380,,01131.0000,E,0", false},
      {"$GPRMC,A,1,4807.0380,N,01131.0000", false},
      {"", false},
  };
  for (const auto& [sentence, valid] : cases) {
    GpsFields fields;
    ASSERT_EQ(splitGpsSentence(sentence, fields), 0);
    EXPECT_EQ(isValidForMap(fields), valid) << sentence;
  }
}
