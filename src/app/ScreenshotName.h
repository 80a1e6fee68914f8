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

// The folder under the current directory that screenshots (and saved
// clips) go to.
constexpr const char* kScreenshotFolder = "VideoScreenshot";

// That folder, made when it is not there yet; "" when it cannot be, with
// why ("cannot create <folder>").
std::string screenshotFolder(std::string& why);

}  // namespace vantrel
