#pragma once
// The main window as the playback's host: every report of the playback
// thread is queued to the window's UI thread, where it runs in calling order
// (sync messages and dashboard steps alike).
#include <atomic>

#include "engine/PlaybackHost.h"

namespace vantrel {

class CVantrelDlg;
struct PlayerState;

class CWindowPlaybackHost : public PlaybackHost {
 public:
  CWindowPlaybackHost(CVantrelDlg& window, PlayerState& player)
      : m_window(window), m_player(player) {}

  void postGpsSync(GpsSyncCode code, int64_t argument) override;
  void showLoading(bool shown) override;
  void playbackStarted() override;
  void playbackReset(bool playedToEnd) override;
  void playbackFailed(const std::string& reason) override;
  void advancePlaylist() override;
  VideoSink* videoSink() override;

  // A playback's reset has been queued and not yet applied (UI thread).
  bool ResetPending() const { return m_resetsQueued.load() != 0; }

 private:
  CVantrelDlg& m_window;
  PlayerState& m_player;
  std::atomic<int> m_resetsQueued{0};
};

}  // namespace vantrel
