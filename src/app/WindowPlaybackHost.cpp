#include "app/WindowPlaybackHost.h"

#include "app/ControlTable.h"
#include "app/GpsSyncEvent.h"
#include "app/VantrelDlg.h"
#include "app/VideoPanel.h"
#include "engine/PlayerState.h"

namespace vantrel {

void CWindowPlaybackHost::postGpsSync(GpsSyncCode code, int64_t argument) {
  // The generation of the playback posting it, so a late message of an
  // earlier playback is recognised and dropped.
  wxQueueEvent(&m_window,
               new GpsSyncEvent(code, static_cast<long>(argument), m_player.generation.load()));
}

void CWindowPlaybackHost::showLoading(bool shown) {
  m_window.CallAfter([this, shown] { m_window.ShowLoading(shown); });
}

void CWindowPlaybackHost::playbackStarted() {
  m_window.CallAfter([this] { m_window.ShowPlaybackStarted(); });
}

void CWindowPlaybackHost::playbackReset(bool playedToEnd) {
  m_resetsQueued++;
  m_window.CallAfter([this, playedToEnd] {
    m_window.OnPlaybackReset(playedToEnd);
    m_resetsQueued--;
  });
}

void CWindowPlaybackHost::playbackFailed(const std::string& reason) {
  m_window.CallAfter(
      [this, path = m_player.getFileName(), reason] { m_window.ShowPlaybackFailed(path, reason); });
}

void CWindowPlaybackHost::advancePlaylist() {
  m_window.CallAfter(
      [this, ended = m_player.generation.load()] { m_window.AdvancePlaylist(ended); });
}

VideoSink* CWindowPlaybackHost::videoSink() {
  return m_window.VideoArea();
}

}  // namespace vantrel
