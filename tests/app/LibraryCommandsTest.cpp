#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "app/ExportCommand.h"
#include "app/IndexCommand.h"
#include "app/TempFolder.h"
#include "library/LibraryFolder.h"
#include "library/LibraryRecords.h"
#include "support/RunCommand.h"

using namespace vantrel;
using testsupport::runCommand;
using testsupport::shellQuoted;
namespace fs = std::filesystem;

namespace {

// The sentence layout with the position fields at a latitude of
// 48 + thousandths / 1000 degrees, due north one thousandth a second.
std::string track(int firstThousandth, int count, const std::string& hhmm, int firstSecond,
                  const std::vector<double>& speeds) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    char line[128];
    std::snprintf(line, sizeof line,
                  "$GPRMC,A,%s%02d.000,48%07.4f,N,01131.0000,E,%.2f,0.0,010524\n", hhmm.c_str(),
                  firstSecond + i, (firstThousandth + i) * 0.06, speeds[i]);
    text += line;
  }
  return text;
}

// A drive of two clips with known tracks (eight points a thousandth of a
// degree apart, the fastest 95.5 km/h), a clip without a track half an hour
// later, and a file that is no recording.
void makeKnownDrive(const testsupport::TempFolder& folder) {
  testsupport::copyFixtures(folder, {{"clip.mp4", "20240501_073005.mp4"},
                                     {"clip.mp4", "20240501_073015.mp4"},
                                     {"clip.mp4", "20240501_080000.mp4"},
                                     {"play-garbage.mp4", "broken.mp4"}});
  folder.write("20240501_073005.TXT", track(0, 4, "0730", 5, {50, 60, 70, 80}));
  folder.write("20240501_073015.TXT", track(4, 4, "0730", 15, {90, 95.5, 60, 20}));
}

// out and err of a call, as text.
struct Printed {
  int status;
  std::string out;
  std::string err;
};

template <typename Call>
Printed capture(Call call) {
  char *outBytes = nullptr, *errBytes = nullptr;
  size_t outSize = 0, errSize = 0;
  std::FILE* out = open_memstream(&outBytes, &outSize);
  std::FILE* err = open_memstream(&errBytes, &errSize);
  const int status = call(out, err);
  std::fclose(out);
  std::fclose(err);
  Printed printed{status, std::string(outBytes, outSize), std::string(errBytes, errSize)};
  std::free(outBytes);
  std::free(errBytes);
  return printed;
}

// The lines of text without the last one's "seconds=" figure.
std::string withoutSeconds(const std::string& text) {
  const size_t at = text.rfind(" seconds=");
  return at == std::string::npos ? text : text.substr(0, at);
}

}  // namespace

TEST(LibraryCommands, IndexPrintsTheDrivesAndReusesTheIndex) {
  testsupport::ScopedTimeZone utc("UTC0");
  testsupport::TempFolder folder, cache;
  makeKnownDrive(folder);
  const std::string index = (cache.path() / "library.sqlite").string();
  // 7 steps of 0.001 degrees of latitude: 7 x 111.32 m.
  const std::string drives =
      "drive 1 start=2024-05-01T07:30:05Z end=2024-05-01T07:30:19Z clips=2 distance_km=0.78 "
      "max_kmh=95.5\n"
      "drive 2 start=2024-05-01T08:00:00Z end=2024-05-01T08:00:04Z clips=1 distance_km=0.00 "
      "max_kmh=0.0\n";
  const auto run = [&](std::FILE* out, std::FILE* err) {
    return printFolderIndex(folder.path().string(), index, out, err);
  };
  const Printed cold = capture(run);
  EXPECT_EQ(cold.status, 0);
  EXPECT_EQ(withoutSeconds(cold.out), drives + "clips=4 indexed=4");
  EXPECT_NE(cold.err.find("cannot read '" + (folder.path() / "broken.mp4").string() +
                          "': not a recording"),
            std::string::npos)
      << cold.err;
  const Printed warm = capture(run);
  EXPECT_EQ(withoutSeconds(warm.out), drives + "clips=4 indexed=0");

  const Printed missing = capture([&](std::FILE* out, std::FILE* err) {
    return printFolderIndex((folder.path() / "nowhere").string(), index, out, err);
  });
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("cannot read the folder"), std::string::npos);
}

TEST(LibraryCommands, ExportWritesOneFilePerDriveWithATrack) {
  testsupport::ScopedTimeZone utc("UTC0");
  testsupport::TempFolder folder, cache, out;
  makeKnownDrive(folder);
  const std::string index = (cache.path() / "library.sqlite").string();
  const fs::path target = out.path() / "made/here";
  const Printed printed = capture([&](std::FILE* o, std::FILE* e) {
    return runExport({folder.path().string(), ExportFormat::Gpx, target.string()}, index, o, e);
  });
  EXPECT_EQ(printed.status, 0) << printed.err;
  const fs::path gpx = target / "drive-20240501-073005.gpx";
  EXPECT_EQ(printed.out, gpx.string() + " points=8\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(target), fs::directory_iterator()), 1);
  const testsupport::CommandOutput read =
      runCommand("gpsbabel -t -i gpx -f " + shellQuoted(gpx.string()) + " -o unicsv -F - | wc -l");
  EXPECT_EQ(read.out, "9\n");  // the header and eight points

  struct Case {
    const char* what;
    ExportRequest request;
    int status;
    const char* err;
  };
  const Case cases[] = {
      {"one clip to stdout",
       {(folder.path() / "20240501_073015.mp4").string(), ExportFormat::Csv, {}},
       0,
       ""},
      {"a clip without a track",
       {(folder.path() / "20240501_080000.mp4").string(), ExportFormat::Kml, {}},
       1,
       "has no GPS track"},
      {"no recording",
       {(folder.path() / "broken.mp4").string(), ExportFormat::Gpx, {}},
       1,
       "not a recording"},
      {"an output that cannot be made",
       {folder.path().string(), ExportFormat::Gpx, (folder.path() / "broken.mp4/x").string()},
       1,
       "cannot write"},
  };
  for (const Case& c : cases) {
    const Printed result =
        capture([&](std::FILE* o, std::FILE* e) { return runExport(c.request, index, o, e); });
    EXPECT_EQ(result.status, c.status) << c.what;
    EXPECT_NE(result.err.find(c.err), std::string::npos) << c.what << ": " << result.err;
    if (c.status == 0) {
      EXPECT_NE(
          result.out.find("2024-05-01T07:30:16Z,48.0050000,11.5166667,95.50,,20240501_073015.mp4"),
          std::string::npos)
          << result.out;
    }
  }
}

TEST(LibraryCommands, TheProgramTakesBothModesFromItsOptionTable) {
  testsupport::TempFolder folder, cache;
  makeKnownDrive(folder);
  const std::string env = "TZ=UTC0 XDG_CACHE_HOME=" + shellQuoted(cache.path().string()) + " " +
                          VANTREL_BINARY_DIR "/vantrel ";
  const std::string dir = shellQuoted(folder.path().string());
  struct Case {
    std::string arguments;
    int status;
    const char* out;
  };
  const Case cases[] = {
      {"--index " + dir, 0, "drive 2 start=2024-05-01T08:00:00Z"},
      {"--index", 2, ""},
      {"--index " + dir + " extra", 2, ""},
      {"--export " + dir + " --to kml -o " + shellQuoted((cache.path() / "kml").string()), 0,
       "drive-20240501-073005.kml points=8"},
      {"--export " + dir + " --to shapefile", 2, ""},
      {"--export " + dir, 2, ""},
      {"--export " + dir + " --to gpx -o", 2, ""},
      {"--help", 0, "--export FILE|FOLDER --to gpx|kml|csv|geojson [-o OUT]"},
  };
  for (const Case& c : cases) {
    const testsupport::CommandOutput run = runCommand(env + c.arguments + " 2>/dev/null");
    EXPECT_EQ(run.status, c.status) << c.arguments;
    EXPECT_NE(run.out.find(c.out), std::string::npos) << c.arguments << "\n" << run.out;
  }
  EXPECT_TRUE(fs::exists(cache.path() / "vantrel/library.sqlite"));
}
