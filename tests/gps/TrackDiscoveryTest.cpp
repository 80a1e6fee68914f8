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
const char* const kNmea = "$GPRMC,141917.00,A,6001.3154,N,02458.6870,E,12.3,84.4,220215,,,A*5D\n";
const char* const kGpx =
    "<?xml version=\"1.0\"?><gpx version=\"1.1\"><trk><trkseg><trkpt lat=\"10\" lon=\"20\">"
    "<time>2025-02-21T07:30:05Z</time></trkpt></trkseg></trk></gpx>\n";
const char* const k70mai =
    "$V02\n1740170756,A,46.840330,29.463088,32500,777,-65,5,44,clip.mp4,0,0,0\n";

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
    const char* chosen;  // the file read
    const char* source;
    size_t entries;
  };
  const Case cases[] = {
      {"TodaysRuleFirst",
       "clip.mp4",
       {{"clip.txt", kFix}, {"clip.TXT", kFix}},
       "clip.TXT",
       "sidecar",
       1},
      {"TodaysRuleWithoutAFix",
       "clip.mp4",
       {{"clip.TXT", kNoFix}, {"clip.txt", kFix}},
       "clip.txt",
       "sidecar",
       1},
      {"NothingWithAFixKeepsTodaysTrack",
       "clip.mp4",
       {{"clip.TXT", kNoFix}, {"clip.log", kNoFix}},
       "clip.TXT",
       "sidecar",
       1},
      {"OtherExtensionsInOrder",
       "clip.avi",
       {{"clip.log", kFix}, {"clip.LOG", kFix}},
       "clip.LOG",
       "sidecar",
       1},
      {"MovWithoutTextStreamReadsTheTxt",
       "drive.MOV",
       {{"drive.TXT", kFix}},
       "drive.TXT",
       "sidecar",
       1},
      {"MovWithoutAnything", "drive.MOV", {}, "drive.MOV", "movie", 0},
      {"NmeaInTheTxt",
       "clip.mp4",
       {{"clip.TXT", kNmea}, {"clip.gpx", kGpx}},
       "clip.TXT",
       "nmea",
       1},
      {"GpxInTheTxt", "clip.mp4", {{"clip.TXT", kGpx}}, "clip.TXT", "gpx", 1},
      {"NmeaBeforeGpx",
       "clip.mp4",
       {{"clip.gpx", kGpx}, {"clip.nmea", kNmea}},
       "clip.nmea",
       "nmea",
       1},
      {"FolderLogAfterTheFilesBeside",
       "clip.mp4",
       {{"GPSData000001.txt", k70mai}},
       "GPSData000001.txt",
       "70mai",
       1},
      {"FilesBesideBeforeTheFolderLog",
       "clip.mp4",
       {{"GPSData000001.txt", k70mai}, {"clip.gpx", kGpx}},
       "clip.gpx",
       "gpx",
       1},
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
    EXPECT_STREQ(load.track.source, c.source) << c.name;
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
