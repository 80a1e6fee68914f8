// GPX files cut to a span: the file as it stands without the track points
// whose time lies outside it (and the blanks before them). Tracks, segments,
// waypoints and everything else stay.
#include <expat.h>

#include <optional>
#include <string>
#include <string_view>

#include "gps/TrackCutRanges.h"
#include "gps/UtcTime.h"

namespace vantrel {

namespace {

std::string_view localName(const XML_Char* name) {
  std::string_view text(name);
  const size_t colon = text.rfind(':');
  return colon == std::string_view::npos ? text : text.substr(colon + 1);
}

struct Point {
  long begin = 0, end = 0;  // the element's bytes
  std::optional<int64_t> utc;
};

// Finds each <trkpt> element's bytes and its <time>.
class PointFinder {
 public:
  explicit PointFinder(XML_Parser parser) : parser_(parser) {}
  std::vector<Point> points;
  bool refused = false;

  // GPX needs no entity declarations; a file that declares any (the way to
  // blow a document up a billionfold) is not cut, as it is not read.
  void refuse() {
    refused = true;
    XML_StopParser(parser_, XML_FALSE);
  }

  void start(const XML_Char* name) {
    const std::string_view local = localName(name);
    if (local == "trkpt" && !inPoint_) {
      inPoint_ = true;
      points.push_back({static_cast<long>(XML_GetCurrentByteIndex(parser_)), 0, std::nullopt});
      startTagBytes_ = XML_GetCurrentByteCount(parser_);
    } else if (inPoint_ && local == "time") {
      inTime_ = true;
      time_.clear();
    }
  }
  void end(const XML_Char* name) {
    const std::string_view local = localName(name);
    if (inTime_ && local == "time") {
      inTime_ = false;
      points.back().utc = parseIsoTimeMs(time_);
    } else if (inPoint_ && local == "trkpt") {
      inPoint_ = false;
      // An empty-element tag ("<trkpt .../>") ends where it started.
      const int count = XML_GetCurrentByteCount(parser_);
      points.back().end = count == 0 ? points.back().begin + startTagBytes_
                                     : static_cast<long>(XML_GetCurrentByteIndex(parser_)) + count;
    }
  }
  void text(const XML_Char* text, int length) {
    if (inTime_ && time_.size() < 64) time_.append(text, static_cast<size_t>(length));
  }

 private:
  XML_Parser parser_;
  bool inPoint_ = false;
  bool inTime_ = false;
  int startTagBytes_ = 0;
  std::string time_;
};

bool findPoints(std::FILE* file, std::vector<Point>& points) {
  XML_Parser parser = XML_ParserCreate(nullptr);
  if (!parser) return false;
  PointFinder finder(parser);
  XML_SetUserData(parser, &finder);
  XML_SetElementHandler(
      parser,
      [](void* user, const XML_Char* name, const XML_Char**) {
        static_cast<PointFinder*>(user)->start(name);
      },
      [](void* user, const XML_Char* name) { static_cast<PointFinder*>(user)->end(name); });
  XML_SetCharacterDataHandler(parser, [](void* user, const XML_Char* text, int length) {
    static_cast<PointFinder*>(user)->text(text, length);
  });
  XML_SetEntityDeclHandler(
      parser,
      [](void* user, const XML_Char*, int, const XML_Char*, int, const XML_Char*, const XML_Char*,
         const XML_Char*, const XML_Char*) { static_cast<PointFinder*>(user)->refuse(); });
  char buffer[64 * 1024];
  bool parsed = true;
  for (size_t got; parsed && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
    parsed = XML_Parse(parser, buffer, static_cast<int>(got), XML_FALSE) == XML_STATUS_OK;
  }
  if (parsed) parsed = XML_Parse(parser, nullptr, 0, XML_TRUE) == XML_STATUS_OK;
  XML_ParserFree(parser);
  // A file that ends mid-point keeps the points read whole.
  if (!finder.points.empty() && finder.points.back().end == 0) finder.points.pop_back();
  points = std::move(finder.points);
  return !finder.refused && !std::ferror(file);
}

// Blanks just before begin (for a dropped point's own line).
long afterBlanksBefore(std::FILE* file, long begin, long floor) {
  while (begin > floor) {
    if (std::fseek(file, begin - 1, SEEK_SET) != 0) break;
    const int c = std::getc(file);
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') break;
    --begin;
  }
  return begin;
}

}  // namespace

int gpxCutRanges(std::FILE* file, const CutRequest& request, std::vector<ByteRange>& kept) {
  std::vector<Point> points;
  if (!findPoints(file, points)) return -1;
  const int64_t startMs = static_cast<int64_t>(request.start * 1000);
  const int64_t endMs = static_cast<int64_t>(request.end * 1000);
  int pointsKept = 0;
  long copied = 0;  // the file is kept up to here
  int64_t place = 0;
  for (const Point& point : points) {
    // A point without a time keeps the place of the one before it.
    if (point.utc) place = std::max<int64_t>(*point.utc - request.originUtcMs, 0);
    if (place >= startMs && place < endMs) {
      ++pointsKept;
      continue;
    }
    keepRange(kept, copied, afterBlanksBefore(file, point.begin, copied));
    copied = point.end;
  }
  if (std::fseek(file, 0, SEEK_END) != 0) return -1;
  keepRange(kept, copied, std::ftell(file));
  return pointsKept;
}

}  // namespace vantrel
