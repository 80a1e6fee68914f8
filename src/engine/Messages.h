#pragma once
// Private window messages, by their plain numbers (no base offset).
namespace vantrel {
constexpr int WM_SLIDER_TRACK = 10449;  // slider dragged: control id, position
constexpr int WM_SLIDER_SET = 10450;    // slider released or keyed: control id, position
constexpr int WM_GPS_SYNC = 11024;      // playback -> dashboard: code, argument

// WM_GPS_SYNC codes, posted by the playback and by the window.
enum GpsSyncCode {
  kSyncTrackLoaded = 0,  // a new track is loaded: build the map route
  kSyncTick = 1,         // argument: playback position in whole seconds
  kSyncPlaybackEnded = 2,
  kSyncSeek = 3,  // argument: progress slider position in seconds
};
}  // namespace vantrel
