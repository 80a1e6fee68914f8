#pragma once
// The GPS track inside a MOV file: the samples of its first text (subtitle)
// stream, each a 2-byte length prefix followed by one sentence of the
// sentence layout (SentenceTrack.h).
#include <string_view>

#include "gps/TrackSource.h"

namespace vantrel {

// A name ending in exactly ".mov" or ".MOV" (no other mix of cases).
bool isMovieName(std::string_view name);

// Reads one sentence per text sample of request.file; the track's stream
// index is the text stream's. Only `quit` cuts the scan short. -1 when the
// file cannot be opened or probed. A movie without a text stream reads as an
// empty track, and its file is not scanned; so does one whose text stream
// holds standard NMEA (NmeaStreamTrack.h reads that).
const TrackSource& movieTrackSource();

}  // namespace vantrel
