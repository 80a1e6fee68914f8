#include <gtest/gtest.h>

#include "engine/Transport.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include "engine/PlayerState.h"
#include "engine/SteadyMediaClock.h"

using namespace vantrel;

TEST(Transport, ElapsedTimeReadsAsHoursMinutesSeconds) {
  const std::pair<int64_t, const char*> cases[] = {
      {0, "00:00:00"},    {59, "00:00:59"},      {3725, "01:02:05"},
      {3903, "01:05:03"}, {360000, "100:00:00"}, {-4, "00:00:00"},
  };
  for (auto [seconds, text] : cases) EXPECT_EQ(formatHms(seconds), text) << seconds;
}

TEST(Transport, PauseAndResumeActOnlyFromTheirStates) {
  struct Case {
    PlayState from;
    void (*action)(PlayerState&);
    PlayState to;
    int paused;
  };
  const Case cases[] = {
      {Playing, pausePlayback, Paused, 1},   {Paused, pausePlayback, Paused, 1},
      {Idle, pausePlayback, Idle, 0},        {Paused, resumePlayback, Playing, 0},
      {Playing, resumePlayback, Playing, 0}, {Idle, resumePlayback, Idle, 0},
  };
  for (const Case& c : cases) {
    PlayerState state;
    state.playState = c.from;
    state.paused = c.from == Paused ? 1 : 0;
    c.action(state);
    EXPECT_EQ(state.playState, c.to) << c.from;
    EXPECT_EQ(state.paused, c.paused) << c.from;
  }
}

TEST(Transport, StopEndsWhateverTheStateAndClearsOpening) {
  for (PlayState from : {Idle, Paused, Playing}) {
    PlayerState state;
    state.playState = from;
    state.opening = 1;
    stopPlayback(state);
    EXPECT_EQ(state.quit, 1);
    EXPECT_EQ(state.stopWorkers, 1);
    EXPECT_EQ(state.opening, 0);
  }
}

TEST(Transport, ASeekIsAskedForOnlyWhilePlayingARecordingOfKnownLength) {
  struct Case {
    PlayState playState;
    int64_t duration, position;
    bool asked;
    int64_t elapsed;
  };
  const Case cases[] = {
      {Playing, 10, 7, true, 7}, {Playing, 10, -3, true, 0}, {Paused, 10, 7, true, 7},
      {Idle, 10, 7, false, 2},   {Playing, 0, 7, false, 2},  // an unknown length: nothing to divide
                                                             // by, no seek
  };
  for (const Case& c : cases) {
    PlayerState state;
    state.playState = c.playState;
    state.durationSeconds = c.duration;
    state.elapsedSeconds = 2;
    EXPECT_EQ(requestSeek(state, c.position), c.asked);
    EXPECT_EQ(state.seekPosition, c.asked ? c.elapsed : -1);
    EXPECT_EQ(state.elapsedSeconds, c.elapsed);
    EXPECT_EQ(state.seekRequest, 0) << "the playback thread asks the demuxer";
  }
}

TEST(Transport, SeekTargetsAreTheSecondsInTheStreamsTimeBase) {
  AVFormatContext* format = avformat_alloc_context();
  AVStream* stream = avformat_new_stream(format, nullptr);
  struct Case {
    AVRational timeBase;
    int64_t start, seconds, target;
  };
  const Case cases[] = {
      {{1, 12800}, 0, 7, 89600},
      {{1, 48000}, AV_NOPTS_VALUE, 3, 144000},
      {{1001, 30000}, 0, 10, 300},    // 29.97 ticks a second, rounded
      {{1, 90000}, 9000, 2, 189000},  // counted from the stream's start
  };
  for (const Case& c : cases) {
    stream->time_base = c.timeBase;
    stream->start_time = c.start;
    EXPECT_EQ(secondsToStreamTime(c.seconds, stream), c.target);
  }
  avformat_free_context(format);
}

TEST(SteadyMediaClock, RunsWithTimeStandsWhilePausedAndJumpsOnReset) {
  using namespace std::chrono;
  SteadyMediaClock clock;
  const SteadyMediaClock::Time t0{};
  clock.reset(0.0, t0);
  EXPECT_DOUBLE_EQ(clock.at(t0 + milliseconds(1500)), 1.5);
  clock.pause(t0 + seconds(2));
  EXPECT_DOUBLE_EQ(clock.at(t0 + seconds(9)), 2.0);
  clock.pause(t0 + seconds(9));  // a second pause changes nothing
  clock.resume(t0 + seconds(10));
  EXPECT_DOUBLE_EQ(clock.at(t0 + seconds(11)), 3.0);
  clock.resume(t0 + seconds(12));  // nor does a second resume
  EXPECT_DOUBLE_EQ(clock.at(t0 + seconds(12)), 4.0);
  clock.reset(7.0, t0 + seconds(12));
  EXPECT_DOUBLE_EQ(clock.at(t0 + milliseconds(12250)), 7.25);
}
