#include "engine/PlaybackSession.h"

#include <algorithm>
#include <filesystem>

extern "C" {
#include <libavformat/avformat.h>
}

#include "engine/EngineState.h"
#include "engine/PlaybackHost.h"
#include "engine/PlayerState.h"
#include "engine/StreamProbe.h"
#include "engine/TrackLoadAhead.h"
#include "engine/Transport.h"

namespace vantrel {

namespace {

// The longest the loop sleeps for a picture, so the end checks and a seek
// request are seen while none comes.
constexpr int kPictureWaitMs = 20;
// Everything must stay played out this long before the playback ends: a
// draining video decoder may still be about to hand over its last picture.
constexpr auto kPlayedOutHold = std::chrono::milliseconds(250);
// Sound that stops this long while more is due (a broken stream, a device
// that does not play) no longer holds the pictures.
constexpr double kSoundStallSeconds = 0.5;
// The longest the track's announcement waits for the first picture.
constexpr auto kFirstPictureWait = std::chrono::milliseconds(500);
// Rounding between the clocks' sums.
constexpr double kEndTolerance = 1e-3;
// The longest the sound waits for the first picture of a playback or a seek:
// a recording whose pictures do not decode still sounds.
constexpr auto kSoundWaitLimit = std::chrono::seconds(2);

// The last stream of each kind wins; cover pictures are not video.
void chooseStreams(const AVFormatContext* format, int* video, int* audio) {
  *video = *audio = -1;
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    const AVStream* stream = format->streams[i];
    const AVMediaType type = stream->codecpar->codec_type;
    if (type == AVMEDIA_TYPE_VIDEO && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
      *video = static_cast<int>(i);
    } else if (type == AVMEDIA_TYPE_AUDIO) {
      *audio = static_cast<int>(i);
    }
  }
}

std::string errorText(int error) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(error, text, sizeof text);
  return text;
}

std::string codecName(const AVStream* stream) {
  const char* name = avcodec_get_name(stream->codecpar->codec_id);
  return name ? name : "unknown";
}

}  // namespace

PlaybackSession::PlaybackSession(PlayerState& state, PlaybackHost& host, TrackLoadAhead& track)
    : state_(state),
      engine_(engineOf(state)),
      host_(host),
      track_(track),
      demuxer_(state),
      video_(state),
      audio_(state),
      output_(state) {}

PlaybackSession::~PlaybackSession() {
  close();
}

int PlaybackSession::open(const std::string& path) {
  // What the demuxers make of no data at all ("Invalid data") would not tell
  // the user why.
  std::error_code sizeError;
  if (std::filesystem::file_size(path, sizeError) == 0 && !sizeError) {
    return fail("the file is empty");
  }
  if (const int error = avformat_open_input(&engine_.formatContext, path.c_str(), nullptr, nullptr);
      error != 0) {
    return fail(errorText(error));
  }
  // Probing reads and decodes the first pictures once more: the first one
  // would show about twice as late.
  if (!headerDescribesStreams(engine_.formatContext)) {
    if (const int error = avformat_find_stream_info(engine_.formatContext, nullptr); error < 0) {
      return fail("its streams cannot be read (" + errorText(error) + ")");
    }
  }
  int video, audio;
  chooseStreams(engine_.formatContext, &video, &audio);
  if (video < 0) return fail("it holds no pictures");
  state_.display.bindVideoSurface(host_.videoSink());
  if (videoComponentOpen(video_, video) < 0) {
    return fail("its pictures (" + codecName(engine_.formatContext->streams[video]) +
                ") cannot be decoded");
  }
  const AVStream* stream = engine_.videoStream;
  state_.seeks.reset(streamStartSeconds(stream),
                     stream->duration != AV_NOPTS_VALUE && stream->duration > 0
                         ? static_cast<double>(stream->duration) * av_q2d(stream->time_base)
                         : static_cast<double>(state_.durationSeconds.load()));
  hasAudio_ = audio >= 0;
  if (hasAudio_ && audioComponentOpen(engine_, audio, output_, audio_) < 0) {
    return fail("its sound (" + codecName(engine_.formatContext->streams[audio]) +
                ") cannot be played");
  }
  return 0;
}

int PlaybackSession::fail(std::string why) {
  failure_ = std::move(why);
  return -1;
}

int PlaybackSession::play() {
  state_.playState = Playing;
  silentClock_.reset(0.0, Clock::now());
  holdSoundForPicture(0.0);
  // Pictures are paced, and their offsets measured, against the clock as it
  // stands at that moment.
  state_.display.readClockWith([this] {
    advanceClock();
    return state_.audioClock.load();
  });
  host_.playbackStarted();
  host_.showLoading(false);
  started_ = Clock::now();
  demuxer_.start();
  return loop();
}

int PlaybackSession::loop() {
  for (;;) {
    announceTrackWhenShown();
    postVideoSecond();
    if (playedToEnd()) {
      requestStop(state_);
      return 100;
    }
    if (state_.quit.load()) return 0;
    applySeekRequest();
    if (state_.paused.load()) {
      if (!applyFrameStep()) waitWhilePaused();
      continue;
    }
    catchUpAfterSteps();
    advanceClock();
    // Paused, a seek's or a step's picture is shown as it comes: the clock
    // stands, and a picture due after it would wait for good.
    const int shown = state_.display.waitForPicture(state_, kPictureWaitMs)
                          ? state_.display.presentPicture(state_, preview_ == Preview::None)
                          : -1;
    releaseSoundWhenPictureReady(shown);
    if (preview_ != Preview::None) endPreviewAfter(shown);
  }
}

void PlaybackSession::announceTrackWhenShown() {
  if (track_.announced()) return;
  // The window draws the route when it hears of the track: after the first
  // picture, or without it when none comes soon or the user paused first.
  if (state_.display.shownTime(state_.generation.load()) || state_.paused.load() ||
      Clock::now() - started_ > kFirstPictureWait) {
    track_.announce();
  }
}

void PlaybackSession::postVideoSecond() {
  if (!track_.announced()) return;  // the track comes before its first second
  // Paused, the picture stands; what a paused seek or step shows is posted by
  // postShownSecond (the clock is already a picture further).
  if (state_.paused.load() || preview_ != Preview::None) return;
  const auto second = static_cast<int64_t>(state_.videoClock.load());
  if (second == lastPosted_) return;
  host_.postGpsSync(kSyncTick, second);
  lastPosted_ = second;
}

void PlaybackSession::postShownSecond() {
  const std::optional<double> shown = state_.display.shownTime(state_.generation.load());
  if (!shown) return;
  const auto second = static_cast<int64_t>(std::max(state_.seeks.positionOf(*shown), 0.0));
  if (second == lastPosted_) return;
  // On: a tick; back (a step back, a seek's end before the length): the
  // travelled route redrawn, as after a seek.
  host_.postGpsSync(second > lastPosted_ ? kSyncTick : kSyncSeek, second);
  lastPosted_ = second;
}

bool PlaybackSession::playedToEnd() {
  // A paused recording waits for the user, wherever it stands.
  if (state_.playState.load() != Playing) return false;
  // The video clock reaching the recording's length ends it once the last
  // picture decoded has been shown and the sound has caught up with it.
  const int64_t duration = state_.durationSeconds.load();
  if (duration > 0 && lastPosted_ >= duration && !pictureWaiting() &&
      state_.audioClock.load() >= state_.videoClock.load() - kEndTolerance) {
    return true;
  }
  // A file cut short never gets there: it ends once the demuxer has nothing
  // more and everything read has been shown and heard.
  if (!playedOut()) {
    playedOutSince_.reset();
    return false;
  }
  const auto now = Clock::now();
  if (!playedOutSince_) playedOutSince_ = now;
  return now - *playedOutSince_ >= kPlayedOutHold;
}

bool PlaybackSession::playedOut() {
  return picturesPlayedOut() && (!hasAudio_ || audio_.drained());
}

bool PlaybackSession::picturesPlayedOut() {
  // A seek not yet carried out brings more.
  if (!engine_.demuxEnded.load() || engine_.seekRequest.load()) return false;
  {
    std::lock_guard<std::mutex> hold(engine_.videoQueue.lock);
    if (engine_.videoQueue.count > 0) return false;
  }
  // The last packets taken may still be on their way through the decoder.
  if (engine_.videoStream &&
      engine_.videoDrainedSerial.load() != engine_.videoQueue.serial.load()) {
    return false;
  }
  return !pictureWaiting();
}

bool PlaybackSession::pictureWaiting() {
  std::lock_guard<std::mutex> hold(engine_.pictureLock);
  return engine_.pictureCount > 0;
}

void PlaybackSession::applySeekRequest() {
  // A seek waits while a step's picture is on its way: it takes the pause
  // back when it arrives.
  if (preview_ == Preview::Step) return;
  const std::optional<double> target = state_.seeks.takeTarget();
  if (!target) return;
  // The window has shown the target's second and moved the dashboard there.
  lastPosted_ = static_cast<int64_t>(std::max(state_.seeks.positionOf(*target), 0.0));
  seekTo(*target);
}

void PlaybackSession::seekTo(double target) {
  // Taken before the flush below bumps it.
  const int serial = engine_.videoQueue.serial.load();
  // Flushed here as well as by the demuxer: no picture from before the seek
  // is shown once it is asked for, even before the demuxer gets to it.
  packetQueueFlush(engine_.videoQueue);
  engine_.seekTargetVideo = mediaTimeToStreamTime(target, engine_.videoStream);
  engine_.seekTargetAudio = hasAudio_ ? mediaTimeToStreamTime(target, engine_.audioStream) : 0;
  engine_.seekRequest = true;
  silentClock_.reset(target, Clock::now());
  holdSoundForPicture(target);
  steadyPace_ = false;
  steppedAhead_ = false;
  playedOutSince_.reset();
  // Paused, the workers run until the picture of the new position is shown,
  // and stand still again; the sound waits for Resume.
  if (state_.playState.load() == Paused) startPreview(Preview::Seek, serial);
  wakeWaiters(state_);  // the demuxer may be sleeping at the end of the file
}

bool PlaybackSession::applyFrameStep() {
  if (preview_ != Preview::None || state_.playState.load() != Paused) return false;
  const int step = state_.seeks.takeStep();
  if (step == 0) return false;
  const std::optional<double> shown = state_.display.shownTime(state_.generation.load());
  if (step < 0) {
    // The picture before the one shown: from the key picture before it.
    if (shown) seekTo(*shown - 2 * kExactSeekTolerance);
    return true;
  }
  // The next picture is the one the decoder hands over next; none comes
  // after the last.
  if (picturesPlayedOut()) return true;
  steppedAhead_ = true;
  startPreview(Preview::Step, engine_.videoQueue.serial.load());
  wakeWaiters(state_);
  return true;
}

void PlaybackSession::catchUpAfterSteps() {
  // Steps moved the picture on while the sound stood: playing goes on from
  // the picture shown, with its sound.
  if (!steppedAhead_ || preview_ != Preview::None || state_.playState.load() != Playing) return;
  const std::optional<double> shown = state_.display.shownTime(state_.generation.load());
  steppedAhead_ = false;
  if (shown) seekTo(*shown);
}

void PlaybackSession::startPreview(Preview kind, int serial) {
  preview_ = kind;
  previewFrom_ = serial;
  state_.paused = false;
}

void PlaybackSession::endPreviewAfter(int shownSerial) {
  if (state_.playState.load() != Paused) {  // resumed meanwhile: it plays on
    preview_ = Preview::None;
    return;
  }
  // The new picture shown (for a seek, one decoded after it), or none to
  // come (a seek to the very end, a step past the last picture).
  const bool arrived = preview_ == Preview::Step ? shownSerial >= 0 : shownSerial > previewFrom_;
  if (!arrived && !picturesPlayedOut()) return;
  preview_ = Preview::None;
  if (arrived) postShownSecond();
  state_.paused = true;
  // A Resume between the check above and here must not be undone.
  if (state_.playState.load() != Paused) state_.paused = false;
}

void PlaybackSession::waitWhilePaused() {
  silentClock_.pause(Clock::now());
  output_.hold();
  {
    // Resume, a seek and a stop all signal pictureCond.
    std::unique_lock<std::mutex> hold(engine_.pictureLock);
    engine_.pictureCond.wait(hold, [this] {
      return !state_.paused.load() || state_.quit.load() || state_.seeks.pending();
    });
  }
  output_.release();
  silentClock_.resume(Clock::now());
}

void PlaybackSession::holdSoundForPicture(double at) {
  soundHeldFrom_ = engine_.videoQueue.serial.load();
  soundHeldAt_ = at;
  soundHeldSince_ = Clock::now();
  engine_.soundWaitsForPicture = true;
}

void PlaybackSession::releaseSoundWhenPictureReady(int shownSerial) {
  if (!engine_.soundWaitsForPicture.load()) return;
  bool ready = shownSerial >= soundHeldFrom_;
  if (!ready) {
    // One that waits for a clock that stands would wait for good.
    std::lock_guard<std::mutex> hold(engine_.pictureLock);
    ready = engine_.pictureCount > 0 && engine_.picture.serial() >= soundHeldFrom_ &&
            pictureMustWait(engine_.picture.time(), state_.audioClock.load(), state_.speed.load());
  }
  if (ready || picturesPlayedOut() || Clock::now() - soundHeldSince_ > kSoundWaitLimit) {
    engine_.soundWaitsForPicture = false;
  }
}

void PlaybackSession::advanceClock() {
  engine_.clockFollowsSound = readClock();
}

bool PlaybackSession::readClock() {
  const auto now = Clock::now();
  silentClock_.setRate(state_.speed.load(), now);
  if (engine_.soundWaitsForPicture.load()) {
    // The sound stands until the picture is ready; the clock with it.
    silentClock_.reset(soundHeldAt_, now);
    state_.audioClock = hasAudio_ ? audioChunkClock(engine_.audioChunks, now).media : soundHeldAt_;
    return false;
  }
  if (!hasAudio_) {
    state_.audioClock = silentClock_.at(now);
    return false;
  }
  const AudioClockReading sound = audioChunkClock(engine_.audioChunks, now);
  // Once the sound has ended (or stalled), the pictures go on at the steady
  // pace from where it stopped; sound that comes again takes over again.
  const bool gone = sound.silentSeconds > 0 && ((engine_.demuxEnded.load() && audio_.drained()) ||
                                                sound.silentSeconds > kSoundStallSeconds);
  if (!gone) {
    steadyPace_ = false;
    state_.audioClock = sound.media;
    return true;
  }
  if (!steadyPace_) silentClock_.reset(sound.media, now);
  steadyPace_ = true;
  state_.audioClock = silentClock_.at(now);
  return false;
}

void PlaybackSession::close() {
  requestStop(state_);
  engine_.soundWaitsForPicture = false;
  engine_.clockFollowsSound = false;
  state_.display.readClockWith(nullptr);
  demuxer_.join();
  video_.join();
  audio_.join();
  output_.close();  // the callback has left when this returns
  audio_.close();
  video_.close();
  packetQueueFlush(engine_.videoQueue);
  audioPacketListClear(engine_.audioPackets);
  audioChunkListClear(engine_.audioChunks);
  state_.display.bindVideoSurface(nullptr);
  avformat_close_input(&engine_.formatContext);
  engine_.videoStream = nullptr;
  engine_.audioStream = nullptr;
}

}  // namespace vantrel
