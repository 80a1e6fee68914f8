#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/PlayerState.h"
#include "gps/Dashboard.h"
#include "gps/DashboardRecorder.h"
#include "gps/SentenceTracks.h"
#include "gps/TimedTracks.h"

using namespace vantrel;
using testsupport::rmc;

TEST(TrackStep, EntriesPerSecondRoundedUpByFiveAndAtLeastOne) {
  struct Case {
    size_t entries;
    int64_t duration;
    int64_t step;
  };
  const Case cases[] = {
      {600, 600, 1},  {6000, 600, 10}, {100, 600, 1}, {595, 600, 1},
      {1195, 600, 2}, {1, 1, 6},       {10, 0, 1},    {10, -3, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(trackStepFor(c.entries, c.duration), c.step) << c.entries << " on " << c.duration;
  }
}

TEST(UnitFactor, KilometresOrMiles) {
  EXPECT_EQ(unitFactor(0), 1.0f);
  EXPECT_EQ(unitFactor(1), 0.6213712f);
  EXPECT_STREQ(unitName(0), "KMH");
  EXPECT_STREQ(unitName(1), "MPH");
}

class DashboardSync : public testing::Test {
 protected:
  // A drive north from 48°N 11°31'E: entry i at i * 0.0024' (about 4.4 m).
  void LoadDrive(const std::vector<double>& speeds, int64_t duration) {
    std::vector<std::string> sentences;
    for (size_t i = 0; i < speeds.size(); ++i) {
      char lat[16];
      std::snprintf(lat, sizeof lat, "%09.4f", 4800.0 + 0.0024 * i);
      sentences.push_back(rmc("073005", lat, "N", "01131.0000", "E", speeds[i]));
    }
    Publish(sentences);
    Load(duration);
  }
  // The playback's loader publishes a track of these sentences.
  void Publish(const std::vector<std::string>& sentences, int streamIndex = 255) {
    testsupport::publishTrack(track, testsupport::sentenceTrack(sentences, streamIndex));
  }
  void Load(int64_t duration) {
    player.durationSeconds = duration;
    ASSERT_EQ(dashboard.OnGpsSync(kSyncTrackLoaded, 0), 0);
  }
  std::string Text(Readout r) { return display.texts[r]; }
  int64_t Tick(int64_t seconds, GpsSyncCode code = kSyncTick) {
    player.elapsedSeconds = seconds;
    int64_t index = -1;
    return dashboard.OnGpsSync(code, seconds, &index) == 0 ? index : -1;
  }

  PlayerState player;
  GpsTrack track;
  testsupport::RecordingDisplay display;
  testsupport::RecordingMaps maps;
  Dashboard dashboard{player, track, display, &maps};
};

TEST_F(DashboardSync, SecondsZeroAndOneShowEntryZeroThenOneEntryPerStep) {
  LoadDrive(std::vector<double>(20, 30.0), 20);  // step (20 + 5) / 20 = 1
  EXPECT_EQ(Tick(0), 0);
  EXPECT_EQ(Tick(1), 0);
  EXPECT_EQ(Tick(2), 1);
  EXPECT_EQ(Tick(10), 9);
  EXPECT_EQ(dashboard.TrackStep(), 1);

  LoadDrive(std::vector<double>(100, 30.0), 10);  // step 10
  EXPECT_EQ(dashboard.TrackStep(), -1);           // worked out at the first tick
  EXPECT_EQ(Tick(3), 20);
  EXPECT_EQ(dashboard.TrackStep(), 10);
}

TEST_F(DashboardSync, PastTheEndTheDashboardKeepsItsLastValues) {
  LoadDrive({10, 20, 30}, 3);  // step (3 + 5) / 3 = 2
  EXPECT_EQ(Tick(2), 2);
  const auto before = display.texts;
  const size_t calls = maps.calls.size();
  EXPECT_EQ(Tick(3), -1);  // entry 4 does not exist
  EXPECT_EQ(Tick(1000000000000), -1);
  EXPECT_EQ(Tick(-5), -1);
  EXPECT_EQ(display.texts, before);
  EXPECT_EQ(maps.calls.size(), calls);
}

TEST_F(DashboardSync, JumpFilterKeepsRisesOverEightyWithinTwoEntries) {
  LoadDrive({20, 110, 115, 118}, 10);  // step 1
  const char* shown[] = {" 20.00", " 20.00", " 20.00", "118.00"};
  for (int i = 0; i < 4; ++i) {
    Tick(i + 1);
    EXPECT_EQ(Text(Readout::Speed), shown[i]) << "entry " << i;
  }
  EXPECT_EQ(Text(Readout::MaxSpeed), "118.00");
  EXPECT_DOUBLE_EQ(display.gauge, 118.0);
}

TEST_F(DashboardSync, MphThresholdIsEightyTimesTheFactor) {
  // A 60 km/h rise: passes in km/h (threshold 80), filtered in mph (49.7).
  struct Case {
    int unit;
    const char* speed;
  };
  for (Case c : {Case{0, " 80.00"}, Case{1, " 12.43"}}) {
    dashboard.OnSpeedUnitChange(c.unit);
    LoadDrive({20, 80}, 10);
    Tick(1);
    Tick(2);
    EXPECT_EQ(Text(Readout::Speed), c.speed) << unitName(c.unit);
  }
}

TEST_F(DashboardSync, ReadoutsOfOneSentence) {
  Publish({rmc("73005", "4807.0380", "S", "01131.0000", "W", 42.5)});
  Load(1);
  Tick(1);
  EXPECT_EQ(Text(Readout::Time), "07:30:05");
  EXPECT_EQ(Text(Readout::Latitude), "48.1173");  // the magnitude, cut
  EXPECT_EQ(Text(Readout::Longitude), "11.5166");
  EXPECT_EQ(Text(Readout::Speed), " 42.50");
  ASSERT_FALSE(maps.calls.empty());
  EXPECT_EQ(maps.calls.back(), "line -48.117300,-11.516667");
}

TEST_F(DashboardSync, ImplausibleSpeedsChangeTimeAndPositionOnly) {
  Publish({rmc("100000", "4807.0380", "N", "01131.0000", "E", 50),
           rmc("100001", "4807.0400", "N", "01131.0000", "E", 1500),
           "$GPRMC,A,100002.000,4807.0420,N,01131.0000,E,nan,0.0,101226"});
  Load(3);  // step 2: ticks 1, 2 show entries 0, 2
  Tick(1);
  ASSERT_EQ(Text(Readout::Speed), " 50.00");
  ASSERT_EQ(dashboard.Trip().currentSpeed, 50.0f);
  dashboard.UpdateDashboard(track.snapshot()->fixes[1], 1);
  EXPECT_EQ(Text(Readout::Time), "10:00:01");
  EXPECT_EQ(Text(Readout::Speed), " 50.00");
  EXPECT_EQ(dashboard.Trip().currentSpeed, 50.0f);
  Tick(2);
  EXPECT_EQ(Text(Readout::Time), "10:00:02");
  EXPECT_EQ(Text(Readout::Speed), " 50.00");
  EXPECT_EQ(display.gauge, 50.0);
  EXPECT_EQ(dashboard.Trip().maxSpeed, 50.0f);
}

TEST_F(DashboardSync, RejectedSentenceChangesNothing) {
  Publish({"$GPRMC,A,100000.000,48.07.038,N,01131.0000,E,50.0"});
  Load(1);
  const auto before = display.texts;
  EXPECT_EQ(Tick(1), 0);
  EXPECT_EQ(display.texts, before);
  EXPECT_EQ(maps.calls, (std::vector<std::string>{"new", "small:init 1"}));
}

TEST_F(DashboardSync, SeekRedrawsTheTravelledLineUpToTwoStepsBack) {
  LoadDrive(std::vector<double>(20, 30.0), 20);  // step 1
  maps.calls.clear();
  EXPECT_EQ(Tick(10, kSyncSeek), 9);
  ASSERT_EQ(maps.calls.size(), 2u);
  std::string redraw = "small:redraw";
  for (int i = 0; i < 8; ++i) {
    char lat[32];
    std::snprintf(lat, sizeof lat, " %f,11.516667", 48 + 0.0024 * i / 60);
    redraw += lat;
  }
  EXPECT_EQ(maps.calls[0], redraw);  // entries 0 to 7; entry 8 is skipped
  char line[48];
  std::snprintf(line, sizeof line, "line %f,11.516667", 48 + 0.0024 * 9 / 60);
  EXPECT_EQ(maps.calls[1], line);
}

// Back from second 12 to second 4: by a seek, or by a tick the playback
// posted before the seek took hold.
TEST_F(DashboardSync, GoingBackRedrawsBothMapsOnceTheyShowTheRoute) {
  struct Case {
    GpsSyncCode code;
    bool open, ready;
    std::vector<std::string> calls;
  };
  const std::string before = "48.000000,11.516667 48.000040,11.516667";
  const std::vector<std::string> smallOnly = {"small:redraw " + before, "line 48.000120,11.516667"};
  const std::vector<std::string> both = {"small:redraw " + before, "big:redraw " + before,
                                         "line 48.000120,11.516667"};
  const Case cases[] = {
      {kSyncSeek, false, false, smallOnly},
      // Opened since the last tick: it catches up through its own route.
      {kSyncSeek,
       true,
       false,
       {"small:redraw " + before, "big:init 20", "big:redraw " + before,
        "line 48.000120,11.516667"}},
      // Showing the route: its line goes back too, not straight across.
      {kSyncSeek, true, true, both},
      {kSyncTick, false, false, smallOnly},
      {kSyncTick, true, true, both},
  };
  for (const Case& c : cases) {
    LoadDrive(std::vector<double>(20, 30.0), 20);
    for (int t = 1; t <= 12; ++t) Tick(t);
    maps.bigOpen = c.open;
    maps.bigReady = c.ready;
    maps.calls.clear();
    EXPECT_EQ(Tick(4, c.code), 3);
    EXPECT_EQ(maps.calls, c.calls) << c.code << c.open << c.ready;
  }
}

// Playback that starts at second 5 (a seek made while the recording
// opened) draws the line up to there; one that starts at the beginning
// only extends it.
TEST_F(DashboardSync, TheFirstTickDrawsTheLineUpToWherePlaybackStarted) {
  LoadDrive(std::vector<double>(20, 30.0), 20);
  maps.calls.clear();
  EXPECT_EQ(Tick(5), 4);
  EXPECT_EQ(maps.calls,
            (std::vector<std::string>{
                "small:redraw 48.000000,11.516667 48.000040,11.516667 48.000080,11.516667",
                "line 48.000160,11.516667"}));
  LoadDrive(std::vector<double>(20, 30.0), 20);
  maps.calls.clear();
  EXPECT_EQ(Tick(1), 0);
  EXPECT_EQ(maps.calls, (std::vector<std::string>{"line 48.000000,11.516667"}));
}

TEST_F(DashboardSync, SeekToTheStartOnlyClearsThenShowsEntryZero) {
  LoadDrive(std::vector<double>(20, 30.0), 20);
  for (int64_t t : {0, 1}) {
    maps.calls.clear();
    EXPECT_EQ(Tick(t, kSyncSeek), 0);
    EXPECT_EQ(maps.calls, (std::vector<std::string>{"small:redraw", "line 48.000000,11.516667"}));
  }
}

TEST_F(DashboardSync, LargeMapGetsTheRouteAtTheFirstTickThatSucceeds) {
  LoadDrive(std::vector<double>(20, 30.0), 20);
  maps.bigOpen = true;
  maps.bigFails = 1;  // the page is still loading at the first try
  maps.calls.clear();
  Tick(4);  // playback starts there: the small map's line reaches it at once
  EXPECT_FALSE(maps.bigReady);
  EXPECT_EQ(maps.calls,
            (std::vector<std::string>{"small:redraw 48.000000,11.516667 48.000040,11.516667",
                                      "big:init 20", "line 48.000120,11.516667"}));
  maps.calls.clear();
  Tick(5);
  EXPECT_TRUE(maps.bigReady);
  ASSERT_EQ(maps.calls.size(), 3u);
  EXPECT_EQ(maps.calls[0], "big:init 20");
  EXPECT_EQ(maps.calls[1],
            "big:redraw 48.000000,11.516667 48.000040,11.516667 48.000080,11.516667");
  EXPECT_EQ(maps.calls[2], "line 48.000160,11.516667");
  maps.calls.clear();
  Tick(6);
  EXPECT_EQ(maps.calls, std::vector<std::string>{"line 48.000200,11.516667"});
}

TEST_F(DashboardSync, UnitSwitchAfterAStopShowsTheStatisticsConverted) {
  LoadDrive({50, 60, 70, 100, 90}, 5);  // step 2: entries 0, 2, 4
  for (int t = 1; t <= 3; ++t) Tick(t);
  const float distance = dashboard.Trip().totalDistance;
  ASSERT_GT(distance, 15.0f);
  // The end of playing puts the zero texts back; the statistics stay.
  for (Readout r : kReadouts) display.ShowReadout(r, resetReadoutText(r));
  dashboard.OnGpsSync(kSyncPlaybackEnded, 0);
  dashboard.OnSpeedUnitChange(1);
  EXPECT_EQ(display.units, "MPH");
  EXPECT_EQ(Text(Readout::Speed), " 55.92");  // 90 * 0.6213712
  EXPECT_EQ(Text(Readout::MaxSpeed), " 55.92");
  char expected[32];
  std::snprintf(expected, sizeof expected, "%9.2f", distance * 0.6213712f / 1000);
  EXPECT_EQ(Text(Readout::Distance), expected);
  const float average = static_cast<float>(distance / 1000.0 / (5 / 3600.0)) * 0.6213712f;
  std::snprintf(expected, sizeof expected, "%6.2f", average);
  EXPECT_EQ(Text(Readout::AvgSpeed), expected);
  EXPECT_EQ(Text(Readout::Time), "00:00:00");  // untouched
  EXPECT_NEAR(display.gauge, 90 * 0.6213712, 1e-4);
}

TEST_F(DashboardSync, EmptyTrackIgnoresEverythingButTheEnd) {
  LoadDrive({50}, 1);
  const TripStatistics trip = dashboard.Trip();
  track.clear();
  maps.calls.clear();
  EXPECT_EQ(dashboard.OnGpsSync(kSyncTrackLoaded, 0), -1);
  EXPECT_EQ(Tick(1), -1);
  EXPECT_EQ(Tick(1, kSyncSeek), -1);
  EXPECT_EQ(dashboard.OnGpsSync(kSyncPlaybackEnded, 0), 0);
  EXPECT_EQ(maps.calls, std::vector<std::string>{"new"});         // the last route goes
  EXPECT_EQ(dashboard.Trip().totalDistance, trip.totalDistance);  // kept from before
}

TEST_F(DashboardSync, TrackReplacedSinceItsAnnouncementIsNotRead) {
  LoadDrive({50, 60}, 2);
  // The next playback's loader has published its track, not yet announced.
  Publish({rmc("120000", "3352.1280", "S", "15112.5580", "W", 10)});
  EXPECT_EQ(Tick(1), -1);
  EXPECT_EQ(Text(Readout::Time), "00:00:00");
  Load(1);
  EXPECT_EQ(Tick(1), 0);
  EXPECT_EQ(Text(Readout::Time), "12:00:00");
  EXPECT_EQ(maps.calls.back(), "line -33.868800,-151.209300");
}

TEST_F(DashboardSync, FullScreenSkipsTicksAndSeeks) {
  LoadDrive({50, 60}, 7);  // step 1
  dashboard.SetFullScreen(true);
  EXPECT_EQ(Tick(1), -1);
  EXPECT_EQ(Tick(1, kSyncSeek), -1);
  EXPECT_EQ(Text(Readout::Speed), "000.00");
  dashboard.SetFullScreen(false);
  EXPECT_EQ(Tick(2), 1);
  EXPECT_EQ(Text(Readout::Speed), " 60.00");
}

TEST_F(DashboardSync, TrackWithoutGpsStreamDrawsNothingAndCountsNoDistance) {
  LoadDrive({50, 60, 70}, 3);
  ASSERT_GT(dashboard.Trip().totalDistance, 0.0f);
  Publish({rmc("073005", "4800.0000", "N", "01131.0000", "E", 50),
           rmc("073005", "4800.0024", "N", "01131.0000", "E", 60)},
          -1);
  maps.calls.clear();
  ASSERT_EQ(dashboard.OnGpsSync(kSyncTrackLoaded, 0), 0);
  EXPECT_EQ(dashboard.Trip().totalDistance, 0.0f);
  EXPECT_EQ(maps.calls, std::vector<std::string>{"new"});  // the last route goes
}

TEST_F(DashboardSync, ZeroDurationTakesOneEntryPerSecondAndNoAverage) {
  LoadDrive({50, 60, 70}, 0);
  EXPECT_EQ(Tick(3), 2);
  EXPECT_EQ(dashboard.TrackStep(), 1);
  EXPECT_EQ(Text(Readout::AvgSpeed), "  0.00");
  EXPECT_TRUE(std::isfinite(dashboard.Trip().averageSpeed));
}

// The web engine runs the event loop while a map call is made, so a message
// can arrive in the middle of handling another.
class ReentrantMaps : public testsupport::RecordingMaps {
 public:
  void SetLineNewPoint(const MapPoint& point) override {
    RecordingMaps::SetLineNewPoint(point);
    if (dashboard && nested-- > 0) {
      EXPECT_EQ(dashboard->OnGpsSync(kSyncTick, next++), -1);  // deferred
    }
  }
  Dashboard* dashboard = nullptr;
  int nested = 0;
  int64_t next = 0;
};

TEST(DashboardReentry, MessagesArrivingDuringAMapCallRunAfterItInOrder) {
  PlayerState player;
  GpsTrack track;
  testsupport::RecordingDisplay display;
  ReentrantMaps maps;
  Dashboard dashboard(player, track, display, &maps);
  std::vector<std::string> sentences;
  for (int i = 0; i < 5; ++i) {
    char time[8];
    std::snprintf(time, sizeof time, "1000%02d", i);
    sentences.push_back(rmc(time, "4807.0380", "N", "01131.0000", "E", 10));
  }
  testsupport::publishTrack(track, testsupport::sentenceTrack(sentences));
  player.durationSeconds = 5;  // step 2
  ASSERT_EQ(dashboard.OnGpsSync(kSyncTrackLoaded, 0), 0);
  maps.dashboard = &dashboard;
  maps.nested = 2;
  maps.next = 2;
  EXPECT_EQ(dashboard.OnGpsSync(kSyncTick, 1), 0);
  // Tick 1 (entry 0) finished before ticks 2 and 3 (entries 2, 4) ran.
  EXPECT_EQ(display.texts[Readout::Time], "10:00:04");
  EXPECT_EQ(std::count(maps.calls.begin(), maps.calls.end(), "line 48.117300,11.516667"), 3);
}

// Fixes that carry their times are shown when playback reaches them.
class TimedDashboard : public testing::Test {
 protected:
  void Load(Track timed, int64_t duration) {
    testsupport::publishTrack(track, std::move(timed));
    player.durationSeconds = duration;
    ASSERT_EQ(dashboard.OnGpsSync(kSyncTrackLoaded, 0), 0);
  }
  int64_t Tick(int64_t seconds, GpsSyncCode code = kSyncTick) {
    player.elapsedSeconds = seconds;
    int64_t index = -1;
    return dashboard.OnGpsSync(code, seconds, &index) == 0 ? index : -1;
  }

  PlayerState player;
  GpsTrack track;
  testsupport::RecordingDisplay display;
  testsupport::RecordingMaps maps;
  Dashboard dashboard{player, track, display, &maps};
};

TEST_F(TimedDashboard, ShowsTheLastFixAtOrBeforeThePlaybackPosition) {
  Load(testsupport::timedTrack({0, 0.5, 1, 3.2, 3.9}), 10);
  const std::pair<int64_t, int64_t> ticks[] = {
      {0, 0}, {1, 2}, {2, -1}, {3, -1}, {4, 4}, {9, -1},
  };
  for (const auto& [second, fix] : ticks) EXPECT_EQ(Tick(second), fix) << second;
  EXPECT_EQ(dashboard.TrackStep(), 0);
  EXPECT_EQ(display.texts[Readout::Time], "00:00:03");  // fix 4: 3.9 s after midnight
  EXPECT_EQ(display.texts[Readout::Latitude], "48.0001");
  EXPECT_EQ(display.texts[Readout::Speed], " 30.00");
}

TEST_F(TimedDashboard, SeekRedrawsEveryFixBeforeTheOneShownInTimeOrder) {
  Load(testsupport::timedTrack({0, 2, 1, 3}), 10);  // fix 2 is a second before fix 1
  maps.calls.clear();
  EXPECT_EQ(Tick(2, kSyncSeek), 1);
  ASSERT_EQ(maps.calls.size(), 2u);
  EXPECT_EQ(maps.calls[0], "small:redraw 48.000000,11.500000 48.000080,11.500000");
  EXPECT_EQ(maps.calls[1], "line 48.000040,11.500000");
  EXPECT_EQ(Tick(2, kSyncSeek), 1);  // a seek shows its fix again
}

TEST_F(TimedDashboard, JumpFilterLooksTwoSecondsBack) {
  Track timed = testsupport::timedTrack({0, 1, 2, 4, 5});
  const float speeds[] = {20, 110, 115, 118, 119};
  for (size_t i = 0; i < 5; ++i) timed.fixes[i].speedKmh = speeds[i];
  Load(std::move(timed), 10);
  const char* shown[] = {" 20.00", " 20.00", " 20.00", "-", "118.00", "119.00"};
  for (int64_t t = 0; t <= 5; ++t) {
    if (Tick(t) >= 0) {
      EXPECT_EQ(display.texts[Readout::Speed], shown[t]) << t;
    }
  }
  EXPECT_EQ(display.texts[Readout::MaxSpeed], "119.00");
}

// One fix every 5 s at 100 km/h is 139 m a fix: that is driving, not a jump.
TEST_F(TimedDashboard, SparseFixesCountTheirWholeDistance) {
  Load(testsupport::timedTrack({0, 5, 10, 15}, 100, 139 / 111319.49), 15);
  EXPECT_NEAR(dashboard.Trip().totalDistance, 3 * 139.0, 1.0);
}
