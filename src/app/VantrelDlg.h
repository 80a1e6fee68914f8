#pragma once
// The main window: dialog template 102 with its controls, the start-up
// sequence and the routing of the window's messages to their handlers.
#include <wx/dialog.h>
#include <wx/timer.h>

#include <optional>
#include <string>

#include "app/ClipSaveJob.h"
#include "app/Commands.h"
#include "app/DashboardReadouts.h"
#include "app/DriveLibrary.h"
#include "app/FullScreenLayout.h"
#include "app/HeldKey.h"
#include "app/Language.h"
#include "app/LibraryTexts.h"
#include "app/Playlist.h"
#include "app/Settings.h"
#include "app/WindowPlaybackHost.h"
#include "engine/Playback.h"
#include "engine/PlaybackStats.h"
#include "gps/Dashboard.h"
#include "gps/TrackLoader.h"
#include "map/Explorer1.h"
#include "map/RouteMaps.h"
#include "map/TileSource.h"

class wxChoice;
class wxStaticText;
class wxProgressDialog;
class wxListBox;

namespace vantrel {

struct PlayerState;
class VideoPanel;
class CBitmapSlider;
class CLEDDisplay;
class CMeter;
class CDriveChart;
class CDrivesPanel;
class CScanProgress;

class CVantrelDlg : public wxDialog {
 public:
  CVantrelDlg(PlayerState& player, wxWindow* parent = nullptr);
  ~CVantrelDlg() override;

  // Ends the modal loop; any running playback is stopped first so no worker
  // outlives the window.
  void EndModal(int retCode) override;

  // Timer 1: starts a playback kStartPlaybackDelayMs after StartPlaybackTimer.
  static constexpr int kStartPlaybackTimer = 1;
  static constexpr int kStartPlaybackDelayMs = 100;
  // Timer 2: counts the playing seconds while a recording plays.
  static constexpr int kElapsedTimer = 2;
  // Timer 3: moves the clip save's progress bar.
  static constexpr int kClipProgressTimer = 3;
  // Timer 4: moves the library scan's progress bar.
  static constexpr int kLibraryTimer = 4;

  // The dashboard's playing and idle looks (UI thread; the playback thread
  // reaches them through its host, in posting order).
  void ShowPlaybackStarted();
  void ResetDashboard();
  // A recording that could not be played: why, on the status line, and the
  // idle look (no picture of an earlier recording).
  void ShowPlaybackFailed(const std::string& path, const std::string& reason);
  // After a recording played to its end: the next clip of its drive, else
  // the next entry, wrapping to the first; nothing when the user stopped
  // that playback (generation) meanwhile.
  void AdvancePlaylist(uint32_t endedGeneration);
  // A playback has been torn down: the idle look, unless it played to its
  // end and the next clip of its drive follows, which then starts without a
  // visible gap (the dashboard, the picture and the maps stay until it shows).
  void OnPlaybackReset(bool playedToEnd);
  // The next clip of a drive will not follow after all: the idle look.
  void EndContinuingDrive();
  // The loading notice over the video, which the next clip of a drive skips.
  void ShowLoading(bool shown);

  // Runs command (Commands.h) when it is enabled; whether it ran.
  bool RunCommand(Command command);
  // Puts the buttons' enabled states in line with the command table now,
  // rather than at the next idle time.
  void RefreshCommandStates();

  // What the commands run and when they can (VantrelDlgCommands.cpp).
  void ChooseFolder();
  void PlayOrPause();
  void StopPlaying();
  void OpenBigMap();
  void ShowAbout();
  void ExitProgram();
  // Escape: closes the large map, else leaves full screen, else exits.
  void GoBack();
  // direction +1 or -1: one step of kVolumeStep.
  void ChangeVolume(int direction);
  void ToggleMute();
  // Plays the entry step places on in the playlist, wrapping at its ends.
  void PlayNeighbour(int step);
  void ShowWholePicture();
  // Seeks, each to the picture at the time asked for, and frame steps
  // (VantrelDlgSeek.cpp).
  void SeekBy(double seconds);
  void SeekToStart();
  void SeekToEnd();
  // One picture on (+1) or back (-1), pausing first.
  void StepPicture(int direction);
  bool CanSeek() const;
  // step +1 or -1: the next faster or slower of kPlaybackSpeeds.
  void ChangePlaybackSpeed(int step);
  bool CanChangePlaybackSpeed(int step) const;
  bool HasRecordings() const;
  // Play is enabled from the playlist's first entry on, and stays so.
  bool PlayEnabled() const { return m_playEnabled; }
  // Between a playback's start and its end, as the buttons show it.
  bool ShowsPlayback() const { return m_playingLook; }
  bool CanTakeScreenshot() const;
  bool ShowsFullScreen() const { return m_fullScreen; }
  bool CanMarkClip() const;
  bool CanSaveClip() const;
  bool PictureZoomed() const;
  static constexpr int kVolumeStep = 8;  // of 128

  // Switches between the dialog's layout and the full-screen one.
  void ToggleFullScreen();
  // Saves the picture on screen as a BMP while a recording plays.
  void TakeScreenshot();
  // A clip of the recording playing: its start and end marked at the picture
  // shown, then saved without re-encoding into the screenshot folder, with a
  // progress bar that can cancel it (VantrelDlgClip.cpp).
  void MarkClipIn();
  void MarkClipOut();
  void SaveClip();
  bool ClipSaving() const { return m_clipJob.Running(); }
  std::optional<double> ClipIn() const { return m_clipIn; }
  std::optional<double> ClipOut() const { return m_clipOut; }
  // The start-up rectangles of the controls and the window's last normal one.
  const ControlLayout& SavedLayout() const { return m_layout; }

  // Playlist operations; UI thread only.
  // Selects entry index (0 when index is outside the list) and makes its path
  // the player's fileName; returns 0, or 1 when the list is empty.
  int SelectPlaylistEntry(int index);
  int CurrentPlaylistIndex() const;
  void StartPlaybackTimer();
  // Stops what plays and starts the selected entry (double-click, drop).
  void PlaySelectedEntry();
  // Lists folder's recordings as the Open button does; an unreadable folder
  // leaves the list as it was and says why in the status line.
  void OpenFolder(const std::string& folder);
  // Adds path (or selects the entry already listing it) and plays it, as a
  // drop does; pictures and RealMedia are ignored. Returns whether it plays.
  bool OpenDroppedFile(const std::string& path);
  bool OnDropFiles(const wxArrayString& paths);
  // vantrel FOLDER lists the folder, vantrel FILE plays the file.
  void OpenCommandLinePath(const std::string& path);

  // The language handler and the texts of the current language.
  int OnLanguageChosen();
  wxString LanguageText(int slot);
  // Puts slot of the current language on control id (the play button's
  // states, the full-screen button's two texts).
  void SetLanguageText(int id, int slot);

  // The small map's browser and the dashboard kept in step with playback.
  CExplorer1& SmallMap() { return m_map; }
  CRouteMaps& RouteMaps() { return m_routeMaps; }
  const Dashboard& GetDashboard() const { return m_dashboard; }
  GpsTrack& CurrentTrack() { return m_gpsTrack; }

  // The video area: the sink the display hands finished pictures to.
  VideoPanel* VideoArea() const { return m_video; }
  // How smoothly the pictures reached the video area since the window opened.
  PlaybackStats ShownStats() const;

  // The open folder's library, drives and place search (VantrelDlgLibrary.cpp).
  CDriveLibrary& Library() { return m_library; }
  // The scan's progress bar (shown while a folder is scanned), and the large
  // map's drives panel and chart (null until the large map is first opened).
  CScanProgress* ScanProgressBar() const { return m_scanProgress; }
  CDrivesPanel* DrivesPanel() const { return m_drivesPanel; }
  CDriveChart* DriveChart() const { return m_driveChart; }
  std::optional<size_t> ChosenDrive() const { return m_chosenDrive; }
  // Draws drive's whole route on the large map and its chart under it.
  void ChooseDrive(size_t drive);
  // Plays the recording of moment from its second (a seek when it plays).
  void PlayMoment(const DriveMoment& moment);
  // A text the large map's page posted: "route <lat> <lon>" plays the
  // chosen drive from the moment nearest the click, "place <lat> <lon>"
  // opens the menu with "Recordings here".
  void OnBigMapMessage(const wxString& text);
  // The entries of "Recordings here" at a point: a label and the moment.
  std::vector<std::pair<wxString, DriveMoment>> RecordingsHereItems(double latitude,
                                                                    double longitude);
  // Writes the chosen format of drive's track to path; the outcome goes to
  // the drives panel's line. Returns whether it was written.
  bool ExportDriveTo(size_t drive, const std::string& path);

  // The settings as read at start and changed since; each change is saved.
  const Settings& GetSettings() const { return m_settings; }
  const std::string& SettingsPath() const { return m_settingsPath; }
  // Plays at speed from now on, shows it beside the elapsed time and keeps
  // it for the next start, when it is one of kPlaybackSpeeds; returns
  // whether it was (VantrelDlgSpeed.cpp).
  bool SetPlaybackSpeed(double speed);
  double PlaybackSpeed() const;
  // The speed label beside the elapsed time, hidden at normal speed.
  wxStaticText* PlaybackSpeedLabel() const { return m_speedLabel; }

  const std::string& ModuleDir() const { return m_moduleDir; }
  const std::string& UserDir() const { return m_userDir; }
  // Pixel base of one dialog unit (average character width and height).
  wxSize DialogBase() const { return m_dialogBase; }

 private:
  void CreateControls();
  bool OnInitDialog();
  // Start-up steps, in the order they run.
  void InitAboutMenu();
  void InitIcons();
  void InitDirectories();
  void InitSpeedUnitBox();
  void InitLanguageBox();
  void InitMeter();
  void InitLanguageTexts();
  void InitProgressSlider();
  void InitVolumeSlider();
  // Settings (VantrelDlgSettings.cpp): read at start, saved on each change.
  void InitSettings();
  void ApplySettings();
  void SaveSettings();
  // Adds note (if any) to what the status line says about start-up.
  void AddStartupNote(const std::string& note);
  void NavigateSmallMap();
  void CheckWebEngine();

  void OnInitDialogEvent(wxInitDialogEvent& event);
  void OnPlaylistDoubleClick(wxCommandEvent& event);
  void OnLanguageChosenEvent(wxCommandEvent& event);
  // The status line above the video. A note (the last screenshot) stays for
  // the rest of the run; a problem (a folder or a recording that cannot be
  // read) shows over it until it is replaced or mended (a folder read, a
  // recording playing), and the note comes back.
  void ShowStatus(const wxString& note);
  void ShowProblem(const wxString& text);
  void ClearProblem();
  void SetStatusLine(const wxString& text);
  void OnSysCommand(int command);
  void CaptureControlLayout();
  void EnterFullScreen();
  void LeaveFullScreen();
  void OnContextMenu(wxContextMenuEvent& event);
  // Commands (VantrelDlgCommands.cpp).
  void OnCharHook(wxKeyEvent& event);
  bool FocusTakesKey(const wxKeyEvent& event) const;
  void OnCommandButton(wxCommandEvent& event);
  void OnCommandMenu(wxCommandEvent& event);
  void OnUpdateCommandUI(wxUpdateUIEvent& event);
  void SetVolume(int volume);
  void OnGpsSync(wxThreadEvent& event);
  void OnSpeedUnitChange(wxCommandEvent& event);
  // Transport (VantrelDlgTransport.cpp).
  void OnStartPlaybackTimer(wxTimerEvent& event);
  void OnElapsedTimer(wxTimerEvent& event);
  // Timer 2 ticks once a second of the recording: 1000 ms over the speed.
  void StartElapsedTimer();
  // Timer 2 started again with the count from the picture on screen.
  void RestartElapsedTimer();
  void ResumePlaying();
  // The speed label: under the elapsed time in either layout.
  void CreatePlaybackSpeedLabel();
  void PlacePlaybackSpeedLabel();
  void OnSliderSet(wxThreadEvent& event);
  void OnSliderTrack(wxThreadEvent& event);
  void OnProgressReleased();
  // The slider, the elapsed time and the dashboard moved to a seek's position.
  void ShowSeekPosition(double position);
  // elapsedSeconds, the elapsed time and the slider at second.
  void ShowElapsed(int64_t second);
  void PostGpsSync(GpsSyncCode code, long argument);
  void StopPlaybackForExit();
  // Clip (VantrelDlgClip.cpp).
  std::optional<double> ShownPictureTime() const;
  void ForgetOtherRecordingsMarks();
  void ShowClipMarks();
  void OnClipProgressTimer(wxTimerEvent& event);
  void OnClipSaved(const SavedClip& saved);
  // Library (VantrelDlgLibrary.cpp).
  void StartLibraryScan(std::vector<std::string> paths, const std::string& folder);
  void OnLibraryTimer(wxTimerEvent& event);
  void OnLibraryScanned();
  bool LibraryHasTrouble() const;
  wxString LibrarySummary();
  // A text of the library in the current language.
  wxString LibraryLabel(LibraryText text);
  // The library's texts on screen in the language just chosen.
  void ApplyLibraryLanguage();
  void FurnishBigMap();
  void ShowDrivesPanel();
  void SendChosenDrive();
  void ShowRecordingsHere(double latitude, double longitude);
  void ExportDrive(size_t drive);
  // The maps' drive context for the recording about to play.
  void SetDriveContextFor(const std::string& path);
  // The next clip of the drive of the recording playing, when one follows.
  std::optional<int> NextDriveEntry() const;
  void SeekTo(int64_t second);
  void ApplyPendingSeek();
  void UpdateChartCursor(int64_t seconds);

  PlayerState& m_player;
  wxSize m_dialogBase;
  std::string m_moduleDir;
  std::string m_userDir;
  std::string m_settingsPath;
  Settings m_settings;
  std::string m_startupNote;  // what start-up could not use, on the status line
  TileSource m_tileSource;    // the maps' tiles, chosen at start
  wxString m_aboutItemText;   // string 101
  CExplorer1 m_map;
  wxChoice* m_speedUnit = nullptr;
  ControlLayout m_layout;
  // What only the window's own controls change; UI thread only.
  bool m_screenshotAllowed = true;   // no screenshot being saved
  bool m_fullScreen = false;         // the full-screen layout is shown
  bool m_progressDragging = false;   // the progress slider's thumb is held
  bool m_playingLook = false;        // set by ShowPlaybackStarted, cleared by ResetDashboard
  bool m_playEnabled = false;        // the playlist has had an entry
  std::optional<int> m_mutedVolume;  // the volume before Mute
  HeldKey m_heldKey;                 // which key presses are a held key's repeats
  bool m_keyRepeats = false;         // the key being handled is held down
  VideoPanel* m_video = nullptr;     // IDC_VIDEO
  // The instruments, owned by the window as its children.
  CMeter* m_meter = nullptr;
  CLEDDisplay* m_ledTime = nullptr;
  CLEDDisplay* m_ledLatitude = nullptr;
  CLEDDisplay* m_ledLongitude = nullptr;
  CLEDDisplay* m_ledSpeed = nullptr;
  CLEDDisplay* m_ledAvgSpeed = nullptr;
  CLEDDisplay* m_ledDistance = nullptr;
  CLEDDisplay* m_ledMaxSpeed = nullptr;
  CBitmapSlider* m_progress = nullptr;
  CBitmapSlider* m_volume = nullptr;
  wxChoice* m_languageBox = nullptr;
  Language m_language;
  Playlist m_playlist;  // what m_playlistBox shows, in the same order
  wxListBox* m_playlistBox = nullptr;
  wxTimer m_startPlaybackTimer{this, kStartPlaybackTimer};
  wxTimer m_elapsedTimer{this, kElapsedTimer};
  wxStaticText* m_speedLabel = nullptr;
  // The dashboard and the maps it draws on; UI thread only.
  CDashboardReadouts m_readouts{*this};
  CRouteMaps m_routeMaps{m_map, this, wxWebViewBackendDefault};
  GpsTrack m_gpsTrack;  // filled by the playback thread, read by the dashboard
  Dashboard m_dashboard{m_player, m_gpsTrack, m_readouts, &m_routeMaps};
  wxString m_webEngineText;  // the About box's second line
  wxString m_statusNote;     // what the status line shows without a problem
  bool m_statusProblem = false;
  bool m_playbackProblem = false;  // the problem shown is a recording that could not play

  // The clip's marks (seconds of the recording) and the playback they were
  // set in; the save and its progress bar while it runs.
  std::optional<double> m_clipIn, m_clipOut;
  uint32_t m_clipGeneration = 0;
  ClipSaveJob m_clipJob;
  wxProgressDialog* m_clipProgress = nullptr;
  wxWindow* m_focusBeforeClip = nullptr;  // a child of this window
  wxTimer m_clipTimer{this, kClipProgressTimer};

  // The library of the open folder; its scan reports back through CallAfter.
  CDriveLibrary m_library{[this](std::function<void()> call) { CallAfter(std::move(call)); }};
  CScanProgress* m_scanProgress = nullptr;
  wxTimer m_libraryTimer{this, kLibraryTimer};
  CDrivesPanel* m_drivesPanel = nullptr;  // children of the large map
  CDriveChart* m_driveChart = nullptr;
  std::optional<size_t> m_chosenDrive;
  // A second to seek to once the playback of path has started.
  std::optional<DriveMoment> m_pendingSeek;
  // The recording that ended continues its drive: the next one starts with
  // the dashboard as it was.
  bool m_continuingDrive = false;
  // The playback the user stopped last: its end must not start the next one.
  std::optional<uint32_t> m_stoppedGeneration;

  // The playback thread; stopped and joined before the window goes away.
  CWindowPlaybackHost m_playbackHost{*this, m_player};
  Playback m_playback{m_player, m_playbackHost, trackLoaderInto(m_gpsTrack)};

  wxDECLARE_EVENT_TABLE();
};

}  // namespace vantrel
