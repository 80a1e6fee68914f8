#include "gps/Dashboard.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "engine/PlayerState.h"
#include "gps/GpsReadout.h"

namespace vantrel {

namespace {

constexpr float kSpeedCut = 1000.0f;  // km/h; faster readings are noise
constexpr float kJumpKmh = 80.0f;     // a rise larger than this ...
constexpr int64_t kJumpEntries = 2;   // ... within this many entries (or seconds) is noise

std::string format(const char* pattern, double value) {
  char text[64];  // "%9.2f" of the largest float takes 42 characters
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

}  // namespace

const char* resetReadoutText(Readout readout) {
  switch (readout) {
    case Readout::Time:
      return "00:00:00";
    case Readout::Latitude:
      return "00000000";
    case Readout::Longitude:
      return "000000000";
    case Readout::Speed:
    case Readout::MaxSpeed:
    case Readout::AvgSpeed:
      return "000.00";
    case Readout::Distance:
      return "000000000";
  }
  return "";
}

float unitFactor(int unitSelection) {
  return unitSelection == 1 ? kMphFactor : 1.0f;
}

const char* unitName(int unitSelection) {
  return unitSelection != 0 ? "MPH" : "KMH";
}

int64_t trackStepFor(size_t entries, int64_t durationSeconds) {
  if (durationSeconds <= 0) return 1;
  const int64_t step = (static_cast<int64_t>(entries) + 5) / durationSeconds;
  return step == 0 ? 1 : step;
}

Dashboard::Dashboard(const PlayerState& player, const GpsTrack& track, DashboardDisplay& display,
                     DashboardMaps* maps)
    : m_player(player), m_gpsTrack(track), m_display(display), m_maps(maps) {}

int Dashboard::OnGpsSync(GpsSyncCode code, int64_t seconds, int64_t* shownIndex) {
  if (m_busy) {
    m_deferred.push_back({code, seconds});
    return -1;
  }
  m_busy = true;
  int result = HandleGpsSync(code, seconds, shownIndex);
  while (!m_deferred.empty()) {
    Message next = m_deferred.front();
    m_deferred.pop_front();
    HandleGpsSync(next.code, next.seconds, nullptr);
  }
  m_busy = false;
  return result;
}

int Dashboard::HandleGpsSync(GpsSyncCode code, int64_t seconds, int64_t* shownIndex) {
  if (code == kSyncTrackLoaded) {
    TakeTrack();
    if (m_maps) m_maps->StartNewRoute();
  }
  if (code != kSyncPlaybackEnded && !HasTrack()) return -1;
  if (code == kSyncTrackLoaded) {
    m_trackStep = -1;
    InitMapRoute();
    return 0;
  }
  if (code == kSyncPlaybackEnded) return 0;
  if (m_fullScreen) return -1;  // full screen shows no dashboard

  const std::optional<Shown> shown =
      m_timeline.stepped() ? StepAt(seconds) : TimedAt(code, seconds);
  if (!shown) return -1;
  // Drawn on, the line would cut straight across the map from where it
  // ends: to the first fix shown when playback started past the track's
  // start (a seek made while the recording opened), or back to a fix
  // behind the one shown (a tick posted before a seek back took hold).
  const bool jumped =
      code == kSyncTick &&
      (m_shownIndex < 0 ? shown->redrawCount > 0 : PlacedBefore(shown->index, m_shownIndex));
  if ((code == kSyncSeek || jumped) && m_maps) {
    const std::vector<MapPoint> travelled = TravelledBefore(shown->redrawCount);
    m_maps->RedrawRouteTo(travelled, false);
    // Left alone, the large map's line would run straight from the old
    // place to the new one.
    if (m_maps->BigMapReady()) m_maps->RedrawRouteTo(travelled, true);
  }
  CatchUpBigMap(shown->redrawCount);
  m_shownIndex = shown->index;
  UpdateDashboard(m_track->fixes[static_cast<size_t>(shown->index)], shown->index);
  if (shownIndex) *shownIndex = shown->index;
  return 0;
}

// One entry per trackStep: seconds 0 and 1 both show entry 0, and a redraw
// leaves out the step just before the entry shown.
std::optional<Dashboard::Shown> Dashboard::StepAt(int64_t seconds) {
  const int64_t entries = static_cast<int64_t>(m_track->fixes.size());
  if (m_trackStep < 0) m_trackStep = trackStepFor(m_track->fixes.size(), m_player.durationSeconds);
  int64_t t = seconds > 0 ? seconds - 1 : seconds;
  // Past the end (or before the start) the dashboard keeps its last values.
  if (t < 0 || t > (entries - 1) / m_trackStep) return std::nullopt;
  return Shown{t * m_trackStep, (t - 1) * m_trackStep};
}

// The last fix at or before the playback position. A tick that reaches no
// newer fix (the file has fewer fixes than seconds, or playback is past its
// end) changes nothing; a seek shows the fix again and redraws up to it.
std::optional<Dashboard::Shown> Dashboard::TimedAt(GpsSyncCode code, int64_t seconds) {
  m_trackStep = 0;
  constexpr int64_t kLongestSeconds = std::numeric_limits<int64_t>::max() / 1000;
  const int64_t index =
      seconds < 0 ? -1 : m_timeline.fixAt(std::min(seconds, kLongestSeconds) * 1000);
  if (index < 0 || (code == kSyncTick && index == m_shownIndex)) return std::nullopt;
  return Shown{index, static_cast<int64_t>(m_timeline.rankOf(static_cast<size_t>(index)))};
}

void Dashboard::TakeTrack() {
  // Generation first: a track cleared meanwhile shows up as a changed
  // generation at the next message, which then waits for its own code 0.
  m_trackGeneration = m_gpsTrack.generation();
  m_track = m_gpsTrack.snapshot();
  m_route = routePoints(*m_track);
  m_timeline = TrackTimeline(*m_track);
  m_shownIndex = -1;
}

bool Dashboard::HasTrack() const {
  return !m_track->fixes.empty() && m_trackGeneration == m_gpsTrack.generation();
}

void Dashboard::InitMapRoute() {
  resetTripStatistics(m_trip);
  if (m_track->streamIndex < 0) return;
  for (const RoutePoint& p : m_route) {
    addTripPoint(m_trip, p.longitudeDegrees, p.latitudeDegrees, p.examined == 0,
                 p.longestSegmentMetres);
  }
  if (m_maps) m_maps->InitMapRoute(m_route);
}

// A large map opened since the last message gets the route, then the
// travelled line up to now; a failure (page still loading) is retried at the
// next message.
void Dashboard::CatchUpBigMap(int64_t redrawCount) {
  if (!m_maps || !m_maps->BigMapWaitingForRoute()) return;
  const int result = m_track->streamIndex < 0 ? 0 : m_maps->InitBigMapRoute(m_route);
  if (result < 0) return;
  m_maps->SetBigMapRouteReady();
  m_maps->RedrawRouteTo(TravelledBefore(redrawCount), true);
}

// The points of the first count fixes in placement order.
std::vector<MapPoint> Dashboard::TravelledBefore(int64_t count) const {
  std::vector<MapPoint> points;
  const int64_t fixes = static_cast<int64_t>(m_track->fixes.size());
  for (int64_t k = 0; k < count && k < fixes; ++k) {
    const GpsFix& fix = m_track->fixes[m_timeline.fixInOrder(static_cast<size_t>(k))];
    if (std::optional<MapPoint> point = travelPoint(fix)) points.push_back(std::move(*point));
  }
  return points;
}

bool Dashboard::PlacedBefore(int64_t index, int64_t other) const {
  if (m_timeline.stepped()) return index < other;
  return m_timeline.rankOf(static_cast<size_t>(index)) <
         m_timeline.rankOf(static_cast<size_t>(other));
}

// Within two entries of the last accepted speed; for fixes that carry their
// times, within two seconds.
bool Dashboard::SoonAfterLastSpeed(int64_t index) const {
  if (m_timeline.stepped()) return index - m_lastSpeedIndex <= kJumpEntries;
  return m_timeline.placeOf(static_cast<size_t>(index)) -
             m_timeline.placeOf(static_cast<size_t>(m_lastSpeedIndex)) <=
         kJumpEntries * 1000;
}

void Dashboard::UpdateDashboard(const GpsFix& fix, int64_t index) {
  if (index == 0) {
    m_lastSpeedIndex = -1;
    m_lastSpeed = -1.0f;
  }
  if (!fix.has(kFixPosition)) return;  // a rejected sentence shows nothing
  if (m_maps) {
    if (std::optional<MapPoint> point = travelPoint(fix)) m_maps->SetLineNewPoint(*point);
  }
  const GpsReadout readout = readGpsReadout(fix);
  m_display.ShowReadout(Readout::Time, readout.time);
  m_display.ShowReadout(Readout::Latitude, readout.latitude);
  m_display.ShowReadout(Readout::Longitude, readout.longitude);

  // Implausible readings leave the speed, the gauge and the statistics as
  // they were: not a number, above the cut, or a jump soon after the last
  // accepted reading.
  const float speed = readout.speed;
  if (!(speed <= kSpeedCut)) return;
  if (m_lastSpeed == -1.0f) {
    m_lastSpeed = speed;
    m_lastSpeedIndex = index;
  }
  const float f = unitFactor(m_unitSelection);
  if (speed - m_lastSpeed > kJumpKmh * f && SoonAfterLastSpeed(index)) return;

  m_lastSpeedIndex = index;
  m_lastSpeed = speed;
  m_trip.currentSpeed = speed;
  if (speed > m_trip.maxSpeed) m_trip.maxSpeed = speed;
  const int64_t duration = m_player.durationSeconds;
  if (m_player.elapsedSeconds.load() > 0 && duration > 0) {
    m_trip.averageSpeed = static_cast<float>((m_trip.totalDistance / 1000.0) /
                                             (static_cast<double>(duration) / 3600));
  }
  ShowSpeedReadouts();
}

void Dashboard::RedrawMaps() {
  if (!m_maps || m_busy || !HasTrack() || m_track->streamIndex < 0) return;
  m_maps->InitMapRoute(m_route);
  if (m_shownIndex < 0) return;
  const auto shown = static_cast<size_t>(m_shownIndex);
  const size_t count = m_timeline.stepped() ? shown + 1 : m_timeline.rankOf(shown) + 1;
  m_maps->RedrawRouteTo(TravelledBefore(static_cast<int64_t>(count)), false);
}

void Dashboard::OnSpeedUnitChange(int unitSelection) {
  m_unitSelection = unitSelection;
  m_display.ShowGaugeUnits(unitName(unitSelection));
  ShowSpeedReadouts();
}

// Products in single precision, widened for formatting.
void Dashboard::ShowSpeedReadouts() {
  const float f = unitFactor(m_unitSelection);
  const float speed = m_trip.currentSpeed * f;
  const float average = m_trip.averageSpeed * f;
  m_display.ShowGauge(speed);
  m_display.ShowReadout(Readout::Speed, format("%6.2f", speed));
  m_display.ShowReadout(Readout::MaxSpeed, format("%6.2f", m_trip.maxSpeed * f));
  m_display.ShowReadout(Readout::AvgSpeed, format("%6.2f", average > 0 ? average : 0.0f));
  m_display.ShowReadout(Readout::Distance, format("%9.2f", m_trip.totalDistance * f / 1000));
}

}  // namespace vantrel
