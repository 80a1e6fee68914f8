#pragma once
// GPX 1.0 and 1.1 files: the track points of every track and segment, joined
// in file order, with their time, elevation, speed (GPX 1.0 <speed>, or a
// <speed> in the point's extensions such as Garmin's TrackPointExtension;
// metres per second either way) and course. Read with expat as a stream, so
// memory follows the number of points, not the size of the file.
#include "gps/TrackSource.h"

namespace vantrel {

const StreamTrackSource& gpxTrackSource();

}  // namespace vantrel
