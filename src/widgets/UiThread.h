#pragma once
// Controls are touched on the UI thread only. Setters that the playback
// thread also calls hand themselves over with this.
#include <wx/thread.h>
#include <wx/window.h>

#include <utility>

namespace vantrel {

// Off the UI thread: queues call on window's handler, where it runs in
// posting order, and returns true. On the UI thread: returns false and the
// caller carries on itself.
template <typename Call>
bool deferToUiThread(wxWindow* window, Call&& call) {
  if (wxIsMainThread()) return false;
  window->CallAfter(std::forward<Call>(call));
  return true;
}

}  // namespace vantrel
