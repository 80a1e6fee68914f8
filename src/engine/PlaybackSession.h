#pragma once
// One playback of one recording, on the playback thread: the file and its
// streams opened, the workers started, the playback loop, and the teardown
// that joins every worker before it closes what they use.
#include <chrono>
#include <optional>
#include <string>

#include "engine/AudioDecoder.h"
#include "engine/AudioOutput.h"
#include "engine/Demuxer.h"
#include "engine/SteadyMediaClock.h"
#include "engine/VideoDecoder.h"

namespace vantrel {

struct EngineState;
struct PlayerState;
class PlaybackHost;
class TrackLoadAhead;

class PlaybackSession {
 public:
  // track: announced once the first picture is out (before the first tick).
  PlaybackSession(PlayerState& state, PlaybackHost& host, TrackLoadAhead& track);
  ~PlaybackSession();
  PlaybackSession(const PlaybackSession&) = delete;
  PlaybackSession& operator=(const PlaybackSession&) = delete;

  // Opens the file, picks its streams and opens the decoders and the sound.
  // 0, or -1: unreadable, no stream information, no video stream, or a
  // decoder or the device that will not open (failure() says which). A file
  // without sound plays silently against a steady clock.
  int open(const std::string& path);
  const std::string& failure() const { return failure_; }
  // Plays until the end (100) or a stop (0).
  int play();
  // Stops and joins every worker, then closes the device, the decoders and
  // the file. Safe after a failed open, and more than once.
  void close();

  double audioSeconds() const { return output_.secondsPlayed(); }

 private:
  using Clock = std::chrono::steady_clock;

  int fail(std::string why);
  int loop();
  void announceTrackWhenShown();
  void postVideoSecond();
  // The second of the picture a paused seek or step has shown.
  void postShownSecond();
  bool playedToEnd();
  bool playedOut();
  bool picturesPlayedOut();  // read to the end, and every picture shown
  bool pictureWaiting();     // a decoded picture not yet shown
  void applySeekRequest();
  // target: a media time.
  void seekTo(double target);
  // Paused: the next frame step asked for, if any, under way; whether one was.
  bool applyFrameStep();
  void catchUpAfterSteps();
  // While paused, what the workers run for until its picture is shown.
  enum class Preview { None, Seek, Step };
  void startPreview(Preview kind, int serial);
  // Ends the showing of a paused seek's or step's picture once it was shown.
  void endPreviewAfter(int shownSerial);
  void waitWhilePaused();
  // Sets the clock the display paces against: the sound's, or the steady
  // one for a recording without sound and once the sound has ended.
  void advanceClock();
  // advanceClock's reading; whether the clock is the sound's as it plays.
  bool readClock();
  // The sound stands at `at` from the start of the playback or a seek until
  // the first picture from there is ready, so the pictures do not begin
  // behind it while the decoder primes (a 4K decoder takes a while).
  void holdSoundForPicture(double at);
  // Lets it go once a picture from the hold on has been shown (shownSerial:
  // the loop's) or waits for the clock to reach it, none will come, or it
  // has waited too long.
  void releaseSoundWhenPictureReady(int shownSerial);

  PlayerState& state_;
  EngineState& engine_;  // engineOf(state_)
  PlaybackHost& host_;
  TrackLoadAhead& track_;
  Clock::time_point started_;
  Demuxer demuxer_;
  VideoDecoder video_;
  AudioDecoder audio_;
  AudioOutput output_;
  bool hasAudio_ = false;
  std::string failure_;           // why open failed
  SteadyMediaClock silentClock_;  // the pace of a recording without sound, or past its sound
  bool steadyPace_ = false;       // the sound has ended: silentClock_ paces the pictures
  // A seek or a frame step while paused shows its picture: which one runs,
  // and the video queue's serial when it began.
  Preview preview_ = Preview::None;
  int previewFrom_ = -1;
  // Frame steps showed pictures ahead of the sound, which stood still.
  bool steppedAhead_ = false;
  // The hold on the sound: the video queue's serial and media time it began
  // at, and when.
  int soundHeldFrom_ = 0;
  double soundHeldAt_ = 0.0;
  Clock::time_point soundHeldSince_;
  int64_t lastPosted_ = -1;  // last whole second posted with sync code 1
  std::optional<Clock::time_point> playedOutSince_;
};

}  // namespace vantrel
