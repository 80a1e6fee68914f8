// The main window's playlist: opening a folder, drops, the command line, and
// the operations with which playback picks and starts the next file.
#include <wx/dirdlg.h>
#include <wx/listbox.h>

#include <filesystem>

#include "app/ControlTable.h"
#include "app/VantrelDlg.h"
#include "app/VideoPanel.h"
#include "engine/PlayerState.h"
#include "engine/Transport.h"

namespace vantrel {

namespace fs = std::filesystem;

namespace {

// File names need not be UTF-8; such a name is shown byte for byte.
wxString pathText(const std::string& path) {
  wxString text = wxString::FromUTF8(path);
  return (text.empty() && !path.empty()) ? wxString::From8BitData(path.c_str()) : text;
}

}  // namespace

int CVantrelDlg::SelectPlaylistEntry(int index) {
  if (m_playlist.Count() == 0) return 1;
  const int entry = clampPlaylistIndex(index, m_playlist.Count());
  m_playlistBox->SetSelection(entry);
  m_player.setFileName(m_playlist.Path(entry));
  return 0;
}

int CVantrelDlg::CurrentPlaylistIndex() const {
  return m_playlistBox->GetSelection();
}

void CVantrelDlg::StartPlaybackTimer() {
  m_startPlaybackTimer.StartOnce(kStartPlaybackDelayMs);
}

void CVantrelDlg::PlaySelectedEntry() {
  if (m_player.opening.load()) return;
  // In every state, so that a playback still winding down ends too.
  stopPlayback(m_player);
  if (SelectPlaylistEntry(CurrentPlaylistIndex()) == 0) StartPlaybackTimer();
}

void CVantrelDlg::ChooseFolder() {
  wxDirDialog chooser(this, wxDirSelectorPromptStr, wxString::FromUTF8(m_settings.lastFolder),
                      wxDD_DIR_MUST_EXIST);
  if (chooser.ShowModal() != wxID_OK) return;
  OpenFolder(chooser.GetPath().utf8_string());
}

void CVantrelDlg::OpenFolder(const std::string& folder) {
  const FolderListing listing = listRecordings(folder);
  if (listing.error) {
    ShowProblem(wxString::Format("Cannot read the folder %s: %s", pathText(folder),
                                 wxString::FromUTF8(listing.error.message())));
    return;
  }
  // An earlier failure goes; the last note (what start-up could not use, the
  // last screenshot) stays said.
  ClearProblem();
  if (m_settings.lastFolder != folder) {
    m_settings.lastFolder = folder;
    SaveSettings();
  }
  // Playback goes on; the next play or the next end picks from the new list.
  const int selection = m_playlist.Fill(listing.paths);
  wxArrayString texts;
  for (int i = 0; i < m_playlist.Count(); ++i) texts.Add(pathText(m_playlist.Path(i)));
  m_playlistBox->Set(texts);
  if (selection >= 0) {
    m_playlistBox->SetSelection(selection);
    m_playEnabled = true;
  }
  RefreshCommandStates();
  StartLibraryScan(listing.paths, folder);
}

bool CVantrelDlg::OpenDroppedFile(const std::string& path) {
  if (isIgnoredDrop(path)) return false;
  const Playlist::Placement placement = m_playlist.AddOrFind(path);
  if (placement.added) m_playlistBox->Insert(pathText(path), placement.index);
  m_playlistBox->SetSelection(placement.index);
  m_playEnabled = true;
  PlaySelectedEntry();
  RefreshCommandStates();
  return true;
}

bool CVantrelDlg::OnDropFiles(const wxArrayString& paths) {
  // Only the first file of a drop is taken.
  return !paths.empty() && OpenDroppedFile(paths[0].utf8_string());
}

void CVantrelDlg::OpenCommandLinePath(const std::string& path) {
  std::error_code error;
  fs::path full = fs::absolute(path, error);
  if (error) full = path;
  full = full.lexically_normal();
  if (fs::is_directory(full, error)) {
    OpenFolder(full.string());
  } else if (!fs::exists(full, error)) {
    ShowProblem(wxString::Format("No such file or folder: %s", pathText(full.string())));
  } else if (!OpenDroppedFile(full.string())) {
    ShowProblem(wxString::Format("Not a recording: %s", pathText(full.string())));
  }
}

void CVantrelDlg::ShowPlaybackFailed(const std::string& path, const std::string& reason) {
  // The idle look: no picture, and no route, not even one a track beside
  // the unplayable file drew.
  m_video->ClearPicture();
  m_routeMaps.ClearRoutes();
  ShowProblem(wxString::Format("Cannot play %s: %s", pathText(path), wxString::FromUTF8(reason)));
  m_playbackProblem = true;
}

void CVantrelDlg::OnPlaylistDoubleClick(wxCommandEvent&) {
  PlaySelectedEntry();
}

}  // namespace vantrel
