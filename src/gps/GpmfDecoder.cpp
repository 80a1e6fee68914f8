#include "gps/GpmfDecoder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "gps/BoxReader.h"
#include "gps/ByteOrder.h"
#include "gps/FixChecks.h"
#include "gps/UtcTime.h"

namespace vantrel {

namespace {

// Nesting deeper than any camera writes is taken as damage.
constexpr int kMaxDepth = 8;
constexpr int64_t kMsFrom1970To2000 = 946'684'800'000;

struct Klv {
  uint32_t key = 0;
  char type = 0;           // 0: nested KLVs
  uint8_t sampleSize = 0;  // bytes of one sample
  uint16_t repeat = 0;     // samples
  std::span<const uint8_t> data;
};

// What a stream has said about the samples that follow in it.
struct StreamProperties {
  std::vector<double> scale;
  std::string type;
  std::optional<int64_t> utc;
  std::optional<double> fixType;
};

struct Found {
  std::vector<GpsFix> gps5;
  std::vector<GpsFix> gps9;
};

// The KLV at offset and the offset after it (its data padded to 4 bytes);
// nullopt when it does not fit in bytes.
std::optional<Klv> readKlv(std::span<const uint8_t> bytes, size_t& offset) {
  if (bytes.size() - offset < 8) return std::nullopt;
  const uint8_t* header = bytes.data() + offset;
  Klv klv;
  klv.key = readBe32(header);
  klv.type = static_cast<char>(header[4]);
  klv.sampleSize = header[5];
  klv.repeat = readBe16(header + 6);
  const size_t length = size_t{klv.sampleSize} * klv.repeat;
  if (bytes.size() - offset - 8 < length) return std::nullopt;
  klv.data = bytes.subspan(offset + 8, length);
  offset += 8 + std::min(bytes.size() - offset - 8, (length + 3) & ~size_t{3});
  return klv;
}

size_t sizeOfType(char type) {
  switch (type) {
    case 'b':
    case 'B':
    case 'c':
      return 1;
    case 's':
    case 'S':
      return 2;
    case 'l':
    case 'L':
    case 'f':
    case 'F':
    case 'q':
      return 4;
    case 'd':
    case 'j':
    case 'J':
    case 'Q':
      return 8;
    default:
      return 0;
  }
}

double numberOf(char type, const uint8_t* p) {
  switch (type) {
    case 'b':
      return static_cast<int8_t>(p[0]);
    case 'B':
      return p[0];
    case 's':
      return static_cast<int16_t>(readBe16(p));
    case 'S':
      return readBe16(p);
    case 'l':
      return static_cast<int32_t>(readBe32(p));
    case 'L':
      return readBe32(p);
    case 'f':
      return readBeFloat(p);
    case 'd':
      return readBeDouble(p);
    case 'j':
      return static_cast<double>(static_cast<int64_t>(readBe64(p)));
    case 'J':
      return static_cast<double>(readBe64(p));
    case 'q':
      return static_cast<int32_t>(readBe32(p)) / 65536.0;
    case 'Q':
      return static_cast<double>(static_cast<int64_t>(readBe64(p))) / 4294967296.0;
    default:
      return 0;
  }
}

// The letters of one sample's fields: the TYPE for a structure ('?'), else
// the KLV's own type repeated; empty when they do not fill the sample.
std::string fieldTypes(const Klv& klv, const StreamProperties& properties) {
  std::string types;
  if (klv.type == '?') {
    types = properties.type;
  } else if (const size_t size = sizeOfType(klv.type); size && klv.sampleSize % size == 0) {
    types.assign(klv.sampleSize / size, klv.type);
  }
  size_t total = 0;
  for (char type : types) {
    const size_t size = sizeOfType(type);
    if (!size) return std::string();
    total += size;
  }
  return total == klv.sampleSize ? types : std::string();
}

// How to read the fields of a KLV's samples: their types and divisors.
struct SampleLayout {
  std::string types;
  std::vector<double> divisors;
};

std::optional<SampleLayout> layoutOf(const Klv& klv, const StreamProperties& properties) {
  SampleLayout layout;
  layout.types = fieldTypes(klv, properties);
  // No SCAL: the values stand as they are; one divisor serves every field.
  std::vector<double> scale = properties.scale;
  if (scale.empty()) scale.push_back(1);
  if (layout.types.empty() || (scale.size() != 1 && scale.size() < layout.types.size())) {
    return std::nullopt;
  }
  for (size_t field = 0; field < layout.types.size(); ++field) {
    layout.divisors.push_back(scale.size() == 1 ? scale[0] : scale[field]);
    if (layout.divisors.back() == 0) return std::nullopt;
  }
  return layout;
}

// The scaled values of the first fields of sample i (GPS samples have nine).
using Fields = std::array<double, 9>;

size_t fieldsOf(const Klv& klv, const SampleLayout& layout, size_t i, Fields& fields) {
  const uint8_t* p = klv.data.data() + i * klv.sampleSize;
  const size_t count = std::min(layout.types.size(), fields.size());
  for (size_t field = 0; field < count; ++field) {
    fields[field] = numberOf(layout.types[field], p) / layout.divisors[field];
    p += sizeOfType(layout.types[field]);
  }
  return count;
}

// GPSU: "yymmddhhmmss.sss", UTC.
std::optional<int64_t> parseGpsu(const Klv& klv) {
  const std::string_view text(reinterpret_cast<const char*>(klv.data.data()),
                              std::min<size_t>(klv.data.size(), 16));
  if (text.size() < 12) return std::nullopt;
  for (size_t i = 0; i < 6; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
  }
  const std::optional<int64_t> msOfDay = parseClockMs(text.substr(6));
  if (!msOfDay) return std::nullopt;
  auto two = [&](size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); };
  return utcMs(2000 + two(0), two(2), two(4), *msOfDay);
}

std::optional<GpsFix> fixOf(const Fields& fields, size_t count) {
  if (count < 4 || !plausiblePosition(fields[0], fields[1])) return std::nullopt;
  GpsFix fix;
  setFixPosition(fix, fields[0], fields[1]);
  if (std::isfinite(fields[2])) {
    fix.altitude = static_cast<float>(fields[2]);
    fix.flags |= kFixAltitude;
  }
  fix.speedKmh = plausibleSpeed(fields[3] * 3.6);
  return fix;
}

void place(GpsFix& fix, int64_t offsetMs) {
  fix.offsetMs = offsetMs;
  fix.flags |= kFixOffset;
}

void setUtc(GpsFix& fix, int64_t utc) {
  fix.utcMs = utc;
  fix.flags |= kFixUtc;
}

// GPS5 samples spread over the payload from GPSU.
void addGps5(const Klv& klv, const StreamProperties& properties, int64_t startMs,
             int64_t durationMs, std::vector<GpsFix>& fixes) {
  if (properties.fixType && *properties.fixType == 0) return;
  const std::optional<SampleLayout> layout = layoutOf(klv, properties);
  for (size_t i = 0; layout && i < klv.repeat; ++i) {
    Fields fields;
    std::optional<GpsFix> fix = fixOf(fields, fieldsOf(klv, *layout, i, fields));
    if (!fix) continue;
    const int64_t step = durationMs * static_cast<int64_t>(i) / klv.repeat;
    place(*fix, startMs + step);
    if (properties.utc) setUtc(*fix, *properties.utc + step);
    fixes.push_back(*fix);
  }
}

// GPS9 samples, each with its own date, time and fix.
void addGps9(const Klv& klv, const StreamProperties& properties, int64_t startMs,
             int64_t durationMs, std::vector<GpsFix>& fixes) {
  const std::optional<SampleLayout> layout = layoutOf(klv, properties);
  for (size_t i = 0; layout && i < klv.repeat; ++i) {
    Fields fields;
    const size_t count = fieldsOf(klv, *layout, i, fields);
    if (count < 9 || fields[8] == 0) continue;
    std::optional<GpsFix> fix = fixOf(fields, count);
    if (!fix) continue;
    place(*fix, startMs + durationMs * static_cast<int64_t>(i) / klv.repeat);
    const double ms = fields[5] * 86'400'000.0 + fields[6] * 1000.0;
    if (std::isfinite(ms) && ms >= 0 && ms < 1e14) {
      setUtc(*fix, kMsFrom1970To2000 + static_cast<int64_t>(std::llround(ms)));
    }
    fixes.push_back(*fix);
  }
}

// Takes in what klv says about the samples after it.
void noteProperty(const Klv& klv, StreamProperties& properties) {
  if (klv.key == fourCC("SCAL")) {
    const size_t size = sizeOfType(klv.type);
    properties.scale.clear();
    if (size == 0 || klv.sampleSize != size) return;
    for (size_t i = 0; i < klv.repeat; ++i) {
      properties.scale.push_back(numberOf(klv.type, klv.data.data() + i * size));
    }
  } else if (klv.key == fourCC("TYPE") && klv.type == 'c') {
    const auto* text = reinterpret_cast<const char*>(klv.data.data());
    properties.type.assign(text, std::find(text, text + klv.data.size(), '\0'));
  } else if (klv.key == fourCC("GPSU")) {
    properties.utc = parseGpsu(klv);
  } else if (klv.key == fourCC("GPSF") && klv.repeat >= 1 &&
             sizeOfType(klv.type) == klv.sampleSize) {
    properties.fixType = numberOf(klv.type, klv.data.data());
  }
}

void walk(std::span<const uint8_t> bytes, int depth, StreamProperties properties, int64_t startMs,
          int64_t durationMs, Found& found) {
  size_t offset = 0;
  while (std::optional<Klv> klv = readKlv(bytes, offset)) {
    if (klv->type == 0) {
      if (depth < kMaxDepth) walk(klv->data, depth + 1, properties, startMs, durationMs, found);
    } else if (klv->key == fourCC("GPS5")) {
      addGps5(*klv, properties, startMs, durationMs, found.gps5);
    } else if (klv->key == fourCC("GPS9")) {
      addGps9(*klv, properties, startMs, durationMs, found.gps9);
    } else {
      noteProperty(*klv, properties);
    }
  }
}

}  // namespace

bool decodeGpmfPayload(std::span<const uint8_t> payload, int64_t startMs, int64_t durationMs,
                       std::vector<GpsFix>& fixes) {
  size_t offset = 0;
  const std::optional<Klv> first = readKlv(payload, offset);
  if (!first || first->key != fourCC("DEVC") || first->type != 0) return false;
  Found found;
  walk(payload, 0, StreamProperties(), startMs, std::max<int64_t>(durationMs, 0), found);
  const std::vector<GpsFix>& chosen = found.gps9.empty() ? found.gps5 : found.gps9;
  fixes.insert(fixes.end(), chosen.begin(), chosen.end());
  return true;
}

}  // namespace vantrel
