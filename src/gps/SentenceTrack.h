#pragma once
// The sentence layout this player has always read (a MOV text stream or a
// TXT beside the recording): "$GPRMC,A,hhmmss.sss,ddmm.mmmm,N,dddmm.mmmm,E,
// speed,...", the time in field 2 and a speed whose unit the layout leaves
// open. Each sentence becomes one entry, rejected ones included, so the
// entries keep the numbering the dashboard steps through.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gps/SpeedUnitCheck.h"
#include "gps/Track.h"

namespace vantrel {

// The entry of one sentence. A rejected sentence (a field with two dots
// before a comma) gives an entry with no flags: it shows nothing.
GpsFix sentenceFix(std::string_view sentence);

// The route walk's point of entry index: the walk reads the non-empty
// tokens, so it may differ from the fix (or exist for a rejected sentence).
std::optional<TrackRoutePosition> sentenceRoutePosition(std::string_view sentence, size_t index);

// Gathers a track one sentence at a time, then settles the speed unit.
class SentenceTrackBuilder {
 public:
  SentenceTrackBuilder() { track_.route.emplace(); }
  // sentence: at most kMaxSentenceLength characters, as the track keeps it.
  void add(std::string_view sentence);
  size_t size() const { return track_.fixes.size(); }
  // The fixes and route gathered, their speeds turned into km/h when the
  // unit check finds knots or m/s; the builder starts afresh.
  Track finish();

 private:
  Track track_;
  std::vector<SpeedSample> samples_;
};

}  // namespace vantrel
