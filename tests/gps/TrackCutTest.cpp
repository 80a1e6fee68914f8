#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gps/GpxTrack.h"
#include "gps/NmeaTrack.h"
#include "gps/TrackCut.h"
#include "gps/TrackLoader.h"
#include "gps/TrackTestSupport.h"

using namespace vantrel;
using tracktest::readFile;
using tracktest::TempDir;
using tracktest::writeFile;

namespace {

struct RangeCase {
  size_t entries;
  int64_t duration;
  double start, end;
  size_t first, last;
};

TEST(TrackEntriesFor, TheEntriesPlaybackShowsForTheSpan) {
  const RangeCase cases[] = {
      // One entry a second ((10 + 5) / 10 = 1).
      {10, 10, 2.0, 5.0, 2, 5},
      {10, 10, 2.5, 4.2, 2, 5},
      {10, 10, 0.0, 60.0, 0, 10},
      {10, 10, 9.5, 10.0, 9, 10},
      {10, 10, 12.0, 15.0, 10, 10},  // past the track: nothing
      // Six entries a second.
      {60, 10, 1.0, 2.0, 6, 12},
      {60, 10, 1.1, 1.2, 6, 8},
      // A track that ends early: cut at its end.
      {4, 10, 2.0, 8.0, 2, 4},
      // Unknown length: one entry a second.
      {10, 0, 3.0, 4.0, 3, 4},
      {0, 10, 0.0, 5.0, 0, 0},
  };
  for (const RangeCase& c : cases) {
    const EntryRange range = trackEntriesFor(c.entries, c.duration, c.start, c.end);
    EXPECT_EQ(range.first, c.first) << c.entries << " " << c.start << "-" << c.end;
    EXPECT_EQ(range.last, c.last) << c.entries << " " << c.start << "-" << c.end;
  }
}

// Ten sentences, one a second for a 10 s recording, with mixed line ends;
// the empty line ends the track, so the lines after it are no entries.
std::string tenSentences() {
  std::string text;
  for (int i = 0; i < 10; ++i) {
    text += "$GPRMC,07300" + std::to_string(i) + ",A,4807.038,N,01131.000,E,10.0" +
            (i % 2 ? "\r\n" : "\n");
  }
  return text + "\nnot an entry\n";
}

std::string linesOf(const std::string& text, int from, int to) {
  size_t begin = 0;
  for (int i = 0; i < from; ++i) begin = text.find('\n', begin) + 1;
  size_t end = begin;
  for (int i = from; i < to; ++i) end = text.find('\n', end) + 1;
  return text.substr(begin, end - begin);
}

TEST(TrackFileOf, TheFileBesideTheRecordingPlaybackReads) {
  const std::optional<TrackFile> txt = trackFileOf(tracktest::fixture("numbered.mp4"));
  ASSERT_TRUE(txt.has_value());
  EXPECT_EQ(txt->file, tracktest::fixture("numbered.TXT"));
  EXPECT_EQ(txt->source, "sidecar");
  EXPECT_EQ(txt->fixes, 10u);
  // Inside the recording, or none at all: no file to cut.
  EXPECT_FALSE(trackFileOf(tracktest::fixture("numbered.MOV")).has_value());
  EXPECT_FALSE(trackFileOf(tracktest::fixture("play-aac.mp4")).has_value());
}

TEST(ClipTrackPath, NamedAsPlaybackLooksForIt) {
  const TrackFile txt{"/card/DRIVE.TXT", "sidecar", 10};
  EXPECT_EQ(clipTrackPath(txt, "/card/DRIVE.mp4", "/out/DRIVE_0m01s-0m02s.mp4"),
            "/out/DRIVE_0m01s-0m02s.TXT");
  const TrackFile nmea{"/card/DRIVE.nmea", "nmea", 10};
  EXPECT_EQ(clipTrackPath(nmea, "/card/DRIVE.MOV", "/out/DRIVE_0m01s-0m02s.MOV"),
            "/out/DRIVE_0m01s-0m02s.nmea");
}

TEST(CutTrackFile, CopiesTheSpansLinesByteForByte) {
  TempDir dir;
  const std::string text = tenSentences();
  writeFile(dir.file("drive.TXT"), text);
  const TrackFile track{dir.file("drive.TXT"), "sidecar", 10};
  const std::string target = dir.file("clip.TXT");
  std::string reason;
  ASSERT_EQ(cutTrackFile(track, 10, 2.0, 5.0, target, &reason), kTrackCutWritten) << reason;
  EXPECT_EQ(readFile(target), linesOf(text, 2, 5));
  // To the end of the track: the empty line and what follows stay behind.
  ASSERT_EQ(cutTrackFile(track, 10, 8.0, 30.0, target, &reason), kTrackCutWritten);
  EXPECT_EQ(readFile(target), linesOf(text, 8, 10));
}

TEST(CutTrackFile, NothingToCutOrAFailureLeavesNoFileAndSaysWhy) {
  TempDir dir;
  writeFile(dir.file("drive.TXT"), tenSentences());
  writeFile(dir.file("blocker"), "a file where a folder should be");
  struct Case {
    TrackFile track;
    double start;
    const char* target;
    TrackCutStatus status;
    const char* reason;
  } cases[] = {
      {{dir.file("drive.TXT"), "sidecar", 10},
       11.0,
       "clip.TXT",
       kTrackCutEmpty,
       "no track entries"},
      {{dir.file("gone.TXT"), "sidecar", 10}, 1.0, "clip.TXT", kTrackCutFailed, "cannot open"},
      {{dir.file("drive.TXT"), "sidecar", 10},
       1.0,
       "blocker/clip.TXT",
       kTrackCutFailed,
       "cannot write"},
      {{dir.file("drive.TXT"), "unknown", 10},
       1.0,
       "clip.TXT",
       kTrackCutFailed,
       "cannot cut tracks of the 'unknown' kind"},
  };
  for (const Case& c : cases) {
    writeFile(dir.file("clip.TXT"), "");  // made by the caller, as a clip's would be
    std::string reason;
    EXPECT_EQ(cutTrackFile(c.track, 10, c.start, c.start + 2, dir.file(c.target), &reason),
              c.status)
        << c.track.file;
    EXPECT_TRUE(reason.starts_with(c.reason)) << reason;
    EXPECT_FALSE(std::filesystem::exists(dir.file(c.target))) << c.track.file;
  }
}

}  // namespace

namespace {

// A generated log of `seconds` seconds, as the tests' GPS logger writes it.
std::string generatedLog(const char* format, int seconds) {
  const std::string command = std::string("python3 '") + VANTREL_SOURCE_DIR +
                              "/tests/fixtures/gps-log.py' " + format + " " +
                              std::to_string(seconds);
  std::string out;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
      out.append(buffer, got);
    pclose(pipe);
  }
  return out;
}

TrackLoad loadWith(const TrackSource& source, const std::string& file) {
  return source.load({file, file, nullptr});
}

}  // namespace

// An NMEA log keeps the seconds of the span, each with its g-sensor line
// before the RMC and its GGA and satellites after it; the cut log reads back
// as the fixes of those seconds.
TEST(CutTrackFile, NmeaKeepsTheLinesOfTheSpansSeconds) {
  TempDir dir;
  const std::string log = generatedLog("nmea", 10);  // 6 lines a second
  ASSERT_FALSE(log.empty());
  writeFile(dir.file("drive.NMEA"), log);
  const std::optional<TrackFile> track = trackFileOf(dir.file("drive.mp4"));
  ASSERT_TRUE(track.has_value());
  EXPECT_EQ(track->source, "nmea");
  EXPECT_EQ(clipTrackPath(*track, dir.file("drive.mp4"), dir.file("clip.mp4")),
            dir.file("clip.NMEA"));
  std::string reason;
  ASSERT_EQ(cutTrackFile(*track, 10, 3.0, 6.0, dir.file("clip.NMEA"), &reason), kTrackCutWritten)
      << reason;
  EXPECT_EQ(readFile(dir.file("clip.NMEA")), linesOf(log, 18, 36));
  const TrackLoad clip = loadWith(nmeaTrackSource(), dir.file("clip.NMEA"));
  ASSERT_EQ(clip.track.fixes.size(), 3u);
  EXPECT_EQ(clip.track.fixes[0].utcMs, track->originUtcMs + 3000);

  // The same log in UTF-16 (a byte-order mark, two bytes a character).
  std::string wide = "\xFF\xFE";
  for (char c : log) wide += std::string{c, '\0'};
  writeFile(dir.file("wide.NMEA"), wide);
  const TrackFile wideTrack{dir.file("wide.NMEA"), "nmea", 10, track->originUtcMs};
  ASSERT_EQ(cutTrackFile(wideTrack, 10, 3.0, 6.0, dir.file("wide-clip.NMEA"), &reason),
            kTrackCutWritten)
      << reason;
  EXPECT_EQ(loadWith(nmeaTrackSource(), dir.file("wide-clip.NMEA")).track.fixes.size(), 3u);
  EXPECT_EQ(readFile(dir.file("wide-clip.NMEA")).substr(0, 2), "\xFF\xFE");
}

// A GPX file keeps everything but the points outside the span.
TEST(CutTrackFile, GpxKeepsTheFileWithoutThePointsOutsideTheSpan) {
  TempDir dir;
  for (const char* format : {"gpx10", "gpx11"}) {
    const std::string gpx = generatedLog(format, 10);
    ASSERT_FALSE(gpx.empty());
    writeFile(dir.file("drive.gpx"), gpx);
    const std::optional<TrackFile> track = trackFileOf(dir.file("drive.mp4"));
    ASSERT_TRUE(track.has_value()) << format;
    EXPECT_EQ(track->source, "gpx");
    std::string reason;
    ASSERT_EQ(cutTrackFile(*track, 10, 2.5, 5.0, dir.file("clip.gpx"), &reason), kTrackCutWritten)
        << format << ": " << reason;
    const std::string cut = readFile(dir.file("clip.gpx"));
    const size_t firstPoint = gpx.find("<trkpt");
    EXPECT_EQ(cut.substr(0, firstPoint), gpx.substr(0, firstPoint)) << format;
    EXPECT_TRUE(cut.ends_with(gpx.substr(gpx.rfind("</trkseg>")))) << format;
    // Seconds 3 and 4 (the point of second 2 lies before 2.5).
    const TrackLoad clip = loadWith(gpxTrackSource(), dir.file("clip.gpx"));
    ASSERT_EQ(clip.track.fixes.size(), 2u) << format;
    EXPECT_EQ(clip.track.fixes[0].utcMs, track->originUtcMs + 3000) << format;
    EXPECT_EQ(cutTrackFile(*track, 10, 20, 30, dir.file("clip.gpx"), &reason), kTrackCutEmpty);
    std::filesystem::remove(dir.file("drive.gpx"));
  }
}

// Tracks kept in a recording's own boxes do not travel with a clip's
// streams: the span's fixes are written beside the clip as an NMEA log that
// reads back as the same fixes, and playback of the clip finds it.
TEST(CutTrackFile, TrackInTheRecordingsBoxesGoesBesideTheClipAsNmea) {
  TempDir dir;
  const struct {
    const char* recording;
    const char* source;
    bool gsensor;
  } cases[] = {{"novatek.MP4", "novatek", false}, {"blackvue.MP4", "blackvue", true}};
  for (const auto& c : cases) {
    const std::string recording = tracktest::fixture(c.recording);
    const std::optional<TrackFile> track = trackFileOf(recording);
    ASSERT_TRUE(track.has_value()) << c.recording;
    EXPECT_TRUE(track->inBoxes);
    EXPECT_EQ(track->source, c.source);
    const std::string clip = dir.file(std::string("clip-") + c.recording);
    const std::string clipTrack = clipTrackPath(*track, recording, clip);
    EXPECT_EQ(std::filesystem::path(clipTrack).extension(), ".NMEA");
    std::filesystem::copy_file(tracktest::fixture("play-aac.mp4"), clip);  // plays, has no track
    std::string reason;
    ASSERT_EQ(cutTrackFile(*track, 5, 2.0, 4.0, clipTrack, &reason), kTrackCutWritten)
        << c.recording << ": " << reason;

    const std::vector<GpsFix> whole = loadTrack(recording).track.fixes;
    const TrackLoad cut = loadTrack(clip);
    EXPECT_STREQ(cut.track.source, "nmea") << c.recording;
    ASSERT_EQ(cut.track.fixes.size(), 2u) << c.recording;
    for (size_t i = 0; i < 2; ++i) {
      const GpsFix& was = whole.at(i + 2);
      const GpsFix& is = cut.track.fixes[i];
      EXPECT_EQ(is.utcMs, was.utcMs) << c.recording << " " << i;
      EXPECT_NEAR(is.latitude, was.latitude, 1e-7) << c.recording << " " << i;
      EXPECT_NEAR(is.longitude, was.longitude, 1e-7) << c.recording << " " << i;
      EXPECT_NEAR(is.speedKmh, was.speedKmh, 1e-3) << c.recording << " " << i;
      EXPECT_NEAR(is.heading, was.heading, 1e-2) << c.recording << " " << i;
      EXPECT_EQ(is.has(kFixGsensor), c.gsensor) << c.recording << " " << i;
      for (int axis = 0; c.gsensor && axis < 3; ++axis) {
        EXPECT_NEAR(is.gsensor[axis], was.gsensor[axis], 1e-3) << c.recording << " " << axis;
      }
    }
  }
  // In a stream of the recording, the track goes with the clip's streams.
  EXPECT_FALSE(trackFileOf(tracktest::fixture("gopro.MP4")).has_value());
  EXPECT_FALSE(trackFileOf(tracktest::fixture("garmin.MP4")).has_value());
}
