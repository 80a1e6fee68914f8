#include "engine/AudioOutput.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
}

#include "engine/EngineState.h"
#include "engine/PlayerState.h"

namespace vantrel {

namespace {

// The longest device buffer: the clock learns where the sound is once per
// buffer, and a picture waits for it at most 50 ms at a time.
constexpr double kMaxDeviceBufferSeconds = 0.040;
// SDL's dummy device (no sound device) keeps time by sleeping a whole number
// of milliseconds after each buffer, and every sleep overshoots a little:
// longer buffers keep its pace closer to real time (nothing is heard, so
// their latency costs nothing), but closing it waits for three of them.
constexpr double kMaxDummyBufferSeconds = 0.064;

SDL_AudioDeviceID openDefaultDevice(const SDL_AudioSpec& desired, SDL_AudioSpec* obtained) {
  // The format stays S16 (SDL converts if it must); the channel count may
  // change and is then written as the device wants it.
  return SDL_OpenAudioDevice(nullptr, 0, &desired, obtained, SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
}

bool usingDummyDriver() {
  const char* driver = SDL_GetCurrentAudioDriver();
  return driver && std::strcmp(driver, "dummy") == 0;
}

}  // namespace

int deviceBufferFrames(int sampleRate, bool dummyDevice) {
  const double longest = dummyDevice ? kMaxDummyBufferSeconds : kMaxDeviceBufferSeconds;
  int frames = 64;
  while (frames * 2 <= sampleRate * longest) frames *= 2;
  return frames;
}

int nextChannelCount(int refused) {
  static constexpr int kNext[8] = {0, 0, 1, 6, 2, 6, 4, 6};
  return kNext[std::clamp(refused, 0, 7)];
}

SDL_AudioDeviceID openWithChannelFallback(SDL_AudioSpec desired, SDL_AudioSpec* obtained,
                                          const AudioDeviceOpener& opener) {
  for (;;) {
    if (SDL_AudioDeviceID device = opener(desired, obtained)) return device;
    std::fprintf(stderr, "SDL_OpenAudio (%d channels): %s\n", desired.channels, SDL_GetError());
    desired.channels = static_cast<Uint8>(nextChannelCount(desired.channels));
    if (desired.channels == 0) {
      std::fputs("No more channel combinations to tyu, audio open failed\n", stderr);
      return 0;
    }
  }
}

AudioOutput::AudioOutput(PlayerState& state) : state_(state), engine_(engineOf(state)) {}

AudioOutput::~AudioOutput() {
  close();
}

int AudioOutput::open(int sampleRate) {
  return open(sampleRate, openDefaultDevice);
}

int AudioOutput::open(int sampleRate, const AudioDeviceOpener& opener) {
  close();
  if (sampleRate <= 0) return -1;
  bytesPlayed_ = 0;
  // A machine without a sound device still plays the pictures, silently
  // but paced by the dummy device's clock. A device that refuses every
  // channel count is a failure to report, not a reason to go silent.
  const bool ready =
      initSdlAudio() ? (hasOutputDevice() || switchToDummyDriver()) : switchToDummyDriver();
  const int result = ready ? openDevice(sampleRate, opener) : -1;
  if (result < 0) close();
  return result;
}

bool AudioOutput::initSdlAudio() {
  // The sound brings up SDL's event queue, which would catch SIGINT and
  // SIGTERM for itself; nobody reads it, so the signals keep their meaning.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  sdlAudioUp_ = true;
  return true;
}

bool AudioOutput::hasOutputDevice() {
  // -1 means the driver cannot list its devices: try it anyway.
  return SDL_GetNumAudioDevices(0) != 0;
}

bool AudioOutput::switchToDummyDriver() {
  if (usingDummyDriver()) return false;
  std::fputs("No sound device; playing without sound\n", stderr);
  if (sdlAudioUp_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  sdlAudioUp_ = false;
  // Kept for the rest of the process, so later playbacks go straight to it.
  SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
  return initSdlAudio();
}

int AudioOutput::openDevice(int sampleRate, const AudioDeviceOpener& opener) {
  SDL_AudioSpec desired{};
  desired.freq = sampleRate;
  desired.format = AUDIO_S16SYS;
  desired.channels = 2;
  desired.silence = 0;
  desired.samples = static_cast<Uint16>(deviceBufferFrames(sampleRate, usingDummyDriver()));
  desired.callback = audioCallback;
  desired.userdata = this;
  SDL_AudioSpec obtained{};
  device_ = openWithChannelFallback(desired, &obtained, opener);
  if (!device_) return -1;
  if (acceptObtained(obtained) < 0) {
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    return -1;
  }
  return 0;
}

int AudioOutput::acceptObtained(const SDL_AudioSpec& obtained) {
  if (obtained.format != AUDIO_S16SYS) {
    std::fprintf(stderr, "SDL advised audio format %d is not supported!\n", obtained.format);
    return -1;
  }
  AVChannelLayout layout{};
  av_channel_layout_default(&layout, obtained.channels);
  const uint64_t mask = layout.order == AV_CHANNEL_ORDER_NATIVE ? layout.u.mask : 0;
  av_channel_layout_uninit(&layout);
  if (mask == 0) {
    std::fprintf(stderr, "SDL advised channel count %d is not supported!\n", obtained.channels);
    return -1;
  }
  rate_ = obtained.freq;
  channels_ = obtained.channels;
  engine_.audioSourceFormat = AV_SAMPLE_FMT_S16;
  engine_.audioTargetRate = engine_.audioSourceRate = rate_;
  engine_.audioTargetLayout = engine_.audioSourceLayout = mask;
  engine_.audioTargetChannels = channels_;
  return 0;
}

void AudioOutput::start() {
  if (device_) SDL_PauseAudioDevice(device_, 0);
}

void AudioOutput::hold() {
  if (!device_ || held_) return;
  SDL_LockAudioDevice(device_);
  held_ = true;
}

void AudioOutput::release() {
  if (!held_) return;
  SDL_UnlockAudioDevice(device_);
  held_ = false;
}

void AudioOutput::close() {
  release();  // closing waits for the device thread, which must not be asleep on the lock
  if (device_) SDL_CloseAudioDevice(device_);  // returns once the callback has left
  device_ = 0;
  if (sdlAudioUp_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  sdlAudioUp_ = false;
}

double AudioOutput::secondsPlayed() const {
  const int perSecond = bytesPerSecond();
  return perSecond > 0 ? static_cast<double>(bytesPlayed_.load()) / perSecond : 0.0;
}

void AudioOutput::audioCallback(void* userdata, Uint8* stream, int len) {
  static_cast<AudioOutput*>(userdata)->fill(stream, len);
}

void AudioOutput::fill(uint8_t* stream, int len) {
  std::memset(stream, 0, static_cast<size_t>(len));  // S16 silence
  if (state_.quit.load() || len <= 0) return;
  size_t handed = 0;
  {
    // Only a playing recording sounds: while paused (even while a seek
    // brings the new picture), or while its first picture is on the way, the
    // blocks wait.
    std::lock_guard<std::mutex> hold(engine_.audioChunks.lock);
    if (state_.playState.load() == Playing && !engine_.soundWaitsForPicture.load()) {
      handed = mixWaitingLocked(stream, static_cast<size_t>(len));
    }
  }
  if (handed == 0) return;
  bytesPlayed_ += static_cast<int64_t>(handed);
  engine_.audioChunks.roomCond.notify_all();
}

size_t AudioOutput::mixWaitingLocked(uint8_t* stream, size_t len) {
  AudioChunkList& list = engine_.audioChunks;
  list.tempo.refill(list, len, state_.speed.load(), rate_, channels_);
  const int volume = std::clamp(state_.volume.load(), 0, SDL_MIX_MAXVOLUME);
  const double perSecond = bytesPerSecond();
  size_t filled = 0;
  double start = 0.0, end = 0.0;  // media times of the sound handed over
  while (filled < len && !list.ready.empty()) {
    AudioChunk& chunk = list.ready.front();
    // Media seconds of the bytes played: at speed 1 exactly bytes over rate.
    const auto mediaAt = [&](size_t bytes) { return chunk.time + bytes * chunk.speed / perSecond; };
    if (filled == 0) start = mediaAt(chunk.offset);
    const size_t n = std::min(len - filled, chunk.data.size() - chunk.offset);
    SDL_MixAudioFormat(stream + filled, chunk.data.data() + chunk.offset, AUDIO_S16SYS,
                       static_cast<Uint32>(n), volume);
    chunk.offset += n;
    filled += n;
    end = mediaAt(chunk.offset);
    if (chunk.offset == chunk.data.size()) list.ready.pop_front();
  }
  list.queuedBytes -= filled;
  if (filled > 0) {
    list.clock.handed(start, end, filled / perSecond, std::chrono::steady_clock::now());
  }
  return filled;
}

}  // namespace vantrel
