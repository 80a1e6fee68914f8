#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "gps/GpxTrack.h"
#include "gps/TrackLoader.h"
#include "gps/TrackPrinter.h"
#include "gps/TrackTestSupport.h"

using namespace vantrel;
using tracktest::TempDir;
using tracktest::writeFile;

namespace {

using Lines = std::vector<std::string>;

Lines fixesOf(const std::string& document) {
  return tracktest::describedFixes(gpxTrackSource(), document);
}

std::string gpx(const std::string& version, const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"" + version +
         "\" xmlns=\"http://www.topografix.com/GPX/1/" + version.substr(2) +
         "\" xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v2\">" + body +
         "</gpx>\n";
}

std::string point(const char* lat, const char* lon, const std::string& inside) {
  return std::string("<trkpt lat=\"") + lat + "\" lon=\"" + lon + "\">" + inside + "</trkpt>";
}

const std::string kTime = "<time>2025-02-21T07:30:05Z</time>";

}  // namespace

TEST(GpxTrack, DocumentsToFixes) {
  struct Case {
    const char* name;
    std::string document;
    Lines fixes;
  };
  const Case cases[] = {
      {"Gpx10SpeedCourseElevation",
       gpx("1.0", "<trk><trkseg>" +
                      point("48.1173", "11.5167",
                            "<ele>520.5</ele>" + kTime + "<course>84.4</course><speed>10</speed>") +
                      "</trkseg></trk>"),
       {"07:30:05\t48.1173\t11.5167\t36.00\t48.117300\t11.516700 alt=520.5 course=84.4"}},
      {"Gpx11GarminSpeed",
       gpx("1.1", "<trk><trkseg>" +
                      point("-33.8688", "-151.2093",
                            kTime + "<extensions><gpxtpx:TrackPointExtension><gpxtpx:speed>2.5"
                                    "</gpxtpx:speed></gpxtpx:TrackPointExtension></extensions>") +
                      "</trkseg></trk>"),
       {"07:30:05\t33.8688\t151.2093\t9.00\t-33.868800\t-151.209300"}},
      {"TracksAndSegmentsJoinedWaypointsAndRoutesLeftOut",
       gpx("1.1",
           "<wpt lat=\"1\" lon=\"1\"><time>2025-02-21T07:00:00Z</time></wpt>"
           "<rte><rtept lat=\"2\" lon=\"2\"/></rte>"
           "<trk><trkseg>" +
               point("10", "20", "<time>2025-02-21T07:30:05.250+02:00</time>") +
               "</trkseg><trkseg>" + point("10.001", "20", "<time>2025-02-21T05:30:06Z</time>") +
               "</trkseg></trk><trk><trkseg>" + point("10.002", "20", "") + "</trkseg></trk>"),
       {"05:30:05\t10.0000\t20.0000\t534.33\t10.000000\t20.000000",
        "05:30:06\t10.0010\t20.0000\t534.33\t10.001000\t20.000000",
        "00:00:00\t10.0020\t20.0000\t0.00\t10.002000\t20.000000 no-time"}},
      {"OddPointsLeftOut",
       gpx("1.1", "<trk><trkseg>" + point("91", "20", kTime) + point("10", "181", kTime) +
                      "<trkpt lat=\"10\">" + kTime + "</trkpt>" + point("1e", "20", kTime) +
                      point("10", "20", kTime + "<fix>none</fix>") +
                      point("10", "20", kTime + "<speed>-3</speed><ele>high</ele>") +
                      "</trkseg></trk>"),
       {"07:30:05\t10.0000\t20.0000\t0.00\t10.000000\t20.000000"}},
      {"CutShortKeepsThePointsBefore",
       gpx("1.1", "<trk><trkseg>" + point("10", "20", kTime) + "<trkpt lat=\"11\" lo")
           .substr(0, 400),
       {"07:30:05\t10.0000\t20.0000\t0.00\t10.000000\t20.000000"}},
      {"EntityDeclarationsAreNotRead",
       "<?xml version=\"1.0\"?><!DOCTYPE gpx [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;\">]>" +
           gpx("1.1", "<trk><trkseg>" + point("10", "20", kTime) + "</trkseg></trk>").substr(38),
       {}},
      {"NotXml", "$GPRMC,141917.00,A,6001.3154,N,02458.6870,E,12.3,84.4,220215,,,A*5D\n", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(fixesOf(c.document), c.fixes) << c.name;
}

TEST(GpxTrack, Utf16Document) {
  const std::string document =
      "<?xml version=\"1.0\" encoding=\"UTF-16\"?><gpx version=\"1.1\"><trk><trkseg>" +
      point("10", "20", kTime) + "</trkseg></trk></gpx>";
  std::string utf16 = "\xFF\xFE";
  for (char c : document) utf16 += std::string{c, '\0'};
  EXPECT_EQ(fixesOf(utf16), Lines{"07:30:05\t10.0000\t20.0000\t0.00\t10.000000\t20.000000"});
  EXPECT_TRUE(gpxTrackSource().probe("ride.gpx", utf16));
}

// Generated GPX 1.0 and 1.1 drives through `vantrel --track`, found beside
// the recording.
TEST(GpxTrack, GeneratedFilesThroughTheTrackPrinter) {
  for (const char* format : {"gpx10", "gpx11"}) {
    TempDir dir;
    writeFile(dir.file("ride.gpx"), tracktest::generatedLog(std::string(format) + " 60"));
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    ASSERT_EQ(printTrack(dir.file("ride.mp4"), out, err), 0) << format;
    std::fclose(err);
    const Lines lines = tracktest::linesOf(out);
    ASSERT_EQ(lines.size(), 61u) << format;
    EXPECT_EQ(lines[0], "source=gpx file=ride.gpx entries=60");
    EXPECT_EQ(lines[1], "0\tok\t07:30:05\t48.1173\t11.5167\t0.00\t48.117300\t11.516700");
    EXPECT_NEAR(std::stod(tracktest::column(lines[31], 5)), 110, 8) << lines[31];
    EXPECT_EQ(tracktest::column(lines[60], 2), "07:31:04");
  }
}
