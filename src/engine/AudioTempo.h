#pragma once
// Sound played faster or slower with its pitch kept: a libavfilter graph
// (abuffer -> atempo ... -> abuffersink) over interleaved S16 samples, the
// same rate and channels in and out. At speed 1 the samples pass untouched.
// One thread at a time (the audio decoding thread).
#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" {
struct AVFilterContext;
struct AVFilterGraph;
struct AVFrame;
}

namespace vantrel {

// The atempo stages for speed: each within [0.5, 2], where the filter keeps
// its sound clean, their product the speed (0.25 -> 0.5, 0.5; 4 -> 2, 2).
std::vector<double> tempoStages(double speed);

class AudioTempo {
 public:
  AudioTempo() = default;
  ~AudioTempo();
  AudioTempo(const AudioTempo&) = delete;
  AudioTempo& operator=(const AudioTempo&) = delete;

  // Starts anew for sound of sampleRate and channels (1 or 2) at speed;
  // anything held from before is dropped. 0, or -1 when the graph cannot be
  // made (then nothing passes).
  int open(int sampleRate, int channels, double speed);
  double speed() const { return speed_; }

  // Hands in interleaved samples whose first lies at media time `time`
  // (seconds); the first push after open fixes where the output's media time
  // starts. 0, or -1 when the filter refuses them.
  int push(const uint8_t* samples, size_t bytes, double time);
  // Appends what has come out to out. Returns the media time of its first
  // sample, or a negative number when nothing came out.
  double pull(std::vector<uint8_t>& out);
  // No more input: the next pulls give what the filter still holds. Nothing
  // can be pushed after it until the next open.
  void finish();
  // The media time of the next sample to come out (after a push).
  double nextTime() const;

 private:
  void close();
  bool build(double speed);

  int rate_ = 0;
  int channels_ = 0;
  double speed_ = 1.0;
  AVFilterGraph* graph_ = nullptr;  // null at speed 1
  AVFilterContext* source_ = nullptr;
  AVFilterContext* sink_ = nullptr;
  AVFrame* frame_ = nullptr;
  int64_t samplesIn_ = 0;        // sample frames pushed since open
  int64_t samplesOut_ = 0;       // sample frames pulled since open
  double startTime_ = -1.0;      // media time of the first sample pushed
  std::vector<uint8_t> passed_;  // speed 1: pushed and not yet pulled
};

}  // namespace vantrel
