#include <gtest/gtest.h>

#include "engine/EngineState.h"
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
    state.opening = true;
    stopPlayback(state);
    EXPECT_TRUE(state.quit);
    EXPECT_TRUE(engineOf(state).stopWorkers);
    EXPECT_FALSE(state.opening);
  }
}

TEST(Transport, ASeekIsAskedForOnlyWhilePlayingARecordingOfKnownLength) {
  struct Case {
    PlayState playState;
    int64_t duration;
    double position;
    bool asked;
    int64_t elapsed;
    double target;  // media time the playback thread is asked for
  };
  const Case cases[] = {
      {Playing, 10, 7, true, 7, 7.0},     {Playing, 10, 6.5, true, 6, 6.5},
      {Playing, 10, -3, true, 0, 0.0},    {Paused, 10, 7, true, 7, 7.0},
      {Playing, 10, 1e9, true, 10, 10.0},  // past the end: the last picture
      {Idle, 10, 7, false, 2, 0},         {Playing, 0, 7, false, 2, 0},  // an unknown length
  };
  for (const Case& c : cases) {
    PlayerState state;
    state.playState = c.playState;
    state.durationSeconds = c.duration;
    state.seeks.reset(0.0, static_cast<double>(c.duration));
    state.elapsedSeconds = 2;
    EXPECT_EQ(requestSeek(state, c.position), c.asked) << c.position;
    EXPECT_EQ(state.elapsedSeconds, c.elapsed) << c.position;
    const std::optional<double> target = state.seeks.takeTarget();
    EXPECT_EQ(target.has_value(), c.asked);
    if (target) {
      EXPECT_DOUBLE_EQ(*target, c.target) << c.position;
    }
    EXPECT_FALSE(engineOf(state).seekRequest) << "the playback thread asks the demuxer";
  }
}

TEST(Transport, SeekTargetsAreTheLastTickAtOrBeforeTheTime) {
  AVFormatContext* format = avformat_alloc_context();
  AVStream* stream = avformat_new_stream(format, nullptr);
  struct Case {
    AVRational timeBase;
    double seconds;
    int64_t target;
  };
  const Case cases[] = {
      {{1, 12800}, 7.0, 89606},  // ticks up to 0.5 ms on count as at the time
      {{1, 48000}, 3.0, 144024},  {{1, 30}, 4.99, 149},        // a picture at 5.0 comes after 4.99
      {{1, 30}, 5.0, 150},                                     //
      {{1, 30}, 4.9999, 150},                                  // within the tolerance of 5.0
      {{1, 15360}, 4.999, 76792}, {{1001, 30000}, 10.0, 299},  // the picture at 9.976
      {{1, 90000}, 1.1, 99045},  // ticks up to 0.5 ms later count as at the time
  };
  for (const Case& c : cases) {
    stream->time_base = c.timeBase;
    EXPECT_EQ(mediaTimeToStreamTime(c.seconds, stream), c.target) << c.seconds;
  }
  stream->time_base = {1, 90000};
  stream->start_time = 9000;
  EXPECT_DOUBLE_EQ(streamStartSeconds(stream), 0.1);
  stream->start_time = AV_NOPTS_VALUE;
  EXPECT_DOUBLE_EQ(streamStartSeconds(stream), 0.0);
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
