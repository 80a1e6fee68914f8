#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/SeekRequests.h"

using namespace vantrel;

// Positions count from the recording's start (here 0.5 s into its media
// time) and stay within its 10 s; relative seeks go on from a target still
// pending, else from the picture on screen.
TEST(SeekRequests, TargetsAreMediaTimesWithinTheRecording) {
  struct Case {
    double first;  // an absolute seek first, or NaN
    double delta, shown;
    double position, target;
  };
  const double none = std::nan("");
  const Case cases[] = {
      {none, 5, 3.5, 8, 8.5},    {none, -5, 3.5, 0, 0.5},
      {none, 60, 3.5, 10, 10.5}, {2, 5, 9.0, 7, 7.5},  // from the pending target, not the picture
      {none, 1, 0.5, 1, 1.5},    {none, -1, 10.5, 9, 9.5},
  };
  for (const Case& c : cases) {
    SeekRequests seeks;
    seeks.reset(0.5, 10);
    if (!std::isnan(c.first)) seeks.seekTo(c.first);
    EXPECT_DOUBLE_EQ(seeks.seekBy(c.delta, c.shown), c.position) << c.delta << " " << c.shown;
    EXPECT_TRUE(seeks.pending());
    EXPECT_DOUBLE_EQ(seeks.takeTarget().value_or(-1), c.target);
    EXPECT_FALSE(seeks.pending());
  }
  SeekRequests seeks;
  seeks.reset(0.5, 10);
  EXPECT_DOUBLE_EQ(seeks.seekTo(-2), 0);
  EXPECT_DOUBLE_EQ(seeks.seekTo(1e9), 10);
  EXPECT_DOUBLE_EQ(seeks.positionOf(3.25), 2.75);
  seeks.reset(0, 0);  // unknown length: no end to stop at
  EXPECT_DOUBLE_EQ(seeks.seekTo(1e4), 1e4);
}

// Presses add steps; a held key (repeats) adds none while one is pending;
// turning round and seeking drop what was still to go.
TEST(SeekRequests, StepsCountPressesButNotRepeatsWhilePending) {
  struct Case {
    std::vector<std::pair<int, bool>> presses;  // direction, repeat
    bool seekAfter;
    std::vector<int> taken;
  };
  const Case cases[] = {
      {{{1, false}, {1, false}, {1, false}}, false, {1, 1, 1}},
      {{{1, false}, {1, true}, {1, true}}, false, {1}},
      {{{1, true}}, false, {1}},  // the first repeat of a key held before
      {{{-1, false}, {-1, false}, {1, false}}, false, {1}},
      {{{-1, false}, {-1, false}}, true, {}},
  };
  for (const Case& c : cases) {
    SeekRequests seeks;
    seeks.reset(0, 10);
    for (const auto& [direction, repeat] : c.presses) seeks.step(direction, repeat);
    if (c.seekAfter) seeks.seekTo(3);
    std::vector<int> taken;
    while (const int step = seeks.takeStep()) taken.push_back(step);
    EXPECT_EQ(taken, c.taken);
  }
}
