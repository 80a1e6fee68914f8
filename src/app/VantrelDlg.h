#pragma once
// The main window: dialog template 102 with its controls, the start-up
// sequence and the routing of the window's messages to their handlers.
#include <wx/dialog.h>

#include <string>

#include "map/Explorer1.h"

class wxChoice;
class wxListBox;

namespace vantrel {

struct PlayerState;

class CVantrelDlg : public wxDialog {
 public:
  CVantrelDlg(PlayerState& player, wxWindow* parent = nullptr);
  ~CVantrelDlg() override;

  // Ends the modal loop; any running playback is stopped first so no worker
  // outlives the window.
  void EndModal(int retCode) override;

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
  void InitFlags();

  void OnInitDialogEvent(wxInitDialogEvent& event);
  void OnSysCommand(int command);
  void OnContextMenu(wxContextMenuEvent& event);
  void OnAboutMenu(wxCommandEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnOK(wxCommandEvent& event);
  void StopPlaybackForExit();

  PlayerState& m_player;
  wxSize m_dialogBase;
  std::string m_moduleDir;
  std::string m_userDir;
  wxString m_aboutItemText;  // string 101
  CExplorer1 m_map;
  wxChoice* m_speedUnit = nullptr;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace vantrel
