#pragma once
// Fixes written as a standard NMEA log that the NMEA source reads back as
// the same fixes: per fix the dashcam g-sensor line ("$GSENSORD,x,y,z")
// when it has one, $GPRMC (time, date, position, knots, heading) and $GPGGA
// (fix quality, altitude) when it has either. Fixes without a UTC time have
// no RMC to go into and are left out. For tracks kept in a recording's own
// boxes, which a clip of the recording does not carry.
#include <string>
#include <vector>

#include "gps/GpsFix.h"

namespace vantrel {

std::string nmeaLogOf(const std::vector<GpsFix>& fixes);

}  // namespace vantrel
