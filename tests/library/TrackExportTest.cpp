#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/TempFolder.h"
#include "library/CivilTime.h"
#include "library/LibraryRecords.h"
#include "library/TrackExport.h"
#include "support/RunCommand.h"

using namespace vantrel;
using testsupport::runCommand;
using testsupport::shellQuoted;

namespace {

// Two clips of a drive; names with XML and CSV specials and a byte that is
// no UTF-8; the second with fractions of a second and no altitude.
ExportTrack sampleTrack() {
  const int64_t start = *utcMsOf({2024, 5, 1, 7, 30, 5});
  ExportTrack track{"Drive <1> & \"more\"", {}};
  ExportSegment first{"a&b <1>.MP4", {}};
  for (int i = 0; i < 3; ++i) {
    first.points.push_back({start + i * 1000, 48.1 + i * 0.0001, 11.5 - i * 0.0002, 90.0f,
                            std::optional<float>(512.5f + i)});
  }
  ExportSegment second{"odd\xff,\"name\".MP4", {}};
  for (int i = 0; i < 2; ++i) {
    second.points.push_back(
        {start + 60'250 + i * 500, -33.8 - i * 0.0001, 151.2, 36.0f, std::nullopt});
  }
  track.segments = {first, second};
  return track;
}

struct Row {
  double latitude;
  double longitude;
  std::string time;  // "2024/05/01,07:30:05" as gpsbabel prints it, "" when not read
};

// A line without its CR.
bool nextLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

// gpsbabel's unicsv: a header naming the columns, then one row per point.
std::vector<Row> unicsvRows(const std::string& text) {
  std::istringstream lines(text);
  std::string line;
  nextLine(lines, line);
  std::vector<std::string> header;
  std::stringstream names(line);
  for (std::string name; std::getline(names, name, ',');) header.push_back(name);
  auto column = [&header](const char* name) {
    for (size_t i = 0; i < header.size(); ++i) {
      if (header[i] == name) return static_cast<int>(i);
    }
    return -1;
  };
  const int lat = column("Latitude"), lon = column("Longitude"), date = column("Date"),
            time = column("Time");
  std::vector<Row> rows;
  while (nextLine(lines, line)) {
    std::vector<std::string> fields;
    std::stringstream cells(line);
    for (std::string cell; std::getline(cells, cell, ',');) fields.push_back(cell);
    Row row{std::stod(fields.at(lat)), std::stod(fields.at(lon)), ""};
    if (date >= 0 && time >= 0) row.time = fields.at(date) + "," + fields.at(time);
    rows.push_back(row);
  }
  return rows;
}

}  // namespace

TEST(TrackExport, EveryFormatReadsBackWithGpsbabel) {
  testsupport::TempFolder folder;
  const ExportTrack track = sampleTrack();
  struct Case {
    ExportFormat format;
    const char* reader;  // gpsbabel's options for it
    bool timed;          // the reader takes the points' times
  };
  const Case cases[] = {
      {ExportFormat::Gpx, "-t -i gpx", true},
      {ExportFormat::Kml, "-t -i kml", false},
      {ExportFormat::Csv, "-i unicsv", true},
      {ExportFormat::GeoJson, "-r -i geojson", false},
  };
  for (const Case& c : cases) {
    const std::string file =
        (folder.path() / ("track" + std::string(exportExtension(c.format)))).string();
    std::string reason;
    ASSERT_TRUE(writeExportFile(track, c.format, file, reason)) << reason;
    const testsupport::CommandOutput read = runCommand(
        std::string("gpsbabel ") + c.reader + " -f " + shellQuoted(file) + " -o unicsv -F - 2>&1");
    ASSERT_EQ(read.status, 0) << file << "\n" << read.out;
    const std::vector<Row> rows = unicsvRows(read.out);
    ASSERT_EQ(rows.size(), 5u) << file << "\n" << read.out;
    size_t k = 0;
    for (const ExportSegment& segment : track.segments) {
      for (const ExportPoint& p : segment.points) {
        EXPECT_NEAR(rows[k].latitude, p.latitude, 1e-6) << file << " point " << k;
        EXPECT_NEAR(rows[k].longitude, p.longitude, 1e-6) << file << " point " << k;
        if (c.timed) {
          const CivilTime t = civilOfUtc(p.utcMs);
          char expected[32];
          std::snprintf(expected, sizeof expected, "%04d/%02d/%02d,%02d:%02d:%02d", t.year, t.month,
                        t.day, t.hour, t.minute, t.second);
          EXPECT_EQ(rows[k].time.substr(0, 19), expected) << file << " point " << k;
        }
        ++k;
      }
    }
  }
}

TEST(TrackExport, GpxCarriesElevationSpeedAndFractionsOfASecond) {
  std::ostringstream out;
  writeExport(sampleTrack(), ExportFormat::Gpx, out);
  const std::string gpx = out.str();
  EXPECT_NE(gpx.find("<ele>512.5</ele><time>2024-05-01T07:30:05Z</time>"), std::string::npos);
  // 90 km/h in metres per second.
  EXPECT_NE(gpx.find("<gpxtpx:speed>25.000</gpxtpx:speed>"), std::string::npos);
  EXPECT_NE(gpx.find("<time>2024-05-01T07:31:05.250Z</time>"), std::string::npos);
  EXPECT_NE(gpx.find("<name>Drive &lt;1&gt; &amp; &quot;more&quot;</name>"), std::string::npos);
  EXPECT_EQ(gpx.find('\xff'), std::string::npos);
}

TEST(TrackExport, GeoJsonIsJsonWithTheTimesOfItsPoints) {
  testsupport::TempFolder folder;
  const std::string file = (folder.path() / "track.geojson").string();
  std::string reason;
  ASSERT_TRUE(writeExportFile(sampleTrack(), ExportFormat::GeoJson, file, reason)) << reason;
  const testsupport::CommandOutput read = runCommand(
      "python3 -c 'import json,sys; d=json.load(open(sys.argv[1]))\n"
      "for f in d[\"features\"]: print(f[\"geometry\"][\"type\"], f[\"properties\"][\"clip\"], "
      "len(f[\"geometry\"][\"coordinates\"]), f[\"properties\"][\"coordTimes\"][-1])' " +
      shellQuoted(file));
  ASSERT_EQ(read.status, 0) << read.out;
  EXPECT_EQ(read.out,
            "LineString a&b <1>.MP4 3 2024-05-01T07:30:07Z\n"
            "LineString odd\xef\xbf\xbd,\"name\".MP4 2 2024-05-01T07:31:05.750Z\n");
}

TEST(TrackExport, AnUnwritablePlaceLeavesNothingBehind) {
  testsupport::TempFolder folder;
  folder.write("file");
  std::string reason;
  EXPECT_FALSE(writeExportFile(sampleTrack(), ExportFormat::Gpx,
                               (folder.path() / "file" / "out.gpx").string(), reason));
  EXPECT_NE(reason.find("cannot write"), std::string::npos);
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1u);
}
