// The main window's library: the scan of an opened folder with its progress
// bar, the large map's drives panel and chart, clicks on a drive's route,
// "Recordings here", the export of a drive, and the drive the maps draw
// around the recording playing.
#include <wx/choice.h>
#include <wx/filedlg.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/stattext.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>

#include "app/ControlTable.h"
#include "app/DriveViews.h"
#include "app/DrivesPanel.h"
#include "app/LanguageTable.h"
#include "app/LibraryTexts.h"
#include "app/ScanProgress.h"
#include "app/VantrelDlg.h"
#include "engine/PlayerState.h"
#include "engine/Transport.h"
#include "library/CivilTime.h"
#include "library/ClipTime.h"
#include "library/TrackExport.h"
#include "map/BigMap.h"
#include "map/WebPage.h"
#include "widgets/BitmapSlider.h"
#include "widgets/DriveChart.h"

namespace vantrel {

namespace {

constexpr int kProgressTickMs = 100;
// How far from a drive's route a click on it may land.
constexpr double kRouteClickMetres = 150;
// The most entries "Recordings here" lists.
constexpr size_t kMostPlaces = 40;
constexpr int kFirstPlaceItem = wxID_HIGHEST + 100;

wxString fileNameText(const std::string& path) {
  return wxString::FromUTF8(std::filesystem::path(path).filename().string());
}

// "2024-05-01 07:30:47": a UTC time in local time.
wxString localTimeText(int64_t ms) {
  const CivilTime t = civilOfLocal(ms);
  return wxString::Format("%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                          t.second);
}

struct PageMessage {
  std::string kind;
  double latitude = 0;
  double longitude = 0;
};

std::optional<PageMessage> parsePageMessage(const wxString& text) {
  std::istringstream in(text.utf8_string());
  PageMessage message;
  if (!(in >> message.kind >> message.latitude >> message.longitude)) return std::nullopt;
  return message;
}

}  // namespace

void CVantrelDlg::StartLibraryScan(std::vector<std::string> paths, const std::string& folder) {
  if (!m_scanProgress) {
    // Over the top of the video while it runs, where the status line is.
    const wxRect video = FindWindow(IDC_VIDEO)->GetRect();
    m_scanProgress =
        new CScanProgress(this, video.GetTopLeft(), wxDefaultSize, [this] { m_library.Cancel(); });
    m_scanProgress->SetSize(video.width, m_scanProgress->GetBestSize().y);
  }
  m_scanProgress->SetLanguage(m_language.ReadLanguage(false));
  m_scanProgress->SetCounts(0, paths.size());
  m_scanProgress->Show();
  m_scanProgress->Raise();
  m_library.Scan(folder, std::move(paths), [this] { OnLibraryScanned(); });
  m_libraryTimer.Start(kProgressTickMs);
  if (m_drivesPanel) m_drivesPanel->SetStatus(LibraryLabel(LibraryText::ReadingFolder));
}

wxString CVantrelDlg::LibraryLabel(LibraryText text) {
  return libraryText(m_language.ReadLanguage(false), text);
}

void CVantrelDlg::ApplyLibraryLanguage() {
  if (m_scanProgress) m_scanProgress->SetLanguage(m_language.ReadLanguage(false));
  ShowDrivesPanel();
}

void CVantrelDlg::OnLibraryTimer(wxTimerEvent&) {
  if (m_scanProgress) m_scanProgress->SetCounts(m_library.Done(), m_library.Total());
}

void CVantrelDlg::OnLibraryScanned() {
  m_libraryTimer.Stop();
  if (m_scanProgress) m_scanProgress->Hide();
  // The line above the video tells of what went wrong (a cancel, unreadable
  // files, the index); the drives panel always has the summary.
  wxString status = LibraryHasTrouble() ? LibrarySummary() : wxString();
  if (!m_startupNote.empty()) {
    status += (status.empty() ? "" : "; ") + wxString::FromUTF8(m_startupNote);
  }
  ShowStatus(status);
  m_chosenDrive.reset();
  if (m_drivesPanel) ShowDrivesPanel();
  // A recording that started before its drive was known: the maps draw the
  // whole drive now (or when its track arrives).
  SetDriveContextFor(m_player.getFileName());
  m_dashboard.RedrawMaps();
}

bool CVantrelDlg::LibraryHasTrouble() const {
  const LibraryContents& contents = m_library.Contents();
  const auto unreadable = [](const ClipRecord& clip) { return !clip.readable; };
  return contents.cancelled || !m_library.Note().empty() ||
         std::any_of(contents.clips.begin(), contents.clips.end(), unreadable);
}

wxString CVantrelDlg::LibrarySummary() {
  const LibraryContents& contents = m_library.Contents();
  size_t unreadable = 0;
  for (const ClipRecord& clip : contents.clips) unreadable += clip.readable ? 0 : 1;
  wxString text = wxString::Format(LibraryLabel(LibraryText::Summary), contents.drives.size(),
                                   contents.clips.size());
  if (contents.cancelled) text += LibraryLabel(LibraryText::Cancelled);
  if (unreadable) text += wxString::Format(LibraryLabel(LibraryText::UnreadableCount), unreadable);
  const std::string note = m_library.Note();
  if (!note.empty()) text += ". " + wxString::FromUTF8(note);
  return text;
}

void CVantrelDlg::FurnishBigMap() {
  if (m_drivesPanel) return;
  CBigMap& big = m_routeMaps.BigMapWindow();
  m_drivesPanel = new CDrivesPanel(&big);
  m_driveChart = new CDriveChart(&big, wxID_ANY);
  big.SetPanels(m_drivesPanel, m_driveChart);
  m_drivesPanel->SetChooseHandler([this](size_t drive) { ChooseDrive(drive); });
  m_drivesPanel->SetExportHandler([this](size_t drive) { ExportDrive(drive); });
  m_driveChart->SetClickHandler([this](double seconds) {
    if (!m_chosenDrive) return;
    if (const auto moment = m_library.MomentOf(*m_chosenDrive, std::llround(seconds * 1000))) {
      PlayMoment(*moment);
    }
  });
  big.Browser().SetMessageHandler([this](const wxString& text) { OnBigMapMessage(text); });
  // Each opening loads the page anew: the chosen drive is drawn again.
  big.Browser().SetLoadedHandler([this] { SendChosenDrive(); });
}

void CVantrelDlg::ShowDrivesPanel() {
  if (!m_drivesPanel) return;
  m_drivesPanel->SetLanguage(m_language.ReadLanguage(false));
  m_driveChart->SetEmptyText(LibraryLabel(LibraryText::NoChart));
  m_drivesPanel->ShowDrives(m_library.Contents(), m_speedUnit->GetSelection());
  m_drivesPanel->SetStatus(m_library.Scanning() ? LibraryLabel(LibraryText::ReadingFolder)
                                                : LibrarySummary());
  // The drive of the recording playing, when none was chosen.
  if (!m_chosenDrive && m_player.playState.load() != Idle) {
    if (const auto place = m_library.PlaceOf(m_player.getFileName())) m_chosenDrive = place->drive;
  }
  if (m_chosenDrive) {
    ChooseDrive(*m_chosenDrive);
  } else {
    m_driveChart->SetLanes({}, 0);
  }
}

void CVantrelDlg::ChooseDrive(size_t drive) {
  const LibraryContents& contents = m_library.Contents();
  if (drive >= contents.drives.size()) return;
  m_chosenDrive = drive;
  const Drive& chosen = contents.drives[drive];
  if (m_drivesPanel) m_drivesPanel->SelectDrive(drive);
  if (m_driveChart) {
    m_driveChart->SetLanes(driveChartLanes(chosen, contents.clips, m_speedUnit->GetSelection(),
                                           m_language.ReadLanguage(false)),
                           static_cast<double>(chosen.endMs - chosen.startMs) / 1000);
  }
  SendChosenDrive();
  UpdateChartCursor(m_player.elapsedSeconds.load());
}

void CVantrelDlg::SendChosenDrive() {
  CBigMap* big = m_routeMaps.BigMap();
  if (!big || !big->m_bOpen) return;
  CWebPage page;
  if (!page.AttachDocument(big->Browser().Document())) return;  // sent when it has loaded
  const LibraryContents& contents = m_library.Contents();
  if (m_chosenDrive && *m_chosenDrive < contents.drives.size()) {
    page.CallScriptFunction("showDrive",
                            {driveRouteText(contents.drives[*m_chosenDrive], contents.clips)});
  } else {
    page.CallScriptFunction("clearDrive");
  }
}

void CVantrelDlg::OnBigMapMessage(const wxString& text) {
  const std::optional<PageMessage> message = parsePageMessage(text);
  if (!message) return;
  if (message->kind == "route" && m_chosenDrive) {
    const LibraryContents& contents = m_library.Contents();
    if (const auto moment =
            nearestDriveMoment(contents.drives[*m_chosenDrive], contents.clips, message->latitude,
                               message->longitude, kRouteClickMetres)) {
      PlayMoment(*moment);
    }
  } else if (message->kind == "place") {
    // The page's signal is still being handled: the menu opens after it.
    CallAfter([this, message] { ShowRecordingsHere(message->latitude, message->longitude); });
  }
}

std::vector<std::pair<wxString, DriveMoment>> CVantrelDlg::RecordingsHereItems(double latitude,
                                                                               double longitude) {
  std::vector<std::pair<wxString, DriveMoment>> items;
  const wxString format = LibraryLabel(LibraryText::PassItem);
  for (const PlaceHit& hit : m_library.RecordingsHere(latitude, longitude)) {
    if (items.size() == kMostPlaces) break;
    // The index may still know clips a cancelled scan did not reach: only
    // the folder's listed clips can play.
    const ClipRecord* clip = m_library.ClipOf(hit.path);
    if (!clip) continue;
    const wxString label =
        wxString::Format(format, fileNameText(hit.path), formatHms(hit.offsetMs / 1000),
                         localTimeText(clipTime(*clip).startMs + hit.offsetMs), hit.distanceMetres);
    items.emplace_back(label, DriveMoment{hit.path, hit.offsetMs});
  }
  return items;
}

void CVantrelDlg::ShowRecordingsHere(double latitude, double longitude) {
  CBigMap* big = m_routeMaps.BigMap();
  if (!big || !big->m_bOpen) return;
  const auto items = RecordingsHereItems(latitude, longitude);
  auto* places = new wxMenu;
  for (size_t i = 0; i < items.size(); ++i) {
    places->Append(kFirstPlaceItem + static_cast<int>(i), items[i].first);
  }
  if (items.empty()) {
    places
        ->Append(kFirstPlaceItem - 1, wxString::Format(LibraryLabel(LibraryText::NoRecordingHere),
                                                       kRecordingsHereMetres))
        ->Enable(false);
  }
  wxMenu menu;
  menu.AppendSubMenu(places, LibraryLabel(LibraryText::RecordingsHere));
  const int chosen = big->GetPopupMenuSelectionFromUser(menu);
  const int index = chosen - kFirstPlaceItem;
  if (index >= 0 && static_cast<size_t>(index) < items.size()) PlayMoment(items[index].second);
}

void CVantrelDlg::ExportDrive(size_t drive) {
  const LibraryContents& contents = m_library.Contents();
  if (drive >= contents.drives.size()) return;
  const CivilTime start = civilOfUtc(contents.drives[drive].startMs);
  const wxString name =
      wxString::Format("drive-%04d%02d%02d-%02d%02d%02d.gpx", start.year, start.month, start.day,
                       start.hour, start.minute, start.second);
  wxFileDialog chooser(m_routeMaps.BigMap(), LibraryLabel(LibraryText::ExportTitle), "", name,
                       "GPX 1.1 (*.gpx)|*.gpx|KML (*.kml)|*.kml|CSV (*.csv)|*.csv|"
                       "GeoJSON (*.geojson)|*.geojson",
                       wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (chooser.ShowModal() != wxID_OK) return;
  // A name without a known extension takes the chosen type's.
  static constexpr const char* kExtensions[] = {".gpx", ".kml", ".csv", ".geojson"};
  std::string path = chooser.GetPath().utf8_string();
  const std::string extension = std::filesystem::path(path).extension().string();
  if (extension.size() < 2 || !exportFormatNamed(extension.substr(1))) {
    path += kExtensions[std::clamp(chooser.GetFilterIndex(), 0, 3)];
  }
  ExportDriveTo(drive, path);
}

bool CVantrelDlg::ExportDriveTo(size_t drive, const std::string& path) {
  const LibraryContents& contents = m_library.Contents();
  if (drive >= contents.drives.size()) return false;
  const std::string extension = std::filesystem::path(path).extension().string();
  const ExportFormat format =
      exportFormatNamed(extension.empty() ? "" : extension.substr(1)).value_or(ExportFormat::Gpx);
  const ExportTrack track = driveExportTrack(contents.drives[drive], contents.clips);
  std::string reason;
  const bool written = !track.segments.empty() && writeExportFile(track, format, path, reason);
  const wxString why =
      track.segments.empty() ? LibraryLabel(LibraryText::NoDriveTrack) : wxString::FromUTF8(reason);
  const wxString outcome =
      written ? wxString::Format(LibraryLabel(LibraryText::ExportedTo), wxString::FromUTF8(path))
              : wxString::Format(LibraryLabel(LibraryText::NotExported), why);
  if (m_drivesPanel) m_drivesPanel->SetStatus(outcome);
  return written;
}

void CVantrelDlg::SetDriveContextFor(const std::string& path) {
  const std::optional<DrivePlace> place = m_library.PlaceOf(path);
  const LibraryContents& contents = m_library.Contents();
  if (!place || contents.drives[place->drive].clips.size() < 2) {
    m_routeMaps.SetDriveContext("", {}, {});
    return;
  }
  const Drive& drive = contents.drives[place->drive];
  DriveNeighbours neighbours = driveNeighbours(drive, contents.clips, place->position);
  m_routeMaps.SetDriveContext(contents.folder + "\n" + std::to_string(drive.startMs),
                              std::move(neighbours.before), std::move(neighbours.after));
}

std::optional<int> CVantrelDlg::NextDriveEntry() const {
  const std::optional<DrivePlace> place = m_library.PlaceOf(m_player.getFileName());
  if (!place) return std::nullopt;
  const LibraryContents& contents = m_library.Contents();
  const Drive& drive = contents.drives[place->drive];
  if (place->position + 1 >= drive.clips.size()) return std::nullopt;
  const std::string& next = contents.clips[drive.clips[place->position + 1].clip].key.path;
  const int entry = m_playlist.FindPrefix(next);
  if (entry < 0 || m_playlist.Path(entry) != next) return std::nullopt;
  return entry;
}

void CVantrelDlg::PlayMoment(const DriveMoment& moment) {
  const int entry = m_playlist.FindPrefix(moment.path);
  if (entry < 0 || m_playlist.Path(entry) != moment.path) return;
  const int64_t second = moment.offsetMs / 1000;
  if (m_player.getFileName() == moment.path && m_player.playState.load() != Idle &&
      !m_player.opening.load()) {
    SeekTo(second);
    return;
  }
  m_pendingSeek = moment;
  m_playlistBox->SetSelection(entry);
  PlaySelectedEntry();
}

void CVantrelDlg::SeekTo(int64_t second) {
  if (m_player.playState.load() == Paused) ResumePlaying();
  if (!requestSeek(m_player, second)) return;
  PostGpsSync(kSyncSeek, static_cast<long>(second));
  m_progress->SetPos(static_cast<int>(second));
  static_cast<wxStaticText*>(FindWindow(IDC_TIME_POS))->SetLabel(formatHms(second));
}

void CVantrelDlg::ApplyPendingSeek() {
  if (!m_pendingSeek) return;
  const DriveMoment moment = *m_pendingSeek;
  m_pendingSeek.reset();
  if (moment.path == m_player.getFileName() && moment.offsetMs >= 1000) {
    SeekTo(moment.offsetMs / 1000);
  }
}

void CVantrelDlg::UpdateChartCursor(int64_t seconds) {
  if (!m_driveChart || !m_chosenDrive) return;
  const LibraryContents& contents = m_library.Contents();
  std::optional<double> at;
  if (m_player.playState.load() != Idle && *m_chosenDrive < contents.drives.size()) {
    at = driveSecondsOf(contents.drives[*m_chosenDrive], contents.clips, m_player.getFileName(),
                        seconds * 1000);
  }
  m_driveChart->SetCursorTime(at);
}

}  // namespace vantrel
