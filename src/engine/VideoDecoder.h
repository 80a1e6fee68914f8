#pragma once
// The video decoding thread ("dec/video"): takes packets from the engine's
// video queue, decodes them with FFmpeg's send/receive API, times each
// picture, keeps the video clock and hands the picture to the display through
// the PictureQueue, at most one picture ahead of it.
#include <cstdint>
#include <optional>
#include <thread>

#include "engine/KeyCatchUp.h"

extern "C" {
struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
}

namespace vantrel {

struct EngineState;
struct PlayerState;

class VideoDecoder {
 public:
  explicit VideoDecoder(PlayerState& state);
  ~VideoDecoder();
  VideoDecoder(const VideoDecoder&) = delete;
  VideoDecoder& operator=(const VideoDecoder&) = delete;

  // Opens the decoder of the player's stream streamIndex and fills the
  // record's video fields (stream, index, codec, durationSeconds, picture
  // size). 0, or -1 with "Unsupported codec!" on stderr.
  int open(int streamIndex);
  void start();
  // Waits for the thread; the caller has set stopWorkers or quit and woken
  // the waits (requestStop does both).
  void join();
  // Frees the decoder; after join.
  void close();

 private:
  void videoThread();
  bool stopping() const;
  void waitWhilePaused();
  // Sends one packet (an empty one drains the decoder at the end of the
  // file) and hands over every picture that comes out.
  void decodePacket(AVPacket* packet, AVFrame* frame);
  // false when the playback is ending.
  bool receivePictures(AVFrame* frame);
  // A seek's marker: what was decoded before it is dropped, and the pictures
  // from here on make their way to the target's picture.
  void startAfterSeek(const AVPacket* marker);
  // Hands the picture over, unless it is one on the way to a seek's target.
  void takePicture(AVFrame* frame);
  void handOver(AVFrame* frame);
  // The end of the file: the picture held for the target is the last one.
  void handOverHeld();
  // The playback's first packet through the one-thread decoder, whose
  // picture comes out at once; frame threads give theirs a few packets later.
  void decodeFirstPicture(const AVPacket* packet, AVFrame* frame);
  // The frame threads' own copy of the picture decodeFirstPicture handed over.
  bool alreadyShown(const AVFrame* frame);
  // Decodes lighter while its pictures come out behind the clock (see
  // skipWhileBehind), starts a catch-up when they are far behind (see
  // KeyCatchUp), and counts the pictures that left out as dropped.
  void keepUpWithClock(double time, double interval);
  void stopSkipping();
  // Whether the packet is left out to catch up with the clock (see
  // KeyCatchUp); the key packet it goes on from flushes the decoder first.
  bool leftOutToCatchUp(const AVPacket* packet);

  PlayerState& state_;
  EngineState& engine_;  // engineOf(state_)
  AVCodecContext* codec_ = nullptr;
  // One thread, for the first picture only; none when codec_ has no frame threads.
  AVCodecContext* starter_ = nullptr;
  std::thread thread_;
  // Decoding thread only: the video queue's serial of the packets being
  // decoded; the seek target still to reach (seconds); the last picture
  // before it so far (empty when none).
  int serial_ = 0;
  std::optional<double> target_;
  AVFrame* held_ = nullptr;
  // While set, codec_'s next picture is the starter's again (its time, none
  // when it had none).
  std::optional<std::optional<double>> starterShown_;
  // Decoding thread only: whether codec_ leaves pictures out to catch up;
  // whether it did since the last picture handed over (or, having stopped,
  // still may for skipTail_ more pictures), and that one's time.
  bool skipping_ = false;
  bool skippedSince_ = false;
  int skipTail_ = 0;
  std::optional<double> lastHandedOver_;
  // Decoding thread only: leaving out packets up to a key picture.
  KeyCatchUp catchUp_;
};

// Whether a decoder whose picture at `time` comes out against the sound
// clock at `clock` leaves out what it can: pictures no other refers to, and
// the deblocking of all but key pictures. It starts once a picture is more
// than one interval behind, and keeps on until one is no longer behind.
bool skipWhileBehind(double time, double clock, double interval, bool skipping);

// The pictures missing between two handed over one after the other.
int64_t picturesLeftOut(double previous, double time, double interval);

// What an exact seek does with a picture decoded on the way from the key
// picture to its target: the target's picture is the last one at or before
// the target (the one a playback would show at that moment).
enum class SeekPicture {
  Hold,          // at or before the target, and the next one may be too: keep it
  This,          // the target's picture: hand it over, the seek has arrived
  HeldThenThis,  // past the target: the picture kept is the target's; this one follows
};
// interval: seconds from one picture to the next, 0 when unknown; time: the
// picture's, none when it has no time (it is handed over as it comes).
SeekPicture seekPictureChoice(std::optional<double> time, double target, double interval,
                              bool holding);

// Seconds from one picture of the player's stream to the next (the frame
// rate the container or the codec gives), 0 when unknown.
double frameInterval(PlayerState& state, const AVFrame* frame);

// The video branch of opening a stream: the decoder opened and its thread
// started. 0, or -1 when the decoder cannot be opened.
int videoComponentOpen(VideoDecoder& decoder, int streamIndex);

// Whole seconds of the stream (its duration x time base, truncated); the
// container's duration when the stream has none; 0 when neither is known.
int64_t durationSecondsOf(const AVFormatContext* format, const AVStream* stream);

// The picture's time in seconds: its best-effort timestamp, else its pts, in
// the stream's time base; none when it has neither.
std::optional<double> pictureTime(const AVFrame* frame, const AVStream* stream);

// Sets the video clock from a picture's time (none keeps the clock and
// returns it), then moves the clock one frame interval on: the stream's frame
// rate, plus half an interval per repeat_pict. Returns the picture's time.
double synchronizeVideo(PlayerState& state, const AVFrame* frame, std::optional<double> time);

// Waits for the picture slot to be free; false when the playback is ending.
bool waitForPictureSlot(PlayerState& state);

// Waits for the picture slot to be free, then stores the frame in it, with
// the video queue's serial it was decoded under. 0 handed over; -1 the
// playback is ending (quit), a seek has come since (serial is stale) or the
// frame cannot be stored, and the picture is dropped.
int queuePicture(PlayerState& state, const AVFrame* frame, double time, int serial);

}  // namespace vantrel
