#include "gps/SeventyMaiTrack.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string_view>

#include "gps/TextFields.h"

namespace vantrel {

namespace {

constexpr int64_t kEpochBehindUtcMs = 8 * 3600 * 1000;
constexpr size_t kLongestLine = 4096;
constexpr int kFoldersUp = 2;

std::string lowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

bool isLogName(const std::string& name) {
  const std::string lower = lowerCase(name);
  return lower.starts_with("gpsdata") && lower.ends_with(".txt");
}

// The fix of one line naming the recording, or nothing.
std::optional<GpsFix> lineFix(std::string_view line, const std::string& recordingName) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
  const std::vector<std::string_view> f = splitFields(line);
  if (f.size() < 10 || f[1] != "A" || lowerCase(f[9]) != recordingName) return std::nullopt;
  const std::optional<int64_t> epoch = parseNumber<int64_t>(f[0]);
  const std::optional<double> latitude = parseNumber<double>(f[2]);
  const std::optional<double> longitude = parseNumber<double>(f[3]);
  const std::optional<double> speed = parseNumber<double>(f[5]);
  if (!epoch || *epoch < 0 || *epoch > int64_t{1} << 40 || !latitude || !longitude || !speed ||
      !(std::fabs(*latitude) <= 90) || !(std::fabs(*longitude) <= 180) || !(*speed >= 0) ||
      !std::isfinite(*speed) || (*latitude == 0 && *longitude == 0)) {
    return std::nullopt;
  }
  GpsFix fix;
  fix.flags = kFixUtc;
  fix.utcMs = *epoch * 1000 + kEpochBehindUtcMs;
  setFixPosition(fix, *latitude, *longitude);
  fix.speedKmh = static_cast<float>(*speed * kmhPer(SpeedUnit::CentimetresPerSecond));
  if (const std::optional<double> course = parseNumber<double>(f[4]);
      course && *course >= 0 && *course <= 36000) {
    fix.heading = static_cast<float>(*course / 100);
    fix.flags |= kFixHeading;
  }
  // Hundredths of g: at rest they add up to about 100.
  bool gsensor = true;
  for (size_t axis = 0; axis < 3; ++axis) {
    const std::optional<double> g = parseNumber<double>(f[6 + axis]);
    gsensor = gsensor && g && std::isfinite(*g);
    if (gsensor) fix.gsensor[axis] = static_cast<float>(*g / 100);
  }
  if (gsensor) fix.flags |= kFixGsensor;
  return fix;
}

class SeventyMaiTrackSource : public StreamTrackSource {
 public:
  const char* name() const override { return "70mai"; }
  TrackPlace place() const override { return TrackPlace::FolderLog; }
  unsigned timing() const override { return kTimingUtc; }
  // "$V0" at the start, or a first line "<epoch>,A," or "<epoch>,V,".
  bool probe(const std::string&, std::string_view head) const override {
    if (head.starts_with("$V0")) return true;
    const std::vector<std::string_view> f = splitFields(head.substr(0, head.find('\n')));
    return f.size() >= 10 && parseNumber<int64_t>(f[0]) && (f[1] == "A" || f[1] == "V");
  }
  std::vector<std::string> folderLogs(const std::string& recording) const override;
  int read(std::FILE* file, const TrackRequest& request, Track& track) const override;
};

std::vector<std::string> SeventyMaiTrackSource::folderLogs(const std::string& recording) const {
  namespace fs = std::filesystem;
  std::vector<std::string> logs;
  std::error_code error;
  fs::path folder = fs::absolute(fs::path(recording), error).parent_path().lexically_normal();
  for (int up = 0; !error && up <= kFoldersUp; ++up) {
    std::vector<std::string> here;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      if (isLogName(it->path().filename().string())) here.push_back(it->path().string());
    }
    error.clear();  // an unreadable folder has no logs; the one above may
    std::sort(here.begin(), here.end());
    logs.insert(logs.end(), here.begin(), here.end());
    if (folder == folder.parent_path()) break;  // the root
    folder = folder.parent_path();
  }
  return logs;
}

int SeventyMaiTrackSource::read(std::FILE* file, const TrackRequest& request, Track& track) const {
  const std::string recordingName = lowerCase(baseName(request.recording));
  auto take = [&](std::string_view line) {
    std::optional<GpsFix> fix = lineFix(line, recordingName);
    // The camera repeats a second's line with new g-sensor values only.
    if (fix && (track.fixes.empty() || track.fixes.back().utcMs != fix->utcMs)) {
      track.fixes.push_back(*fix);
    }
  };
  std::string line;
  bool overlong = false;  // the line passed kLongestLine: skipped to its end
  const bool read = readChunks(file, request, [&](std::string_view bytes) {
    for (char c : bytes) {
      if (c == '\n') {
        if (!overlong) take(line);
        line.clear();
        overlong = false;
      } else if (line.size() == kLongestLine) {
        overlong = true;
      } else {
        line.push_back(c);
      }
    }
    return true;
  });
  if (!read) return -1;
  if (!overlong) take(line);
  track.recordedUnit = SpeedUnit::CentimetresPerSecond;
  return 0;
}

}  // namespace

const StreamTrackSource& seventyMaiTrackSource() {
  static const SeventyMaiTrackSource source;
  return source;
}

}  // namespace vantrel
