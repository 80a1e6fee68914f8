// The record decoders of the embedded layouts, on records built byte by byte:
// what each takes as a fix, and what it leaves out.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "gps/BlackVueTrack.h"
#include "gps/EmbeddedBytes.h"
#include "gps/GarminTrack.h"
#include "gps/GpmfDecoder.h"
#include "gps/NmeaStreamTrack.h"
#include "gps/NovatekTrack.h"
#include "gps/UtcTime.h"

using namespace vantrel;
using namespace embeddedtest;

namespace {

struct NovatekRecord {
  uint32_t time[6] = {7, 30, 5, 24, 5, 17};  // hour, minute, second, year - 2000, month, day
  std::string letters = "ANE";
  float latitude = 4807.038f;
  float longitude = 1131.0f;
  float knots = 20.0f;
  float heading = 90.0f;
  std::string tag = "freeGPS ";
  size_t size = 128;
};

Bytes novatekBlock(const NovatekRecord& r) {
  Bytes block = join({be32(static_cast<uint32_t>(r.size)), tag(r.tag), le32(76), Bytes(32)});
  for (uint32_t field : r.time) block = join({block, le32(field)});
  block = join({block, tag(r.letters), Bytes(1), leFloat(r.latitude), leFloat(r.longitude),
                leFloat(r.knots), leFloat(r.heading)});
  block.resize(r.size);
  return block;
}

}  // namespace

TEST(DecodeNovatekBlock, TakesOnlyValidPositions) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const double north = 48 + 7.0380859375 / 60;  // 4807.038 as a float holds it
  struct Case {
    const char* what;
    std::function<void(NovatekRecord&)> change;
    bool decoded;
    double latitude, longitude;
    bool utc;
  } cases[] = {
      {"valid", [](NovatekRecord&) {}, true, north, 11.5166666, true},
      {"south and west", [](NovatekRecord& r) { r.letters = "ASW"; }, true, -north, -11.5166666,
       true},
      {"no fix", [](NovatekRecord& r) { r.letters = "VNE"; }, false, 0, 0, false},
      {"unknown hemisphere", [](NovatekRecord& r) { r.letters = "AXE"; }, false, 0, 0, false},
      {"latitude not a number", [nan](NovatekRecord& r) { r.latitude = nan; }, false, 0, 0, false},
      {"latitude past the pole", [](NovatekRecord& r) { r.latitude = 9130.0f; }, false, 0, 0,
       false},
      {"zeros before a position", [](NovatekRecord& r) { r.latitude = r.longitude = 0; }, false, 0,
       0, false},
      {"month 13: position without time", [](NovatekRecord& r) { r.time[4] = 13; }, true, north,
       11.5166666, false},
      {"another block", [](NovatekRecord& r) { r.tag = "freeGPX "; }, false, 0, 0, false},
      {"cut before its heading", [](NovatekRecord& r) { r.size = kNovatekRecordBytes - 1; }, false,
       0, 0, false},
  };
  for (const Case& c : cases) {
    NovatekRecord record;
    c.change(record);
    GpsFix fix;
    ASSERT_EQ(decodeNovatekBlock(novatekBlock(record), fix), c.decoded) << c.what;
    if (!c.decoded) continue;
    EXPECT_NEAR(fix.latitude, c.latitude, 1e-6) << c.what;
    EXPECT_NEAR(fix.longitude, c.longitude, 1e-6) << c.what;
    EXPECT_EQ(fix.has(kFixUtc), c.utc) << c.what;
    EXPECT_FLOAT_EQ(fix.speedKmh, 37.04f) << c.what;
    EXPECT_TRUE(fix.has(kFixOnMap | kFixHeading)) << c.what;
  }
  GpsFix fix;
  ASSERT_TRUE(decodeNovatekBlock(novatekBlock({}), fix));
  EXPECT_EQ(fix.utcMs, *utcMs(2024, 5, 17, (7 * 3600 + 30 * 60 + 5) * 1000));
}

TEST(DecodePndmSample, ReadsSemicirclesAndMph) {
  auto sample = [](const std::string& magic, int32_t latitude, int32_t longitude, uint16_t mph) {
    const Bytes record =
        join({tag(magic), Bytes(4), be16(mph), Bytes(2), be32(static_cast<uint32_t>(latitude)),
              be32(static_cast<uint32_t>(longitude)), Bytes(4)});
    return join({be16(static_cast<uint16_t>(record.size())), record});
  };
  const int32_t half = 1 << 30;  // 90 degrees
  Bytes cut = sample("PNDM", half / 2, half, 30);
  cut.resize(cut.size() - 5);  // ends inside the longitude
  struct Case {
    const char* what;
    Bytes bytes;
    bool decoded;
    double latitude, longitude, kmh;
  } cases[] = {
      {"north east", sample("PNDM", half / 2, half, 30), true, 45.0, 90.0, 48.28032},
      {"south west", sample("PNDM", -half / 2, -half, 0), true, -45.0, -90.0, 0},
      {"another record", sample("PNDX", half / 2, half, 30), false, 0, 0, 0},
      {"no position yet", sample("PNDM", 0, 0, 0), false, 0, 0, 0},
      {"cut", cut, false, 0, 0, 0},
  };
  for (const Case& c : cases) {
    GpsFix fix;
    ASSERT_EQ(decodePndmSample(c.bytes, fix), c.decoded) << c.what;
    if (!c.decoded) continue;
    EXPECT_DOUBLE_EQ(fix.latitude, c.latitude) << c.what;
    EXPECT_DOUBLE_EQ(fix.longitude, c.longitude) << c.what;
    EXPECT_NEAR(fix.speedKmh, c.kmh, 1e-4) << c.what;
  }
}

namespace {

Bytes klv(const std::string& key, char type, uint8_t size, uint16_t repeat, Bytes data) {
  data.resize((data.size() + 3) & ~size_t{3});
  return join({tag(key), Bytes{static_cast<uint8_t>(type), size}, be16(repeat), data});
}

Bytes nest(const std::string& key, std::initializer_list<Bytes> items) {
  const Bytes body = join(items);
  return join({tag(key), Bytes{0, 4}, be16(static_cast<uint16_t>(body.size() / 4)), body});
}

Bytes words(std::initializer_list<int32_t> values) {
  Bytes bytes;
  for (int32_t v : values) bytes = join({bytes, be32(static_cast<uint32_t>(v))});
  return bytes;
}

const Bytes kScal5 = klv("SCAL", 'l', 4, 5, words({10000000, 10000000, 1000, 1000, 100}));
const Bytes kGpsu = klv("GPSU", 'U', 16, 1, tag("240517073005.000"));
const Bytes kFix3 = klv("GPSF", 'L', 4, 1, be32(3));

// Three GPS5 samples 0.0001 degrees apart, 10 m/s.
Bytes gps5(uint16_t repeat = 3) {
  Bytes rows;
  for (int32_t i = 0; i < 3; ++i) {
    rows = join({rows, words({481173000 + 1000 * i, 115167000, 520000, 10000, 1000})});
  }
  return klv("GPS5", 'l', 20, repeat, rows);
}

Bytes devc(std::initializer_list<Bytes> streams) {
  Bytes body = klv("DVID", 'L', 4, 1, be32(1));
  for (const Bytes& stream : streams) body = join({body, stream});
  return join({tag("DEVC"), Bytes{0, 4}, be16(static_cast<uint16_t>(body.size() / 4)), body});
}

// GPS9: lat, lon, alt, 2D, 3D speed, days since 2000, seconds of the day, DOP, fix.
Bytes gps9(std::initializer_list<uint16_t> fixes) {
  Bytes rows;
  int32_t i = 0;
  for (uint16_t fix : fixes) {
    rows = join(
        {rows,
         words({-335000000 - 1000 * i, -700000000, 30000, 5000, 500, 8903, 27005000 + 100 * i}),
         be16(120), be16(fix)});
    ++i;
  }
  return nest("STRM", {klv("TYPE", 'c', 1, 9, tag("lllllllSS")),
                       klv("SCAL", 'l', 4, 9,
                           words({10000000, 10000000, 1000, 1000, 100, 1, 1000, 100, 1})),
                       klv("GPS9", '?', 32, static_cast<uint16_t>(fixes.size()), rows)});
}

Bytes nested(int depth, const Bytes& inner) {
  Bytes bytes = inner;
  for (int i = 0; i < depth; ++i) bytes = nest("DEVC", {bytes});
  return bytes;
}

}  // namespace

TEST(DecodeGpmfPayload, ReadsWhatItsStreamSaysOfTheSamples) {
  const int64_t utc = *utcMs(2024, 5, 17, (7 * 3600 + 30 * 60 + 5) * int64_t{1000});
  struct Case {
    const char* what;
    Bytes payload;
    bool gpmf;
    std::vector<double> latitudes;
  } cases[] = {
      {"GPS5 with a divisor per field",
       devc({nest("STRM", {kFix3, kGpsu, kScal5, gps5()})}),
       true,
       {48.1173, 48.1174, 48.1175}},
      {"one divisor for every field",
       devc({nest("STRM", {klv("SCAL", 'l', 4, 1, words({10000000})), gps5()})}),
       true,
       {48.1173, 48.1174, 48.1175}},
      {"no lock",
       devc({nest("STRM", {klv("GPSF", 'L', 4, 1, be32(0)), kScal5, gps5()})}),
       true,
       {}},
      {"another camera's data", join({tag("KSLM"), Bytes(28)}), false, {}},
      {"fewer divisors than fields",
       devc({nest("STRM", {klv("SCAL", 'l', 4, 3, words({10000000, 10000000, 1000})), gps5()})}),
       true,
       {}},
      {"a zero divisor",
       devc(
           {nest("STRM", {klv("SCAL", 'l', 4, 5, words({10000000, 0, 1000, 1000, 100})), gps5()})}),
       true,
       {}},
      {"a divisor of another stream does not apply",
       devc({nest("STRM", {kScal5, klv("ACCL", 's', 6, 1, Bytes(6))}),
             nest("STRM", {klv("GPS5", 'f', 20, 1,
                               join({be32(0x42404000), be32(0x41380000), Bytes(12)}))})}),
       true,
       {48.0625}},  // the floats 48.0625 and 11.5 as written
      {"samples past the end of the payload", devc({nest("STRM", {kScal5, gps5(4)})}), true, {}},
      {"a structure without its TYPE",
       devc({nest("STRM", {kScal5, klv("GPS9", '?', 32, 1, Bytes(32))})}),
       true,
       {}},
      {"GPS9 beside GPS5: GPS9, without its no-fix samples",
       devc({nest("STRM", {kScal5, gps5()}), gps9({3, 0, 2})}),
       true,
       {-33.5, -33.5002}},
      {"nested deeper than any camera writes",
       nested(12, devc({nest("STRM", {kScal5, gps5()})})),
       true,
       {}},
  };
  for (const Case& c : cases) {
    std::vector<GpsFix> fixes;
    ASSERT_EQ(decodeGpmfPayload(c.payload, 2000, 1000, fixes), c.gpmf) << c.what;
    ASSERT_EQ(fixes.size(), c.latitudes.size()) << c.what;
    for (size_t i = 0; i < fixes.size(); ++i) {
      EXPECT_NEAR(fixes[i].latitude, c.latitudes[i], 1e-9) << c.what;
    }
  }

  std::vector<GpsFix> fixes;
  decodeGpmfPayload(devc({nest("STRM", {kFix3, kGpsu, kScal5, gps5()})}), 2000, 1000, fixes);
  ASSERT_EQ(fixes.size(), 3u);
  const int64_t spread[] = {0, 333, 666};  // the samples share the payload's second
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(fixes[i].offsetMs, 2000 + spread[i]);
    EXPECT_EQ(fixes[i].utcMs, utc + spread[i]);
    EXPECT_FLOAT_EQ(fixes[i].speedKmh, 36.0f);
    EXPECT_FLOAT_EQ(fixes[i].altitude, 520.0f);
  }

  fixes.clear();
  decodeGpmfPayload(devc({gps9({3})}), 0, 1000, fixes);
  ASSERT_EQ(fixes.size(), 1u);
  EXPECT_EQ(fixes[0].utcMs, *utcMs(2024, 5, 17, 27005000));  // day 8903 after 2000-01-01
  EXPECT_DOUBLE_EQ(fixes[0].longitude, -70.0);
}

// A recording of 1 MB media data with three blocks in it: the track costs the
// box headers on the way to the index, the index and the records; without
// the movie box, the whole file is searched.
TEST(NovatekTrack, ReadsTheIndexAndTheRecordsOnly) {
  const Bytes block = novatekBlock({});
  Bytes media(1 << 20, 0);
  const size_t at[] = {1000, 400000, 900000};
  for (size_t offset : at) std::copy(block.begin(), block.end(), media.begin() + offset);
  const Bytes head =
      join({box("ftyp", tag("isom")), be32(static_cast<uint32_t>(8 + media.size())), tag("mdat")});
  Bytes index = join({be32(0), be32(3)});
  for (size_t offset : at) {
    index = join({index, be32(static_cast<uint32_t>(head.size() + offset)),
                  be32(static_cast<uint32_t>(block.size()))});
  }
  const Bytes moov = box("moov", join({box("mvhd", Bytes(100)), box("gps ", index)}));
  const Bytes whole = join({head, media, moov});
  const Bytes cut = join({head, media});

  const struct {
    const char* what;
    const Bytes& file;
    uint64_t mostRead;
  } cases[] = {{"indexed", whole, 1024}, {"cut before its movie box", cut, cut.size() + 512}};
  for (const auto& c : cases) {
    MemoryBytes bytes(c.file);
    Track track;
    ASSERT_EQ(novatekTrackSource().read(bytes, TrackRequest(), track), 0) << c.what;
    ASSERT_EQ(track.fixes.size(), 3u) << c.what;
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(track.fixes[i].offsetMs, 1000 * int64_t(i)) << c.what;
    EXPECT_LE(bytes.bytesRead(), c.mostRead) << c.what;
  }
}

TEST(NmeaOfTextSample, GivesEachSentenceItsDollarAndLine) {
  auto sample = [](const std::string& text, size_t length) {
    return join({be16(static_cast<uint16_t>(length)), tag(text)});
  };
  const struct {
    const char* what;
    Bytes sample;
    std::string sentences;
  } cases[] = {
      {"lines", sample("$GPRMC,1\n$GPGGA,2", 17), "$GPRMC,1\n$GPGGA,2\n"},
      {"joined by ';' without '$'", sample("gsensori,4;GNRMC,1*00;CAR,0", 27),
       "$gsensori,4\n$GNRMC,1*00\n$CAR,0\n"},
      {"CR LF, blanks and NUL", sample(std::string(" $A,1\r\n\r\n$B,2\0$C,3", 18), 18),
       "$A,1\n$B,2\n$C,3\n"},
      {"text shorter than the sample", sample("$A,1$B,2", 4), "$A,1\n"},
      {"length past the sample", sample("$A,1", 400), "$A,1\n"},
      {"no text", Bytes{0}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(nmeaOfTextSample(c.sample), c.sentences) << c.what;
}

TEST(BlackVueGps, PlacesFixesByTheirLinesTimes) {
  const std::string lines =
      "[1715931005040]$GPRMC,073005.00,A,4807.0380,N,01131.0000,E,10.0,90.0,170524,,,A*50\n"
      "[1715931005040]$GPGGA,073005.00,4807.0380,N,01131.0000,E,1,08,0.9,520.5,M,47.0,M,,*6F\n"
      "[1715931006540]$GPRMC,073006.00,A,4807.0390,N,01131.0000,E,10.0,90.0,170524,,,A*52\r\n"
      "$GPRMC,073007.00,A,4807.0400,N,01131.0000,E,10.0,90.0,170524,,,A*5D\n"
      "[17x]$GPRMC,073008.00,A,4807.0410,N,01131.0000,E,10.0,90.0,170524,,,A*53";
  std::vector<GpsFix> fixes;
  readBlackVueGps(lines, fixes);
  ASSERT_EQ(fixes.size(), 4u);
  EXPECT_EQ(fixes[0].offsetMs, 0);
  EXPECT_TRUE(fixes[0].has(kFixAltitude));  // from the GGA of its time
  EXPECT_EQ(fixes[1].offsetMs, 1500);
  EXPECT_FALSE(fixes[2].has(kFixOffset));  // a line without its time
  EXPECT_FALSE(fixes[3].has(kFixOffset));  // a time that is no number
  EXPECT_NEAR(fixes[3].latitude, 48 + 7.041 / 60, 1e-12);
}

TEST(BlackVueGsensor, RecordsUpToTheEndMarkAttachToTheirMoment) {
  auto record = [](uint32_t ms, int16_t x) {
    return join(
        {be32(ms), be16(static_cast<uint16_t>(x)), be16(static_cast<uint16_t>(-3)), be16(10)});
  };
  const Bytes records = join({record(200, 5), record(0, -25), record(100, 12), be32(0xFFFFFFFF),
                              record(300, 7), Bytes(4)});
  const std::vector<GsensorRecord> read = readBlackVueGsensor(records);
  ASSERT_EQ(read.size(), 3u);  // in time order, none after the end mark
  EXPECT_EQ(read[0].ms, 0);
  EXPECT_FLOAT_EQ(read[0].g[0], -2.5f);
  EXPECT_FLOAT_EQ(read[2].g[2], 1.0f);

  std::vector<GpsFix> fixes(4);
  const int64_t offsets[] = {-1, 150, 999, 0};
  for (size_t i = 0; i < 3; ++i) {
    fixes[i].offsetMs = offsets[i];
    fixes[i].flags = kFixOffset;
  }
  attachGsensor(read, fixes);
  EXPECT_FALSE(fixes[0].has(kFixGsensor));  // before the first record
  EXPECT_FLOAT_EQ(fixes[1].gsensor[0], 1.2f);
  EXPECT_FLOAT_EQ(fixes[2].gsensor[0], 0.5f);
  EXPECT_FALSE(fixes[3].has(kFixGsensor));  // not placed
}
