#pragma once
// What a track file keeps when it is cut to a clip's span, format by format:
// the byte ranges of the file to copy, in order, so everything kept stays as
// the file wrote it.
#include <cstdint>
#include <cstdio>
#include <vector>

namespace vantrel {

struct ByteRange {
  long begin = 0;
  long end = 0;
};

struct CutRequest {
  int64_t durationSeconds = 0;  // the recording's, as playback counts it
  double start = 0, end = 0;    // the span, seconds of the recording
  int64_t originUtcMs = 0;      // the track's first fix with a time: second 0
};

// Each returns how many entries (fixes to be) it kept, appending the ranges
// to kept, or -1 when the file could not be read.
using CutRanges = int (*)(std::FILE* file, const CutRequest& request, std::vector<ByteRange>& kept);

// The sentence layout: its entries spread one trackStep apart; the lines
// that cover the span.
int sentenceCutRanges(std::FILE* file, const CutRequest& request, std::vector<ByteRange>& kept);
// NMEA logs: the RMC sentences of the span and the lines that go with them
// (GGA of the same time, the g-sensor line before an RMC, satellites after).
int nmeaCutRanges(std::FILE* file, const CutRequest& request, std::vector<ByteRange>& kept);
// GPX: the file without the track points outside the span.
int gpxCutRanges(std::FILE* file, const CutRequest& request, std::vector<ByteRange>& kept);

// Adds [begin, end) to kept, joined to the last range when they touch.
void keepRange(std::vector<ByteRange>& kept, long begin, long end);

}  // namespace vantrel
