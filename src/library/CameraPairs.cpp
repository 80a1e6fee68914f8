#include "library/CameraPairs.h"

namespace vantrel {

namespace {

char upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isLetter(char c) {
  return upper(c) >= 'A' && upper(c) <= 'Z';
}

bool isDigitOrSeparator(char c) {
  return (c >= '0' && c <= '9') || c == '_' || c == '-';
}

std::string_view stemOf(std::string_view path) {
  const size_t slash = path.rfind('/');
  if (slash != path.npos) path.remove_prefix(slash + 1);
  const size_t dot = path.rfind('.');
  if (dot != path.npos) path = path.substr(0, dot);
  return path;
}

}  // namespace

CameraMarker cameraMarker(std::string_view path) {
  const std::string_view stem = stemOf(path);
  if (stem.size() < 2) return {};
  const char last = upper(stem.back());
  const char before = stem[stem.size() - 2];
  if (last == 'F' || last == 'R') {
    const bool afterLetterGroup =
        stem.size() >= 3 && isLetter(before) && stem[stem.size() - 3] == '_';
    if (isDigitOrSeparator(before) || afterLetterGroup) {
      return {last == 'F' ? CameraRole::Front : CameraRole::Rear, 'F'};
    }
  }
  if ((last == 'A' || last == 'B') && (before == '_' || before == '-')) {
    return {last == 'A' ? CameraRole::Front : CameraRole::Rear, 'A'};
  }
  return {};
}

}  // namespace vantrel
