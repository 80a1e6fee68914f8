#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "gps/GpsFields.h"
#include "gps/GpsReadout.h"
#include "gps/SentenceTrack.h"

using namespace vantrel;

namespace {

struct ReadoutCase {
  std::string sentence;
  const char* time;
  const char* latitude;
  const char* longitude;
  float speed;
};

const ReadoutCase kCases[] = {
    {"", "00:00:00", "0.0000", "0.0000", 0.0f},
    // 11.516667 is cut, not rounded, to 11.5166; the hemisphere is not shown.
    {"$GPRMC,A,123519.000,4807.0380,S,01131.0000,W,42.50", "12:35:19", "48.1173", "11.5166", 42.5f},
    {"$GPRMC,A,73005,4807.0380,N,01131.0000,E,110", "07:30:05", "48.1173", "11.5166", 110.0f},
    // atoi/atof: leading blanks skipped, reading stops at the first stray character.
    {"$GPRMC,A, 235959x,  3959.9999abc,N,12000,E,12.5km", "23:59:59", "39.9999", "120.0000", 12.5f},
    {"$GPRMC,A,abc,north,N,east,E,fast", "00:00:00", "0.0000", "0.0000", 0.0f},
    {"$GPRMC,A,000001,9000,N,0,E,-3", "00:00:01", "90.0000", "0.0000", -3.0f},
    // Beyond the float range the speed is infinite, as IEEE conversion gives it.
    {"$GPRMC,A,1,0,N,0,E,1e39", "00:00:01", "0.0000", "0.0000", INFINITY},
};

}  // namespace

TEST(ReadGpsReadout, FormsTheDashboardTexts) {
  for (const ReadoutCase& c : kCases) {
    GpsFields fields;
    ASSERT_EQ(splitGpsSentence(c.sentence, fields), 0) << c.sentence;
    GpsReadout readout = readGpsReadout(sentenceFix(c.sentence));
    EXPECT_EQ(readout.time, c.time) << c.sentence;
    EXPECT_EQ(readout.latitude, c.latitude) << c.sentence;
    EXPECT_EQ(readout.longitude, c.longitude) << c.sentence;
    EXPECT_EQ(readout.speed, c.speed) << c.sentence;
  }
}

TEST(ReadGpsReadout, HugeMagnitudeKeepsFourDecimals) {
  std::string latitude = readGpsReadout(sentenceFix("$GPRMC,A,1,12345678901234567890,N")).latitude;
  ASSERT_GT(latitude.size(), 5u);
  EXPECT_EQ(latitude.substr(latitude.size() - 5), ".0000");
}
