#include <gtest/gtest.h>

#include "app/ClipName.h"
#include "app/TempFolder.h"

namespace vantrel {
namespace {

TEST(ClipName, RecordingNameSpanAndNumber) {
  const std::pair<double, const char*> spans[] = {
      {0, "0m00s"},       {5.9, "0m05s"},       {65, "1m05s"}, {3599.99, "59m59s"},
      {3600, "1h00m00s"}, {3725.5, "1h02m05s"}, {-3, "0m00s"},
  };
  for (const auto& [seconds, text] : spans) EXPECT_EQ(spanText(seconds), text) << seconds;
  EXPECT_EQ(clipBaseName("/card/DCIM/FILE0042.MOV", 65, 95.5), "FILE0042_1m05s-1m35s");
  EXPECT_EQ(clipBaseName("drive.2024.mp4", 0, 3), "drive.2024_0m00s-0m03s");
  EXPECT_EQ(numberedName("a_0m01s-0m02s", 1, ".MOV"), "a_0m01s-0m02s.MOV");
  EXPECT_EQ(numberedName("a_0m01s-0m02s", 3, ".MOV"), "a_0m01s-0m02s_3.MOV");
}

TEST(ClipName, CreateNewFileNeverTakesAnExistingName) {
  testsupport::TempFolder dir;
  const std::string path = (dir.path() / "clip.MOV").string();
  bool exists = true;
  std::string why;
  EXPECT_TRUE(createNewFile(path, &exists, &why));
  EXPECT_FALSE(createNewFile(path, &exists, &why));
  EXPECT_TRUE(exists);
  dir.write("blocker", "a file where a folder should be");
  EXPECT_FALSE(createNewFile((dir.path() / "blocker" / "clip.MOV").string(), &exists, &why));
  EXPECT_FALSE(exists);
  EXPECT_EQ(why, "Not a directory");
}

}  // namespace
}  // namespace vantrel
