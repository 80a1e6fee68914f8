#include "gps/NmeaFixes.h"

#include <algorithm>
#include <cmath>

#include "gps/TextFields.h"
#include "gps/UtcTime.h"

namespace vantrel {

namespace {

constexpr double kKmhPerKnot = 1.852;

// ddmm.mmmm (or dddmm.mmmm) with its hemisphere letter, as signed degrees.
std::optional<double> coordinate(std::string_view field, std::string_view hemisphere, char positive,
                                 char negative, double limit) {
  const std::optional<double> value = parseNumber<double>(field);
  if (!value || *value < 0 || hemisphere.size() != 1) return std::nullopt;
  if (hemisphere[0] != positive && hemisphere[0] != negative) return std::nullopt;
  const double degrees = std::trunc(*value / 100);
  const double minutes = *value - degrees * 100;
  const double result = degrees + minutes / 60;
  if (minutes >= 60 || result > limit) return std::nullopt;
  return hemisphere[0] == negative ? -result : result;
}

}  // namespace

bool isNmeaType(std::string_view id, std::string_view type) {
  return id.size() == 6 && id[0] == '$' && id.substr(3) == type;
}

std::optional<int64_t> nmeaDateMs(std::string_view field, int64_t msOfDay) {
  if (field.size() != 6) return std::nullopt;
  int digits[6];
  for (size_t i = 0; i < 6; ++i) {
    if (field[i] < '0' || field[i] > '9') return std::nullopt;
    digits[i] = field[i] - '0';
  }
  const int year = digits[4] * 10 + digits[5];
  return utcMs(year < 80 ? 2000 + year : 1900 + year, digits[2] * 10 + digits[3],
               digits[0] * 10 + digits[1], msOfDay);
}

void NmeaFixes::take(std::string_view sentence) {
  const std::vector<std::string_view> fields = splitFields(sentence);
  if (isNmeaType(fields[0], "RMC")) {
    takeRmc(fields);
  } else if (isNmeaType(fields[0], "GGA")) {
    takeGga(fields);
  } else if (fields[0] == "$GSENSORD") {
    takeGsensor(fields);
  }
}

void NmeaFixes::takeRmc(const std::vector<std::string_view>& f) {
  if (f.size() < 10 || f[2] != "A") return;
  const std::optional<int64_t> msOfDay = parseClockMs(f[1]);
  const std::optional<double> latitude = coordinate(f[3], f[4], 'N', 'S', 90);
  const std::optional<double> longitude = coordinate(f[5], f[6], 'E', 'W', 180);
  const std::optional<double> knots = parseNumber<double>(f[7]);
  if (!msOfDay || !latitude || !longitude || (knots && *knots < 0)) return;
  if (!knots && !f[7].empty()) return;
  const std::optional<int64_t> utc = nmeaDateMs(f[9], *msOfDay);
  if (!utc) return;
  // Receivers that speak for several systems may send the same fix twice.
  if (!fixes_.empty() && fixes_.back().utcMs == *utc) return;

  GpsFix fix;
  fix.flags = kFixUtc;
  fix.utcMs = *utc;
  setFixPosition(fix, *latitude, *longitude);
  if (knots) {
    fix.speedKmh = static_cast<float>(*knots * kKmhPerKnot);
  } else {
    fix.flags |= kFixSpeedDerived;
  }
  if (const std::optional<double> course = parseNumber<double>(f[8]); course && *course >= 0) {
    fix.heading = static_cast<float>(*course);
    fix.flags |= kFixHeading;
  }
  if (lastGga_.msOfDay == *msOfDay) applyGga(lastGga_, fix);
  if (gsensor_) {
    std::copy(std::begin(gsensor_->gsensor), std::end(gsensor_->gsensor), fix.gsensor);
    fix.flags |= kFixGsensor;
    gsensor_.reset();
  }
  fixes_.push_back(fix);
}

// GGA may come before or after the RMC of its time.
void NmeaFixes::takeGga(const std::vector<std::string_view>& f) {
  if (f.size() < 10) return;
  const std::optional<int64_t> msOfDay = parseClockMs(f[1]);
  const std::optional<double> quality = parseNumber<double>(f[6]);
  if (!msOfDay || !quality || *quality < 1 || *quality > 9) return;
  lastGga_ = {*msOfDay, parseNumber<double>(f[9]), static_cast<int>(*quality)};
  if (!fixes_.empty()) {
    GpsFix& last = fixes_.back();
    int64_t lastMsOfDay = last.utcMs % kMsPerDay;
    if (lastMsOfDay < 0) lastMsOfDay += kMsPerDay;
    if (lastMsOfDay == *msOfDay) applyGga(lastGga_, last);
  }
}

void NmeaFixes::applyGga(const Gga& gga, GpsFix& fix) {
  fix.quality = static_cast<uint8_t>(gga.quality);
  fix.flags |= kFixQuality;
  if (gga.altitude) {
    fix.altitude = static_cast<float>(*gga.altitude);
    fix.flags |= kFixAltitude;
  }
}

void NmeaFixes::takeGsensor(const std::vector<std::string_view>& f) {
  if (f.size() < 4) return;
  GpsFix values;
  for (size_t axis = 0; axis < 3; ++axis) {
    const std::optional<double> g = parseNumber<double>(f[axis + 1]);
    if (!g) return;
    values.gsensor[axis] = static_cast<float>(*g);
  }
  gsensor_ = values;
}

}  // namespace vantrel
