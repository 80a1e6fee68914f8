#include "app/CutCommand.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/ClipSaver.h"

extern "C" {
#include <libavutil/log.h>
}

namespace vantrel {

namespace {

// A non-negative decimal number, all of text.
std::optional<double> parseNumber(std::string_view text) {
  if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text.front())))) return {};
  double value = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return {};
  return value;
}

}  // namespace

std::optional<double> parseClipTime(std::string_view text) {
  double seconds = 0;
  int fields = 0;
  for (;;) {
    const size_t colon = text.find(':');
    const std::string_view field = text.substr(0, colon);
    const std::optional<double> value = parseNumber(field);
    if (!value) return {};
    // Minutes and seconds after a colon stay below 60; only the last field
    // may have a fraction.
    const bool last = colon == std::string_view::npos;
    if (fields > 0 && *value >= 60) return {};
    if (!last && *value != std::floor(*value)) return {};
    seconds = seconds * 60 + *value;
    if (++fields > 3) return {};
    if (last) return seconds;
    text.remove_prefix(colon + 1);
  }
}

int runCutCommand(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: vantrel --cut FILE START END OUT\n", stderr);
    return 2;
  }
  const std::optional<double> start = parseClipTime(argv[1]);
  const std::optional<double> end = parseClipTime(argv[2]);
  for (int i : {1, 2}) {
    if (!(i == 1 ? start : end)) {
      std::fprintf(stderr, "vantrel: '%s' is not a time (seconds or hh:mm:ss)\n", argv[i]);
      return 1;
    }
  }
  // The reason goes out as one line of ours; the libraries' own lines about
  // the same failure would only bury it.
  av_log_set_level(AV_LOG_FATAL);
  std::error_code error;
  const SavedClip saved = std::filesystem::is_directory(argv[3], error)
                              ? saveClipInto(argv[0], argv[3], *start, *end, nullptr)
                              : saveClipAs(argv[0], argv[3], *start, *end, nullptr);
  if (saved.status != kClipWritten) {
    std::fprintf(stderr, "vantrel: %s\n", saved.reason.c_str());
    return 1;
  }
  std::printf("clip=%s start=%.3f end=%.3f streams=%d\n", saved.clipPath.c_str(), saved.clip.start,
              saved.clip.end, saved.clip.streams);
  if (!saved.trackPath.empty()) std::printf("track=%s\n", saved.trackPath.c_str());
  if (!saved.trackReason.empty()) {
    std::fprintf(stderr, "vantrel: track not cut: %s\n", saved.trackReason.c_str());
  }
  if (saved.clip.skippedStreams > 0) {
    std::fprintf(stderr, "vantrel: %d stream(s) left out: the clip's container cannot hold them\n",
                 saved.clip.skippedStreams);
  }
  return 0;
}

}  // namespace vantrel
