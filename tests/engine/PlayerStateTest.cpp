#include <gtest/gtest.h>

#include <thread>

#include "engine/EngineState.h"
#include "engine/PlayerState.h"

using namespace vantrel;

TEST(PlayerState, InitResetsPlaybackFieldsAndKeepsSettings) {
  PlayerState state;
  state.volume = 80;
  state.setFileName("/drive/a.MOV");
  state.playState = Playing;
  state.quit = true;
  state.elapsedSeconds = 12;
  uint32_t generation = state.generation;

  playerStateInit(state);

  EXPECT_EQ(state.playState, Idle);
  EXPECT_FALSE(state.quit);
  EXPECT_EQ(state.elapsedSeconds, 0);
  EXPECT_TRUE(state.opening);
  EXPECT_NE(state.generation, generation);
  EXPECT_EQ(state.volume, 80);
  EXPECT_EQ(state.getFileName(), "/drive/a.MOV");
}

TEST(PlayerState, RequestStopWakesPictureWaiterAndQueueWaiter) {
  PlayerState state;
  EngineState& engine = engineOf(state);
  AVPacket* out = av_packet_alloc();
  std::thread queueWaiter([&] { packetQueueGet(engine.videoQueue, out, 1, state.quit); });
  std::thread pictureWaiter([&] {
    std::unique_lock<std::mutex> hold(engine.pictureLock);
    engine.pictureCond.wait(hold, [&] { return state.quit.load(); });
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  requestStop(state);
  queueWaiter.join();
  pictureWaiter.join();
  EXPECT_TRUE(engine.stopWorkers);
  av_packet_free(&out);
}

TEST(PlayerState, WaitBoundedGivesUpAfterItsTries) {
  int calls = 0;
  EXPECT_FALSE(waitBounded([&] { return ++calls > 100; }, 3, 1));
  EXPECT_EQ(calls, 4);
  EXPECT_TRUE(waitBounded([] { return true; }));
}
