#include <gtest/gtest.h>

#include <string>

#include "gps/IsoMediaFormat.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include "library/ClipReader.h"
#include "library/LibraryFolder.h"

using namespace vantrel;

TEST(IsoMediaFormat, TheFirstBoxChoosesTheMovieDemuxer) {
  const struct {
    std::string head;
    bool movie;
  } cases[] = {
      {std::string("\0\0\0\x14"
                   "ftypqt  \0\0",
                   14),
       true},
      {std::string("\0\0\0\x18"
                   "ftypisom",
                   12),
       true},
      {std::string("\0\0\0\x0c"
                   "ftypjp2 ",
                   12),
       false},  // a JPEG 2000 image
      {std::string("\0\0\0\x0c"
                   "ftypjpx ",
                   12),
       false},
      {std::string("\0\0\x10\0"
                   "moov\0\0\0\0",
                   12),
       true},
      {std::string("\0\0\x10\0"
                   "mdat\0\0\0\0",
                   12),
       true},
      {std::string("\0\0\0\x08"
                   "wide\0\0\0\0",
                   12),
       true},
      {std::string("\0\0\0\x08"
                   "free\0\0\0\0",
                   12),
       true},
      {std::string("RIFF\0\0\0\0AVI ", 12), false},
      {std::string("\x1a\x45\xdf\xa3\0\0\0\0\0\0\0\0", 12), false},  // Matroska
      {std::string("\0\0\0\x14"
                   "ftyp",
                   8),
       false},  // too short to tell
      {"garbage\ngarbage\n", false},
  };
  const AVInputFormat* mov = av_find_input_format("mov");
  ASSERT_NE(mov, nullptr);
  for (const auto& c : cases) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(c.head.data());
    EXPECT_EQ(isoMediaFormat({bytes, c.head.size()}), c.movie ? mov : nullptr) << c.head;
  }
}

// Choosing the demuxer from the head changes nothing of what a clip reads
// as: other containers are still probed, and a file whose head promises a
// movie that is not there is no recording, for the reason probing gives.
TEST(IsoMediaFormat, ClipsReadAsWhenProbed) {
  const struct {
    const char* fixture;
    bool readable;
    int64_t durationMs;
    const char* reason;
  } cases[] = {
      {"clip.MOV", true, 4000, ""},
      {"play-cut.mp4", true, 4000, ""},  // declares 4 s, carries half
      {"play-pcm.AVI", true, 3000, ""},
      {"bad-cut.AVI", true, 1000, ""},
      {"bad-noindex.MOV", false, 0, "not a recording: Invalid data found when processing input"},
      {"play-garbage.mp4", false, 0, "not a recording: Invalid data found when processing input"},
  };
  for (const auto& c : cases) {
    const ClipRecord clip = readClip(testsupport::fixture(c.fixture).string());
    EXPECT_EQ(clip.readable, c.readable) << c.fixture;
    EXPECT_EQ(clip.durationMs, c.durationMs) << c.fixture;
    EXPECT_EQ(clip.reason, c.reason) << c.fixture;
  }
}
