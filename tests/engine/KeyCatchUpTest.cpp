// When the decoder leaves out pictures up to a key picture to catch up with
// the sound, and where it goes on again.
#include <gtest/gtest.h>

#include <vector>

#include "engine/KeyCatchUp.h"

using namespace vantrel;
using Packet = KeyCatchUp::Packet;

TEST(KeyCatchUp, StartsOnlyFarBehindWhilePlayingOnWithAKeyQueued) {
  struct Case {
    const char* what;
    KeyCatchUp::Picture picture;
    bool starts;
  };
  const Case cases[] = {
      {"in step", {10.0, 10.02, 1.0, true, true}, false},
      {"behind, within half a second", {10.0, 10.45, 1.0, true, true}, false},
      {"far behind", {10.0, 10.6, 1.0, true, true}, true},
      {"far behind, no key read (none left, or none in the stream)",
       {10.0, 10.6, 1.0, true, false},
       false},
      {"far behind, not playing on (first picture, after a seek, paused, stepping, no sound)",
       {10.0, 10.6, 1.0, false, true},
       false},
      {"ahead: the clock went back with a seek", {10.0, 7.0, 1.0, true, true}, false},
      {"twice as fast: within a second of the recording", {10.0, 10.9, 2.0, true, true}, false},
      {"twice as fast, far behind", {10.0, 11.1, 2.0, true, true}, true},
      {"half speed: a quarter second of the recording", {10.0, 10.3, 0.5, true, true}, true},
  };
  for (const Case& c : cases) {
    KeyCatchUp catchUp;
    EXPECT_EQ(catchUp.startsAt(c.picture), c.starts) << c.what;
    EXPECT_EQ(catchUp.catchingUp(), c.starts) << c.what;
  }
}

TEST(KeyCatchUp, WhileCatchingUpGoesOnFromAKeyNearTheClockOrTheLastQueued) {
  struct Case {
    const char* what;
    bool key;
    double time, clock, speed;
    bool laterKeyQueued;
    Packet packet;
  };
  const Case cases[] = {
      {"not a key", false, 10.5, 11.0, 1.0, true, Packet::LeaveOut},
      {"not a key, none queued after it", false, 10.5, 11.0, 1.0, false, Packet::LeaveOut},
      {"key still far behind, another queued", true, 10.5, 11.0, 1.0, true, Packet::LeaveOut},
      {"key far behind, the last read", true, 10.5, 11.0, 1.0, false, Packet::Restart},
      {"key within the drop line", true, 10.92, 11.0, 1.0, true, Packet::Restart},
      {"key ahead of the clock", true, 11.5, 11.0, 1.0, true, Packet::Restart},
      {"twice as fast: key within the drop line of 0.2 s", true, 10.85, 11.0, 2.0, true,
       Packet::Restart},
      {"key without a time (given as the clock)", true, 11.0, 11.0, 1.0, true, Packet::Restart},
  };
  for (const Case& c : cases) {
    KeyCatchUp catchUp;
    ASSERT_TRUE(catchUp.startsAt({9.0, 11.0, 1.0, true, true}));
    EXPECT_EQ(catchUp.packet(c.key, c.time, c.clock, c.speed, c.laterKeyQueued), c.packet)
        << c.what;
    EXPECT_EQ(catchUp.catchingUp(), c.packet == Packet::LeaveOut) << c.what;
  }
}

TEST(KeyCatchUp, NotCatchingUpEveryPacketIsDecoded) {
  KeyCatchUp catchUp;
  for (const bool key : {false, true}) {
    EXPECT_EQ(catchUp.packet(key, 1.0, 5.0, 1.0, true), Packet::Decode);
  }
}

// Pictures and packets of a stream one after the other: a picture handed
// over (starts a catch-up or not) or a packet read (its fate).
struct Step {
  enum { Picture, Packet } kind;
  bool key;  // packets
  double time, clock;
  bool expected;  // a picture: starts a catch-up; a packet: decoded (not left out)
};

void play(KeyCatchUp& catchUp, const std::vector<Step>& steps) {
  int index = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(index++);
    if (s.kind == Step::Picture) {
      EXPECT_EQ(catchUp.startsAt({s.time, s.clock, 1.0, true, true}), s.expected);
    } else {
      EXPECT_EQ(catchUp.packet(s.key, s.time, s.clock, 1.0, true) != Packet::LeaveOut, s.expected);
    }
  }
}

// Hysteresis: behind again right after going on from a key (a slow machine
// whose key picture came out late), the next catch-up waits for a key
// picture decoded in full order, so a whole key interval plays between two.
TEST(KeyCatchUp, AfterACatchUpTheNextWaitsForAKeyDecodedInOrder) {
  KeyCatchUp catchUp;
  play(catchUp, {
                    {Step::Picture, false, 1.0, 2.0, true},
                    {Step::Packet, false, 1.1, 2.0, false},
                    {Step::Packet, true, 2.0, 2.05, true},    // goes on from here
                    {Step::Picture, false, 2.0, 2.6, false},  // behind again: not yet
                    {Step::Packet, false, 2.1, 2.7, true},
                    {Step::Picture, false, 2.1, 2.8, false},
                    {Step::Packet, true, 3.0, 3.7, true},  // a key decoded in order
                    {Step::Picture, false, 3.0, 3.7, true},
                    {Step::Packet, false, 3.1, 3.7, false},
                });
}

// Every picture a key (MJPEG, all-intra H.264): the pictures far behind are
// left out up to one within the drop line; none past it.
TEST(KeyCatchUp, AllKeyStreamsLeaveOutOnlyThePicturesBehindTheClock) {
  KeyCatchUp catchUp;
  play(catchUp, {
                    {Step::Picture, false, 1.0, 2.0, true},
                    {Step::Packet, true, 1.5, 2.0, false},
                    {Step::Packet, true, 1.85, 2.0, false},
                    {Step::Packet, true, 1.95, 2.0, true},  // within 0.1 s: goes on
                    {Step::Packet, true, 2.0, 2.0, true},
                    {Step::Picture, false, 1.95, 2.05, false},
                });
}

TEST(KeyCatchUp, ASeekEndsTheCatchUpAndRearms) {
  KeyCatchUp catchUp;
  ASSERT_TRUE(catchUp.startsAt({1.0, 2.0, 1.0, true, true}));
  ASSERT_EQ(catchUp.packet(true, 2.0, 2.0, 1.0, true), Packet::Restart);
  catchUp.reset();
  EXPECT_EQ(catchUp.packet(false, 5.1, 5.0, 1.0, true), Packet::Decode);
  EXPECT_TRUE(catchUp.startsAt({5.0, 6.0, 1.0, true, true}));
  catchUp.reset();
  EXPECT_FALSE(catchUp.catchingUp());
  EXPECT_EQ(catchUp.packet(false, 5.1, 5.0, 1.0, true), Packet::Decode);
}
