#include "library/TrackExportWriters.h"

#include <cstdio>
#include <string>

#include "library/CivilTime.h"
#include "library/TextEscape.h"

namespace vantrel {

namespace {

std::string number(const char* format, double value) {
  char text[48];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string coordinate(double degrees) {
  return number("%.7f", degrees);
}

// Whole seconds unless the point has a fraction.
std::string isoTime(int64_t ms) {
  return ms % 1000 == 0 ? formatIsoUtc(ms) : formatIsoUtcMs(ms);
}

std::string kmlCoordinates(const ExportSegment& segment) {
  std::string text;
  for (const ExportPoint& p : segment.points) {
    if (!text.empty()) text += ' ';
    text += coordinate(p.longitude) + "," + coordinate(p.latitude);
    if (p.altitude) text += "," + number("%.1f", *p.altitude);
  }
  return text;
}

// A LineString needs two points; a clip of one point is a Point.
std::string kmlGeometry(const ExportSegment& segment) {
  if (segment.points.size() == 1) {
    return "  <Point><coordinates>" + kmlCoordinates(segment) + "</coordinates></Point>";
  }
  return "  <LineString><tessellate>1</tessellate><coordinates>" + kmlCoordinates(segment) +
         "</coordinates></LineString>";
}

std::string geoJsonPosition(const ExportPoint& p) {
  std::string text = "[" + coordinate(p.longitude) + "," + coordinate(p.latitude);
  if (p.altitude) text += "," + number("%.1f", *p.altitude);
  return text + "]";
}

// A LineString needs two positions; a clip of one point is a Point.
std::string geoJsonGeometry(const ExportSegment& segment) {
  if (segment.points.size() == 1) {
    return R"({"type":"Point","coordinates":)" + geoJsonPosition(segment.points[0]) + "}";
  }
  std::string text = R"({"type":"LineString","coordinates":[)";
  for (size_t i = 0; i < segment.points.size(); ++i) {
    text += (i ? "," : "") + geoJsonPosition(segment.points[i]);
  }
  return text + "]}";
}

std::string geoJsonProperties(const ExportTrack& track, const ExportSegment& segment) {
  std::string times, speeds;
  for (size_t i = 0; i < segment.points.size(); ++i) {
    times += (i ? "," : "") + jsonQuoted(isoTime(segment.points[i].utcMs));
    speeds += (i ? "," : "") + number("%.2f", segment.points[i].speedKmh);
  }
  return "{\"name\":" + jsonQuoted(track.name) + ",\"clip\":" + jsonQuoted(segment.clip) +
         ",\"start\":" + jsonQuoted(isoTime(segment.points.front().utcMs)) +
         ",\"end\":" + jsonQuoted(isoTime(segment.points.back().utcMs)) + ",\"coordTimes\":[" +
         times + "],\"speeds_kmh\":[" + speeds + "]}";
}

}  // namespace

void writeGpx(const ExportTrack& track, std::ostream& out) {
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<gpx version=\"1.1\" creator=\"Vantrel " VANTREL_VERSION
         "\"\n"
         "     xmlns=\"http://www.topografix.com/GPX/1/1\"\n"
         "     xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v2\"\n"
         "     xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\n"
         "     xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
         "http://www.topografix.com/GPX/1/1/gpx.xsd\">\n";
  out << " <metadata><name>" << xmlEscaped(track.name) << "</name></metadata>\n";
  out << " <trk>\n  <name>" << xmlEscaped(track.name) << "</name>\n";
  for (const ExportSegment& segment : track.segments) {
    out << "  <trkseg>\n";
    for (const ExportPoint& p : segment.points) {
      out << "   <trkpt lat=\"" << coordinate(p.latitude) << "\" lon=\"" << coordinate(p.longitude)
          << "\">";
      if (p.altitude) out << "<ele>" << number("%.1f", *p.altitude) << "</ele>";
      // The extension takes metres per second.
      out << "<time>" << isoTime(p.utcMs) << "</time><extensions><gpxtpx:TrackPointExtension>"
          << "<gpxtpx:speed>" << number("%.3f", p.speedKmh / 3.6) << "</gpxtpx:speed>"
          << "</gpxtpx:TrackPointExtension></extensions></trkpt>\n";
    }
    out << "  </trkseg>\n";
  }
  out << " </trk>\n</gpx>\n";
}

void writeKml(const ExportTrack& track, std::ostream& out) {
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n"
      << " <name>" << xmlEscaped(track.name) << "</name>\n";
  for (const ExportSegment& segment : track.segments) {
    out << " <Placemark>\n  <name>" << xmlEscaped(segment.clip) << "</name>\n"
        << "  <TimeSpan><begin>" << isoTime(segment.points.front().utcMs) << "</begin><end>"
        << isoTime(segment.points.back().utcMs) << "</end></TimeSpan>\n"
        << kmlGeometry(segment) << "\n </Placemark>\n";
  }
  out << "</Document>\n</kml>\n";
}

void writeCsv(const ExportTrack& track, std::ostream& out) {
  out << "time,latitude,longitude,speed_kmh,altitude_m,clip\n";
  for (const ExportSegment& segment : track.segments) {
    const std::string clip = csvField(segment.clip);
    for (const ExportPoint& p : segment.points) {
      out << isoTime(p.utcMs) << ',' << coordinate(p.latitude) << ',' << coordinate(p.longitude)
          << ',' << number("%.2f", p.speedKmh) << ','
          << (p.altitude ? number("%.1f", *p.altitude) : "") << ',' << clip << '\n';
    }
  }
}

void writeGeoJson(const ExportTrack& track, std::ostream& out) {
  out << "{\"type\":\"FeatureCollection\",\"features\":[";
  for (size_t i = 0; i < track.segments.size(); ++i) {
    const ExportSegment& segment = track.segments[i];
    out << (i ? ",\n" : "\n") << "{\"type\":\"Feature\",\"geometry\":" << geoJsonGeometry(segment)
        << ",\"properties\":" << geoJsonProperties(track, segment) << "}";
  }
  out << "\n]}\n";
}

}  // namespace vantrel
