#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "engine/PacketQueue.h"

using namespace vantrel;

namespace {

AVPacket* makePacket(int size) {
  AVPacket* p = av_packet_alloc();
  av_new_packet(p, size);
  return p;
}

struct QueueTest : testing::Test {
  PacketQueue queue;
  std::atomic<bool> quit{false};
  AVPacket* out = av_packet_alloc();
  ~QueueTest() override {
    packetQueueFlush(queue);
    av_packet_free(&out);
  }
  void put(int size) {
    AVPacket* p = makePacket(size);
    ASSERT_EQ(packetQueuePut(queue, p), 0);
    av_packet_free(&p);
  }
};

TEST_F(QueueTest, NonBlockingGetOnEmptyReturnsZero) {
  packetQueueInit(queue);
  EXPECT_EQ(packetQueueGet(queue, out, 0, quit), 0);
}

TEST_F(QueueTest, QuitRefusesGetAndLeavesPacketsQueued) {
  put(100);
  put(50);
  quit = true;
  EXPECT_EQ(packetQueueGet(queue, out, 1, quit), -1);
  EXPECT_EQ(queue.count, 2);
  EXPECT_EQ(queue.byteSize, 150);
}

TEST_F(QueueTest, FlushMarkerPassesThroughUnduplicated) {
  put(10);
  ASSERT_EQ(packetQueuePut(queue, flushPacket()), 0);
  ASSERT_EQ(packetQueueGet(queue, out, 0, quit), 1);
  EXPECT_EQ(out->size, 10);
  ASSERT_EQ(packetQueueGet(queue, out, 0, quit), 1);
  EXPECT_TRUE(isFlushPacket(out));
  EXPECT_STREQ(reinterpret_cast<const char*>(out->data), "FLUSH");
  av_packet_unref(out);  // the consumer's release must not free the marker's text
  EXPECT_STREQ(reinterpret_cast<const char*>(flushPacket()->data), "FLUSH");
}

TEST_F(QueueTest, FlushEmptiesQueueIncludingMarker) {
  packetQueueFlush(queue);
  EXPECT_EQ(queue.count, 0);
  put(30);
  packetQueuePut(queue, flushPacket());
  put(40);
  packetQueueFlush(queue);
  EXPECT_EQ(queue.count, 0);
  EXPECT_EQ(queue.byteSize, 0);
  EXPECT_EQ(packetQueueGet(queue, out, 0, quit), 0);
  EXPECT_STREQ(reinterpret_cast<const char*>(flushPacket()->data), "FLUSH");
}

TEST_F(QueueTest, ByteSizeMatchesQueuedPacketsAfterRandomPutsAndGets) {
  std::mt19937 rng(42);
  std::deque<int> expected;
  for (int step = 0; step < 2000; ++step) {
    if (rng() % 3 != 0 || expected.empty()) {
      int size = 1 + rng() % 4096;
      put(size);
      expected.push_back(size);
    } else {
      ASSERT_EQ(packetQueueGet(queue, out, 0, quit), 1);
      EXPECT_EQ(out->size, expected.front());
      expected.pop_front();
      av_packet_unref(out);
    }
    int sum = 0;
    for (int s : expected) sum += s;
    ASSERT_EQ(queue.byteSize, sum);
    ASSERT_EQ(queue.count, static_cast<int>(expected.size()));
  }
}

TEST_F(QueueTest, BlockedGetWakesOnQuit) {
  std::atomic<int> result{99};
  std::thread consumer([&] { result = packetQueueGet(queue, out, 1, quit); });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(result.load(), 99);  // still waiting
  quit = true;
  packetQueueWake(queue);
  consumer.join();
  EXPECT_EQ(result.load(), -1);
}

TEST_F(QueueTest, BlockedGetWakesOnPut) {
  std::atomic<int> result{99};
  std::thread consumer([&] { result = packetQueueGet(queue, out, 1, quit); });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  put(7);
  consumer.join();
  EXPECT_EQ(result.load(), 1);
  EXPECT_EQ(out->size, 7);
}

}  // namespace
