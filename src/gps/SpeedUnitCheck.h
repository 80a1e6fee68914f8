#pragma once
// The unit of speeds in a format that does not fix it: the recorded speeds
// compared with the speeds the positions and times give. A camera writing
// knots into a column meant for km/h shows up as a ratio of 1.852.
#include <vector>

#include "gps/Track.h"

namespace vantrel {

struct SpeedSample {
  double seconds = 0;  // time of the fix
  double latitude = 0;
  double longitude = 0;
  double speed = 0;  // as recorded, in the unknown unit
};

// Pairs of consecutive samples 1 to 10 s apart, both moving, give a ratio of
// the speed between their positions (km/h) to their recorded speed; the
// median over at least 20 pairs within 8 % of 1.852 means knots, of 3.6 m/s.
// Anything else, too few pairs or a standstill keeps km/h.
SpeedUnit detectSpeedUnit(const std::vector<SpeedSample>& samples);

}  // namespace vantrel
