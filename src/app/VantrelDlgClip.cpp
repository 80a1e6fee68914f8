// A clip of the recording playing: the start and end marked at the picture
// shown, saved without re-encoding into the screenshot folder while a
// progress bar shows how far it has got and can cancel it.
#include <wx/progdlg.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "app/ScreenshotName.h"
#include "app/VantrelDlg.h"
#include "app/VideoPanel.h"
#include "engine/PlayerState.h"

namespace vantrel {

namespace {

constexpr int kProgressSteps = 1000;
// An end no recording reaches: the copy stops at the recording's end.
constexpr double kToTheEnd = 1e9;
constexpr int kProgressTickMs = 100;

// "00:01:05.20": hours, minutes, seconds and hundredths.
wxString markText(double seconds) {
  const long long hundredths = std::llround(std::max(seconds, 0.0) * 100);
  return wxString::Format("%02lld:%02lld:%02lld.%02lld", hundredths / 360000,
                          hundredths / 6000 % 60, hundredths / 100 % 60, hundredths % 100);
}

// " from 00:00:03.20 to the end": what the marks span.
wxString spanText(const std::optional<double>& in, const std::optional<double>& out) {
  return (in ? " from " + markText(*in) : wxString(" from the start")) +
         (out ? " to " + markText(*out) : wxString(" to the end"));
}

}  // namespace

std::optional<double> CVantrelDlg::ShownPictureTime() const {
  if (m_player.playState.load() == Idle || !m_video) return {};
  const std::shared_ptr<const BgrFrame> frame = m_video->CurrentFrame();
  // The area may still show the last recording's picture.
  if (!frame || frame->generation != m_player.generation.load()) return {};
  return frame->time;
}

void CVantrelDlg::ForgetOtherRecordingsMarks() {
  if (m_clipGeneration == m_player.generation.load()) return;
  m_clipGeneration = m_player.generation.load();
  m_clipIn.reset();
  m_clipOut.reset();
}

void CVantrelDlg::MarkClipIn() {
  const std::optional<double> time = ShownPictureTime();
  if (!time) return;
  ForgetOtherRecordingsMarks();
  m_clipIn = time;
  if (m_clipOut && *m_clipOut <= *time) m_clipOut.reset();
  ShowClipMarks();
}

void CVantrelDlg::MarkClipOut() {
  const std::optional<double> time = ShownPictureTime();
  if (!time) return;
  ForgetOtherRecordingsMarks();
  m_clipOut = time;
  if (m_clipIn && *m_clipIn >= *time) m_clipIn.reset();
  ShowClipMarks();
}

void CVantrelDlg::ShowClipMarks() {
  ShowStatus("Clip:" + spanText(m_clipIn, m_clipOut) + " (Ctrl+S saves it)");
}

void CVantrelDlg::SaveClip() {
  if (m_clipJob.Running() || m_player.playState.load() == Idle) return;
  ForgetOtherRecordingsMarks();
  if (!m_clipIn && !m_clipOut) {
    ShowStatus("Clip not saved: mark its start with I and its end with O first");
    return;
  }
  std::string why;
  const std::string folder = screenshotFolder(why);
  if (folder.empty()) {
    ShowStatus(wxString::FromUTF8("Clip not saved: " + why));
    return;
  }
  const double start = m_clipIn.value_or(0.0);
  const double end = m_clipOut.value_or(kToTheEnd);
  const std::string recording = m_player.getFileName();
  m_focusBeforeClip = FindFocus();
  m_clipJob.Start(recording, folder, start, end, [this](const SavedClip& saved) {
    CallAfter([this, saved] { OnClipSaved(saved); });
  });
  const wxString name = wxString::FromUTF8(std::filesystem::path(recording).filename().string());
  m_clipProgress = new wxProgressDialog(
      "Save Clip", "Saving " + name + spanText(m_clipIn, m_clipOut), kProgressSteps, this,
      wxPD_CAN_ABORT | wxPD_ELAPSED_TIME | wxPD_REMAINING_TIME);
  m_clipTimer.Start(kProgressTickMs);
}

void CVantrelDlg::OnClipProgressTimer(wxTimerEvent&) {
  if (!m_clipProgress) return;
  const int value = static_cast<int>(m_clipJob.Progress() * (kProgressSteps - 1));
  // Cancel ends the save at its next packet; OnClipSaved then closes the bar.
  if (!m_clipProgress->Update(value)) m_clipJob.Cancel();
}

void CVantrelDlg::OnClipSaved(const SavedClip& saved) {
  m_clipTimer.Stop();
  if (m_clipProgress) {
    m_clipProgress->Destroy();
    m_clipProgress = nullptr;
    // The keys come back to this window, where they were.
    Raise();
    if (m_focusBeforeClip && m_focusBeforeClip->IsShownOnScreen()) m_focusBeforeClip->SetFocus();
  }
  if (saved.status != kClipWritten) {
    ShowStatus(wxString::FromUTF8("Clip not saved: " + saved.reason));
    return;
  }
  wxString text = wxString::FromUTF8("Clip saved: " + saved.clipPath);
  if (!saved.trackPath.empty()) text += wxString::FromUTF8(" and " + saved.trackPath);
  if (!saved.trackReason.empty())
    text += wxString::FromUTF8(" (track not cut: " + saved.trackReason + ")");
  ShowStatus(text);
}

}  // namespace vantrel
