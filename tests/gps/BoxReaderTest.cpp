#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "gps/BoxReader.h"
#include "gps/EmbeddedBytes.h"

using namespace vantrel;
using namespace embeddedtest;

namespace {

struct BoxCase {
  const char* what;
  Bytes bytes;
  uint64_t end;  // where the parent's payload ends
  std::optional<Box> expected;
};

Box expectBox(const char (&type)[5], uint64_t size, uint32_t headerSize) {
  Box b;
  b.type = fourCC(type);
  b.size = size;
  b.headerSize = headerSize;
  return b;
}

}  // namespace

TEST(ReadBox, ChecksEverySizeAgainstItsParent) {
  const Bytes user(16, 0x5a);
  const BoxCase cases[] = {
      {"32-bit size", join({be32(16), tag("free"), Bytes(8)}), 16, expectBox("free", 16, 8)},
      {"64-bit size", join({be32(1), tag("mdat"), be64(24), Bytes(8)}), 24,
       expectBox("mdat", 24, 16)},
      {"size 0 reaches to the parent's end", join({be32(0), tag("mdat"), Bytes(12)}), 20,
       expectBox("mdat", 20, 8)},
      {"uuid with its user type", join({be32(40), tag("uuid"), user, Bytes(16)}), 40,
       expectBox("uuid", 40, 24)},
      {"size smaller than its header", join({be32(4), tag("free"), Bytes(8)}), 16, std::nullopt},
      {"64-bit size smaller than its header", join({be32(1), tag("mdat"), be64(12), Bytes(8)}), 24,
       std::nullopt},
      {"runs past its parent", join({be32(17), tag("free"), Bytes(12)}), 16, std::nullopt},
      {"64-bit size past the file", join({be32(1), tag("mdat"), be64(1ull << 62), Bytes(8)}), 24,
       std::nullopt},
      {"header cut", join({be32(16), Bytes(2)}), 16, std::nullopt},
      {"uuid cut before its user type", join({be32(20), tag("uuid"), Bytes(12)}), 20, std::nullopt},
  };
  for (const BoxCase& c : cases) {
    MemoryBytes bytes(c.bytes);
    const std::optional<Box> got = readBox(bytes, 0, c.end);
    ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.what;
    if (!got) continue;
    EXPECT_EQ(got->type, c.expected->type) << c.what;
    EXPECT_EQ(got->size, c.expected->size) << c.what;
    EXPECT_EQ(got->headerSize, c.expected->headerSize) << c.what;
    if (got->type == fourCC("uuid")) {
      EXPECT_EQ(got->userType[0], 0x5a) << c.what;
    }
  }
}

TEST(BoxWalk, StopsAtTheFirstBoxThatDoesNotFit) {
  const Bytes file = join({box("ftyp", Bytes(8)), box("free", Bytes(4)), be32(1000), tag("mdat"),
                           Bytes(16), box("moov", Bytes(8))});
  MemoryBytes bytes(file);
  BoxWalk walk(bytes, 0, bytes.size());
  std::vector<uint32_t> types;
  while (std::optional<Box> b = walk.next()) types.push_back(b->type);
  EXPECT_EQ(types, (std::vector<uint32_t>{fourCC("ftyp"), fourCC("free")}));
  EXPECT_TRUE(walk.damaged());
  EXPECT_FALSE(findTopLevel(bytes, fourCC("moov")));
}

TEST(FindChild, LooksOnlyInsideItsParent) {
  const Bytes file = join({box("moov", box("trak", box("mdia", Bytes(4)))), box("mdia", Bytes(4))});
  MemoryBytes bytes(file);
  const std::optional<Box> moov = findTopLevel(bytes, fourCC("moov"));
  ASSERT_TRUE(moov);
  const std::optional<Box> trak = findChild(bytes, *moov, fourCC("trak"));
  ASSERT_TRUE(trak);
  EXPECT_TRUE(findChild(bytes, *trak, fourCC("mdia")));
  EXPECT_FALSE(findChild(bytes, *moov, fourCC("mdia")));
}

TEST(ReadPayload, AllocatesNothingBeyondItsCap) {
  const Bytes file = box("gps ", Bytes(64, 7));
  MemoryBytes bytes(file);
  const std::optional<Box> b = findTopLevel(bytes, fourCC("gps "));
  ASSERT_TRUE(b);
  EXPECT_FALSE(readPayload(bytes, *b, 63));
  const std::optional<Bytes> payload = readPayload(bytes, *b, 64);
  ASSERT_TRUE(payload);
  EXPECT_EQ(*payload, Bytes(64, 7));
}
