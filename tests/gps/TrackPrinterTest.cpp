#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "gps/SentenceTrack.h"
#include "gps/TrackPrinter.h"
#include "gps/TrackTestSupport.h"

using namespace vantrel;
using tracktest::fixture;

namespace {

struct Printed {
  int status;
  std::vector<std::string> out;
  std::vector<std::string> err;
};

std::vector<std::string> linesOf(char* text, size_t size) {
  std::vector<std::string> lines;
  std::istringstream in(std::string(text, size));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::free(text);
  return lines;
}

Printed print(const std::string& recording) {
  char* outText = nullptr;
  char* errText = nullptr;
  size_t outSize = 0;
  size_t errSize = 0;
  std::FILE* out = open_memstream(&outText, &outSize);
  std::FILE* err = open_memstream(&errText, &errSize);
  Printed printed;
  printed.status = printTrack(recording, out, err);
  std::fclose(out);
  std::fclose(err);
  printed.out = linesOf(outText, outSize);
  printed.err = linesOf(errText, errSize);
  return printed;
}

}  // namespace

TEST(FormatTrackEntry, ShowsWhatTheDashboardShows) {
  const std::pair<std::string, std::string> cases[] = {
      {"$GPRMC,A,123519.000,4807.0380,S,01131.0000,E,42.50,0.0,101226",
       "7\tok\t12:35:19\t48.1173\t11.5166\t42.50\t-48.117300\t11.516667"},
      {"$GPRMC,A,73005,4807.0380,N,01131.0000,W,110",
       "7\tok\t07:30:05\t48.1173\t11.5166\t110.00\t48.117300\t-11.516667"},
      {"$GPRMC,A,73005,4807.0380,n,01131.0000,e,5",
       "7\tok\t07:30:05\t48.1173\t11.5166\t5.00\t-\t-"},
      {"", "7\tok\t00:00:00\t0.0000\t0.0000\t0.00\t-\t-"},
      {"$GPRMC,A,123519,1.2.3,N,01131.0000,E,1", "7\trejected"},
  };
  for (const auto& [sentence, line] : cases) {
    EXPECT_EQ(formatTrackEntry(7, sentenceFix(sentence)), line);
  }
}

TEST(PrintTrack, HeaderThenOneLinePerEntry) {
  const std::pair<const char*, const char*> cases[] = {
      {"clip.MOV", "source=movie stream=2 entries=4"},
      {"clip.mp4", "source=sidecar stream=255 entries=4"},
      {"notrack.MOV", "source=movie stream=-1 entries=0"},
  };
  for (const auto& [name, header] : cases) {
    Printed printed = print(fixture(name));
    EXPECT_EQ(printed.status, 0) << name;
    EXPECT_TRUE(printed.err.empty()) << name;
    ASSERT_FALSE(printed.out.empty()) << name;
    EXPECT_EQ(printed.out[0], header);
    for (size_t i = 1; i < printed.out.size(); ++i) {
      EXPECT_EQ(printed.out[i].rfind(std::to_string(i - 1) + "\tok\t07:30:0", 0), 0u)
          << printed.out[i];
    }
  }
}

TEST(PrintTrack, FailedLoadGivesStatusOneAndOneReasonLine) {
  Printed printed = print(fixture("no-such-recording.mp4"));
  EXPECT_EQ(printed.status, 1);
  EXPECT_TRUE(printed.out.empty());
  ASSERT_EQ(printed.err.size(), 1u);
  EXPECT_NE(printed.err[0].find("no-such-recording.TXT"), std::string::npos) << printed.err[0];
}

TEST(RunTrackPrinter, NeedsExactlyOneFile) {
  char extra[] = "b";
  char* twoFiles[] = {extra, extra};
  testing::internal::CaptureStderr();
  EXPECT_EQ(runTrackPrinter(0, nullptr), 1);
  EXPECT_EQ(runTrackPrinter(2, twoFiles), 1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("usage: vantrel --track FILE"),
            std::string::npos);
}
