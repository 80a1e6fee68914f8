#pragma once

namespace vantrel {

// The playback's threads allocate packets and pictures all the time; with
// glibc's arena per thread, what one thread frees serves none of the others,
// and the process holds the sum of their peaks (some 10 MB more in the window
// at 1080p). Two arenas share. Call first thing in main, before any thread.
void shareMallocArenas();

}  // namespace vantrel
