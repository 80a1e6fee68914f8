// The main window's playback speed: the keys step through the speeds the
// player offers, the playback follows at once, the elapsed time and the
// progress slider count seconds of the recording, and a label under the
// elapsed time tells the speed whenever it is not the normal one.
#include <wx/stattext.h>

#include <algorithm>
#include <charconv>

#include "app/ControlTable.h"
#include "app/VantrelDlg.h"
#include "engine/PlaybackSpeeds.h"
#include "engine/PlayerState.h"

namespace vantrel {

namespace {

// "2×", "0.25×": the shortest decimal of the speed, whatever the locale.
wxString speedText(double speed) {
  char digits[32];
  const auto end = std::to_chars(digits, digits + sizeof digits, speed).ptr;
  return wxString::FromUTF8(std::string(digits, end) + "\u00d7");
}

// Where speed stands in kPlaybackSpeeds (a speed not offered counts as 1).
std::ptrdiff_t speedIndex(double speed) {
  const auto* at = std::find(kPlaybackSpeeds.begin(), kPlaybackSpeeds.end(), speed);
  if (at == kPlaybackSpeeds.end())
    at = std::find(kPlaybackSpeeds.begin(), kPlaybackSpeeds.end(), 1.0);
  return at - kPlaybackSpeeds.begin();
}

}  // namespace

bool CVantrelDlg::SetPlaybackSpeed(double speed) {
  if (!isPlaybackSpeed(speed)) return false;
  m_player.speed = speed;
  if (m_speedLabel) {
    m_speedLabel->SetLabel(speedText(speed));
    m_speedLabel->Show(speed != 1.0);
  }
  // The next tick comes a second of the recording after the change.
  if (m_elapsedTimer.IsRunning()) RestartElapsedTimer();
  if (speed != m_settings.playbackSpeed) {
    m_settings.playbackSpeed = speed;
    SaveSettings();
  }
  return true;
}

double CVantrelDlg::PlaybackSpeed() const {
  return m_player.speed.load();
}

bool CVantrelDlg::CanChangePlaybackSpeed(int step) const {
  const std::ptrdiff_t next = speedIndex(PlaybackSpeed()) + step;
  return next >= 0 && next < static_cast<std::ptrdiff_t>(kPlaybackSpeeds.size());
}

void CVantrelDlg::ChangePlaybackSpeed(int step) {
  if (!CanChangePlaybackSpeed(step)) return;
  SetPlaybackSpeed(kPlaybackSpeeds[speedIndex(PlaybackSpeed()) + step]);
}

void CVantrelDlg::StartElapsedTimer() {
  m_elapsedTimer.Start(static_cast<int>(1000.0 / PlaybackSpeed() + 0.5));
}

void CVantrelDlg::RestartElapsedTimer() {
  // The restart drops the part-second since the last tick, so the count goes
  // on from the picture on screen: many restarts must not leave it behind.
  if (const std::optional<double> shown = ShownPictureTime()) {
    const auto second = static_cast<int64_t>(*shown);
    if (second > m_player.elapsedSeconds.load()) ShowElapsed(second);
  }
  StartElapsedTimer();
}

void CVantrelDlg::CreatePlaybackSpeedLabel() {
  m_speedLabel = new wxStaticText(this, wxID_ANY, speedText(1.0), wxDefaultPosition,
                                  FindWindow(IDC_TIME_POS)->GetSize(), wxST_NO_AUTORESIZE);
  m_speedLabel->SetName("PlaybackSpeed");
  m_speedLabel->Hide();
  PlacePlaybackSpeedLabel();
}

void CVantrelDlg::PlacePlaybackSpeedLabel() {
  const wxRect time = FindWindow(IDC_TIME_POS)->GetRect();
  m_speedLabel->Move(time.GetLeft(), time.GetBottom() + 1);
  m_speedLabel->Raise();
}

}  // namespace vantrel
