#include "engine/PlaybackSession.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include "engine/PlaybackHost.h"
#include "engine/PlayerState.h"
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
// Rounding between the clocks' sums.
constexpr double kEndTolerance = 1e-3;

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

}  // namespace

PlaybackSession::PlaybackSession(PlayerState& state, PlaybackHost& host)
    : state_(state), host_(host), demuxer_(state), video_(state), audio_(state), output_(state) {}

PlaybackSession::~PlaybackSession() {
  close();
}

int PlaybackSession::open(const std::string& path) {
  if (avformat_open_input(&state_.formatContext, path.c_str(), nullptr, nullptr) != 0) return -1;
  if (avformat_find_stream_info(state_.formatContext, nullptr) < 0) return -1;
  int video, audio;
  chooseStreams(state_.formatContext, &video, &audio);
  if (video < 0) return -1;
  state_.display.bindVideoSurface(host_.videoSink());
  if (videoComponentOpen(video_, video) < 0) return -1;
  hasAudio_ = audio >= 0;
  if (hasAudio_ && audioComponentOpen(state_, audio, output_, audio_) < 0) return -1;
  return 0;
}

int PlaybackSession::play() {
  state_.playState = Playing;
  silentClock_.reset(0.0, Clock::now());
  host_.playbackStarted();
  host_.showLoading(false);
  demuxer_.start();
  return loop();
}

int PlaybackSession::loop() {
  for (;;) {
    postVideoSecond();
    if (playedToEnd()) {
      requestStop(state_);
      return 100;
    }
    if (state_.quit.load()) return 0;
    applySeekRequest();
    if (state_.paused.load()) {
      waitWhilePaused();
      continue;
    }
    advanceClock();
    const int shown = state_.display.waitForPicture(state_, kPictureWaitMs)
                          ? state_.display.presentPicture(state_)
                          : -1;
    if (previewFrom_ >= 0) endPreviewAfter(shown);
  }
}

void PlaybackSession::postVideoSecond() {
  const auto second = static_cast<int64_t>(state_.videoClock.load());
  if (second == lastPosted_) return;
  host_.postGpsSync(1, second);
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
  if (!state_.demuxEnded.load()) return false;
  {
    std::lock_guard<std::mutex> hold(state_.videoQueue.lock);
    if (state_.videoQueue.count > 0) return false;
  }
  return !pictureWaiting();
}

bool PlaybackSession::pictureWaiting() {
  std::lock_guard<std::mutex> hold(state_.pictureLock);
  return state_.pictureCount > 0;
}

void PlaybackSession::applySeekRequest() {
  const int64_t position = state_.seekPosition.exchange(-1);
  if (position < 0) return;
  // Taken before the demuxer bumps it with this seek.
  const int serial = state_.videoQueue.serial.load();
  state_.seekTargetVideo = secondsToStreamTime(position, state_.videoStream);
  state_.seekTargetAudio = hasAudio_ ? secondsToStreamTime(position, state_.audioStream) : 0;
  state_.seekRequest = 1;
  silentClock_.reset(static_cast<double>(position), Clock::now());
  steadyPace_ = false;
  playedOutSince_.reset();
  // Paused, the workers run until the picture of the new position is shown,
  // and stand still again; the sound waits for Resume.
  if (state_.playState.load() == Paused) {
    previewFrom_ = serial;
    state_.paused = 0;
  }
  wakeWaiters(state_);  // the demuxer may be sleeping at the end of the file
}

void PlaybackSession::endPreviewAfter(int shownSerial) {
  if (state_.playState.load() != Paused) {  // resumed meanwhile: it plays on
    previewFrom_ = -1;
    return;
  }
  // The new picture shown, or none to come (a seek to the very end).
  if (shownSerial <= previewFrom_ && !picturesPlayedOut()) return;
  previewFrom_ = -1;
  state_.paused = 1;
  // A Resume between the check above and here must not be undone.
  if (state_.playState.load() != Paused) state_.paused = 0;
}

void PlaybackSession::waitWhilePaused() {
  silentClock_.pause(Clock::now());
  output_.hold();
  {
    // Resume, a seek and a stop all signal pictureCond.
    std::unique_lock<std::mutex> hold(state_.pictureLock);
    state_.pictureCond.wait(hold, [this] {
      return state_.paused.load() == 0 || state_.quit.load() != 0 ||
             state_.seekPosition.load() >= 0;
    });
  }
  output_.release();
  silentClock_.resume(Clock::now());
}

void PlaybackSession::advanceClock() {
  const auto now = Clock::now();
  silentClock_.setRate(state_.speed.load(), now);
  if (!hasAudio_) {
    state_.audioClock = silentClock_.at(now);
    return;
  }
  const AudioClockReading sound = audioChunkClock(state_.audioChunks, now);
  // Once the sound has ended (or stalled), the pictures go on at the steady
  // pace from where it stopped; sound that comes again takes over again.
  const bool gone = sound.silentSeconds > 0 && ((state_.demuxEnded.load() && audio_.drained()) ||
                                                sound.silentSeconds > kSoundStallSeconds);
  if (!gone) {
    steadyPace_ = false;
    state_.audioClock = sound.media;
    return;
  }
  if (!steadyPace_) silentClock_.reset(sound.media, now);
  steadyPace_ = true;
  state_.audioClock = silentClock_.at(now);
}

void PlaybackSession::close() {
  requestStop(state_);
  demuxer_.join();
  video_.join();
  audio_.join();
  output_.close();  // the callback has left when this returns
  audio_.close();
  video_.close();
  packetQueueFlush(state_.videoQueue);
  audioPacketListClear(state_.audioPackets);
  audioChunkListClear(state_.audioChunks);
  state_.display.bindVideoSurface(nullptr);
  avformat_close_input(&state_.formatContext);
  state_.videoStream = nullptr;
  state_.audioStream = nullptr;
}

}  // namespace vantrel
