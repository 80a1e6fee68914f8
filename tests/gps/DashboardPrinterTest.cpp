#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gps/DashboardPrinter.h"

using namespace vantrel;
namespace fs = std::filesystem;

namespace {

struct Printed {
  int status;
  std::vector<std::string> lines;
  std::string err;
};

std::string readAll(std::FILE* f) {
  std::rewind(f);
  std::string text;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
  std::fclose(f);
  return text;
}

Printed print(const std::string& recording, bool mph) {
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  Printed printed{printDashboard(recording, mph, out, err), {}, {}};
  std::istringstream text(readAll(out));
  for (std::string line; std::getline(text, line);) printed.lines.push_back(line);
  printed.err = readAll(err);
  return printed;
}

// A folder of its own for recordings with hand-made sidecars.
fs::path scratch(const char* name) {
  fs::path dir = fs::temp_directory_path() / ("vantrel-dashboard-" + std::to_string(getpid()));
  fs::create_directories(dir);
  return dir / name;
}

}  // namespace

TEST(DashboardPrinter, OneLinePerSecondWithTheReadoutsAfterTheTick) {
  // clip.mp4: 4 s, four sentences one second apart (speeds 0, 3.52, 7.91, 12.74).
  Printed p = print(VANTREL_FIXTURES "/clip.mp4", false);
  ASSERT_EQ(p.status, 0) << p.err;
  ASSERT_EQ(p.lines.size(), 6u);
  EXPECT_EQ(p.lines[0].rfind("entries=4 duration=4 trackStep=2 distance=", 0), 0u) << p.lines[0];
  EXPECT_EQ(p.lines[1], "0\t0\t07:30:05\t48.1173\t11.5167\t  0.00\t  0.00\t  0.00\t     0.01");
  EXPECT_EQ(p.lines[2].substr(0, 23), "1\t0\t07:30:05\t48.1173\t11");
  EXPECT_EQ(p.lines[3].substr(0, 43), "2\t2\t07:30:07\t48.1172\t11.5167\t  7.91\t  7.91\t");
  // Past the end of the track: ignored, the readouts stay as they were.
  EXPECT_EQ(p.lines[4], "3\t-" + p.lines[3].substr(3));
  EXPECT_EQ(p.lines[5], "4\t-" + p.lines[3].substr(3));
}

TEST(DashboardPrinter, MphShowsSpeedsConverted) {
  Printed p = print(VANTREL_FIXTURES "/clip.mp4", true);
  ASSERT_EQ(p.status, 0) << p.err;
  ASSERT_EQ(p.lines.size(), 6u);
  EXPECT_EQ(p.lines[3].substr(0, 43), "2\t2\t07:30:07\t48.1172\t11.5167\t  4.92\t  4.92\t");
}

TEST(DashboardPrinter, UnreadableInputEndsWithAReason) {
  Printed missing = print(VANTREL_FIXTURES "/no-such-file.mp4", false);
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(missing.lines.empty());
  EXPECT_FALSE(missing.err.empty());

  const fs::path garbage = scratch("garbage.mp4");
  fs::copy_file(VANTREL_FIXTURES "/play-garbage.mp4", garbage,
                fs::copy_options::overwrite_existing);
  std::ofstream(fs::path(garbage).replace_extension(".TXT"))
      << "$GPRMC,A,073005.000,4807.0380,N,01131.0020,E,10.00\n";
  Printed bad = print(garbage.string(), false);
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("no recording that plays"), std::string::npos) << bad.err;
}

TEST(DashboardPrinter, TrackWithoutSentencesIgnoresEveryTick) {
  const fs::path clip = scratch("empty.mp4");
  fs::copy_file(VANTREL_FIXTURES "/clip.mp4", clip, fs::copy_options::overwrite_existing);
  std::ofstream(fs::path(clip).replace_extension(".TXT")) << "\n";
  Printed p = print(clip.string(), false);
  ASSERT_EQ(p.status, 0) << p.err;
  ASSERT_EQ(p.lines.size(), 6u);
  EXPECT_EQ(p.lines[0], "entries=0 duration=4 trackStep=-1 distance=0.00");
  EXPECT_EQ(p.lines[1], "0\t-\t00:00:00\t00000000\t000000000\t000.00\t000.00\t000.00\t000000000");
}
