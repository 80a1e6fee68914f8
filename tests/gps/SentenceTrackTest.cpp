#include <gtest/gtest.h>

#include <map>

#include "gps/SentenceTrack.h"
#include "gps/SentenceTracks.h"
#include "gps/TrackLoader.h"
#include "gps/TrackPrinter.h"
#include "gps/TrackTestSupport.h"

using namespace vantrel;
using tracktest::TempDir;

// The layout as real cameras write it: a '+' before the coordinates, a ';'
// at the end, 'V' lines without a position, which stay entries.
TEST(SentenceFix, LinesAsCamerasWriteThem) {
  const std::pair<const char*, const char*> cases[] = {
      {"A,220215,111914.000,+5822.4130,N,+02432.4361,E,4.922,-01.84,-07.35,-78.40;",
       "0\tok\t11:19:14\t58.3735\t24.5406\t4.92\t58.373550\t24.540602"},
      {"V,220215,111926.000,,,,,0.000,-00.94,-04.82,-77.99;",
       "0\tok\t11:19:26\t0.0000\t0.0000\t0.00\t-\t-"},
      {"A,220215,111914.000,-5822.4130,S,+02432.4361,W,4.922;",
       "0\tok\t11:19:14\t-58.3735\t24.5406\t4.92\t58.373550\t-24.540602"},
      {"A,220215,111914.000,+58.22.4130,N,+02432.4361,E,4.922;", "0\trejected"},
  };
  for (const auto& [sentence, printed] : cases) {
    EXPECT_EQ(formatTrackEntry(0, sentenceFix(sentence)), printed) << sentence;
  }
}

TEST(SentenceRoutePosition, TokensGiveTheRouteAndTheDistanceMagnitudes) {
  const std::optional<TrackRoutePosition> p =
      sentenceRoutePosition("A,220215,111914.000,+5822.4130,S,+02432.4361,W,4.922;", 7);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->index, 7u);
  EXPECT_DOUBLE_EQ(p->latitude, -58.37355);
  EXPECT_DOUBLE_EQ(p->distanceLatitude, 58.37355);
  EXPECT_LT(p->longitude, 0);
  EXPECT_FALSE(sentenceRoutePosition("V,220215,111926.000,,,,,0.000;", 0));
}

// The speeds of a generated sidecar, as loaded.
std::vector<float> loadedSpeeds(const std::string& arguments, Track* loaded = nullptr) {
  static std::map<std::string, std::vector<float>> known;  // generating takes a while
  if (!loaded && known.count(arguments)) return known[arguments];
  TempDir dir;
  tracktest::writeFile(dir.file("clip.TXT"), tracktest::generatedTrack(arguments));
  TrackLoad load = loadTrack(dir.file("clip.mp4"));
  EXPECT_EQ(load.result, 0) << arguments;
  std::vector<float> speeds;
  for (const GpsFix& fix : load.track.fixes) speeds.push_back(fix.speedKmh);
  if (loaded) *loaded = std::move(load.track);
  known[arguments] = speeds;
  return speeds;
}

// A generated drive written with its speeds in each unit: the unit check
// finds knots and m/s and turns them into km/h; a km/h drive, a vehicle
// that never moves and a drive too short to judge keep what was written.
TEST(SentenceTrackUnitCheck, GeneratedDrives) {
  struct Case {
    const char* arguments;
    SpeedUnit written;
    SpeedUnit found;
  };
  const Case cases[] = {
      {"120 --camera --unit knots", SpeedUnit::Knots, SpeedUnit::Knots},
      {"120 --unit knots", SpeedUnit::Knots, SpeedUnit::Knots},
      {"120 --unit ms", SpeedUnit::MetresPerSecond, SpeedUnit::MetresPerSecond},
      {"120 --camera", SpeedUnit::Kmh, SpeedUnit::Kmh},
      {"120 --camera --unit knots --parked", SpeedUnit::Knots, SpeedUnit::Kmh},
      {"15 --camera --unit knots", SpeedUnit::Knots, SpeedUnit::Kmh},
  };
  for (const Case& c : cases) {
    const std::string arguments = c.arguments;
    const std::string seconds = arguments.substr(0, arguments.find(' '));
    const bool parked = arguments.find("--parked") != std::string::npos;
    const std::vector<float> kmh = loadedSpeeds(seconds + (parked ? " --parked" : ""));
    Track track;
    const std::vector<float> speeds = loadedSpeeds(arguments, &track);
    EXPECT_EQ(track.recordedUnit, c.found) << arguments;
    EXPECT_EQ(trackHeader(track).find("speed_unit=") != std::string::npos,
              c.found != SpeedUnit::Kmh)
        << trackHeader(track);
    ASSERT_EQ(speeds.size(), kmh.size()) << arguments;
    // Written with two or three decimals: a few hundredths of km/h apart.
    for (size_t i = 0; i < speeds.size(); ++i) {
      const double expected = kmh[i] / kmhPer(c.written) * kmhPer(c.found);
      ASSERT_NEAR(speeds[i], expected, 0.03) << arguments << " fix " << i;
    }
  }
  EXPECT_GT(loadedSpeeds("120")[60], 100);  // the drive cruises at 110 km/h there
}
