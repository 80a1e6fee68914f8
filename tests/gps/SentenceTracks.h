#pragma once
// Tracks of the sentence layout made from sentences in memory, as the loaders
// make them from files, and handed to a dashboard as a playback hands them.
#include <memory>
#include <string>
#include <vector>

#include "gps/GpsSentence.h"
#include "gps/GpsTrack.h"
#include "gps/SentenceTrack.h"

namespace testsupport {

// streamIndex 255: read from a file beside the recording.
inline vantrel::Track sentenceTrack(const std::vector<std::string>& sentences,
                                    int streamIndex = 255) {
  vantrel::SentenceTrackBuilder builder;
  for (const std::string& s : sentences) {
    builder.add(vantrel::sentenceFromBytes(s.data(), s.size()));
  }
  vantrel::Track track = builder.finish();
  track.source = "sidecar";
  track.streamIndex = streamIndex;
  return track;
}

// What the playback's loader does: empty the track, then publish the new one.
inline void publishTrack(vantrel::GpsTrack& holder, vantrel::Track track) {
  holder.publish(holder.clear(), std::make_shared<const vantrel::Track>(std::move(track)));
}

}  // namespace testsupport
