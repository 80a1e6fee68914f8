#include "app/HeldKey.h"

#include <wx/event.h>

namespace vantrel {

HeldKey::HeldKey() {
  wxEvtHandler::AddFilter(this);
}

HeldKey::~HeldKey() {
  wxEvtHandler::RemoveFilter(this);
}

bool HeldKey::Pressed(int key) {
  const bool repeat = key == m_down;
  m_down = key;
  return repeat;
}

int HeldKey::FilterEvent(wxEvent& event) {
  const wxEventType type = event.GetEventType();
  if (type == wxEVT_KEY_UP) {
    if (static_cast<wxKeyEvent&>(event).GetKeyCode() == m_down) m_down = 0;
  } else if (type == wxEVT_ACTIVATE && !static_cast<wxActivateEvent&>(event).GetActive()) {
    // The release may go to another program's window.
    m_down = 0;
  }
  return Event_Skip;
}

}  // namespace vantrel
