// `vantrel --cut`, run as the user runs it: the program in a process of its
// own, its output and exit status read back.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/CutCommand.h"
#include "app/TempFolder.h"
#include "support/MediaProbe.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

TEST(ParseClipTime, SecondsOrClockTimes) {
  const std::pair<const char*, double> good[] = {
      {"75", 75},        {"75.5", 75.5},       {"0", 0},           {"1:15", 75}, {"01:15", 75},
      {"1:00:00", 3600}, {"00:01:15.5", 75.5}, {"2:59:59", 10799},
  };
  for (const auto& [text, seconds] : good) {
    ASSERT_TRUE(parseClipTime(text).has_value()) << text;
    EXPECT_DOUBLE_EQ(*parseClipTime(text), seconds) << text;
  }
  for (const char* bad : {"", "-1", "1:60", "1:2:60", "a", "1:2:3:4", "1.5:00", "75s", " 7", "1e3",
                          ":5", "5:", "nan", "inf"}) {
    EXPECT_FALSE(parseClipTime(bad).has_value()) << bad;
  }
}

struct CutRun {
  int status = -1;
  std::string out, err;
};

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string fixture(const std::string& name) {
  return std::string(VANTREL_FIXTURES) + "/" + name;
}

class CutCommand : public testing::Test {
 protected:
  // Runs `vantrel --cut args` through the shell; prefix runs first (ulimit).
  CutRun cut(const std::string& args, const std::string& prefix = "") {
    const fs::path out = dir_.path() / "stdout", err = dir_.path() / "stderr";
    const std::string command = prefix + "exec '" + VANTREL_BINARY_DIR + "/vantrel' --cut " + args +
                                " >'" + out.string() + "' 2>'" + err.string() + "'";
    CutRun run;
    const int raw = std::system(("sh -c \"" + command + "\"").c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = readAll(out);
    run.err = readAll(err);
    fs::remove(out);
    fs::remove(err);
    return run;
  }
  std::string in(const std::string& name) const { return (dir_.path() / name).string(); }
  std::vector<std::string> files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir_.path())) {
      names.push_back(fs::relative(entry.path(), dir_.path()).string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  testsupport::TempFolder dir_;
};

// Every stream kept, the clip starting at the keyframe before 00:00:03 (2 s),
// as long as the span from there.
TEST_F(CutCommand, WritesTheClipFromTheKeyframeWithEveryStream) {
  const CutRun run = cut("'" + fixture("numbered.MOV") + "' 00:00:03 7 '" + in("clip.MOV") + "'");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "clip=" + in("clip.MOV") + " start=2.000 end=7.000 streams=3\n");
  EXPECT_EQ(run.err, "");
  const testsupport::MediaProbe clip = testsupport::probeMedia(in("clip.MOV"));
  ASSERT_EQ(clip.streams.size(), 3u);
  EXPECT_EQ(clip.streams[0].codec, "h264");
  EXPECT_EQ(clip.streams[1].codec, "aac");
  EXPECT_EQ(clip.streams[2].codec, "mov_text");
  EXPECT_EQ(clip.firstPictureNumber, 60);
  EXPECT_NEAR(clip.streams[0].end - clip.streams[0].first, 5.0, 1e-3);
}

// Into a folder: the clip's own name, its track file beside it, and a
// second save of the same span numbered instead of overwritten.
TEST_F(CutCommand, IntoAFolderNamesTheClipAndCutsItsTrackFile) {
  const std::string recording = fixture("numbered.mp4");
  const CutRun first = cut("'" + recording + "' 4.5 6.5 '" + dir_.path().string() + "'");
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out,
            "clip=" + in("numbered_0m04s-0m06s.mp4") +
                " start=4.000 end=6.500 streams=2\ntrack=" + in("numbered_0m04s-0m06s.TXT") + "\n");
  const CutRun second = cut("'" + recording + "' 4.5 6.5 '" + dir_.path().string() + "'");
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_EQ(files(),
            (std::vector<std::string>{"numbered_0m04s-0m06s.TXT", "numbered_0m04s-0m06s.mp4",
                                      "numbered_0m04s-0m06s_2.TXT", "numbered_0m04s-0m06s_2.mp4"}));
  // Seconds 4 to 6.5 of a 10 s recording with one sentence a second: the
  // track file's lines 4, 5 and 6, as they stand.
  std::ifstream track(fixture("numbered.TXT"));
  std::vector<std::string> lines;
  for (std::string line; std::getline(track, line);) lines.push_back(line + "\n");
  ASSERT_GE(lines.size(), 7u);
  EXPECT_EQ(readAll(in("numbered_0m04s-0m06s.TXT")), lines[4] + lines[5] + lines[6]);
}

TEST_F(CutCommand, FailuresExitWithTheReasonAndLeaveNothing) {
  std::ofstream(in("blocker")) << "a file where a folder should be";
  std::ofstream(in("taken.MOV")) << "someone's file";
  const std::string mov = "'" + fixture("numbered.MOV") + "' ";
  struct Case {
    const char* what;
    std::string args;
    std::string prefix;
    const char* reason;
  } cases[] = {
      {"unwritable folder", mov + "1 2 '" + in("blocker/clip.MOV") + "'", "",
       "vantrel: cannot write"},
      {"existing file", mov + "1 2 '" + in("taken.MOV") + "'", "", "vantrel: '"},
      {"start past the end", mov + "11 12 '" + in("clip.MOV") + "'", "",
       "vantrel: the start lies past the end"},
      {"not a time", mov + "1:75 2 '" + in("clip.MOV") + "'", "", "vantrel: '1:75' is not a time"},
      {"not a recording", "'" + fixture("play-garbage.mp4") + "' 0 1 '" + in("clip.mp4") + "'", "",
       "vantrel: cannot read"},
      // The disk fills up half way (a file size limit of 200 kB).
      {"write fails", mov + "0 10 '" + in("clip.MOV") + "'", "trap '' XFSZ; ulimit -f 200; ",
       "vantrel: cannot write"},
  };
  for (const Case& c : cases) {
    const CutRun run = cut(c.args, c.prefix);
    EXPECT_EQ(run.status, 1) << c.what;
    EXPECT_EQ(run.out, "") << c.what;
    EXPECT_TRUE(run.err.starts_with(c.reason)) << c.what << ": " << run.err;
    EXPECT_EQ(files(), (std::vector<std::string>{"blocker", "taken.MOV"})) << c.what;
  }
  EXPECT_EQ(readAll(in("taken.MOV")), "someone's file");
  EXPECT_EQ(cut("'" + fixture("numbered.MOV") + "' 1 2").status, 2);
}

}  // namespace
}  // namespace vantrel
