// libFuzzer target: the input is a sidecar track file. It is read the way the
// loader reads it, and every sentence it gives (and the raw input, unbounded
// and with any bytes) goes through the split, the tokens, the readouts and
// the map coordinates, as the dashboard and the track printer use them.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "gps/GpsFields.h"
#include "gps/GpsSentence.h"
#include "gps/GpsTokens.h"
#include "gps/SidecarTrack.h"
#include "gps/TrackPrinter.h"

namespace {

void parseSentence(std::string_view sentence) {
  vantrel::GpsFields fields;
  vantrel::splitGpsSentence(sentence, fields);
  vantrel::GpsTokens tokens;
  vantrel::tokenizeGpsSentence(sentence, tokens);
  vantrel::formatTrackEntry(0, std::string(sentence));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<char> bytes(data, data + size);
  parseSentence(std::string_view(bytes.data(), bytes.size()));
  parseSentence(vantrel::sentenceFromBytes(bytes.data(), bytes.size()));

  std::FILE* file = fmemopen(bytes.data(), bytes.size(), "rb");
  if (!file) return 0;
  std::vector<std::string> entries;
  vantrel::readSidecarTrack(file, entries);
  std::fclose(file);
  for (const std::string& sentence : entries) parseSentence(sentence);
  return 0;
}
