// The main window's transport: timers 1 and 2, Play/Pause/Resume, Stop, the
// progress and volume sliders, and the playing and idle looks of the
// dashboard around each playback.
#include <wx/button.h>
#include <wx/stattext.h>

#include "app/ControlTable.h"
#include "app/GpsSyncEvent.h"
#include "app/Language.h"
#include "app/LanguageTable.h"
#include "app/VantrelDlg.h"
#include "app/VideoPanel.h"
#include "engine/PlayerState.h"
#include "engine/Transport.h"
#include "widgets/BitmapSlider.h"
#include "widgets/LEDDisplay.h"
#include "widgets/Meter.h"

namespace vantrel {

namespace {
const wxString kZeroTime = "00:00:00";
}  // namespace

void CVantrelDlg::OnStartPlaybackTimer(wxTimerEvent&) {
  // Timer 1 is one-shot: until the previous playback has ended it is
  // started again, so the tick repeats every 100 ms without blocking here.
  if (m_player.playState.load() != Idle) {
    StartPlaybackTimer();
    return;
  }
  if (!m_player.finished.load()) {
    requestStop(m_player);
    StartPlaybackTimer();
    return;
  }
  // The previous playback's reset is queued but not yet applied: it must
  // not land on the new playback's looks.
  if (m_playbackHost.ResetPending()) {
    StartPlaybackTimer();
    return;
  }
  // The maps draw the whole drive of the recording about to play.
  SetDriveContextFor(m_player.getFileName());
  if (!m_playback.start()) StartPlaybackTimer();
}

void CVantrelDlg::OnElapsedTimer(wxTimerEvent&) {
  const int state = m_player.playState.load();
  // Paused, the count stands: the tick sleeps until Resume, so that a
  // paused window is not woken every second.
  if (state == Paused) m_elapsedTimer.Stop();
  if (state != Playing) return;
  ShowElapsed(m_player.elapsedSeconds.load() + 1);
}

void CVantrelDlg::ResumePlaying() {
  resumePlayback(m_player);
  SetLanguageText(IDC_PLAY, kSlotPlayPlaying);
  if (m_playingLook && !m_elapsedTimer.IsRunning()) RestartElapsedTimer();
}

void CVantrelDlg::PlayOrPause() {
  if (m_player.opening.load()) return;
  switch (m_player.playState.load()) {
    case Idle:
      if (SelectPlaylistEntry(CurrentPlaylistIndex()) == 0) StartPlaybackTimer();
      break;
    case Paused:
      ResumePlaying();
      break;
    case Playing:
      pausePlayback(m_player);
      SetLanguageText(IDC_PLAY, kSlotPlayPaused);
      break;
  }
}

void CVantrelDlg::StopPlaying() {
  // A recording that has just ended may already have queued the next one (or
  // its drive's next clip may be about to start): the stop holds for those.
  m_stoppedGeneration = m_player.generation.load();
  if (m_startPlaybackTimer.IsRunning()) {
    m_startPlaybackTimer.Stop();
    EndContinuingDrive();
  }
  stopPlayback(m_player);
}

void CVantrelDlg::OnSliderSet(wxThreadEvent& event) {
  if (event.GetExtraLong() == IDC_VOLUME) {
    SetVolume(m_volume->GetPos());
  } else if (event.GetExtraLong() == IDC_PROGRESS) {
    OnProgressReleased();
  }
}

void CVantrelDlg::OnProgressReleased() {
  // A playing or paused recording seeks; without one the slider goes back to 0.
  if (m_player.playState.load() == Idle) m_progress->SetPos(0);
  const int position = m_progress->GetPos();
  requestSeek(m_player, position);
  PostGpsSync(kSyncSeek, position);
  m_progress->SetPos(position);
  m_progressDragging = false;
}

void CVantrelDlg::OnSliderTrack(wxThreadEvent& event) {
  if (event.GetExtraLong() == IDC_PROGRESS) m_progressDragging = true;
}

void CVantrelDlg::PostGpsSync(GpsSyncCode code, long argument) {
  wxQueueEvent(this, new GpsSyncEvent(code, argument, m_player.generation.load()));
}

void CVantrelDlg::AdvancePlaylist(uint32_t endedGeneration) {
  if (m_stoppedGeneration == endedGeneration) {
    EndContinuingDrive();
    return;
  }
  // Within a drive its next clip plays (the front one of a front/rear pair);
  // otherwise the next entry, and past the last the first.
  const std::optional<int> next = NextDriveEntry();
  if (SelectPlaylistEntry(next.value_or(CurrentPlaylistIndex() + 1)) != 0) return;
  // The previous playback has ended: the next clip of a drive need not wait.
  if (m_continuingDrive) {
    m_startPlaybackTimer.StartOnce(1);
  } else {
    StartPlaybackTimer();
  }
}

void CVantrelDlg::EndContinuingDrive() {
  if (!m_continuingDrive) return;
  m_continuingDrive = false;
  ResetDashboard();
}

void CVantrelDlg::OnPlaybackReset(bool playedToEnd) {
  FindWindow(IDC_VIDEO)->Show();
  m_continuingDrive = playedToEnd && NextDriveEntry().has_value();
  if (!m_continuingDrive) {
    ResetDashboard();
    return;
  }
  m_elapsedTimer.Stop();
  m_player.elapsedSeconds = 0;
  m_player.opening = false;
}

void CVantrelDlg::ShowLoading(bool shown) {
  if (m_continuingDrive && shown) return;
  // The next clip could not be played: the dashboard goes idle after all.
  EndContinuingDrive();
  FindWindow(IDC_LOADING)->Show(shown);
}

void CVantrelDlg::ShowPlaybackStarted() {
  const int64_t duration = m_player.durationSeconds.load();
  const wxString length = formatHms(duration);
  m_progress->SetRange(0, static_cast<int>(duration), false);
  m_player.opening = false;
  static_cast<wxStaticText*>(FindWindow(IDC_TIME_LEN))->SetLabel(length);
  // The playback may already be paused or over by the time this runs.
  if (const int slot = playButtonSlot(m_player.playState.load()); slot >= 0) {
    SetLanguageText(IDC_PLAY, slot);
  }
  m_playingLook = true;
  RefreshCommandStates();
  if (m_playbackProblem) ClearProblem();  // the last recording's, now out of date
  m_player.elapsedSeconds = 0;
  StartElapsedTimer();
  m_continuingDrive = false;
  ApplyPendingSeek();
}

void CVantrelDlg::ResetDashboard() {
  m_elapsedTimer.Stop();
  PostGpsSync(kSyncPlaybackEnded, 0);
  SetLanguageText(IDC_PLAY, kSlotPlayStopped);
  m_meter->SetValue(0.0);
  m_ledSpeed->SetText("000.00");
  m_ledMaxSpeed->SetText("000.00");
  m_ledAvgSpeed->SetText("000.00");
  m_ledDistance->SetText("000000000");
  m_ledLatitude->SetText("00000000");
  m_ledLongitude->SetText("000000000");
  m_ledTime->SetText("00:00:00");
  static_cast<wxStaticText*>(FindWindow(IDC_TIME_LEN))->SetLabel(kZeroTime);
  static_cast<wxStaticText*>(FindWindow(IDC_TIME_POS))->SetLabel(kZeroTime);
  m_playingLook = false;
  RefreshCommandStates();
  m_progress->SetRange(0, 0, false);
  m_progress->SetPos(0);
  m_player.elapsedSeconds = 0;
  m_player.opening = false;
}

PlaybackStats CVantrelDlg::ShownStats() const {
  return m_player.display.stats(m_video ? m_video->DroppedFrames() : 0);
}

void CVantrelDlg::StopPlaybackForExit() {
  m_libraryTimer.Stop();
  m_library.StopScan();
  m_startPlaybackTimer.Stop();
  m_elapsedTimer.Stop();
  m_playback.stopAndJoin();  // the thread never waits for this one
}

}  // namespace vantrel
