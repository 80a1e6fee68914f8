#include <gtest/gtest.h>

#include <filesystem>

#include "gps/TrackDiscovery.h"
#include "gps/TrackLoader.h"
#include "gps/TrackTestSupport.h"

using namespace vantrel;
using tracktest::TempDir;
using tracktest::writeFile;

namespace {

const char* const kFix = "$GPRMC,A,073005.000,4807.0380,N,01131.0000,E,10.00\n";
const char* const kNoFix = "$GPRMC,V,073005.000,,,,,0.00\n";

}  // namespace

TEST(SidecarCandidates, TheFileReadAlwaysThenTheStemWithEachExtension) {
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"/d/clip.mp4",
       {"/d/clip.TXT", "/d/clip.txt", "/d/clip.NMEA", "/d/clip.nmea", "/d/clip.LOG", "/d/clip.log",
        "/d/clip.GPX", "/d/clip.gpx"}},
      {"/d/x.jpeg",
       {"/d/x.jTXT", "/d/x.TXT", "/d/x.txt", "/d/x.NMEA", "/d/x.nmea", "/d/x.LOG", "/d/x.log",
        "/d/x.GPX", "/d/x.gpx"}},
      {"/d.v/clip",
       {"/d.v/cTXT", "/d.v/clip.TXT", "/d.v/clip.txt", "/d.v/clip.NMEA", "/d.v/clip.nmea",
        "/d.v/clip.LOG", "/d.v/clip.log", "/d.v/clip.GPX", "/d.v/clip.gpx"}},
  };
  for (const auto& [recording, files] : cases) {
    EXPECT_EQ(sidecarCandidates(recording), files) << recording;
  }
}

TEST(TrackDiscovery, TheFirstFileWithAFixWins) {
  struct Case {
    const char* name;
    const char* recording;
    std::vector<std::pair<const char*, const char*>> files;
    const char* chosen;  // the file read, "" for none
    size_t entries;
  };
  const Case cases[] = {
      {"TodaysRuleFirst", "clip.mp4", {{"clip.txt", kFix}, {"clip.TXT", kFix}}, "clip.TXT", 1},
      {"TodaysRuleWithoutAFix",
       "clip.mp4",
       {{"clip.TXT", kNoFix}, {"clip.txt", kFix}},
       "clip.txt",
       1},
      {"NothingWithAFixKeepsTodaysTrack",
       "clip.mp4",
       {{"clip.TXT", kNoFix}, {"clip.log", kNoFix}},
       "clip.TXT",
       1},
      {"OtherExtensionsInOrder",
       "clip.avi",
       {{"clip.log", kFix}, {"clip.LOG", kFix}},
       "clip.LOG",
       1},
      {"MovWithoutTextStreamReadsTheTxt", "drive.MOV", {{"drive.TXT", kFix}}, "drive.TXT", 1},
      {"MovWithoutAnything", "drive.MOV", {}, "drive.MOV", 0},
  };
  for (const Case& c : cases) {
    TempDir dir;
    for (const auto& [name, bytes] : c.files) writeFile(dir.file(name), bytes);
    if (std::string(c.recording).ends_with(".MOV")) {
      std::filesystem::copy_file(tracktest::fixture("notrack.MOV"), dir.file(c.recording));
    }
    const TrackLoad load = loadTrack(dir.file(c.recording));
    EXPECT_EQ(load.result, 0) << c.name << ": " << load.reason;
    EXPECT_EQ(load.track.file, dir.file(c.chosen)) << c.name;
    EXPECT_EQ(load.track.fixes.size(), c.entries) << c.name;
  }
}

// A missing sidecar keeps today's failure when no other file has a fix.
TEST(TrackDiscovery, NoTrackFileAnywhereFailsWithTodaysReason) {
  TempDir dir;
  writeFile(dir.file("clip.gpx.bak"), kFix);
  const TrackLoad load = loadTrack(dir.file("clip.mp4"));
  EXPECT_EQ(load.result, -1);
  EXPECT_NE(load.reason.find("clip.TXT"), std::string::npos) << load.reason;
}
