#include "app/PlaylistDropTarget.h"

namespace vantrel {

bool PlaylistDropTarget::OnDropFiles(wxCoord, wxCoord, const wxArrayString& paths) {
  return m_handler(paths);
}

}  // namespace vantrel
