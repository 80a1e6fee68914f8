#pragma once
// A large dashcam-like MOV for the benchmarks: ten seconds of 1080p30 with
// sound and a GPS text stream (about 20 MB), repeated without re-encoding up
// to the size asked for.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

inline bool makeBigRecording(const std::filesystem::path& out, int megabytes) {
  namespace fs = std::filesystem;
  const fs::path segment = out.parent_path() / "segment.MOV";
  const std::string make = std::string("'") + VANTREL_SOURCE_DIR +
                           "/tests/fixtures/make-recording' '" + segment.string() +
                           "' 10 --size 1920x1080 --rate 30 --gps text >/dev/null";
  if (std::system(make.c_str()) != 0) return false;
  const auto loops = std::max<uintmax_t>(1, megabytes * 1000000ull / fs::file_size(segment));
  const std::string repeat = "ffmpeg -nostdin -loglevel error -y -stream_loop " +
                             std::to_string(loops - 1) + " -i '" + segment.string() +
                             "' -map 0 -c copy '" + out.string() + "'";
  const bool made = std::system(repeat.c_str()) == 0;
  fs::remove(segment);
  return made;
}

// The size asked for on the command line ([MEGABYTES], default 1000), or 0
// after printing the usage line when it is no size.
inline int bigRecordingMegabytes(int argc, char** argv, const char* program) {
  const int megabytes = argc > 1 ? std::atoi(argv[1]) : 1000;
  if (megabytes <= 0) std::fprintf(stderr, "usage: %s [MEGABYTES]\n", program);
  return megabytes > 0 ? megabytes : 0;
}
