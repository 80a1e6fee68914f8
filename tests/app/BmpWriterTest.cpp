#include <gtest/gtest.h>
#include <wx/image.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "app/BmpWriter.h"
#include "app/ScreenshotName.h"

using namespace vantrel;

namespace {

std::vector<uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t le16(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8;
}

std::string tempPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() / name).string();
}

struct HeaderCase {
  int width, height, stride;
  uint32_t fileSize;
};

class BmpHeader : public testing::TestWithParam<HeaderCase> {};

TEST_P(BmpHeader, FieldsAreExact) {
  const HeaderCase c = GetParam();
  std::vector<uint8_t> pixels(size_t(c.width) * c.height * 3, 0x7F);
  const std::string path = tempPath("header.bmp");
  ASSERT_EQ(WriteBmp24(path.c_str(), pixels.data(), c.width, c.height), 0);
  const auto file = readFile(path);
  EXPECT_EQ(bmpStride(c.width), c.stride);
  ASSERT_EQ(file.size(), c.fileSize);
  const std::vector<std::pair<size_t, uint32_t>> fields32{{2, c.fileSize},
                                                          {10, 54},
                                                          {14, 40},
                                                          {18, uint32_t(c.width)},
                                                          {22, uint32_t(c.height)},
                                                          {30, 0},
                                                          {34, 0},
                                                          {38, 0},
                                                          {42, 0},
                                                          {46, 0},
                                                          {50, 0}};
  EXPECT_EQ(le16(file, 0), 0x4D42);
  EXPECT_EQ(le16(file, 6), 0);
  EXPECT_EQ(le16(file, 8), 0);
  EXPECT_EQ(le16(file, 26), 1);
  EXPECT_EQ(le16(file, 28), 24);
  for (auto [offset, value] : fields32) EXPECT_EQ(le32(file, offset), value) << "offset " << offset;
  std::filesystem::remove(path);
}

INSTANTIATE_TEST_SUITE_P(Sizes, BmpHeader,
                         testing::Values(HeaderCase{1280, 720, 3840, 2764854},
                                         HeaderCase{854, 480, 2564, 54 + 480 * 2564},
                                         HeaderCase{1920, 1080, 5760, 54 + 1080 * 5760},
                                         HeaderCase{3, 2, 12, 54 + 24}),
                         [](const auto& info) {
                           return std::to_string(info.param.width) + "x" +
                                  std::to_string(info.param.height);
                         });

TEST(BmpWriter, PaddedRowsReadBackAsThePicture) {
  // 854 x 480 rows are 2562 bytes: without padding every row would shear.
  const int width = 854, height = 480;
  std::vector<uint8_t> pixels(size_t(width) * height * 3);
  std::mt19937 rng(3);
  for (auto& byte : pixels) byte = rng() & 0xFF;
  const std::string path = tempPath("padded.bmp");
  ASSERT_EQ(WriteBmp24(path.c_str(), pixels.data(), width, height), 0);

  wxImage image;
  ASSERT_TRUE(image.LoadFile(path, wxBITMAP_TYPE_BMP));
  ASSERT_EQ(image.GetWidth(), width);
  ASSERT_EQ(image.GetHeight(), height);
  for (int y = 0; y < height; y += 37) {
    for (int x = 0; x < width; x += 13) {
      const uint8_t* bgr = &pixels[(size_t(height - 1 - y) * width + x) * 3];  // bottom-up
      ASSERT_EQ(image.GetBlue(x, y), bgr[0]) << x << "," << y;
      ASSERT_EQ(image.GetGreen(x, y), bgr[1]);
      ASSERT_EQ(image.GetRed(x, y), bgr[2]);
    }
  }
  std::filesystem::remove(path);
}

TEST(BmpWriter, RefusesMissingInputAndUnwritablePath) {
  uint8_t pixel[3] = {};
  EXPECT_EQ(WriteBmp24(nullptr, pixel, 1, 1), 1);
  EXPECT_EQ(WriteBmp24(tempPath("x.bmp").c_str(), nullptr, 1, 1), 1);
  EXPECT_EQ(WriteBmp24("/nonexistent-dir/x.bmp", pixel, 1, 1), 1);
}

TEST(ScreenshotName, FormatsLocalTimeToTheMillisecond) {
  EXPECT_EQ(screenshotFileName({2015, 3, 7, 14, 5, 9, 42}), "BMP-2015-03-07 14_05_09_042.bmp");
  EXPECT_EQ(screenshotFileName({2026, 12, 31, 0, 0, 0, 999}), "BMP-2026-12-31 00_00_00_999.bmp");
}

}  // namespace
