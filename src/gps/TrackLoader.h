#pragma once
// Loads the GPS track of a recording: first the way this player has always
// found it (a MOV file's text stream; for other names the TXT beside it,
// read as NMEA when its sentences are standard NMEA), and only when that
// gives no fix on the map, every other candidate file (TrackDiscovery.h)
// with every source of the table that recognises it. The first track with a
// fix wins; when none has one, the first way's outcome stands.
#include <atomic>
#include <cstdio>
#include <string>

#include "engine/PlaybackHost.h"
#include "gps/GpsTrack.h"
#include "gps/MovieTrack.h"
#include "gps/TrackSource.h"

namespace vantrel {

// result 0 after reading (even if nothing was found), -1 when the first
// way's file cannot be opened or probed and no other file gave a fix; reason
// then says why. quit, when given and set, ends the search and the reading.
TrackLoad loadTrack(const std::string& recording, const std::atomic<bool>* quit = nullptr);

// The engine's loader: empties track, loads the track of the player's file
// and publishes it; the result is loadTrack's.
TrackLoader trackLoaderInto(GpsTrack& track);

// For the printers: loads recording's track as a playback would; on failure
// writes "vantrel: <reason>" to err and returns false.
bool loadTrackForPrinting(const std::string& recording, TrackLoad& load, std::FILE* err);

}  // namespace vantrel
