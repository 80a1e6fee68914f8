// libFuzzer target: the input is a recording or one record of an embedded
// track layout. The box reader walks it to a few levels and reads its sample
// descriptions; the Novatek and BlackVue sources read it as a whole
// recording (index, blocks, or the search of a cut file; the free box); the
// record decoders (Novatek block, GPMF payload, Garmin PNDM sample, BlackVue
// lines and g-sensor records, NMEA text sample) each decode it. Every fix
// goes through the printer and the timeline, as the player uses them.
// VANTREL_FUZZ_DECODER=box|novatek|gpmf|pndm|blackvue|nmea-stream limits a
// run to one of them.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "gps/BlackVueTrack.h"
#include "gps/BoxReader.h"
#include "gps/DashboardRoute.h"
#include "gps/GarminTrack.h"
#include "gps/GpmfDecoder.h"
#include "gps/NmeaFixes.h"
#include "gps/NmeaSentences.h"
#include "gps/NmeaStreamTrack.h"
#include "gps/NovatekTrack.h"
#include "gps/SampleEntries.h"
#include "gps/TrackPrinter.h"
#include "gps/TrackTimeline.h"

namespace {

using namespace vantrel;

bool selected(const char* decoder) {
  const char* only = std::getenv("VANTREL_FUZZ_DECODER");
  return !only || std::strcmp(only, decoder) == 0;
}

void useTrack(Track& track, unsigned timing) {
  track.timing = timing;
  trackHeader(track);
  for (size_t i = 0; i < track.fixes.size(); ++i) formatTrackEntry(i, track.fixes[i]);
  routePoints(track);
  const TrackTimeline timeline(track);
  if (!timeline.stepped()) timeline.fixAt(1000);
}

void walkBoxes(MediaBytes& bytes, uint64_t begin, uint64_t end, int depth) {
  BoxWalk walk(bytes, begin, end);
  while (std::optional<Box> box = walk.next()) {
    if (depth < 4) walkBoxes(bytes, box->payload(), box->end(), depth + 1);
  }
}

void fuzzBoxes(std::span<const uint8_t> input) {
  MemoryBytes bytes(input);
  walkBoxes(bytes, 0, bytes.size(), 0);
  sampleEntries(bytes);
  hasTextTrack(bytes);
}

void fuzzNovatek(std::span<const uint8_t> input) {
  GpsFix fix;
  decodeNovatekBlock(input, fix);
  MemoryBytes bytes(input);
  Track track;
  novatekTrackSource().read(bytes, TrackRequest(), track);
  useTrack(track, novatekTrackSource().timing());
}

void fuzzGpmf(std::span<const uint8_t> input) {
  Track track;
  decodeGpmfPayload(input, 0, 1000, track.fixes);
  useTrack(track, kTimingOffset | kTimingUtc);
}

void fuzzPndm(std::span<const uint8_t> input) {
  Track track;
  GpsFix fix;
  if (decodePndmSample(input, fix)) track.fixes.push_back(fix);
  useTrack(track, kTimingOffset);
}

void fuzzBlackVue(std::span<const uint8_t> input) {
  Track track;
  readBlackVueGps(std::string_view(reinterpret_cast<const char*>(input.data()), input.size()),
                  track.fixes);
  attachGsensor(readBlackVueGsensor(input), track.fixes);
  useTrack(track, blackVueTrackSource().timing());
  MemoryBytes bytes(input);
  Track inBoxes;
  blackVueTrackSource().read(bytes, TrackRequest(), inBoxes);
  useTrack(inBoxes, blackVueTrackSource().timing());
}

void fuzzNmeaStream(std::span<const uint8_t> input) {
  Track track;
  NmeaFixes fixes(track.fixes);
  NmeaSentences sentences([&fixes](std::string_view sentence, bool) { fixes.take(sentence); });
  sentences.feed(nmeaOfTextSample(input));
  sentences.finish();
  useTrack(track, nmeaStreamTrackSource().timing());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of its own, so reading past the input is caught.
  const std::vector<uint8_t> bytes(data, data + size);
  const std::span<const uint8_t> input(bytes);
  if (selected("box")) fuzzBoxes(input);
  if (selected("novatek")) fuzzNovatek(input);
  if (selected("gpmf")) fuzzGpmf(input);
  if (selected("pndm")) fuzzPndm(input);
  if (selected("blackvue")) fuzzBlackVue(input);
  if (selected("nmea-stream")) fuzzNmeaStream(input);
  return 0;
}
