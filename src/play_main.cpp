// vantrel-play: a recording played with its sound and no window, the
// dashboard messages and a summary printed. `vantrel --play` runs this
// program: it loads none of the window's libraries (wxWidgets, GTK, WebKit),
// so the engine plays in the memory it needs itself.
#include "engine/HeadlessPlayer.h"
#include "engine/MallocArenas.h"
#include "gps/TrackLoader.h"

int main(int argc, char** argv) {
  vantrel::shareMallocArenas();
  vantrel::GpsTrack track;
  return vantrel::runHeadlessPlayer(argc - 1, argv + 1, vantrel::trackLoaderInto(track));
}
