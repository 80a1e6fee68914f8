#pragma once
// The bitmap slider's arithmetic: where the thumb centre sits for a
// position, which position a pixel means, and what each key does.
#include <optional>

namespace vantrel {

struct SliderTrack {
  int width = 0;  // of the channel image (or the client area without one)
  int thumbWidth = 0;
  int marginLeft = 0;
  int marginRight = 0;
  int rangeMin = 0;
  int rangeMax = 100;

  // Room the thumb centre travels.
  int travel() const { return width - marginLeft - marginRight - thumbWidth; }
  int lowestCentre() const { return marginLeft + thumbWidth / 2; }
  int highestCentre() const { return width - marginRight - thumbWidth / 2; }
  bool emptyRange() const { return rangeMax <= rangeMin; }

  // pos cut to rangeMax, then raised to rangeMin (so rangeMin wins when the
  // range is reversed).
  int clampPos(int pos) const;
  // The thumb centre's x for pos. An empty range, with nothing to divide by,
  // puts it at the left end; a pos outside the range at the nearer end.
  int pixelOf(int pos) const;
  // The position whose thumb centre is at x, within the range; rangeMin when
  // the range is empty or the thumb has no room to travel.
  int positionAt(int x) const;
  // A dragged thumb centre held within its travel.
  int clampCentre(int x) const;
};

// The position a key asks for (Page Up/Down by pageSize, Home, End, arrows by
// one), before clamping; none for any other key.
std::optional<int> sliderKeyTarget(int keyCode, int pos, int pageSize, int rangeMin, int rangeMax);

}  // namespace vantrel
