#include "gps/TrackLoader.h"

#include <filesystem>
#include <memory>

#include "engine/PlayerState.h"
#include "gps/NmeaTrack.h"
#include "gps/SidecarTrack.h"
#include "gps/TrackDiscovery.h"
#include "gps/TrackSources.h"

namespace vantrel {

namespace {

struct Attempt {
  const TrackSource* source = nullptr;
  std::string file;
};

bool quitting(const std::atomic<bool>* quit) {
  return quit && quit->load() != 0;
}

// The way the track has always been found: the text stream of a MOV file,
// otherwise the TXT beside the recording, read as NMEA when its sentences
// are standard NMEA.
Attempt firstWay(const std::string& recording) {
  if (isMovieName(recording)) return {&movieTrackSource(), recording};
  const std::string sidecar = sidecarPath(recording);
  if (classifyTrackText(readHead(sidecar)) == TrackText::Nmea) {
    return {&nmeaTrackSource(), sidecar};
  }
  return {&sidecarTrackSource(), sidecar};
}

TrackLoad loadWith(const Attempt& attempt, const std::string& recording,
                   const std::atomic<bool>* quit) {
  if (attempt.file.empty()) {
    TrackLoad load;
    load.reason = "'" + recording + "' names no track file";
    return load;
  }
  return attempt.source->load({recording, attempt.file, quit});
}

// Every source of the table that recognises a candidate, in candidate order,
// except the attempt already made; the first track with a fix.
std::optional<TrackLoad> searchOthers(const std::string& recording, const Attempt& made,
                                      const std::atomic<bool>* quit) {
  for (const TrackCandidate& candidate : trackCandidates(recording)) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(candidate.file, error)) continue;
    const std::string head = readHead(candidate.file);
    for (const TrackSource* source : trackSources()) {
      if (quitting(quit)) return std::nullopt;
      if (source->place() != candidate.place) continue;
      if (source == made.source && candidate.file == made.file) continue;
      if (!source->probe(candidate.file, head)) continue;
      TrackLoad load = source->load({recording, candidate.file, quit});
      if (load.result == 0 && hasFixOnMap(load.track)) return load;
    }
  }
  return std::nullopt;
}

}  // namespace

TrackLoad loadTrack(const std::string& recording, const std::atomic<bool>* quit) {
  const Attempt first = firstWay(recording);
  TrackLoad load = loadWith(first, recording, quit);
  if (load.result == 0 && hasFixOnMap(load.track)) return load;
  if (std::optional<TrackLoad> other = searchOthers(recording, first, quit)) return *other;
  return load;
}

TrackLoader trackLoaderInto(GpsTrack& track) {
  return [&track](PlayerState& player) {
    const uint64_t generation = track.clear();
    TrackLoad load = loadTrack(player.getFileName(), &player.quit);
    track.publish(generation, std::make_shared<const Track>(std::move(load.track)));
    return load.result;
  };
}

bool loadTrackForPrinting(const std::string& recording, TrackLoad& load, std::FILE* err) {
  load = loadTrack(recording);
  if (load.result == 0) return true;
  std::fprintf(err, "vantrel: %s\n", load.reason.c_str());
  return false;
}

}  // namespace vantrel
