#include <gtest/gtest.h>

#include "library/ClipPoints.h"

using namespace vantrel;

TEST(ClipPoints, RoundTripKeepsEveryField) {
  ClipPoint full;
  full.offsetMs = 61'234;
  full.latitude = -33.8688123456789;
  full.longitude = 151.2093987654321;
  full.speedKmh = 88.5f;
  full.altitude = -12.25f;
  full.gsensor[0] = 0.125f;
  full.gsensor[1] = -1.5f;
  full.gsensor[2] = 0.98f;
  full.flags = kPointAltitude | kPointGsensor;
  const std::vector<std::vector<ClipPoint>> tracks = {{}, {ClipPoint{}}, {full, ClipPoint{}, full}};
  for (const std::vector<ClipPoint>& points : tracks) {
    const std::optional<std::vector<ClipPoint>> back = decodeClipPoints(encodeClipPoints(points));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, points);
  }
}

TEST(ClipPoints, ForeignOrTornBytesAreRefused) {
  const std::string good = encodeClipPoints({ClipPoint{}, ClipPoint{}});
  const std::string cases[] = {
      "",
      std::string(1, '\x02') + good.substr(1),  // another version
      good.substr(0, good.size() - 1),          // a torn record
      good + "x",
  };
  for (const std::string& bytes : cases) EXPECT_FALSE(decodeClipPoints(bytes)) << bytes.size();
}
