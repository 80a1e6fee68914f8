#include "engine/PlayerState.h"

namespace vantrel {

std::string PlayerState::getFileName() const {
  std::lock_guard<std::mutex> hold(fileNameLock_);
  return fileName_;
}

void PlayerState::setFileName(std::string path) {
  std::lock_guard<std::mutex> hold(fileNameLock_);
  fileName_ = std::move(path);
}

void playerStateInit(PlayerState& state) {
  {
    std::lock_guard<std::mutex> hold(state.pictureLock);
    state.pictureCount = 0;
  }
  state.playState = Idle;
  state.quit = 0;
  state.paused = 0;
  state.elapsedSeconds = 0;
  state.videoStreamIndex = -1;
  state.audioStreamIndex = -1;
  state.opening = 1;
  state.videoClock = 0.0;
  state.audioClock = 0.0;
  state.demuxEnded = 0;
  state.seeks.reset(0.0, 0.0);  // a seek asked of the previous playback is dropped
  state.seekRequest = 0;
  state.generation++;
}

void wakeWaiters(PlayerState& state) {
  { std::lock_guard<std::mutex> hold(state.pictureLock); }
  state.pictureCond.notify_all();
  packetQueueWake(state.videoQueue);
  audioPacketListWake(state.audioPackets);
  audioChunkListWake(state.audioChunks);
}

void requestStop(PlayerState& state) {
  state.quit = 1;
  state.stopWorkers = 1;
  wakeWaiters(state);
}

}  // namespace vantrel
