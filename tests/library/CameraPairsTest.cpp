#include <gtest/gtest.h>

#include "library/CameraPairs.h"

using namespace vantrel;

TEST(CameraPairs, MarkersAtTheEndOfTheName) {
  struct Case {
    const char* path;
    CameraRole role;
    char kind;
  };
  const Case cases[] = {
      {"/card/2024_0501_073005_001F.MP4", CameraRole::Front, 'F'},
      {"/card/2024_0501_073005_001R.MP4", CameraRole::Rear, 'F'},
      {"20240501_073005_NF.mp4", CameraRole::Front, 'F'},
      {"20240501_073005_ER.mp4", CameraRole::Rear, 'F'},
      {"20240501-073005f.mov", CameraRole::Front, 'F'},
      {"REC_2024_05_01_07_30_05_F.MP4", CameraRole::Front, 'F'},
      {"20240501_073005_A.MP4", CameraRole::Front, 'A'},
      {"20240501_073005-b.MP4", CameraRole::Rear, 'A'},
      // Words that happen to end in those letters are no markers.
      {"/card/20240501_073005.MP4", CameraRole::Single, 0},
      {"holiday_OFF.mp4", CameraRole::Single, 0},
      {"drive_TAB.mp4", CameraRole::Single, 0},
      {"CAR.mp4", CameraRole::Single, 0},
      {"/F.mp4", CameraRole::Single, 0},
      {"/dir_1F/clip.mp4", CameraRole::Single, 0},
  };
  for (const Case& c : cases) {
    const CameraMarker marker = cameraMarker(c.path);
    EXPECT_EQ(marker.role, c.role) << c.path;
    EXPECT_EQ(marker.kind, c.kind) << c.path;
  }
}
