// Seeking from the keys, each to the picture at the time asked for, and
// stepping one picture at a time.
#include <wx/stattext.h>

#include <limits>

#include "app/ControlTable.h"
#include "app/LanguageTable.h"
#include "app/VantrelDlg.h"
#include "engine/PlayerState.h"
#include "engine/Transport.h"
#include "widgets/BitmapSlider.h"

namespace vantrel {

void CVantrelDlg::SeekBy(double seconds) {
  if (const std::optional<double> position = requestSeekBy(m_player, seconds)) {
    ShowSeekPosition(*position);
  }
}

void CVantrelDlg::SeekToStart() {
  if (requestSeek(m_player, 0.0)) ShowSeekPosition(0.0);
}

void CVantrelDlg::SeekToEnd() {
  // Clamped to the recording's length: its last picture.
  if (requestSeek(m_player, std::numeric_limits<double>::max())) {
    ShowSeekPosition(static_cast<double>(m_player.durationSeconds.load()));
  }
}

void CVantrelDlg::StepPicture(int direction) {
  const bool wasPlaying = m_player.playState.load() == Playing;
  if (requestFrameStep(m_player, direction, m_keyRepeats) && wasPlaying) {
    SetLanguageText(IDC_PLAY, kSlotPlayPaused);
  }
}

bool CVantrelDlg::CanSeek() const {
  return m_playingLook && m_player.durationSeconds.load() > 0;
}

void CVantrelDlg::ShowSeekPosition(double position) {
  const auto second = static_cast<int64_t>(position);
  ShowElapsed(second);
  PostGpsSync(kSyncSeek, static_cast<long>(second));
}

void CVantrelDlg::ShowElapsed(int64_t second) {
  m_player.elapsedSeconds = second;
  static_cast<wxStaticText*>(FindWindow(IDC_TIME_POS))->SetLabel(formatHms(second));
  if (!m_progressDragging) m_progress->SetPos(static_cast<int>(second));
}

}  // namespace vantrel
