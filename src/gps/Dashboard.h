#pragma once
// The dashboard kept in step with playback: the playback posts WM_GPS_SYNC
// (code, whole seconds) and the dashboard shows the track's fix for that
// second on the readouts, the gauge and the maps, and keeps the trip
// statistics. UI thread only; no window code here, so the window and the
// command-line printer drive the same logic.
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/Messages.h"
#include "gps/DashboardRoute.h"
#include "gps/GpsTrack.h"
#include "gps/TrackTimeline.h"
#include "gps/TripStatistics.h"

namespace vantrel {

struct PlayerState;

enum class Readout { Time, Latitude, Longitude, Speed, MaxSpeed, AvgSpeed, Distance };
constexpr Readout kReadouts[] = {Readout::Time,    Readout::Latitude, Readout::Longitude,
                                 Readout::Speed,   Readout::MaxSpeed, Readout::AvgSpeed,
                                 Readout::Distance};

// What a readout shows while nothing plays.
const char* resetReadoutText(Readout readout);

// The speed-unit box: "KMH" at index 0, "MPH" at index 1. Statistics stay in
// km/h and metres; every display multiplies by the unit factor.
constexpr float kMphFactor = 0.6213712f;
float unitFactor(int unitSelection);
const char* unitName(int unitSelection);

// Track entries per second of playback: (entries + 5) / duration, at least 1.
// An unknown length (duration 0 or less) gives 1.
int64_t trackStepFor(size_t entries, int64_t durationSeconds);

// The readouts and the gauge.
class DashboardDisplay {
 public:
  virtual ~DashboardDisplay() = default;
  virtual void ShowReadout(Readout readout, const std::string& text) = 0;
  virtual void ShowGauge(double value) = 0;
  virtual void ShowGaugeUnits(const std::string& units) = 0;
};

// The small map and the large map, drawn through their page functions.
class DashboardMaps {
 public:
  virtual ~DashboardMaps() = default;
  // A new recording: both maps forget the last route, travelled line and
  // markers, whether or not a route follows; the next clip of the drive on
  // a map keeps the drive's route there.
  virtual void StartNewRoute() = 0;
  // The route on the small map.
  virtual void InitMapRoute(const std::vector<RoutePoint>& route) = 0;
  // The large map is open and has not got the route yet.
  virtual bool BigMapWaitingForRoute() const = 0;
  // The route on the large map: 0 done, -1 a call failed (tried again later).
  virtual int InitBigMapRoute(const std::vector<RoutePoint>& route) = 0;
  virtual void SetBigMapRouteReady() = 0;
  // The large map is open and shows the route: a seek redraws it too.
  virtual bool BigMapReady() const = 0;
  // Clears the travelled line of one map and draws it anew through points.
  virtual void RedrawRouteTo(const std::vector<MapPoint>& points, bool large) = 0;
  // Extends the travelled line on the small map, and on the large map once
  // its route is there.
  virtual void SetLineNewPoint(const MapPoint& point) = 0;
};

class Dashboard {
 public:
  // maps may be null: nothing is drawn (the command-line printer). track is
  // the one the playback's loader fills.
  Dashboard(const PlayerState& player, const GpsTrack& track, DashboardDisplay& display,
            DashboardMaps* maps);

  // Handles one WM_GPS_SYNC: 0 when handled, -1 when ignored (empty or not
  // yet announced track, full screen, past the end, or a tick that reaches
  // no newer fix). shownIndex, if given, receives the fix shown. Fixes that
  // carry a time are shown when playback reaches them; the others one
  // trackStep per second. A message that arrives while another is being
  // handled (the web engine runs the event loop while the large map takes
  // its route) is handled right after it, in order; it returns -1 itself.
  int OnGpsSync(GpsSyncCode code, int64_t seconds, int64_t* shownIndex = nullptr);
  // Shows fix index of the track: readouts, gauge, travelled line, statistics.
  void UpdateDashboard(const GpsFix& fix, int64_t index);
  // The unit box changed: gauge units and the speed readouts in that unit.
  void OnSpeedUnitChange(int unitSelection);
  // Sends the route, and the travelled line up to the fix shown, to the maps
  // again (what they draw around the track changed); the readouts and the
  // statistics stay as they are.
  void RedrawMaps();
  // The window shows only the picture: ticks and seeks draw nothing until
  // it comes back.
  void SetFullScreen(bool fullScreen) { m_fullScreen = fullScreen; }

  const TripStatistics& Trip() const { return m_trip; }
  // Track entries per second of playback; -1 until the first tick, 0 for a
  // track whose fixes carry their times.
  int64_t TrackStep() const { return m_trackStep; }
  size_t TrackSize() const { return m_track->fixes.size(); }

 private:
  struct Message {
    GpsSyncCode code;
    int64_t seconds;
  };
  // The fix to show at a playback second, and how many fixes (in placement
  // order) a redraw of the travelled line sends.
  struct Shown {
    int64_t index;
    int64_t redrawCount;
  };
  int HandleGpsSync(GpsSyncCode code, int64_t seconds, int64_t* shownIndex);
  std::optional<Shown> StepAt(int64_t seconds);
  std::optional<Shown> TimedAt(GpsSyncCode code, int64_t seconds);
  // Whether fix index comes before fix other on the drive.
  bool PlacedBefore(int64_t index, int64_t other) const;
  void TakeTrack();
  bool HasTrack() const;
  void InitMapRoute();
  void CatchUpBigMap(int64_t redrawCount);
  std::vector<MapPoint> TravelledBefore(int64_t count) const;
  bool SoonAfterLastSpeed(int64_t index) const;
  void ShowSpeedReadouts();

  const PlayerState& m_player;
  const GpsTrack& m_gpsTrack;
  DashboardDisplay& m_display;
  DashboardMaps* m_maps;
  bool m_fullScreen = false;

  // The track announced by the last code 0, and what the maps take of it.
  std::shared_ptr<const Track> m_track = std::make_shared<const Track>();
  uint64_t m_trackGeneration = 0;
  std::vector<RoutePoint> m_route;
  TrackTimeline m_timeline;
  int64_t m_shownIndex = -1;  // the fix shown last; -1 none since code 0

  TripStatistics m_trip;
  float m_lastSpeed = -1.0f;  // speed of the last accepted fix; -1: none
  int64_t m_lastSpeedIndex = -1;
  int64_t m_trackStep = -1;  // -1: worked out at the next tick
  int m_unitSelection = 0;

  bool m_busy = false;             // a message is being handled
  std::deque<Message> m_deferred;  // messages that arrived meanwhile
};

}  // namespace vantrel
