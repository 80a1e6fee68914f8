#pragma once
// Front and rear cameras record the same moment into two files whose names
// differ by a marker at the end of the name: F and R ("..._001F.MP4",
// "..._NR.mp4") or _A and _B.
#include <string_view>

namespace vantrel {

enum class CameraRole { Single, Front, Rear };

struct CameraMarker {
  CameraRole role = CameraRole::Single;
  char kind = 0;  // 'F' for F/R markers, 'A' for A/B; 0 without a marker
};

// The marker at the end of path's file name (extension aside): F or R after a
// digit, '_' or '-' or after "_<letter>"; A or B after '_' or '-'. Either case.
CameraMarker cameraMarker(std::string_view path);

}  // namespace vantrel
