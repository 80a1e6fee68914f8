#pragma once
// Private window messages, by their plain numbers (no base offset).
namespace vantrel {
constexpr int WM_SLIDER_TRACK = 10449;  // slider dragged: control id, position
constexpr int WM_SLIDER_SET = 10450;    // slider released or keyed: control id, position
constexpr int WM_GPS_SYNC = 11024;      // playback -> dashboard: code, argument
}  // namespace vantrel
