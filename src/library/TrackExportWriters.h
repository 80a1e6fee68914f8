#pragma once
// The four export formats, each written from the same track.
#include <ostream>

#include "library/TrackExport.h"

namespace vantrel {

void writeGpx(const ExportTrack& track, std::ostream& out);
void writeKml(const ExportTrack& track, std::ostream& out);
void writeCsv(const ExportTrack& track, std::ostream& out);
void writeGeoJson(const ExportTrack& track, std::ostream& out);

}  // namespace vantrel
