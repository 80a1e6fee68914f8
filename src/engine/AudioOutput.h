#pragma once
// SDL's audio device for one playback, and the callback that feeds it from
// the decoded-sound list. The callback reports the sound it hands over to the
// list's clock, which follows the device as it plays (AudioClock.h).
#include <SDL2/SDL_audio.h>

#include <atomic>
#include <cstdint>
#include <functional>

namespace vantrel {

struct EngineState;
struct PlayerState;

// Opens a device for the desired spec; returns its id, or 0 when refused.
using AudioDeviceOpener =
    std::function<SDL_AudioDeviceID(const SDL_AudioSpec& desired, SDL_AudioSpec* obtained)>;

// Sample frames per device buffer for a rate: the largest power of two that
// plays for 40 ms or less (256 at 8 kHz, 1024 at 44.1 and 48 kHz); on SDL's
// dummy device, 64 ms or less.
int deviceBufferFrames(int sampleRate, bool dummyDevice);

// The channel count tried after the device refused `refused`; 0 = give up.
int nextChannelCount(int refused);

// Opens with the desired spec, then with each count of the fallback table,
// writing every refusal to stderr. Returns the device, or 0 when every count
// was refused.
SDL_AudioDeviceID openWithChannelFallback(SDL_AudioSpec desired, SDL_AudioSpec* obtained,
                                          const AudioDeviceOpener& opener);

class AudioOutput {
 public:
  explicit AudioOutput(PlayerState& state);
  ~AudioOutput();
  AudioOutput(const AudioOutput&) = delete;
  AudioOutput& operator=(const AudioOutput&) = delete;

  // Opens the device at sampleRate, S16, two channels or fewer, and records
  // the device format in the engine's audioTarget* fields. When no sound
  // device exists the dummy driver is used, so the recording still plays.
  // 0 opened, -1 failed (the reason on stderr). The device starts paused.
  int open(int sampleRate);
  // As above, with the device opened by `opener` (tests refuse counts).
  int open(int sampleRate, const AudioDeviceOpener& opener);
  void start();
  // While paused SDL's device thread would wake for every buffer only to play
  // silence; held, it sleeps on the device's lock until released. The same
  // thread holds and releases (the playback thread); close() releases.
  void hold();
  void release();
  void close();

  int rate() const { return rate_; }
  int channels() const { return channels_; }
  int bytesPerSecond() const { return rate_ * channels_ * 2; }
  // Seconds of sound handed to the device since open.
  double secondsPlayed() const;

  // The callback's work: silence, then as many waiting blocks as fit, mixed
  // at the player's volume. Public so tests can drive it without a device.
  void fill(uint8_t* stream, int len);

 private:
  static void audioCallback(void* userdata, Uint8* stream, int len);
  bool initSdlAudio();
  static bool hasOutputDevice();
  bool switchToDummyDriver();
  int openDevice(int sampleRate, const AudioDeviceOpener& opener);
  int acceptObtained(const SDL_AudioSpec& obtained);
  size_t mixWaitingLocked(uint8_t* stream, size_t len);

  PlayerState& state_;
  EngineState& engine_;           // engineOf(state_)
  SDL_AudioDeviceID device_ = 0;  // owned by the playback thread
  bool held_ = false;
  bool sdlAudioUp_ = false;  // this object holds a reference on SDL's audio subsystem
  int rate_ = 0;
  int channels_ = 0;
  std::atomic<int64_t> bytesPlayed_{0};  // written by the callback
};

}  // namespace vantrel
