#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gps/NmeaFixes.h"
#include "gps/NmeaLog.h"
#include "gps/NmeaSentences.h"

using namespace vantrel;

namespace {

std::vector<GpsFix> readBack(const std::string& log) {
  std::vector<GpsFix> fixes;
  NmeaFixes nmea(fixes);
  NmeaSentences sentences([&](std::string_view sentence, bool checked) {
    // Every sentence written carries its checksum, but the g-sensor line.
    if (sentence.starts_with("$GP")) EXPECT_TRUE(checked) << sentence;
    nmea.take(sentence);
  });
  sentences.feed(log);
  sentences.finish();
  return fixes;
}

GpsFix fixAt(int64_t utcMs, double latitude, double longitude) {
  GpsFix fix;
  fix.flags = kFixUtc;
  fix.utcMs = utcMs;
  setFixPosition(fix, latitude, longitude);
  return fix;
}

}  // namespace

TEST(NmeaLog, FixesReadBackAsWritten) {
  constexpr int64_t k2024 = 1715931005250;  // 2024-05-17 07:30:05.250
  std::vector<GpsFix> fixes;
  GpsFix plain = fixAt(k2024, 48.1173, 11.5167);
  plain.speedKmh = 42.5f;
  plain.heading = 271.25f;
  plain.flags |= kFixHeading;
  fixes.push_back(plain);
  GpsFix southWest = fixAt(k2024 + 1000, -33.8688, -151.2093);  // with altitude and quality
  southWest.altitude = -12.5f;
  southWest.quality = 2;
  southWest.flags |= kFixAltitude | kFixQuality;
  fixes.push_back(southWest);
  // Minutes that round up to 60 carry into the degrees.
  fixes.push_back(fixAt(k2024 + 2000, 10.99999999999, -0.99999999999));
  GpsFix noSpeed = fixAt(k2024 + 3000, 0.5, 179.5);  // the speed is worked out again
  noSpeed.flags |= kFixSpeedDerived;
  noSpeed.gsensor[0] = 0.5f;
  noSpeed.gsensor[1] = -1.25f;
  noSpeed.gsensor[2] = 1.0f;
  noSpeed.flags |= kFixGsensor;
  fixes.push_back(noSpeed);
  GpsFix untimed = fixAt(0, 1, 1);  // no RMC without a time: left out
  untimed.flags &= ~kFixUtc;
  fixes.push_back(untimed);
  fixes.push_back(fixAt(946684799000, 1, 1));  // 1999-12-31 23:59:59

  const std::vector<GpsFix> read = readBack(nmeaLogOf(fixes));
  ASSERT_EQ(read.size(), 5u);
  for (size_t i = 0; i < read.size(); ++i) {
    const GpsFix& was = fixes[i < 4 ? i : i + 1];
    EXPECT_EQ(read[i].utcMs, was.utcMs) << i;
    EXPECT_NEAR(read[i].latitude, was.latitude, 1e-7) << i;
    EXPECT_NEAR(read[i].longitude, was.longitude, 1e-7) << i;
    EXPECT_NEAR(read[i].speedKmh, was.speedKmh, 1e-3) << i;
    for (uint16_t flag : {kFixHeading, kFixAltitude, kFixQuality, kFixGsensor, kFixSpeedDerived}) {
      EXPECT_EQ(read[i].has(flag), was.has(flag)) << i << " flag " << flag;
    }
  }
  EXPECT_FLOAT_EQ(read[0].heading, 271.25f);
  EXPECT_FLOAT_EQ(read[1].altitude, -12.5f);
  EXPECT_EQ(read[1].quality, 2);
  EXPECT_FLOAT_EQ(read[3].gsensor[1], -1.25f);
}
