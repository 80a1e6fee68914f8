// The screenshot button: the picture on screen as a BMP file in
// "VideoScreenshot" under the current directory.
#include <wx/stattext.h>

#include <filesystem>

#include "app/BmpWriter.h"
#include "app/ControlTable.h"
#include "app/ScreenshotName.h"
#include "app/VantrelDlg.h"
#include "app/VideoPanel.h"
#include "engine/PlayerState.h"
#include "engine/ShownPicture.h"

namespace vantrel {

namespace fs = std::filesystem;

namespace {

// The frame as the BMP stores it: bottom row first.
std::vector<uint8_t> bottomUpRows(const BgrFrame& frame) {
  const size_t rowBytes = static_cast<size_t>(frame.width) * 3;
  std::vector<uint8_t> pixels(rowBytes * frame.height);
  for (int r = 0; r < frame.height; ++r) {
    std::copy_n(frame.row(r), rowBytes, pixels.data() + rowBytes * (frame.height - 1 - r));
  }
  return pixels;
}

// Writes the picture; returns the file's full path, or "" with why.
std::string saveScreenshot(const BgrFrame* frame, std::string& why) {
  const fs::path folder = screenshotFolder(why);
  if (folder.empty()) return "";
  if (!frame) {
    why = "no picture yet";
    return "";
  }
  const fs::path file = folder / screenshotFileName(currentLocalTime());
  const std::vector<uint8_t> pixels = bottomUpRows(*frame);
  if (WriteBmp24(file.c_str(), pixels.data(), frame->width, frame->height) != 0) {
    why = "cannot write " + file.string();
    return "";
  }
  return file.string();
}

}  // namespace

void CVantrelDlg::TakeScreenshot() {
  if (m_player.playState.load() != Playing || !m_screenshotAllowed) return;
  m_screenshotAllowed = false;
  RefreshCommandStates();

  std::string why;
  auto frame = m_video ? m_video->CurrentFrame() : nullptr;
  // Until a new playback's first picture arrives, the area still shows the
  // previous recording's last one: not a picture of this recording.
  if (frame && frame->generation != m_player.generation.load()) frame = nullptr;
  // At the recording's own size, whatever the size shown.
  frame = fullPicture(std::move(frame));
  const std::string path = saveScreenshot(frame.get(), why);

  m_screenshotAllowed = true;
  RefreshCommandStates();
  ShowStatus(path.empty() ? wxString::FromUTF8("Screenshot not saved: " + why)
                          : wxString::FromUTF8(path));
}

}  // namespace vantrel
