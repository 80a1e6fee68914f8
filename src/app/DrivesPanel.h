#pragma once
// The drives panel of the large map: one row per drive of the open folder
// (date, start-end, clips, distance, maximum speed), then the files that
// could not be read with the reason, a line on the scan, and the export of
// the chosen drive.
#include <wx/panel.h>

#include <functional>
#include <optional>

#include "app/DriveLibrary.h"

class wxButton;
class wxListCtrl;
class wxListEvent;
class wxStaticText;

namespace vantrel {

class CDrivesPanel : public wxPanel {
 public:
  explicit CDrivesPanel(wxWindow* parent);

  // The texts in language (a language box index); the rows follow at the
  // next ShowDrives.
  void SetLanguage(int language);
  // Fills the list from contents; unitSelection: the speed-unit box.
  void ShowDrives(const LibraryContents& contents, int unitSelection);
  // Marks drive as chosen (none: nothing), without telling the handler.
  void SelectDrive(std::optional<size_t> drive);
  std::optional<size_t> SelectedDrive() const;
  void SetStatus(const wxString& text);
  wxString Status() const;

  // A drive was chosen in the list; Export was pressed for the chosen drive.
  void SetChooseHandler(std::function<void(size_t)> handler) { m_onChoose = std::move(handler); }
  void SetExportHandler(std::function<void(size_t)> handler) { m_onExport = std::move(handler); }

  wxListCtrl* List() const { return m_list; }

 private:
  void OnSelected(wxListEvent& event);
  // Widens each column to its heading and drive rows, and the panel to them.
  void FitColumns();

  wxStaticText* m_title = nullptr;
  wxListCtrl* m_list = nullptr;
  wxStaticText* m_status = nullptr;
  wxButton* m_export = nullptr;
  size_t m_driveCount = 0;  // rows past these name unreadable files
  bool m_filling = false;
  int m_language = -1;  // English
  std::function<void(size_t)> m_onChoose;
  std::function<void(size_t)> m_onExport;
};

}  // namespace vantrel
