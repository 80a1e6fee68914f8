#include "engine/PlayerState.h"

#include "engine/EngineState.h"

namespace vantrel {

PlayerState::PlayerState() : engine_(std::make_unique<EngineState>()) {}

PlayerState::~PlayerState() = default;

EngineState& engineOf(PlayerState& state) {
  return *state.engine_;
}

std::string PlayerState::getFileName() const {
  std::lock_guard<std::mutex> hold(fileNameLock_);
  return fileName_;
}

void PlayerState::setFileName(std::string path) {
  std::lock_guard<std::mutex> hold(fileNameLock_);
  fileName_ = std::move(path);
}

void playerStateInit(PlayerState& state) {
  EngineState& engine = engineOf(state);
  {
    std::lock_guard<std::mutex> hold(engine.pictureLock);
    engine.pictureCount = 0;
  }
  state.playState = Idle;
  state.quit = false;
  state.paused = false;
  state.elapsedSeconds = 0;
  engine.videoStreamIndex = -1;
  engine.audioStreamIndex = -1;
  state.opening = true;
  state.videoClock = 0.0;
  state.audioClock = 0.0;
  engine.demuxEnded = false;
  state.seeks.reset(0.0, 0.0);  // a seek asked of the previous playback is dropped
  engine.seekRequest = false;
  state.generation++;
}

void wakeWaiters(PlayerState& state) {
  EngineState& engine = engineOf(state);
  { std::lock_guard<std::mutex> hold(engine.pictureLock); }
  engine.pictureCond.notify_all();
  packetQueueWake(engine.videoQueue);
  audioPacketListWake(engine.audioPackets);
  audioChunkListWake(engine.audioChunks);
}

void requestStop(PlayerState& state) {
  EngineState& engine = engineOf(state);
  state.quit = true;
  engine.stopWorkers = true;
  wakeWaiters(state);
}

}  // namespace vantrel
