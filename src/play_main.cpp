// vantrel-play: a recording played with its sound and no window, the
// dashboard messages and a summary printed. `vantrel --play` runs this
// program: it loads none of the window's libraries (wxWidgets, GTK, WebKit),
// so the engine plays in the memory it needs itself.
#include <malloc.h>

#include "engine/HeadlessPlayer.h"
#include "gps/TrackLoader.h"

int main(int argc, char** argv) {
  // The playback's threads allocate packets and pictures all the time; with
  // glibc's arena per thread, what one thread frees serves none of the
  // others, and the process holds the sum of their peaks. Two arenas share.
  mallopt(M_ARENA_MAX, 2);
  vantrel::GpsTrack track;
  return vantrel::runHeadlessPlayer(argc - 1, argv + 1, vantrel::trackLoaderInto(track));
}
