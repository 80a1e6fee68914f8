#pragma once
// The demultiplexing thread ("demux"): reads the opened recording packet by
// packet and sorts the packets: video to the video queue, audio to the audio
// packet list, everything else (the GPS text stream of a MOV file) released at
// once. It also carries out the seeks the progress slider requests.
#include <cstdint>
#include <thread>

extern "C" {
struct AVPacket;
}

namespace vantrel {

struct EngineState;
struct PlayerState;

// Read-ahead: the demuxer waits while the video queue holds more than this
// many bytes, or once it holds readAheadSeconds of pictures and the sound
// keeps pace. A second of playing time rides out a slow card, as it does for
// mpv and ffplay; reading further only holds the recording in memory (each
// second of a 1080p recording some 2 MB, of a 4K one 6 MB) and competes with
// the decoders for the disk.
constexpr int kMaxVideoQueueBytes = 131072000;
constexpr double kReadAheadSeconds = 1.0;
// In media seconds: faster than normal, a second of playing time holds more.
double readAheadSeconds(double speed);
constexpr int kReadAheadPackets = 300;  // for packets that carry no duration
// Waits of the thread, in milliseconds: a full queue, the end of the file.
constexpr int kQueueFullWaitMs = 5;
constexpr int kReadRetryWaitMs = 20;

class Demuxer {
 public:
  explicit Demuxer(PlayerState& state);
  ~Demuxer();
  Demuxer(const Demuxer&) = delete;
  Demuxer& operator=(const Demuxer&) = delete;

  void start();
  // Waits for the thread; the caller has set stopWorkers or quit and woken
  // the waits (requestStop does both).
  void join();

  // The thread's two steps, public so tests can drive them one at a time.
  // seek: carries out the pending request (flush both lists, seek to the key
  // picture at or before the target, drop the waiting sound, queue the flush
  // marker with the target, clear the request).
  void seek();
  // Reads one packet and sorts it. false at the end of the file or on a read
  // error: the first such failure queues the end mark (an empty packet) for
  // the video decoder and sets demuxEnded.
  bool readPacket();

 private:
  void demuxThread();
  bool stopping() const;
  void waitWhilePaused();
  // Sleeps ms unless a stop or a seek request comes first.
  void sleepFor(int ms);
  bool queueFull();
  bool soundWaiting();
  void endOfFile();
  void seekVideoTo(int64_t target);

  PlayerState& state_;
  EngineState& engine_;         // engineOf(state_)
  AVPacket* packet_ = nullptr;  // reused for every read; demux thread only
  bool ended_ = false;          // the end mark is queued; demux thread only
  std::thread thread_;
};

// The video seek target kept within [0, duration]; a duration that is not
// known does not bound it.
int64_t clampSeekTarget(int64_t target, int64_t duration);

}  // namespace vantrel
