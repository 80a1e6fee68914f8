#include "gps/GpxTrack.h"

#include <expat.h>

#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "gps/DerivedSpeed.h"
#include "gps/TextFields.h"
#include "gps/UtcTime.h"

namespace vantrel {

namespace {

constexpr size_t kLongestValue = 64;  // the text of <time>, <ele>, ... kept
constexpr double kKmhPerMetrePerSecond = 3.6;

// The name without its namespace prefix: "gpxtpx:speed" -> "speed".
std::string_view localName(const XML_Char* name) {
  std::string_view text(name);
  const size_t colon = text.rfind(':');
  return colon == std::string_view::npos ? text : text.substr(colon + 1);
}

// The text of an element as a number; blanks around it are allowed.
std::optional<double> number(std::string_view text) {
  const size_t start = text.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos) return std::nullopt;
  text = text.substr(start, text.find_last_not_of(" \t\r\n") + 1 - start);
  return parseNumber<double>(text);
}

// The values of a point's child elements this reader takes.
enum class Value { None, Time, Elevation, Speed, Course, Fix };

Value valueOf(std::string_view name) {
  if (name == "time") return Value::Time;
  if (name == "ele") return Value::Elevation;
  if (name == "speed") return Value::Speed;
  if (name == "course") return Value::Course;
  if (name == "fix") return Value::Fix;
  return Value::None;
}

// Builds fixes from expat's events: <trk>, <trkseg>, <trkpt> and the values
// inside a point, at any depth (extensions included).
class GpxReader {
 public:
  GpxReader(XML_Parser parser, std::vector<GpsFix>& fixes) : parser_(parser), fixes_(fixes) {}

  void start(const XML_Char* name, const XML_Char** attributes);
  void end(const XML_Char* name);
  void text(const XML_Char* text, int length);
  // Ends the parse: the file is not read on.
  void stop() { XML_StopParser(parser_, XML_FALSE); }

 private:
  void startPoint(const XML_Char** attributes);
  void takeValue();

  XML_Parser parser_;
  std::vector<GpsFix>& fixes_;
  int trackDepth_ = 0;    // open <trk> elements
  int segmentDepth_ = 0;  // open <trkseg> elements inside them
  bool inPoint_ = false;
  bool pointValid_ = false;
  GpsFix point_;
  Value value_ = Value::None;
  std::string valueText_;
};

void GpxReader::start(const XML_Char* name, const XML_Char** attributes) {
  const std::string_view local = localName(name);
  if (inPoint_) {
    value_ = valueOf(local);
    valueText_.clear();
  } else if (local == "trk") {
    ++trackDepth_;
  } else if (local == "trkseg" && trackDepth_ > 0) {
    ++segmentDepth_;
  } else if (local == "trkpt" && segmentDepth_ > 0) {
    startPoint(attributes);
  }
}

void GpxReader::startPoint(const XML_Char** attributes) {
  inPoint_ = true;
  point_ = GpsFix();
  point_.flags = kFixSpeedDerived;  // until a <speed> says otherwise
  std::optional<double> latitude, longitude;
  for (const XML_Char** a = attributes; a[0] && a[1]; a += 2) {
    if (std::strcmp(a[0], "lat") == 0) latitude = number(a[1]);
    if (std::strcmp(a[0], "lon") == 0) longitude = number(a[1]);
  }
  pointValid_ = latitude && longitude && std::fabs(*latitude) <= 90 && std::fabs(*longitude) <= 180;
  if (pointValid_) setFixPosition(point_, *latitude, *longitude);
}

void GpxReader::text(const XML_Char* text, int length) {
  if (value_ == Value::None) return;
  const size_t room = kLongestValue - std::min(kLongestValue, valueText_.size());
  valueText_.append(text, std::min(room, static_cast<size_t>(length)));
}

void GpxReader::end(const XML_Char* name) {
  const std::string_view local = localName(name);
  if (inPoint_ && local != "trkpt") {
    takeValue();
    value_ = Value::None;
    return;
  }
  if (inPoint_) {
    inPoint_ = false;
    if (pointValid_) fixes_.push_back(point_);
  } else if (local == "trkseg" && segmentDepth_ > 0) {
    --segmentDepth_;
  } else if (local == "trk" && trackDepth_ > 0) {
    --trackDepth_;
  }
}

void GpxReader::takeValue() {
  if (value_ == Value::Time) {
    if (const std::optional<int64_t> utc = parseIsoTimeMs(valueText_)) {
      point_.utcMs = *utc;
      point_.flags |= kFixUtc;
    }
    return;
  }
  if (value_ == Value::Fix) {
    // "none": the receiver had no fix at this point.
    if (valueText_ == "none") pointValid_ = false;
    return;
  }
  const std::optional<double> value = number(valueText_);
  if (!value) return;
  if (value_ == Value::Elevation) {
    point_.altitude = static_cast<float>(*value);
    point_.flags |= kFixAltitude;
  } else if (value_ == Value::Speed && *value >= 0) {
    point_.speedKmh = static_cast<float>(*value * kKmhPerMetrePerSecond);
    point_.flags &= static_cast<uint16_t>(~kFixSpeedDerived);
  } else if (value_ == Value::Course && *value >= 0 && *value <= 360) {
    point_.heading = static_cast<float>(*value);
    point_.flags |= kFixHeading;
  }
}

// GPX needs no entity declarations; a file that declares any (the way to
// blow a document up a billionfold) is not read on.
void XMLCALL refuseEntity(void* user, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                          const XML_Char*, const XML_Char*, const XML_Char*) {
  static_cast<GpxReader*>(user)->stop();
}

class GpxTrackSource : public StreamTrackSource {
 public:
  const char* name() const override { return "gpx"; }
  TrackPlace place() const override { return TrackPlace::Sidecar; }
  unsigned timing() const override { return kTimingUtc; }
  // "<gpx" near the start; NUL bytes (UTF-16) left out.
  bool probe(const std::string&, std::string_view head) const override {
    std::string text;
    for (char c : head) {
      if (c != '\0') text.push_back(c);
    }
    return text.find("<gpx") != std::string::npos;
  }
  int read(std::FILE* file, const TrackRequest& request, Track& track) const override;
};

int GpxTrackSource::read(std::FILE* file, const TrackRequest& request, Track& track) const {
  XML_Parser parser = XML_ParserCreate(nullptr);
  if (!parser) return -1;
  GpxReader reader(parser, track.fixes);
  XML_SetUserData(parser, &reader);
  XML_SetElementHandler(
      parser,
      [](void* user, const XML_Char* name, const XML_Char** attributes) {
        static_cast<GpxReader*>(user)->start(name, attributes);
      },
      [](void* user, const XML_Char* name) { static_cast<GpxReader*>(user)->end(name); });
  XML_SetCharacterDataHandler(parser, [](void* user, const XML_Char* text, int length) {
    static_cast<GpxReader*>(user)->text(text, length);
  });
  XML_SetEntityDeclHandler(parser, refuseEntity);
  // After an error (or refused entities) the points before it stay.
  bool parsing = true;
  const bool read = readChunks(file, request, [&](std::string_view bytes) {
    parsing =
        XML_Parse(parser, bytes.data(), static_cast<int>(bytes.size()), XML_FALSE) == XML_STATUS_OK;
    return parsing;
  });
  if (parsing) XML_Parse(parser, nullptr, 0, XML_TRUE);
  XML_ParserFree(parser);
  if (!read) return -1;
  deriveMissingSpeeds(track.fixes);
  track.recordedUnit = SpeedUnit::MetresPerSecond;
  return 0;
}

}  // namespace

const StreamTrackSource& gpxTrackSource() {
  static const GpxTrackSource source;
  return source;
}

}  // namespace vantrel
