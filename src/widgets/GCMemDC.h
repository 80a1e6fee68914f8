#pragma once
// The gauge's paint buffer: starts filled with the target's background colour.
#include "widgets/OffscreenDC.h"

namespace vantrel {

class GCMemDC final : public OffscreenDC {
 public:
  // useBuffer false draws straight onto the target.
  GCMemDC(wxDC& target, const std::optional<wxRect>& rect, bool useBuffer)
      : OffscreenDC(target, rect, useBuffer && !IsPrinting(target), Start::FillBackground) {}
};

}  // namespace vantrel
