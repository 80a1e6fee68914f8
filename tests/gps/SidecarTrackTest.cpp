#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "gps/SentenceTrack.h"
#include "gps/SidecarTrack.h"
#include "gps/TrackLoader.h"
#include "gps/TrackPrinter.h"
#include "gps/TrackTestSupport.h"

using namespace vantrel;
using tracktest::TempDir;
using tracktest::writeFile;

namespace {

using Lines = std::vector<std::pair<int, std::string>>;

// Every readTrackLine result over bytes, up to and including the first -1.
Lines readAllLines(const std::string& bytes) {
  std::FILE* file = std::tmpfile();
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::rewind(file);
  Lines lines;
  std::string line;
  for (int result = 0; result != -1 && lines.size() < 10;) {
    result = readTrackLine(file, line);
    lines.emplace_back(result, result == -1 ? "" : line);
  }
  std::fclose(file);
  return lines;
}

struct Loaded {
  int result;
  std::vector<std::string> entries;  // each fix as the track printer shows it
  int streamIndex;
  int fromMovie;
  std::string reason;
};

// The printed fix of a sentence, to compare loaded fixes with the lines read.
std::string printed(const std::string& sentence) {
  return formatTrackEntry(0, sentenceFix(sentence));
}

Loaded load(const std::string& recording) {
  TrackLoad track = loadTrack(recording);
  Loaded loaded{track.result,
                {},
                track.track.streamIndex,
                std::string(track.track.source) == "movie",
                track.reason};
  for (const GpsFix& fix : track.track.fixes) loaded.entries.push_back(formatTrackEntry(0, fix));
  return loaded;
}

// The printed fixes of the sentences a track file holds.
std::vector<std::string> List(std::initializer_list<std::string> sentences) {
  std::vector<std::string> fixes;
  for (const std::string& s : sentences) fixes.push_back(printed(s));
  return fixes;
}

}  // namespace

TEST(ReadTrackLine, SplitsLinesAsTextModeReadsThem) {
  const std::pair<std::string, Lines> cases[] = {
      {"", {{-1, ""}}},
      {"a\nb\n", {{0, "a"}, {0, "b"}, {-1, ""}}},
      {"a\r\nb", {{0, "a"}, {0, "b"}, {-1, ""}}},
      {"a\rb\n", {{0, "a\rb"}, {-1, ""}}},
      {"a\r", {{0, "a\r"}, {-1, ""}}},
      {"a\r\r\n", {{0, "a\r"}, {-1, ""}}},
      {"\n\nx", {{1, ""}, {1, ""}, {0, "x"}, {-1, ""}}},
      {"\r\n", {{1, ""}, {-1, ""}}},
      {"  padded \t\n", {{0, "  padded \t"}, {-1, ""}}},
      {std::string("a\0b\nc", 5), {{0, "a"}, {0, "c"}, {-1, ""}}},
      {std::string("\0b\nc", 4), {{1, ""}, {0, "c"}, {-1, ""}}},
      {std::string(2000, 'x') + "\nnext", {{0, std::string(1023, 'x')}, {0, "next"}, {-1, ""}}},
  };
  for (const auto& [bytes, lines] : cases) {
    EXPECT_EQ(readAllLines(bytes), lines) << testing::PrintToString(bytes);
  }
}

TEST(SidecarPath, ReplacesTheLastThreeCharacters) {
  const std::pair<const char*, const char*> cases[] = {
      {"/rec/clip.avi", "/rec/clip.TXT"},
      {"/rec/clip.Mov", "/rec/clip.TXT"},
      {"x.jpeg", "x.jTXT"},
      {"abc", "TXT"},
      {"ab", ""},
      {"", ""},
  };
  for (const auto& [recording, sidecar] : cases) EXPECT_EQ(sidecarPath(recording), sidecar);
}

TEST(IsMovieName, OnlyAllLowerOrAllUpperMov) {
  const std::pair<const char*, bool> cases[] = {
      {"a.mov", true},  {"a.MOV", true},  {".mov", true}, {"a.Mov", false},
      {"a.mOV", false}, {"a.mp4", false}, {"mov", false}, {"a.mov.txt", false},
  };
  for (const auto& [name, movie] : cases) EXPECT_EQ(isMovieName(name), movie) << name;
}

TEST(LoadSidecarTrack, ReadsLinesUpToTheFirstEmptyOne) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> entries;
  };
  const Case cases[] = {
      {"EmptyThirdLine", "$GP,A,1\n$GP,A,2\n$GP,A,3\n\n$GP,A,5\n$GP,A,6\n",
       List({"$GP,A,1", "$GP,A,2", "$GP,A,3"})},
      {"NoFinalLineFeed", "$GP,A,1\n$GP,A,2", List({"$GP,A,1", "$GP,A,2"})},
      {"CrLf", "$GP,A,1\r\n$GP,A,2\r\n", List({"$GP,A,1", "$GP,A,2"})},
      {"LongLineCut", "$GP,A,1" + std::string(300, 's') + "\n$GP,A,2\n",
       List({"$GP,A,1", "$GP,A,2"})},
      {"FirstLineEmpty", "\n$GP,A,2\n", {}},
      {"EmptyFile", "", {}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    writeFile(dir.file("clip.TXT"), c.bytes);
    Loaded loaded = load(dir.file("clip.mp4"));
    EXPECT_EQ(loaded.result, 0) << c.name;
    EXPECT_EQ(loaded.entries, c.entries) << c.name;
    EXPECT_EQ(loaded.streamIndex, c.entries.empty() ? -1 : 255) << c.name;
    EXPECT_EQ(loaded.fromMovie, 0) << c.name;
  }
}

// The route walk reads tokens of the sentence as the track keeps it: cut to
// 254 characters, so a hemisphere letter at character 255 is not read.
TEST(LoadSidecarTrack, LongLinesAreCutBeforeTheRouteReadsThem) {
  const std::string start = "$GPRMC,A,1,4807.0380,N,";
  for (size_t zeros : {229, 230}) {
    TempDir dir;
    writeFile(dir.file("clip.TXT"), start + std::string(zeros, '0') + ",E,5\n");
    const TrackLoad load = loadTrack(dir.file("clip.mp4"));
    ASSERT_TRUE(load.track.route.has_value());
    EXPECT_EQ(load.track.route->size(), zeros == 229 ? 1u : 0u) << zeros;
  }
}

TEST(LoadSidecarTrack, MixedCaseMovNameReadsTheSidecarNotTheTextStream) {
  TempDir dir;
  std::filesystem::copy_file(tracktest::fixture("clip.MOV"), dir.file("clip.Mov"));
  writeFile(dir.file("clip.TXT"), "from the sidecar\n");
  Loaded loaded = load(dir.file("clip.Mov"));
  EXPECT_EQ(loaded.result, 0);
  EXPECT_EQ(loaded.entries, List({"from the sidecar"}));
  EXPECT_EQ(loaded.streamIndex, 255);
  EXPECT_EQ(loaded.fromMovie, 0);
}

TEST(LoadSidecarTrack, UnopenableSidecarFailsWithItsPath) {
  TempDir dir;
  std::filesystem::create_directory(dir.file("folder.TXT"));
  ASSERT_EQ(mkfifo(dir.file("fifo.TXT").c_str(), 0600), 0);  // would block a plain open
  writeFile(dir.file("locked.TXT"), "l1\n");
  std::filesystem::permissions(dir.file("locked.TXT"), std::filesystem::perms::none);
  bool root = geteuid() == 0;  // root reads the locked file anyway

  const std::pair<std::string, std::string> cases[] = {
      {"missing.mp4", "missing.TXT"},
      {"folder.avi", "folder.TXT"},
      {"fifo.mp4", "fifo.TXT"},
      {"locked.mp4", "locked.TXT"},
  };
  for (const auto& [recording, sidecar] : cases) {
    if (root && recording == "locked.mp4") continue;
    Loaded loaded = load(dir.file(recording));
    EXPECT_EQ(loaded.result, -1) << recording;
    EXPECT_TRUE(loaded.entries.empty()) << recording;
    EXPECT_EQ(loaded.streamIndex, -1) << recording;
    EXPECT_NE(loaded.reason.find(sidecar), std::string::npos) << loaded.reason;
  }
  EXPECT_EQ(load("ab").result, -1);  // too short to name a sidecar
}
