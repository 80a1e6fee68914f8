#pragma once
// Tells a held key's repeats from new presses of it. wxGTK does not fill in
// wxKeyEvent::IsAutoRepeat() on the char-hook events a window gets, so the
// window remembers the key that went down last and forgets it when that key
// comes up, wherever in the program the release is seen. X sends a held key
// as presses with no releases between them.
#include <wx/eventfilter.h>

namespace vantrel {

class HeldKey : public wxEventFilter {
 public:
  HeldKey();
  ~HeldKey() override;
  HeldKey(const HeldKey&) = delete;
  HeldKey& operator=(const HeldKey&) = delete;

  // A press of key: whether it repeats the key held down.
  bool Pressed(int key);

  int FilterEvent(wxEvent& event) override;

 private:
  int m_down = 0;  // the key code held, 0 for none
};

}  // namespace vantrel
