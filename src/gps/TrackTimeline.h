#pragma once
// Where the fixes of a track sit in its recording. Fixes that carry a time
// sit at it: their offset into the recording, or their UTC time counted
// from the track's first fix. Fixes without one (the sentence layout) are
// spread one trackStep apart, which the dashboard works out itself.
#include <cstdint>
#include <vector>

#include "gps/Track.h"

namespace vantrel {

class TrackTimeline {
 public:
  TrackTimeline() = default;
  explicit TrackTimeline(const Track& track);

  // The fixes carry no time: the dashboard steps through them.
  bool stepped() const { return stepped_; }
  // The last fix placed at or before ms (ties: the later in the file), or -1
  // when none is.
  int64_t fixAt(int64_t ms) const;
  // Milliseconds into the recording of fix index.
  int64_t placeOf(size_t index) const { return place_[index]; }
  // How many fixes sit before fix index in placement order.
  size_t rankOf(size_t index) const { return rank_[index]; }
  // The fix at placement rank k; for a stepped track, fix k.
  size_t fixInOrder(size_t k) const { return stepped_ ? k : order_[k]; }

 private:
  bool stepped_ = true;
  std::vector<int64_t> place_;   // by fix index
  std::vector<size_t> order_;    // fix indices by place, then file order
  std::vector<size_t> rank_;     // by fix index: its position in order_
  std::vector<int64_t> sorted_;  // place_ in placement order
};

}  // namespace vantrel
