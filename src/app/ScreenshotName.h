#pragma once
#include <string>

namespace vantrel {

// Local time down to the millisecond.
struct LocalTime {
  int year, month, day, hour, minute, second, millisecond;
};

LocalTime currentLocalTime();

// "BMP-2015-03-07 14_05_09_042.bmp"
std::string screenshotFileName(const LocalTime& t);

// The folder under the current directory that screenshots go to.
constexpr const char* kScreenshotFolder = "VideoScreenshot";

}  // namespace vantrel
