#pragma once
// What the playback thread shares with its workers (the demuxer, both
// decoders, the sound device's callback) and with nobody else. The window
// reaches the engine only through PlayerState's commands and status; this
// header is for engine/ and its tests.
//
// Lock order, outermost first; nothing else nests:
//   the sound device's lock (AudioOutput::hold while paused, SDL's own around
//   the callback) -> pictureLock -> SeekRequests' lock
//   the sound device's lock -> audioChunks.lock
// videoQueue.lock and audioPackets.lock are only ever taken alone.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "engine/AudioChunkList.h"
#include "engine/PacketQueue.h"
#include "engine/PictureQueue.h"

extern "C" {
struct AVFormatContext;
struct AVStream;
struct SwrContext;
}

namespace vantrel {

struct PlayerState;

struct EngineState {
  // The open recording. The playback thread sets these while opening and
  // clears them in teardown, when no worker runs; the workers read them
  // between their start and their join.
  AVFormatContext* formatContext = nullptr;
  AVStream* videoStream = nullptr;
  AVStream* audioStream = nullptr;
  std::atomic<int> videoStreamIndex{-1};
  std::atomic<int> audioStreamIndex{-1};

  // Packets and sound between the threads; each guarded by its own lock.
  PacketQueue videoQueue;
  AudioPacketList audioPackets;
  AudioChunkList audioChunks;  // decoded sound for the device; the demuxer clears it on a seek

  // Picture hand-over between the video decoder and the display, guarded by
  // pictureLock. pictureCond also wakes every worker asleep in a pause, a
  // pacing wait or at the end of the file: resume, seek and stop signal it.
  int pictureCount = 0;  // guarded by pictureLock
  PictureQueue picture;  // guarded by pictureLock (see PictureQueue.h)
  std::mutex pictureLock;
  std::condition_variable pictureCond;

  // A seek being carried out: the playback thread sets the targets (stream
  // time bases) and then seekRequest; the demuxer clears it once done.
  std::atomic<bool> seekRequest{false};
  std::atomic<int64_t> seekTargetVideo{0};
  std::atomic<int64_t> seekTargetAudio{0};

  // Start and stop of the workers.
  std::atomic<bool> stopWorkers{false};
  // Set by the demuxer when the file has no more packets (end or a read error
  // it gives up on); cleared by a seek and by playerStateInit. The playback
  // ends once this is set and everything queued has been shown and heard.
  std::atomic<bool> demuxEnded{false};
  // The video queue's serial whose end mark the video decoder has drained,
  // the last picture handed over (-1: none yet). An empty queue alone does
  // not say so: the decoder may still be working through the last packets.
  std::atomic<int> videoDrainedSerial{-1};
  // Set by the playback thread from the start of a playback or a seek until
  // the first picture from there is ready: the device plays silence
  // meanwhile, so the sound does not run ahead while the decoder primes.
  std::atomic<bool> soundWaitsForPicture{false};
  // Set by the playback thread while the clock is the sound's as it plays
  // (not a silent recording's steady clock, not standing for a picture, not
  // going on at the steady pace after the sound ended or stalled): only then
  // does the video decoder leave out pictures to keep in step with it.
  std::atomic<bool> clockFollowsSound{false};

  // The sound's formats and the resampler between them: the audio decoding
  // thread only (the device's side is set while opening, before it starts).
  SwrContext* resampler = nullptr;
  int audioSourceFormat = -1;
  int audioTargetChannels = 0;
  uint64_t audioSourceLayout = 0;
  uint64_t audioTargetLayout = 0;
  int audioSourceRate = 0;
  int audioTargetRate = 0;
};

// The engine's part of the player record.
EngineState& engineOf(PlayerState& state);

}  // namespace vantrel
