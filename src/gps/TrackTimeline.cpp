#include "gps/TrackTimeline.h"

#include <algorithm>
#include <numeric>

namespace vantrel {

namespace {

// A fix missing its time keeps the place of the fix before it.
std::vector<int64_t> placesOf(const Track& track) {
  const bool offsets = (track.timing & kTimingOffset) != 0;
  const uint16_t flag = offsets ? kFixOffset : kFixUtc;
  std::vector<int64_t> places(track.fixes.size());
  int64_t start = 0;
  bool started = false;
  int64_t last = 0;
  for (size_t i = 0; i < track.fixes.size(); ++i) {
    const GpsFix& fix = track.fixes[i];
    if (fix.has(flag)) {
      const int64_t time = offsets ? fix.offsetMs : fix.utcMs;
      if (!offsets && !started) start = time;
      started = true;
      last = time - start;
    }
    places[i] = last;
  }
  return places;
}

}  // namespace

TrackTimeline::TrackTimeline(const Track& track) : stepped_(track.timing == kTimingStep) {
  if (stepped_) return;
  place_ = placesOf(track);
  order_.resize(place_.size());
  std::iota(order_.begin(), order_.end(), size_t{0});
  std::stable_sort(order_.begin(), order_.end(),
                   [this](size_t a, size_t b) { return place_[a] < place_[b]; });
  rank_.resize(order_.size());
  sorted_.resize(order_.size());
  for (size_t k = 0; k < order_.size(); ++k) {
    rank_[order_[k]] = k;
    sorted_[k] = place_[order_[k]];
  }
}

int64_t TrackTimeline::fixAt(int64_t ms) const {
  const auto after = std::upper_bound(sorted_.begin(), sorted_.end(), ms);
  if (after == sorted_.begin()) return -1;
  return static_cast<int64_t>(order_[static_cast<size_t>(after - sorted_.begin()) - 1]);
}

}  // namespace vantrel
