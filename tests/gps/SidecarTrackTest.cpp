#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "gps/SidecarTrack.h"
#include "gps/TrackLoader.h"
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
  std::vector<std::string> entries;
  int streamIndex;
  int fromMovie;
  std::string reason;
};

Loaded load(const std::string& recording) {
  PlayerState state;
  state.setFileName(recording);
  playerStateInit(state);
  Loaded loaded;
  loaded.result = loadGpsTrack(state, &loaded.reason);
  loaded.entries = state.gpsTrack.snapshot();
  loaded.streamIndex = state.gpsStreamIndex;
  loaded.fromMovie = state.gpsFromMovie;
  return loaded;
}

using List = std::vector<std::string>;

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
    List entries;
  };
  const Case cases[] = {
      {"EmptyThirdLine", "l1\nl2\nl3\n\nl5\nl6\n", {"l1", "l2", "l3"}},
      {"NoFinalLineFeed", "l1\nl2", {"l1", "l2"}},
      {"CrLf", "l1\r\nl2\r\n", {"l1", "l2"}},
      {"LongLineCut", std::string(300, 's') + "\nnext\n", {std::string(254, 's'), "next"}},
      {"FirstLineEmpty", "\nl2\n", {}},
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

TEST(LoadSidecarTrack, MixedCaseMovNameReadsTheSidecarNotTheTextStream) {
  TempDir dir;
  std::filesystem::copy_file(tracktest::fixture("clip.MOV"), dir.file("clip.Mov"));
  writeFile(dir.file("clip.TXT"), "from the sidecar\n");
  Loaded loaded = load(dir.file("clip.Mov"));
  EXPECT_EQ(loaded.result, 0);
  EXPECT_EQ(loaded.entries, List{"from the sidecar"});
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
