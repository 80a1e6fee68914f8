#include "gps/SampleEntries.h"

#include <algorithm>
#include <optional>

#include "gps/BoxReader.h"
#include "gps/ByteOrder.h"

namespace vantrel {

namespace {

// The four bytes at offset into box's payload, when the payload holds them.
uint32_t typeAt(MediaBytes& bytes, const std::optional<Box>& box, uint64_t offset) {
  uint8_t type[4];
  if (!box || box->payloadSize() < offset + 4 || bytes.readAt(box->payload() + offset, type) != 4) {
    return 0;
  }
  return readBe32(type);
}

std::optional<Box> childPath(MediaBytes& bytes, std::optional<Box> box,
                             std::initializer_list<uint32_t> path) {
  for (uint32_t type : path) {
    if (!box) break;
    box = findChild(bytes, *box, type);
  }
  return box;
}

}  // namespace

std::vector<SampleEntry> sampleEntries(MediaBytes& bytes) {
  std::vector<SampleEntry> entries;
  const std::optional<Box> moov = findTopLevel(bytes, fourCC("moov"));
  if (!moov) return entries;
  BoxWalk tracks(bytes, *moov);
  while (std::optional<Box> trak = tracks.next()) {
    if (trak->type != fourCC("trak")) continue;
    const std::optional<Box> mdia = findChild(bytes, *trak, fourCC("mdia"));
    SampleEntry entry;
    // hdlr: version and flags, a pre-defined word, then the handler type.
    entry.handler = typeAt(bytes, childPath(bytes, mdia, {fourCC("hdlr")}), 8);
    // stsd: version and flags, the entry count, then the first entry's size and type.
    entry.format =
        typeAt(bytes, childPath(bytes, mdia, {fourCC("minf"), fourCC("stbl"), fourCC("stsd")}), 12);
    entries.push_back(entry);
  }
  return entries;
}

bool hasSampleEntry(MediaBytes& bytes, uint32_t format) {
  const std::vector<SampleEntry> entries = sampleEntries(bytes);
  return std::any_of(entries.begin(), entries.end(),
                     [format](const SampleEntry& entry) { return entry.format == format; });
}

bool hasTextTrack(MediaBytes& bytes) {
  static constexpr uint32_t kTextHandlers[] = {fourCC("sbtl"), fourCC("text"), fourCC("subt")};
  const std::vector<SampleEntry> entries = sampleEntries(bytes);
  return std::any_of(entries.begin(), entries.end(), [](const SampleEntry& entry) {
    return std::find(std::begin(kTextHandlers), std::end(kTextHandlers), entry.handler) !=
           std::end(kTextHandlers);
  });
}

}  // namespace vantrel
