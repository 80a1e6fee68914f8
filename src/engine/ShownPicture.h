#pragma once
// Pictures at the size the window shows them. A 4K picture shown in a
// 780-pixel area needs a twentieth of its pixels: converting only those
// spares the playback thread most of the work and the process two full-size
// B, G, R buffers. The decoded planes travel with such a frame, so whatever
// needs the whole picture (a screenshot, the zoom) still gets it exactly.
#include <memory>

#include "engine/BgrFrame.h"
#include "engine/YuvPlanes.h"

namespace vantrel {

// Fills frame's pixels (sized for the whole picture) from picture.
void convertWhole(const YuvPlanes& picture, BgrFrame& frame);

// Fills frame's pixels (frame.width x frame.height, at most the picture's
// size) from picture, each the converted picture pixel under its centre:
// the same pixels as converting the whole picture and picking those.
void convertShrunk(const YuvPlanes& picture, BgrFrame& frame);

// frame at the recording's full size: itself when its pixels are, else its
// planes converted whole, as the display converts a picture shown full size.
std::shared_ptr<const BgrFrame> fullPicture(std::shared_ptr<const BgrFrame> frame);

}  // namespace vantrel
