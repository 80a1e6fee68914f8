// Recordings that carry their track inside, generated in each camera layout
// from a known drive (tests/fixtures/make-embedded-recording): the track
// comes back fix for fix through `vantrel --track`, damaged recordings give
// their valid fixes and still play, and ExifTool reads the same positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/HeadlessPlayer.h"
#include "gps/GpsTrack.h"
#include "gps/TrackLoader.h"
#include "gps/TrackPrinter.h"
#include "gps/TrackTestSupport.h"
#include "support/RunCommand.h"
#include "support/TestName.h"

using namespace vantrel;
using tracktest::fixture;

namespace {

using Lines = std::vector<std::string>;

Lines linesOf(const std::string& text) {
  Lines lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string output(const std::string& command) {
  return testsupport::runCommand(command).out;
}

// What `vantrel --track` prints for the recording.
Lines printedTrack(const std::string& recording) {
  return linesOf(output(std::string(VANTREL_BINARY_DIR) + "/vantrel --track " +
                        testsupport::shellQuoted(recording)));
}

struct ExpectedFix {
  std::string clock;  // hh:mm:ss
  double latitude;
  double longitude;
  double speed;
  std::vector<float> gsensor;  // x, y, z where the layout has them
};

// The fixes the generator stored, as reading them must give them.
std::vector<ExpectedFix> expectedFixes(const std::string& recording) {
  std::vector<ExpectedFix> fixes;
  std::ifstream in(fixture("expected/" + recording + ".tsv"));
  EXPECT_TRUE(in.good()) << recording;
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    ExpectedFix fix;
    fields >> fix.clock >> fix.latitude >> fix.longitude >> fix.speed;
    for (float g; fields >> g;) fix.gsensor.push_back(g);
    fixes.push_back(fix);
  }
  return fixes;
}

// The line the printer shows for fix i, from the values the file stored.
std::string expectedLine(size_t i, const ExpectedFix& expected) {
  GpsFix fix;
  setFixPosition(fix, expected.latitude, expected.longitude);
  fix.speedKmh = static_cast<float>(expected.speed);
  int hours = 0, minutes = 0, seconds = 0;
  std::sscanf(expected.clock.c_str(), "%d:%d:%d", &hours, &minutes, &seconds);
  fix.clock = hours * 10000 + minutes * 100 + seconds;
  fix.flags |= kFixClock;
  return formatTrackEntry(i, fix);
}

struct Layout {
  const char* recording;
  const char* source;  // the source the header names
};

void PrintTo(const Layout& layout, std::ostream* os) {
  *os << layout.recording;
}

}  // namespace

class EmbeddedTracks : public testing::TestWithParam<Layout> {};

// Every fix the file stored, in order, under a header that names the source.
TEST_P(EmbeddedTracks, ComeBackFixForFixThroughTheTrackPrinter) {
  const Layout& layout = GetParam();
  const std::vector<ExpectedFix> expected = expectedFixes(layout.recording);
  const Lines printed = printedTrack(fixture(layout.recording));
  ASSERT_FALSE(expected.empty());
  ASSERT_EQ(printed.size(), expected.size() + 1);
  EXPECT_EQ(printed[0], std::string("source=") + layout.source + " file=" + layout.recording +
                            " entries=" + std::to_string(expected.size()));
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(printed[i + 1], expectedLine(i, expected[i]));
  }
}

const Layout kLayouts[] = {
    {"novatek.MP4", "novatek"},
    {"gopro.MP4", "gopro"},
    {"gopro9.MP4", "gopro"},  // GPS9 beside GPS5: GPS9 is read
    {"garmin.MP4", "garmin"},
    {"blackvue.MP4", "blackvue"},
    {"nmea.MP4", "nmea-stream"},
    {"nmea.MOV", "nmea-stream"},  // standard NMEA is no longer read as the sentence layout
    {"nmea-joined.MP4", "nmea-stream"},
    // Damaged: the fixes that survive.
    {"novatek-cut-index.MP4", "novatek"},    // no movie box: the blocks are searched for
    {"novatek-cut-block.MP4", "novatek"},    // ...and the last one is cut in half
    {"novatek-wrong-count.MP4", "novatek"},  // the index claims more blocks than it lists
    {"novatek-outside.MP4", "novatek"},      // two entries point past the end
    {"gopro-nofix.MP4", "gopro"},            // no lock in the first seconds
    {"blackvue-cut.MP4", "blackvue"},        // its box is at the start: all survives
};

INSTANTIATE_TEST_SUITE_P(Layouts, EmbeddedTracks, testing::ValuesIn(kLayouts),
                         [](const testing::TestParamInfo<Layout>& info) {
                           return testsupport::testName(info.param.recording);
                         });

// The g-sensor values of the moment of each fix stay on it.
TEST(EmbeddedTrack, GsensorValuesStayOnTheFixes) {
  const std::vector<ExpectedFix> expected = expectedFixes("blackvue.MP4");
  const TrackLoad load = loadTrack(fixture("blackvue.MP4"));
  ASSERT_EQ(load.track.fixes.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const GpsFix& fix = load.track.fixes[i];
    ASSERT_EQ(expected[i].gsensor.size(), 3u);
    ASSERT_TRUE(fix.has(kFixGsensor)) << i;
    for (size_t axis = 0; axis < 3; ++axis) {
      EXPECT_EQ(fix.gsensor[axis], expected[i].gsensor[axis]) << i << " " << axis;
    }
  }
}

// A 'gpmd' stream another camera filled with its own data gives no track.
TEST(EmbeddedTrack, GpmdStreamThatIsNotGpmfGivesNoFix) {
  const TrackLoad load = loadTrack(fixture("gopro-not-gpmf.MP4"));
  EXPECT_FALSE(hasFixOnMap(load.track)) << load.track.source;
}

struct Playback {
  const char* recording;
  int result;  // 100 plays to its end, -1 cannot be played
};

// The damaged recordings play (or fail fast) with their track loaded.
TEST(EmbeddedTrack, DamagedRecordingsPlayWithTheirTrack) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  const Playback cases[] = {
      {"novatek-wrong-count.MP4", 100},
      {"novatek-outside.MP4", 100},
      {"gopro-nofix.MP4", 100},
      {"gopro-not-gpmf.MP4", 100},
      // Nothing can play a file cut before its movie box: it fails at once,
      // and its track is there all the same.
      {"novatek-cut-index.MP4", -1},
      {"novatek-cut-block.MP4", -1},
      {"blackvue-cut.MP4", -1},
  };
  for (const Playback& c : cases) {
    GpsTrack track;
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    const HeadlessSummary summary =
        playHeadless(fixture(c.recording).c_str(), trackLoaderInto(track), out);
    std::fclose(out);
    EXPECT_EQ(summary.result, c.result) << c.recording;
    const bool withFixes = std::string(c.recording) != "gopro-not-gpmf.MP4";
    EXPECT_EQ(track.snapshot()->fixes.size() > 0, withFixes) << c.recording;
  }
}

// ExifTool, an independent reader, finds the same positions: every one it
// prints is one of ours, and where it prints every fix, as many.
TEST(EmbeddedTrack, ExiftoolReadsTheSamePositions) {
  const struct {
    const char* recording;
    bool everyFix;  // false: ExifTool shows one fix per GPMF sample
  } cases[] = {{"novatek.MP4", true},
               {"gopro.MP4", false},
               {"garmin.MP4", true},
               {"blackvue.MP4", true},
               {"nmea.MOV", true}};
  for (const auto& [recording, everyFix] : cases) {
    const std::vector<ExpectedFix> ours = expectedFixes(recording);
    const Lines theirs =
        linesOf(output("exiftool -ee -n -p '$GPSLatitude $GPSLongitude' " +
                       testsupport::shellQuoted(fixture(recording)) + " 2>/dev/null"));
    ASSERT_FALSE(theirs.empty()) << recording;
    for (const std::string& line : theirs) {
      double latitude = 0, longitude = 0;
      ASSERT_EQ(std::sscanf(line.c_str(), "%lf %lf", &latitude, &longitude), 2) << line;
      const bool found = std::any_of(ours.begin(), ours.end(), [&](const ExpectedFix& fix) {
        return std::fabs(fix.latitude - latitude) < 1e-9 &&
               std::fabs(fix.longitude - longitude) < 1e-9;
      });
      EXPECT_TRUE(found) << recording << ": " << line;
    }
    if (everyFix) {
      EXPECT_EQ(theirs.size(), ours.size()) << recording;
    }
  }
}
