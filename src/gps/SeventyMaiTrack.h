#pragma once
// The GPS log 70mai cameras keep for the whole card (GPSData000001.txt):
// "$V02" lines between sessions, then one line a second,
//   epoch,A|V,latitude,longitude,course x 100,speed in cm/s,ax,ay,az,video,...
// naming the recording each line belongs to. Only this recording's valid
// lines are read. The camera writes the epoch 8 hours behind UTC (it takes
// UTC for China time and converts once more); the fixes carry true UTC.
#include "gps/TrackSource.h"

namespace vantrel {

// Its folder logs: GPSData*.txt (any case) in the recording's folder, then
// in the two folders above it (the camera writes the log at the card's root
// and the recordings in folders below), each folder's logs by name.
const StreamTrackSource& seventyMaiTrackSource();

}  // namespace vantrel
