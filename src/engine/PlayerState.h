#pragma once
// The one record of the current playback, shared by the UI thread, the
// playback thread, the demuxer, both decoders and the audio callback.
// Every field two threads touch is atomic or named with the lock that guards it.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

#include "engine/AudioChunkList.h"
#include "engine/Display.h"
#include "engine/PacketQueue.h"
#include "engine/PictureQueue.h"
#include "engine/SeekRequests.h"

extern "C" {
struct AVFormatContext;
struct AVStream;
struct AVCodecContext;
struct SwrContext;
}

namespace vantrel {

enum PlayState { Idle = 0, Paused = 1, Playing = 2 };

struct PlayerState {
  // Playback thread owns these between open and teardown; workers read them
  // only while their running flag is set.
  AVFormatContext* formatContext = nullptr;
  AVStream* videoStream = nullptr;
  std::atomic<int> videoStreamIndex{-1};
  AVCodecContext* videoCodec = nullptr;
  SwrContext* resampler = nullptr;  // audio decoding thread only
  std::atomic<double> videoClock{0.0};
  std::atomic<double> audioClock{0.0};
  AVStream* audioStream = nullptr;
  std::atomic<int> audioStreamIndex{-1};
  PacketQueue videoQueue;
  std::atomic<int64_t> durationSeconds{0};
  std::atomic<int64_t> elapsedSeconds{0};

  // Picture hand-over between the video decoder and the display.
  int pictureCount = 0;  // guarded by pictureLock
  PictureQueue picture;  // guarded by pictureLock (see PictureQueue.h)
  std::mutex pictureLock;
  std::condition_variable pictureCond;

  std::atomic<int> quit{0};
  std::atomic<int> paused{0};
  std::atomic<int> volume{0};  // 0..128
  // Media seconds played each second (kPlaybackSpeeds); the window sets it,
  // and it is kept from one playback to the next as the volume is.
  std::atomic<double> speed{1.0};
  std::atomic<int> playState{Idle};

  // Audio format bookkeeping: audio decoding thread only.
  int audioSourceFormat = -1;
  int audioTargetFormat = -1;
  int audioSourceChannels = 0;
  int audioTargetChannels = 0;
  uint64_t audioSourceLayout = 0;
  uint64_t audioTargetLayout = 0;
  int audioSourceRate = 0;
  int audioTargetRate = 0;

  std::atomic<int> opening{0};
  std::atomic<int> seekRequest{0};
  std::atomic<int64_t> seekTargetVideo{0};
  std::atomic<int64_t> seekTargetAudio{0};
  // Seeks and frame steps asked for, which the playback thread turns into
  // seek targets with the streams it owns.
  SeekRequests seeks;

  // Start/stop protocol flags beside the record.
  std::atomic<int> finished{1};
  std::atomic<int> stopWorkers{0};
  std::atomic<int> demuxRunning{0};
  std::atomic<int> videoThreadRunning{0};
  std::atomic<int> audioThreadRunning{0};
  // Set by the demuxer when the file has no more packets (end or a read error
  // it gives up on); cleared by a seek and by playerStateInit. The playback
  // ends once this is set and everything queued has been shown and heard.
  std::atomic<int> demuxEnded{0};
  // The video queue's serial whose end mark the video decoder has drained,
  // the last picture handed over (-1: none yet). An empty queue alone does
  // not say so: the decoder may still be working through the last packets.
  std::atomic<int> videoDrainedSerial{-1};
  // Bumped by every playerStateInit, so stale posts are recognised and dropped.
  std::atomic<uint32_t> generation{0};

  AudioPacketList audioPackets;
  AudioChunkList audioChunks;  // decoded sound for the device; the demuxer clears it on a seek
  // Display step of the playback thread; outlives playbacks, so its picture
  // buffers and its statistics serve the window's whole life.
  Display display;

  std::string getFileName() const;
  void setFileName(std::string path);

 private:
  mutable std::mutex fileNameLock_;
  std::string fileName_;  // guarded by fileNameLock_
};

// Start-of-playback reset.
void playerStateInit(PlayerState& state);
// Sets quit and stopWorkers and wakes every wait that must see them.
void requestStop(PlayerState& state);
// Waits at most tries x stepMs for predicate, sleeping between checks.
// Returns whether it became true.
template <typename Predicate>
bool waitBounded(Predicate predicate, int tries = 20, int stepMs = 50);
// Wakes the picture hand-over and the video queue so their waiters recheck.
void wakeWaiters(PlayerState& state);

}  // namespace vantrel

#include <chrono>
#include <thread>

template <typename Predicate>
bool vantrel::waitBounded(Predicate predicate, int tries, int stepMs) {
  for (int i = 0; i < tries; ++i) {
    if (predicate()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(stepMs));
  }
  return predicate();
}
