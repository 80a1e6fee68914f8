#include "app/ScreenshotName.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>

namespace vantrel {

LocalTime currentLocalTime() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  const int ms =
      static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  return {local.tm_year + 1900,
          local.tm_mon + 1,
          local.tm_mday,
          local.tm_hour,
          local.tm_min,
          local.tm_sec,
          ms};
}

std::string screenshotFileName(const LocalTime& t) {
  char name[128];
  std::snprintf(name, sizeof name, "BMP-%04d-%02d-%02d %02d_%02d_%02d_%03d.bmp", t.year, t.month,
                t.day, t.hour, t.minute, t.second, t.millisecond);
  return name;
}

std::string screenshotFolder(std::string& why) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path folder = fs::current_path(error) / kScreenshotFolder;
  if (error || (!fs::is_directory(folder, error) && !fs::create_directory(folder, error))) {
    why = "cannot create " + folder.string();
    return "";
  }
  return folder.string();
}

}  // namespace vantrel
