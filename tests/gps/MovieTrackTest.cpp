#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "engine/PlayerState.h"
#include "gps/MovieTrack.h"
#include "gps/SentenceTracks.h"
#include "gps/TrackLoader.h"
#include "gps/TrackPrinter.h"
#include "gps/TrackTestSupport.h"

using namespace vantrel;
using tracktest::fixture;
using tracktest::TempDir;
using tracktest::writeFile;

namespace {

using List = std::vector<std::string>;

// Each fix as the track printer shows it.
List printedFixes(const Track& track) {
  List lines;
  for (size_t i = 0; i < track.fixes.size(); ++i) {
    lines.push_back(formatTrackEntry(i, track.fixes[i]));
  }
  return lines;
}

List printedSentences(const List& sentences) {
  return printedFixes(testsupport::sentenceTrack(sentences));
}

struct MovieLoad {
  explicit MovieLoad(const std::string& recording) : recording(recording) {}
  int run() {
    load = loadTrack(recording, &quit);
    reason = load.reason;
    return load.result;
  }
  List entries() const { return printedFixes(load.track); }

  std::string recording;
  std::atomic<bool> quit{false};
  TrackLoad load;
  std::string reason;
};

List sidecarEntries(const std::string& recording) {
  MovieLoad load(recording);
  EXPECT_EQ(load.run(), 0);
  return load.entries();
}

}  // namespace

// clip.MOV and clip.mp4 carry the same drive: the text stream and the sidecar
// must give the same sentences.
TEST(LoadMovieTrack, OneEntryPerTextSampleInStreamOrder) {
  MovieLoad load(fixture("clip.MOV"));
  ASSERT_EQ(load.run(), 0) << load.reason;
  List entries = load.entries();
  EXPECT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries, sidecarEntries(fixture("clip.mp4")));
  EXPECT_EQ(entries.at(0).rfind("0\tok\t07:30:05\t", 0), 0u) << entries.at(0);
  EXPECT_EQ(load.load.track.streamIndex, 2);  // video, audio, then text
  EXPECT_STREQ(load.load.track.source, "movie");
}

// odd-text.MOV: a zero byte inside sample 1, an empty filler sample for the
// gap, a 300-character sentence, and a last sample of 1 byte.
TEST(LoadMovieTrack, OddSamplesAreCutOrSkippedNotOverread) {
  MovieLoad load(fixture("odd-text.MOV"));
  ASSERT_EQ(load.run(), 0) << load.reason;
  std::string longSentence =
      "$GPRMC,A,073008.000,4807.0420,N,01131.0200,E,12.00," + std::string(254 - 51, '0');
  EXPECT_EQ(load.entries(), printedSentences({"$GPRMC,A,073005.000,4807.0380,N,01131.0000,E,10.00",
                                              "$GPRMC,A,073006.000,4807.0400,N,01131.0100,E,11.00",
                                              "", longSentence}));
  EXPECT_EQ(load.load.track.streamIndex, 1);
}

TEST(LoadMovieTrack, NoTextStreamGivesAnEmptyTrackAndNoSidecarLookup) {
  TempDir dir;
  std::filesystem::copy_file(fixture("notrack.MOV"), dir.file("drive.MOV"));
  writeFile(dir.file("drive.TXT"), "must not be read\n");
  MovieLoad load(dir.file("drive.MOV"));
  EXPECT_EQ(load.run(), 0) << load.reason;
  EXPECT_EQ(load.load.track.fixes.size(), 0u);
  EXPECT_EQ(load.load.track.streamIndex, -1);
  EXPECT_STREQ(load.load.track.source, "movie");
}

TEST(LoadMovieTrack, UnreadableFilesFailAndLeaveTheSlotEmpty) {
  TempDir dir;
  writeFile(dir.file("garbage.MOV"), std::string(4096, 'g'));
  writeFile(dir.file("empty.mov"), "");
  std::string clip = tracktest::readFile(fixture("clip.MOV"));
  writeFile(dir.file("cut.MOV"), clip.substr(0, clip.size() / 2));  // index is at the end
  std::filesystem::create_directory(dir.file("folder.MOV"));
  for (const char* name : {"garbage.MOV", "empty.mov", "cut.MOV", "folder.MOV", "missing.MOV"}) {
    MovieLoad load(dir.file(name));
    EXPECT_EQ(load.run(), -1) << name;
    EXPECT_NE(load.reason.find(name), std::string::npos) << load.reason;
    EXPECT_EQ(load.load.track.fixes.size(), 0u) << name;
    EXPECT_EQ(load.load.track.streamIndex, -1) << name;
  }
}

TEST(LoadMovieTrack, QuitEndsTheScanAndStillCloses) {
  MovieLoad load(fixture("clip.MOV"));
  load.quit = true;
  EXPECT_EQ(load.run(), 0);
  EXPECT_EQ(load.load.track.fixes.size(), 0u);
}

// A reader on another thread sees the track empty or whole, never half-filled
// (long-track.MOV spreads 300 samples over the scan).
TEST(LoadMovieTrack, ConcurrentReaderNeverSeesAHalfFilledTrack) {
  PlayerState player;
  player.setFileName(fixture("long-track.MOV"));
  GpsTrack track;
  const TrackLoader loader = trackLoaderInto(track);
  std::atomic<bool> done{false};
  std::atomic<int> partial{0};
  std::thread reader([&] {
    while (!done) {
      size_t size = track.snapshot()->fixes.size();
      if (size != 0 && size != 300) ++partial;
    }
  });
  for (int i = 0; i < 5; ++i) {
    playerStateInit(player);
    EXPECT_EQ(loader(player), 0);
  }
  done = true;
  reader.join();
  EXPECT_EQ(partial, 0);
  EXPECT_EQ(track.size(), 300u);
}
