#pragma once
// The arithmetic of the drive chart, without painting: round tick values, the
// mapping between values and pixels, and the texts of the time axis.
#include <string>
#include <utility>
#include <vector>

namespace vantrel {

// Round values from low to high (inclusive, low <= high) one step apart, the
// step 1, 2 or 5 times a power of ten, and at most maxTicks of them.
std::vector<double> niceTicks(double low, double high, int maxTicks);

// Times from 0 to span seconds at a step a clock reads easily (seconds,
// minutes, hours), at most maxTicks of them.
std::vector<double> timeTicks(double span, int maxTicks);

// "m:ss" for spans under an hour, "h:mm" above.
std::string chartTimeText(double seconds, double span);

// The range a lane's axis shows: the finite values' range widened to round
// ticks, from 0 when fromZero; {0, 1} when there is no finite value.
std::pair<double, double> axisRange(const std::vector<double>& values, bool fromZero);

// Where a label extent long goes along one axis when centred on centre but
// kept within from..to (a label longer than the room starts at from).
int labelStart(double centre, int extent, int from, int to);

// A value tick of a lane: its grid line's pixel row and, when its label
// fits, where the label's top goes.
struct LaneTick {
  double value = 0;
  int lineY = 0;
  bool labelled = false;
  int labelTop = 0;
};

// The ticks of a lane from pixel row top to bottom showing low..high (low at
// the bottom), labels labelHeight high: every label lies inside the lane and
// none overlaps another, so neighbouring lanes' labels never meet.
std::vector<LaneTick> laneTicks(double low, double high, int top, int bottom, int labelHeight);

// A linear map from values low..high to pixels from..to (either direction).
struct ChartScale {
  double low = 0;
  double high = 1;
  double from = 0;
  double to = 1;
  double toPixel(double value) const;
  double toValue(double pixel) const;
};

}  // namespace vantrel
