#pragma once
// Standard NMEA 0183 sentences taken one at a time into fixes: one fix per
// valid RMC sentence of any talker ($GPRMC, $GNRMC, ...), UTC from its time
// and date, speed in knots; the altitude and fix quality from the GGA
// sentence of the same time; the g-sensor values of a dashcam's
// "$GSENSORD,x,y,z" line for the fix after it. NMEA logs beside a recording
// and the NMEA kept inside recordings share it.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "gps/GpsFix.h"

namespace vantrel {

// "$GPRMC" and "$GNRMC" are both RMC: the talker is the two letters after '$'.
bool isNmeaType(std::string_view id, std::string_view type);
// An RMC date field (ddmmyy; two-digit years from 80 on are the 1900s) with
// the time of day: milliseconds since 1970 UTC.
std::optional<int64_t> nmeaDateMs(std::string_view field, int64_t msOfDay);

// The fixes of one file or stream, built as its sentences arrive.
class NmeaFixes {
 public:
  explicit NmeaFixes(std::vector<GpsFix>& fixes) : fixes_(fixes) {}
  void take(std::string_view sentence);

 private:
  struct Gga {
    int64_t msOfDay = -1;
    std::optional<double> altitude;
    int quality = 0;
  };
  void takeRmc(const std::vector<std::string_view>& f);
  void takeGga(const std::vector<std::string_view>& f);
  void takeGsensor(const std::vector<std::string_view>& f);
  static void applyGga(const Gga& gga, GpsFix& fix);

  std::vector<GpsFix>& fixes_;
  Gga lastGga_;
  std::optional<GpsFix> gsensor_;  // g-sensor values waiting for the next fix
};

}  // namespace vantrel
