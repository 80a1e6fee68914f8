// libFuzzer target: the input is a track file. Every source of the table that
// reads byte streams probes and reads it, and every fix it gives goes through
// the readouts, the route and the dashboard's timeline, as the dashboard and
// the track printer use them. The raw input (unbounded, any bytes) also goes
// through the sentence layout's split, tokens and conversion.
// VANTREL_FUZZ_SOURCE=<name> limits the sources to one, so that a run spends
// its time on that parser.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "gps/DashboardRoute.h"
#include "gps/GpsFields.h"
#include "gps/GpsSentence.h"
#include "gps/GpsTokens.h"
#include "gps/SentenceTrack.h"
#include "gps/TrackPrinter.h"
#include "gps/TrackSources.h"
#include "gps/TrackTimeline.h"

namespace {

void parseSentence(std::string_view sentence) {
  vantrel::GpsFields fields;
  vantrel::splitGpsSentence(sentence, fields);
  vantrel::GpsTokens tokens;
  vantrel::tokenizeGpsSentence(sentence, tokens);
  vantrel::formatTrackEntry(0, vantrel::sentenceFix(sentence));
  vantrel::sentenceRoutePosition(sentence, 0);
}

void useTrack(const vantrel::Track& track) {
  vantrel::trackHeader(track);
  for (size_t i = 0; i < track.fixes.size(); ++i) vantrel::formatTrackEntry(i, track.fixes[i]);
  vantrel::routePoints(track);
  const vantrel::TrackTimeline timeline(track);
  if (!timeline.stepped()) timeline.fixAt(1000);
}

bool selected(const vantrel::TrackSource& source) {
  const char* only = std::getenv("VANTREL_FUZZ_SOURCE");
  return !only || std::strcmp(only, source.name()) == 0;
}

// The recording the folder logs are asked about.
const char* const kRecording = "/card/Normal/NO20250222-064554-000000F.MP4";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<char> bytes(data, data + size);
  const std::string_view input(bytes.data(), bytes.size());
  parseSentence(input);
  parseSentence(vantrel::sentenceFromBytes(bytes.data(), bytes.size()));

  const std::string head(input.substr(0, vantrel::kProbeBytes));
  for (const vantrel::TrackSource* source : vantrel::trackSources()) {
    const auto* stream = dynamic_cast<const vantrel::StreamTrackSource*>(source);
    if (!stream || !selected(*stream)) continue;
    stream->probe("/card/track.TXT", head);
    std::FILE* file = fmemopen(bytes.data(), bytes.size(), "rb");
    if (!file) continue;
    vantrel::Track track;
    stream->read(file, {kRecording, "/card/track.TXT", nullptr}, track);
    std::fclose(file);
    track.timing = stream->timing();
    useTrack(track);
  }
  return 0;
}
