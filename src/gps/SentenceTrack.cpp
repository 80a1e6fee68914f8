#include "gps/SentenceTrack.h"

#include <cmath>
#include <cstdlib>

#include "gps/Coordinates.h"
#include "gps/GpsFields.h"
#include "gps/GpsTokens.h"

namespace vantrel {

namespace {

// atoi as the C library implements it (strtol narrowed to int), without the
// undefined behaviour atoi has on out-of-range input.
int readInt(const char* text) {
  return static_cast<int>(std::strtol(text, nullptr, 10));
}

bool startsWithEither(const char* text, char a, char b) {
  return text[0] == a || text[0] == b;
}

// Field 2 (hhmmss.sss) in seconds of the day, for the unit check.
double secondsOfDay(const char* field) {
  const double v = std::atof(field);
  const double hours = std::trunc(v / 10000);
  const double minutes = std::trunc(v / 100) - hours * 100;
  return hours * 3600 + minutes * 60 + (v - std::trunc(v / 100) * 100);
}

GpsFix fixOfFields(const GpsFields& fields) {
  GpsFix fix;
  fix.flags = kFixClock | kFixPosition;
  fix.clock = readInt(fields[2]);
  const double latitude = nmeaToDegrees(std::atof(fields[3]));
  const double longitude = nmeaToDegrees(std::atof(fields[5]));
  const bool south = fields[4][0] == 'S';
  const bool west = fields[6][0] == 'W';
  fix.latitude = south ? -latitude : latitude;
  fix.longitude = west ? -longitude : longitude;
  if (south) fix.flags |= kFixSouth;
  if (west) fix.flags |= kFixWest;
  if (isValidForMap(fields)) fix.flags |= kFixOnMap;
  fix.speedKmh = static_cast<float>(std::atof(fields[7]));
  return fix;
}

}  // namespace

GpsFix sentenceFix(std::string_view sentence) {
  GpsFields fields;
  return splitGpsSentence(sentence, fields) == 0 ? fixOfFields(fields) : GpsFix{};
}

std::optional<TrackRoutePosition> sentenceRoutePosition(std::string_view sentence, size_t index) {
  GpsTokens tokens;
  tokenizeGpsSentence(sentence, tokens);
  if (!startsWithEither(tokens[4], 'N', 'S') || !startsWithEither(tokens[6], 'W', 'E')) {
    return std::nullopt;
  }
  TrackRoutePosition position;
  position.index = index;
  position.distanceLatitude = nmeaToDegrees(std::atof(tokens[3]));
  position.distanceLongitude = nmeaToDegrees(std::atof(tokens[5]));
  position.latitude = tokens[4][0] == 'N' ? position.distanceLatitude : -position.distanceLatitude;
  position.longitude =
      tokens[6][0] == 'E' ? position.distanceLongitude : -position.distanceLongitude;
  return position;
}

void SentenceTrackBuilder::add(std::string_view sentence) {
  const size_t index = track_.fixes.size();
  GpsFields fields;
  const GpsFix fix = splitGpsSentence(sentence, fields) == 0 ? fixOfFields(fields) : GpsFix{};
  track_.fixes.push_back(fix);
  if (std::optional<TrackRoutePosition> position = sentenceRoutePosition(sentence, index)) {
    track_.route->push_back(*position);
  }
  if (fix.has(kFixOnMap)) {
    samples_.push_back({secondsOfDay(fields[2]), fix.latitude, fix.longitude, fix.speedKmh});
  }
}

Track SentenceTrackBuilder::finish() {
  Track track = std::move(track_);
  track.unitFromCheck = true;
  track.recordedUnit = detectSpeedUnit(samples_);
  if (track.recordedUnit != SpeedUnit::Kmh) {
    const double factor = kmhPer(track.recordedUnit);
    for (GpsFix& fix : track.fixes) {
      fix.speedKmh = static_cast<float>(static_cast<double>(fix.speedKmh) * factor);
    }
  }
  track.fixes.shrink_to_fit();
  track.route->shrink_to_fit();
  *this = SentenceTrackBuilder();
  return track;
}

}  // namespace vantrel
