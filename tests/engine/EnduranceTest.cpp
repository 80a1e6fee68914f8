// Fifty playbacks one after another in one process, as a long drive's files
// play through the list: what the process holds after the last matches what
// it held once every kind of recording had played (the first of a kind
// makes its decoder's lasting buffers).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "engine/MallocArenas.h"
#include "engine/Playback.h"
#include "engine/PlaybackRecorder.h"
#include "engine/PlayerState.h"

using namespace vantrel;
namespace fs = std::filesystem;

namespace {

constexpr int kPlaybacks = 50;
constexpr long kRssSlackKb = 4 * 1024;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// The sanitizers hold freed memory back on purpose; LeakSanitizer checks leaks there.
constexpr bool kRssMeaningful = false;
#else
constexpr bool kRssMeaningful = true;
#endif

// Short recordings of each kind, one of them unplayable.
struct Entry {
  const char* file;
  bool plays;
};
const Entry kRotation[] = {{"endure-aac.mp4", true},
                           {"endure-gps.MOV", true},
                           {"endure-pcm.AVI", true},
                           {"play-garbage.mp4", false},
                           {"bad-oneframe.mp4", true}};

struct Holdings {
  long rssKb = 0;
  long threads = 0;
  long fds = 0;
};

long entriesIn(const char* folder) {
  long n = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++n;
  return n;
}

Holdings holdings() {
  Holdings h;
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  h.rssKb = resident * (sysconf(_SC_PAGESIZE) / 1024);
  h.threads = entriesIn("/proc/self/task");
  h.fds = entriesIn("/proc/self/fd");
  return h;
}

}  // namespace

TEST(Endurance, FiftyPlaybacksLeakNoMemoryThreadsOrFiles) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  // As both programs run the engine: with an arena per thread, what the
  // process holds wanders by megabytes from one playback to the next.
  shareMallocArenas();
  PlayerState state;
  state.volume = 80;
  PlaybackRecorder recorder;
  Playback playback(state, recorder, nullptr);
  Holdings firstRound;
  int played = 0, playable = 0;
  for (int i = 0; i < kPlaybacks; ++i) {
    const Entry& entry = kRotation[i % std::size(kRotation)];
    const char* name = entry.file;
    if (entry.plays) ++playable;
    recorder.clear();
    state.setFileName(std::string(VANTREL_FIXTURES) + "/" + name);
    ASSERT_TRUE(playback.start()) << i;
    ASSERT_TRUE(recorder.waitFor([&] { return state.finished.load(); })) << i << " " << name;
    playback.stopAndJoin();
    if (recorder.saw("advance")) ++played;
    if (i == static_cast<int>(std::size(kRotation)) - 1) firstRound = holdings();
  }
  const Holdings last = holdings();
  EXPECT_EQ(played, playable) << "every playable one played to its end";
  EXPECT_EQ(last.threads, firstRound.threads);
  EXPECT_EQ(last.fds, firstRound.fds);
  if (kRssMeaningful) {
    EXPECT_LT(last.rssKb - firstRound.rssKb, kRssSlackKb)
        << "after the first round: " << firstRound.rssKb << " kB, after the 50th: " << last.rssKb
        << " kB";
  }
  std::printf("rss after the first round %ld kB, after 50th %ld kB; threads %ld; fds %ld\n",
              firstRound.rssKb, last.rssKb, last.threads, last.fds);
}
