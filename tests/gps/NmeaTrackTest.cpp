#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "gps/NmeaSentences.h"
#include "gps/NmeaTrack.h"
#include "gps/TrackLoader.h"
#include "gps/TrackPrinter.h"
#include "gps/TrackTestSupport.h"

using namespace vantrel;
using tracktest::TempDir;
using tracktest::writeFile;

namespace {

using Lines = std::vector<std::string>;

// Every sentence the splitter passes on, "!" in front of checksummed ones;
// bytes arrive in pieces of `piece` to cross every boundary.
Lines sentencesOf(const std::string& bytes, size_t piece = 3) {
  Lines lines;
  NmeaSentences sentences([&](std::string_view s, bool checked) {
    lines.push_back(std::string(checked ? "!" : "").append(s));
  });
  for (size_t at = 0; at < bytes.size(); at += piece) {
    sentences.feed(std::string_view(bytes).substr(at, piece));
  }
  sentences.finish();
  return lines;
}

std::string utf16(const std::string& text, bool littleEndian) {
  std::string out = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
  for (char c : text) {
    out += littleEndian ? std::string{c, '\0'} : std::string{'\0', c};
  }
  return out;
}

Lines fixesOf(const std::string& bytes) {
  return tracktest::describedFixes(nmeaTrackSource(), bytes);
}

const std::string kRmc = "$GPRMC,141917.00,A,6001.3154,N,02458.6870,E,12.3,84.4,220215,,,A*5D";
const std::string kRmcPlace = "14:19:17\t60.0219\t24.9781\t22.78\t60.021923\t24.978117";
const std::string kRmcFix = kRmcPlace + " course=84.4";
const std::string kGga = "$GPGGA,141917.00,6001.3154,N,02458.6870,E,1,08,0.9,45.3,M,19.1,M,,*5B";

}  // namespace

TEST(NmeaSentences, CutsTheStreamAsLoggersWriteIt) {
  const std::string longBody = "$GPTXT," + std::string(kMaxNmeaLine - 7, 'x');
  const std::pair<std::string, Lines> cases[] = {
      {"$A,1\r\n$B,2\r\n", {"$A,1", "$B,2"}},
      {"$A,1\r$B,2\n\n\n$C,3", {"$A,1", "$B,2", "$C,3"}},
      {"$A,1*5C$B,2*5C", {"!$A,1", "!$B,2"}},                      // glued, with checksums
      {"$A,1*5c  \r\n$A,1*5D\r\n$A,1*5\r\n$A,1*zz\n", {"!$A,1"}},  // case, blanks, bad ones
      {std::string("$A,\0\0\01\n$B,2", 12), {"$A,", "$B,2"}},      // NUL ends a line
      {"[1740170756]$A,1\nnoise\n", {"$A,1"}},                     // text before '$'
      {"\xEF\xBB\xBF$A,1\n", {"$A,1"}},
      {utf16("$A,1\r\n$B,\xC3\n", true), {"$A,1", "$B,?"}},
      {utf16("$A,1\r\n$B,2", false), {"$A,1", "$B,2"}},
      {longBody + "\n$B,2\n", {longBody, "$B,2"}},  // 4 KiB is kept
      {longBody + "x\n$B,2\n", {"$B,2"}},           // longer is skipped
      {"", {}},
  };
  for (const auto& [bytes, lines] : cases) {
    EXPECT_EQ(sentencesOf(bytes), lines) << testing::PrintToString(bytes);
    EXPECT_EQ(sentencesOf(bytes, bytes.size() + 1), lines) << testing::PrintToString(bytes);
  }
}

TEST(NmeaTrack, LinesToFixes) {
  struct Case {
    const char* name;
    std::string bytes;
    Lines fixes;
  };
  const Case cases[] = {
      {"Rmc", kRmc + "\r\n", {kRmcFix}},
      {"GgaAfterRmc", kRmc + "\r\n" + kGga + "\r\n", {kRmcPlace + " alt=45.3 q=1 course=84.4"}},
      {"GgaBeforeRmc", kGga + "\r\n" + kRmc + "\r\n", {kRmcPlace + " alt=45.3 q=1 course=84.4"}},
      {"GgaOfAnotherTime",
       kGga + "\n" +
           "$GPRMC,141918.00,A,6001.3154,N,02458.6870,E,12.3,,"
           "220215,,,A\n",
       {"14:19:18\t60.0219\t24.9781\t22.78\t60.021923\t24.978117"}},
      {"GsensorGoesToTheNextFix",
       "$GSENSORD,0.012,-0.034,0.998\n" + kRmc + "\n" + kRmc + "\n",
       {kRmcFix + " g=0.012/-0.034/0.998"}},
      {"AnyTalkerAndNmea411Fields",
       "$GNRMC,141918.00,A,6001.3160,N,02458.6890,E,12.5,84.4,220215,,,A,V*39\n"
       "$GLRMC,235959.50,A,3352.1280,S,15112.5580,W,0.0,,311299,,,D*61\n",
       {"14:19:18\t60.0219\t24.9781\t23.15\t60.021933\t24.978150 course=84.4",
        "23:59:59\t33.8688\t151.2093\t0.00\t-33.868800\t-151.209300"}},
      {"VoidStatusAndBadChecksumSkipped",
       "$GPRMC,141919.00,V,,,,,,,220215,,,N*7E\n" + kRmc.substr(0, kRmc.size() - 1) + "E\n",
       {}},
      {"SameTimeFromTwoTalkersOnce",
       kRmc + "\n" +
           "$GNRMC,141917.00,A,6001.3154,N,02458.6870,E,"
           "12.3,84.4,220215,,,A\n",
       {kRmcFix}},
      {"GluedWithoutLineBreaks",
       kRmc + kGga +
           "$GPRMC,141918.00,A,6001.3154,N,02458.6870,E,0,,"
           "220215\n",
       {kRmcPlace + " alt=45.3 q=1 course=84.4",
        "14:19:18\t60.0219\t24.9781\t0.00\t60.021923\t24.978117"}},
      {"OddFieldsSkipped",
       "$GPRMC,141917.00,A,6061.3154,N,02458.6870,E,1,,220215\n"      // 61 minutes
       "$GPRMC,141917.00,A,6001.3154,X,02458.6870,E,1,,220215\n"      // no hemisphere
       "$GPRMC,141917.00,A,6001.3154,N,02458.6870,E,1,,310215\n"      // 31 February
       "$GPRMC,141917.00,A,6001.3154,N,02458.6870,E,-1,,220215\n"     // negative speed
       "$GPRMC,141917.00,A,6001.3154,N,02458.6870,E,1e999,,220215\n"  // no finite speed
       "$GPRMC,141917.00,A,6001.3154,N,18100.0000,E,1,,220215\n"      // beyond 180°
       "$GPRMC,141917.00,A,6001.3154,N,02458.6870,E,1\n",             // no date
       {}},
      {"EmptySpeedWorkedOutFromThePositions",
       "$GPRMC,000000.00,A,4800.0000,N,01130.0000,E,,,010125\n"
       "$GPRMC,000010.00,A,4800.1000,N,01130.0000,E,,,010125\n",
       {"00:00:00\t48.0000\t11.5000\t66.79\t48.000000\t11.500000",
        "00:00:10\t48.0016\t11.5000\t66.79\t48.001667\t11.500000"}},
  };
  for (const Case& c : cases) EXPECT_EQ(fixesOf(c.bytes), c.fixes) << c.name;
}

TEST(NmeaTrack, Utf16LogWithAByteOrderMark) {
  EXPECT_EQ(fixesOf(utf16(kRmc + "\r\n", true)), Lines{kRmcFix});
  EXPECT_EQ(fixesOf(utf16(kRmc + "\r\n", false)), Lines{kRmcFix});
}

TEST(ClassifyTrackText, StandardNmeaOrTheSentenceLayout) {
  const std::pair<std::string, TrackText> cases[] = {
      {kRmc + "\n", TrackText::Nmea},
      {"$GPRMC,141917.00,V,,,,,,,220215,,,N\n", TrackText::Nmea},
      {"$GSENSORD,0.1,0.2,0.9\n$GPGSV,3,1,12*78\n" + kRmc, TrackText::Nmea},
      {"$GPGGA,1,2*55\n", TrackText::Nmea},  // no RMC, but checksummed NMEA
      {"$GPRMC,A,073005.000,4807.0380,N,01131.0000,E,10.00\n", TrackText::Sentences},
      {"$GPRMC,A,073005.000,4807.0380,N*75\n" + kRmc, TrackText::Sentences},  // the first decides
      {"A,220215,111914.000,+5822.4130,N,+02432.4361,E,4.922;\n", TrackText::Other},
      {utf16(kRmc, true), TrackText::Nmea},
      {"<?xml version=\"1.0\"?><gpx/>", TrackText::Other},
      {"", TrackText::Other},
  };
  for (const auto& [head, kind] : cases) {
    EXPECT_EQ(classifyTrackText(head), kind) << head;
  }
}

// A generated dashcam log (g-sensor, RMC, GGA, GSV each second) through
// `vantrel --track`, found beside the recording by its name; the TXT that
// has always been read beside an MP4 is read as NMEA for its content.
TEST(NmeaTrack, GeneratedLogThroughTheTrackPrinter) {
  const std::pair<const char*, const char*> cases[] = {
      {"FILE0001.MOV", "FILE0001.NMEA"},
      {"FILE0001.mp4", "FILE0001.TXT"},
  };
  for (const auto& [recording, name] : cases) {
    TempDir dir;
    writeFile(dir.file(name), tracktest::generatedLog("nmea 60"));
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    ASSERT_EQ(printTrack(dir.file(recording), out, err), 0) << name;
    const Lines lines = tracktest::linesOf(out);
    std::fclose(err);
    ASSERT_EQ(lines.size(), 61u) << name;
    EXPECT_EQ(lines[0], std::string("source=nmea file=") + name + " entries=60");
    EXPECT_EQ(lines[1], "0\tok\t07:30:05\t48.1173\t11.5167\t0.00\t48.117300\t11.516700");
    // Second 30 cruises near 110 km/h: the knots were turned into km/h.
    EXPECT_NEAR(std::stod(tracktest::column(lines[31], 5)), 110, 8) << lines[31];
    EXPECT_EQ(tracktest::column(lines[60], 2), "07:31:04");
  }
}
