#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "gps/SeventyMaiTrack.h"
#include "gps/TrackLoader.h"
#include "gps/TrackPrinter.h"
#include "gps/TrackTestSupport.h"

using namespace vantrel;
using tracktest::TempDir;
using tracktest::writeFile;

namespace {

using Lines = std::vector<std::string>;

const char* const kRecording = "/card/Normal/Front/NO20250222-064554-000000F.MP4";

Lines fixesOf(const std::string& bytes) {
  return tracktest::describedFixes(seventyMaiTrackSource(), bytes, kRecording);
}

// Lines of a real A810 log (GPSBabel's test data).
const std::string kFront =
    "1740170756,A,46.840330,29.463088,32500,777,-65,5,44,NO20250222-064554-000000F.MP4,0,0,0\n";
const std::string kFront2 =
    "1740170757,A,46.840393,29.463026,32600,888,-81,3,62,NO20250222-064554-000000F.MP4,0,0,0\n";
const std::string kFrontFix =
    "04:45:56\t46.8403\t29.4630\t27.97\t46.840330\t29.463088 course=325.0 g=-0.650/0.050/0.440";
const std::string kFront2Fix =
    "04:45:57\t46.8403\t29.4630\t31.97\t46.840393\t29.463026 course=326.0 g=-0.810/0.030/0.620";

}  // namespace

TEST(SeventyMaiTrack, OnlyTheValidLinesNamingThisRecording) {
  struct Case {
    const char* name;
    std::string bytes;
    Lines fixes;
  };
  const Case cases[] = {
      // The camera's epoch is 8 h behind UTC: 1740170756 is 04:45:56 UTC,
      // 06:45:56 on the camera's local clock (UTC+2), the recording's name.
      {"EightHoursShift", "$V02\n" + kFront + kFront2, {kFrontFix, kFront2Fix}},
      {"OtherRecordingsLeftOut",
       "$V02\n" + kFront +
           "1740170935,A,46.840837,29.478488,9500,1194,-73,-16,29,NO20250222-064853-000001F.MP4,0,"
           "0,0\n$V02\n" +
           kFront2,
       {kFrontFix, kFront2Fix}},
      {"NameMatchesInAnyCase",
       "1740170756,A,46.840330,29.463088,32500,777,-65,5,44,no20250222-064554-000000f.mp4,0,0,0\n",
       {kFrontFix}},
      {"RepeatedSecondOnce", kFront + kFront + kFront2, {kFrontFix, kFront2Fix}},
      {"VoidAndZeroPositionsLeftOut",
       "1740170755,V,46.840330,29.463088,32500,777,-65,5,44,NO20250222-064554-000000F.MP4,0,0,0\n"
       "1740170755,A,0.000000,0.000000,0,0,-65,5,44,NO20250222-064554-000000F.MP4,0,0,0\n" +
           kFront,
       {kFrontFix}},
      {"CrLfAndACutLastLine",
       "$V02\r\n" + kFront.substr(0, kFront.size() - 1) + "\r\n" + kFront2.substr(0, 40),
       {kFrontFix}},
      {"OddFieldsLeftOut",
       "17401707x6,A,46.840330,29.463088,32500,777,-65,5,44,NO20250222-064554-000000F.MP4\n"
       "1740170756,A,91,29.463088,32500,777,-65,5,44,NO20250222-064554-000000F.MP4\n"
       "1740170756,A,46.840330,29.463088,32500,-5,-65,5,44,NO20250222-064554-000000F.MP4\n"
       "1740170756,A,46.840330,29.463088,32500,777,-65,5,44\n" +
           std::string(5000, '7') + kFront,
       {}},
  };
  for (const Case& c : cases) EXPECT_EQ(fixesOf(c.bytes), c.fixes) << c.name;
}

TEST(SeventyMaiTrack, LogsOfTheFolderAndTheTwoAbove) {
  TempDir dir;
  namespace fs = std::filesystem;
  fs::create_directories(dir.file("card/Normal/Front"));
  for (const char* log :
       {"card/GPSData000002.TXT", "card/GPSData000001.txt", "card/Normal/Front/gpsdata.txt",
        "card/Normal/other.txt", "GPSData9.txt"}) {
    writeFile(dir.file(log), "$V02\n");
  }
  const TrackSource& source = seventyMaiTrackSource();
  EXPECT_EQ(source.folderLogs(dir.file("card/Normal/Front/NO1.MP4")),
            (Lines{dir.file("card/Normal/Front/gpsdata.txt"), dir.file("card/GPSData000001.txt"),
                   dir.file("card/GPSData000002.TXT")}));
  EXPECT_TRUE(source.probe("x", "$V02\n"));
  EXPECT_TRUE(source.probe("x", kFront));
  EXPECT_FALSE(source.probe("x", "$GPRMC,141917.00,A,6001.3154,N,02458.6870,E,12.3\n"));
}

// A generated card: the log at its root, the recording two folders down,
// through `vantrel --track`.
TEST(SeventyMaiTrack, GeneratedLogThroughTheTrackPrinter) {
  TempDir dir;
  std::filesystem::create_directories(dir.file("Normal/Front"));
  writeFile(dir.file("GPSData000001.txt"),
            tracktest::generatedLog("70mai 60 --name NO20250221-073005-000000F.MP4") +
                tracktest::generatedLog("70mai 5 --name NO20250221-073105-000001F.MP4"));
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  ASSERT_EQ(printTrack(dir.file("Normal/Front/NO20250221-073005-000000F.MP4"), out, err), 0);
  std::fclose(err);
  const Lines lines = tracktest::linesOf(out);
  ASSERT_EQ(lines.size(), 61u);
  EXPECT_EQ(lines[0], "source=70mai file=GPSData000001.txt entries=60");
  EXPECT_EQ(lines[1], "0\tok\t07:30:05\t48.1173\t11.5167\t0.00\t48.117300\t11.516700");
  EXPECT_NEAR(std::stod(tracktest::column(lines[31], 5)), 110, 8) << lines[31];
}
