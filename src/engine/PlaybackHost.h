#pragma once
// What the playback thread needs from whoever shows the playback: the window
// (which forwards every call to its UI thread, in calling order), the
// headless player, or a test's recorder. Every call comes from the playback
// thread; none may block on the UI thread.
#include <cstdint>
#include <functional>
#include <string>

#include "engine/Messages.h"

namespace vantrel {

struct PlayerState;
class VideoSink;

class PlaybackHost {
 public:
  virtual ~PlaybackHost() = default;
  // WM_GPS_SYNC (code, argument): track loaded, a whole second of video,
  // playback ended (ResetDashboard's own post).
  virtual void postGpsSync(GpsSyncCode code, int64_t argument) = 0;
  virtual void showLoading(bool shown) = 0;
  // The recording opened and plays: ShowPlaybackStarted.
  virtual void playbackStarted() = 0;
  // The playback has been torn down: the video area shown, ResetDashboard.
  // playedToEnd: it ended at the recording's end (the next one follows).
  virtual void playbackReset(bool playedToEnd) = 0;
  // The recording could not be played; why, in words for the user ("it holds
  // no pictures").
  virtual void playbackFailed(const std::string& reason) = 0;
  // The recording played to its end: select the next playlist entry (past
  // the last, the first) and start timer 1 for it.
  virtual void advancePlaylist() = 0;
  // Where presented pictures go; null shows them nowhere.
  virtual VideoSink* videoSink() = 0;
};

// Loads the GPS track of the player's fileName where the dashboard finds it
// (the gps subsystem's loader); injected so the engine does not depend on it.
using TrackLoader = std::function<int(PlayerState&)>;

}  // namespace vantrel
