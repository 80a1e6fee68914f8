#include <gtest/gtest.h>

#include "gps/SpeedUnitCheck.h"

using namespace vantrel;

namespace {

// A drive north at kmh, one sample every gapSeconds, whose recorded speed is
// the true speed divided by factor (1.852 for knots).
std::vector<SpeedSample> drive(size_t count, double kmh, double factor, double gapSeconds = 1) {
  std::vector<SpeedSample> samples;
  const double degreesPerSecond = kmh / 3.6 / 111319.49;
  for (size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) * gapSeconds;
    samples.push_back({t, 48.0 + degreesPerSecond * t, 11.5, kmh / factor});
  }
  return samples;
}

}  // namespace

TEST(DetectSpeedUnit, RatioOfPositionSpeedToRecordedSpeed) {
  struct Case {
    const char* name;
    std::vector<SpeedSample> samples;
    SpeedUnit unit;
  };
  const Case cases[] = {
      {"knots", drive(60, 50, 1.852), SpeedUnit::Knots},
      {"knots 5 s apart", drive(30, 90, 1.852, 5), SpeedUnit::Knots},
      {"m/s", drive(60, 50, 3.6), SpeedUnit::MetresPerSecond},
      {"km/h", drive(60, 50, 1), SpeedUnit::Kmh},
      {"knots 7 % off still knots", drive(60, 50, 1.852 * 1.07), SpeedUnit::Knots},
      {"between the units", drive(60, 50, 2.5), SpeedUnit::Kmh},
      {"20 pairs are enough", drive(21, 50, 1.852), SpeedUnit::Knots},
      {"19 pairs are too few", drive(20, 50, 1.852), SpeedUnit::Kmh},
      {"standstill", drive(60, 0, 1.852), SpeedUnit::Kmh},
      {"fixes 20 s apart", drive(60, 50, 1.852, 20), SpeedUnit::Kmh},
      {"fixes 0.5 s apart", drive(60, 50, 1.852, 0.5), SpeedUnit::Kmh},
      {"none", {}, SpeedUnit::Kmh},
  };
  for (const Case& c : cases) EXPECT_EQ(detectSpeedUnit(c.samples), c.unit) << c.name;
}

// A few wild fixes (a jump, a speed of 0 while moving) do not move the median.
TEST(DetectSpeedUnit, OutliersDoNotDecide) {
  std::vector<SpeedSample> samples = drive(60, 50, 1.852);
  samples[10].latitude += 0.01;
  samples[30].speed = 0;
  samples[40].speed = 500;
  EXPECT_EQ(detectSpeedUnit(samples), SpeedUnit::Knots);
}
