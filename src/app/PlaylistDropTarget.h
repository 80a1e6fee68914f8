#pragma once
// Files dropped on the playlist go to one handler, which says whether it
// took them.
#include <wx/dnd.h>

#include <functional>

namespace vantrel {

class PlaylistDropTarget : public wxFileDropTarget {
 public:
  using Handler = std::function<bool(const wxArrayString& paths)>;
  explicit PlaylistDropTarget(Handler handler) : m_handler(std::move(handler)) {}

  bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& paths) override;

 private:
  Handler m_handler;
};

}  // namespace vantrel
