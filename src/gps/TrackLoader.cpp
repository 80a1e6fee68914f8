#include "gps/TrackLoader.h"

#include "gps/MovieTrack.h"
#include "gps/SidecarTrack.h"

namespace vantrel {

bool isMovieName(std::string_view name) {
  return name.ends_with(".mov") || name.ends_with(".MOV");
}

int loadGpsTrack(PlayerState& state, std::string* reason) {
  if (isMovieName(state.getFileName())) {
    state.gpsFromMovie = 1;
    return loadMovieTrack(state, reason);
  }
  state.gpsFromMovie = 0;
  return loadSidecarTrack(state, reason);
}

bool loadTrackForPrinting(const std::string& recording, PlayerState& state, std::FILE* err) {
  state.setFileName(recording);
  playerStateInit(state);
  std::string reason;
  if (loadGpsTrack(state, &reason) == 0) return true;
  std::fprintf(err, "vantrel: %s\n", reason.c_str());
  return false;
}

}  // namespace vantrel
