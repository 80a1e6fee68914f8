#pragma once
// The bitmap slider's paint buffer: it may start from what the window
// already shows (the parent's picture behind a see-through channel).
//
// Where the system double-buffers the window, its paint surface already is
// such a buffer, starting from the parent's picture; reading that surface
// back is not dependable there (GTK 3 reads it from the wrong place), so the
// frame is drawn straight onto it.
#include "widgets/OffscreenDC.h"

namespace vantrel {

class CMemDC2 final : public OffscreenDC {
 public:
  // copyBackground: start from the target's picture in rect instead of its
  // background colour.
  CMemDC2(wxDC& target, const std::optional<wxRect>& rect, bool copyBackground)
      : OffscreenDC(target, rect,
                    !IsPrinting(target) && !(copyBackground && IsSystemBuffered(target)),
                    copyBackground ? Start::CopyTarget : Start::FillBackground) {}
};

}  // namespace vantrel
