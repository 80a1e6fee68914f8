#pragma once
// WM_GPS_SYNC as a wx event, safe to queue from any thread: the code in
// GetInt, the argument in GetExtraLong, and the player's generation at
// posting time, so the window drops messages of a playback that has since
// been replaced.
#include <wx/event.h>

#include <cstdint>

#include "engine/Messages.h"

namespace vantrel {

class GpsSyncEvent : public wxThreadEvent {
 public:
  GpsSyncEvent(GpsSyncCode code, long argument, uint32_t generation)
      : wxThreadEvent(wxEVT_THREAD, WM_GPS_SYNC), m_generation(generation) {
    SetInt(code);
    SetExtraLong(argument);
  }
  wxEvent* Clone() const override { return new GpsSyncEvent(*this); }
  uint32_t Generation() const { return m_generation; }

 private:
  uint32_t m_generation;
};

// Posted for an earlier playback than the one of currentGeneration. A plain
// wxThreadEvent carries no generation and is taken as current.
inline bool isStaleGpsSync(const wxThreadEvent& event, uint32_t currentGeneration) {
  auto* sync = dynamic_cast<const GpsSyncEvent*>(&event);
  return sync && sync->Generation() != currentGeneration;
}

}  // namespace vantrel
