#include "engine/VideoDecoder.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "engine/EngineState.h"
#include "engine/PlayerState.h"
#include "engine/StreamDecoder.h"
#include "engine/ThreadName.h"

namespace vantrel {

VideoDecoder::VideoDecoder(PlayerState& state) : state_(state), engine_(engineOf(state)) {}

VideoDecoder::~VideoDecoder() {
  join();
  close();
}

int VideoDecoder::open(int streamIndex) {
  close();
  AVFormatContext* format = engine_.formatContext;
  if (!format || streamIndex < 0 || streamIndex >= static_cast<int>(format->nb_streams)) return -1;
  AVStream* stream = format->streams[streamIndex];
  // Frame threads: a 1080p or 4K picture decodes on both cores.
  codec_ = openStreamDecoder(stream, videoDecoderThreads());
  if (!codec_) return -1;
  if (codec_->active_thread_type == FF_THREAD_FRAME) starter_ = openStreamDecoder(stream, 1);
  engine_.videoStreamIndex = streamIndex;
  engine_.videoStream = stream;
  state_.durationSeconds = durationSecondsOf(format, stream);
  {
    std::lock_guard<std::mutex> hold(engine_.pictureLock);
    engine_.pictureCount = 0;
  }
  packetQueueInit(engine_.videoQueue);
  return 0;
}

void VideoDecoder::start() {
  serial_ = engine_.videoQueue.serial.load();
  engine_.videoDrainedSerial = -1;
  thread_ = std::thread([this] { videoThread(); });
}

void VideoDecoder::join() {
  if (thread_.joinable()) thread_.join();
}

void VideoDecoder::close() {
  avcodec_free_context(&codec_);
  avcodec_free_context(&starter_);
  starterShown_.reset();
  stopSkipping();
  lastHandedOver_.reset();
  catchUp_.reset();
}

bool VideoDecoder::stopping() const {
  return engine_.stopWorkers.load() || state_.quit.load();
}

void VideoDecoder::waitWhilePaused() {
  // Resume and stop both signal pictureCond.
  std::unique_lock<std::mutex> hold(engine_.pictureLock);
  engine_.pictureCond.wait(hold, [this] { return !state_.paused.load() || stopping(); });
}

void VideoDecoder::videoThread() {
  setCurrentThreadName("dec/video");
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  held_ = av_frame_alloc();
  while (packet && frame && held_ && !stopping()) {
    if (state_.paused.load()) {
      waitWhilePaused();
      continue;
    }
    if (packetQueueGet(engine_.videoQueue, packet, 1, state_.quit) < 0) continue;
    if (isFlushPacket(packet)) {
      startAfterSeek(packet);
      continue;
    }
    if (leftOutToCatchUp(packet)) {
      av_packet_unref(packet);
      continue;
    }
    if (starter_) decodeFirstPicture(packet, frame);
    decodePacket(packet, frame);
    av_packet_unref(packet);
  }
  av_frame_free(&held_);
  av_frame_free(&frame);
  av_packet_free(&packet);
}

void VideoDecoder::startAfterSeek(const AVPacket* marker) {
  // Pictures buffered from before the seek are dropped, and those decoded
  // from here on belong to it.
  avcodec_flush_buffers(codec_);
  serial_ = static_cast<int>(marker->pos);
  av_frame_unref(held_);
  target_.reset();
  starterShown_.reset();
  stopSkipping();
  lastHandedOver_.reset();
  catchUp_.reset();
  if (marker->pts != AV_NOPTS_VALUE) {
    target_ = static_cast<double>(marker->pts) * av_q2d(engine_.videoStream->time_base);
  }
}

void VideoDecoder::decodePacket(AVPacket* packet, AVFrame* frame) {
  // An empty packet is the demuxer's end-of-file mark: drain what the
  // decoder still holds, so the last pictures of the file are shown too.
  AVPacket* input = packet->size == 0 ? nullptr : packet;
  int sent = avcodec_send_packet(codec_, input);
  if (sent == AVERROR_EOF) {
    // Packets after a drain (the file grew, or a read error passed): start anew.
    avcodec_flush_buffers(codec_);
    sent = avcodec_send_packet(codec_, input);
  }
  if (!receivePictures(frame)) return;
  // The decoder had pictures to give first; it takes the packet now.
  if (sent == AVERROR(EAGAIN)) {
    avcodec_send_packet(codec_, input);
    receivePictures(frame);
  }
  // Any other refusal drops the packet; decoding goes on with the next one.
  if (!input) {
    handOverHeld();
    engine_.videoDrainedSerial = serial_;
  }
}

bool VideoDecoder::receivePictures(AVFrame* frame) {
  while (!stopping() && avcodec_receive_frame(codec_, frame) == 0) {
    // A picture from before a seek would set the clock back to where the
    // seek left: it is dropped unseen.
    if (serial_ == engine_.videoQueue.serial.load() && !alreadyShown(frame)) takePicture(frame);
    av_frame_unref(frame);
  }
  return !stopping();
}

void VideoDecoder::takePicture(AVFrame* frame) {
  if (target_) {
    const bool holding = held_->buf[0] != nullptr;
    switch (seekPictureChoice(pictureTime(frame, engine_.videoStream), *target_,
                              frameInterval(state_, frame), holding)) {
      case SeekPicture::Hold:
        av_frame_unref(held_);
        av_frame_move_ref(held_, frame);
        return;
      case SeekPicture::HeldThenThis:
        handOver(held_);
        break;
      case SeekPicture::This:
        break;
    }
    av_frame_unref(held_);
    target_.reset();
  }
  handOver(frame);
}

void VideoDecoder::decodeFirstPicture(const AVPacket* packet, AVFrame* frame) {
  // Drained at once: the picture does not wait for a reordering delay.
  if (packet->size > 0 && avcodec_send_packet(starter_, packet) == 0 &&
      avcodec_send_packet(starter_, nullptr) == 0 && avcodec_receive_frame(starter_, frame) == 0) {
    starterShown_ = pictureTime(frame, engine_.videoStream);
    takePicture(frame);
    av_frame_unref(frame);
  }
  avcodec_free_context(&starter_);
}

bool VideoDecoder::alreadyShown(const AVFrame* frame) {
  if (!starterShown_) return false;
  const std::optional<double> shown = *starterShown_;
  starterShown_.reset();
  return pictureTime(frame, engine_.videoStream) == shown;
}

void VideoDecoder::handOverHeld() {
  if (!held_->buf[0]) return;
  if (serial_ == engine_.videoQueue.serial.load()) handOver(held_);
  av_frame_unref(held_);
  target_.reset();
}

void VideoDecoder::handOver(AVFrame* frame) {
  // The clock moves as the picture is handed over, not as it is decoded:
  // the recording's end is then not reached before its last picture shows.
  if (!waitForPictureSlot(state_)) return;
  if (serial_ != engine_.videoQueue.serial.load()) return;  // a seek came meanwhile
  const double time = synchronizeVideo(state_, frame, pictureTime(frame, engine_.videoStream));
  keepUpWithClock(time, frameInterval(state_, frame));
  // The shape may be given by the container rather than by the pictures.
  frame->sample_aspect_ratio =
      av_guess_sample_aspect_ratio(engine_.formatContext, engine_.videoStream, frame);
  // -1: ending (the loop sees it), a seek meanwhile or an unusable frame.
  queuePicture(state_, frame, time, serial_);
}

void VideoDecoder::keepUpWithClock(double time, double interval) {
  if (skippedSince_ && lastHandedOver_) {
    state_.display.countSkipped(picturesLeftOut(*lastHandedOver_, time, interval));
  }
  // Only a playing recording catches up with its sound. On the way to a
  // seek's target, and for a paused step, every picture counts: the one
  // asked for may be one that nothing refers to.
  const bool playing = !target_ && state_.playState.load() == Playing;
  const double clock = state_.audioClock.load();
  // Without sound to keep in step with, every picture is shown, late or not.
  const bool playingOn = playing && lastHandedOver_.has_value() && engine_.clockFollowsSound.load();
  const double speed = state_.speed.load();
  // The queue is looked through only for a picture that could start a
  // catch-up, not for every picture.
  const bool keyQueued = playingOn && !catchUp_.catchingUp() &&
                         KeyCatchUp::farBehind(time, clock, speed) &&
                         packetQueueHoldsKey(engine_.videoQueue);
  catchUp_.startsAt({time, clock, speed, playingOn, keyQueued});
  lastHandedOver_ = time;
  const bool skip = playing && skipWhileBehind(time, clock, interval, skipping_);
  if (skip != skipping_) {
    skipping_ = skip;
    codec_->skip_frame = skip ? AVDISCARD_NONREF : AVDISCARD_DEFAULT;
    codec_->skip_loop_filter = skip ? AVDISCARD_NONKEY : AVDISCARD_DEFAULT;
    // Packets already with the frame threads were sent while it skipped.
    if (!skip) skipTail_ = std::max(codec_->thread_count, 1);
  }
  skippedSince_ = skipping_ || skipTail_-- > 0;
}

void VideoDecoder::stopSkipping() {
  skipping_ = skippedSince_ = false;
  skipTail_ = 0;
  if (!codec_) return;
  codec_->skip_frame = AVDISCARD_DEFAULT;
  codec_->skip_loop_filter = AVDISCARD_DEFAULT;
}

bool VideoDecoder::leftOutToCatchUp(const AVPacket* packet) {
  // The end of the file's empty packet drains the decoder as ever.
  if (packet->size == 0) return false;
  const bool key = (packet->flags & AV_PKT_FLAG_KEY) != 0;
  const double clock = state_.audioClock.load();
  // A key packet without a time is as good as any to go on from.
  const int64_t ticks = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
  const double time = ticks != AV_NOPTS_VALUE
                          ? static_cast<double>(ticks) * av_q2d(engine_.videoStream->time_base)
                          : clock;
  const bool laterKey = key && catchUp_.catchingUp() && packetQueueHoldsKey(engine_.videoQueue);
  switch (catchUp_.packet(key, time, clock, state_.speed.load(), laterKey)) {
    case KeyCatchUp::Packet::Decode:
      return false;
    case KeyCatchUp::Packet::LeaveOut:
      skippedSince_ = true;  // the next picture handed over counts the gap as dropped
      return true;
    case KeyCatchUp::Packet::Restart:
      // The pictures still in the frame threads come from before the gap.
      avcodec_flush_buffers(codec_);
      skippedSince_ = true;
      return false;
  }
  return false;
}

bool skipWhileBehind(double time, double clock, double interval, bool skipping) {
  if (interval <= 0) return false;
  if (clock - time > interval) return true;
  return skipping && time < clock;
}

int64_t picturesLeftOut(double previous, double time, double interval) {
  if (interval <= 0 || time <= previous) return 0;
  return std::max<int64_t>(std::llround((time - previous) / interval) - 1, 0);
}

SeekPicture seekPictureChoice(std::optional<double> time, double target, double interval,
                              bool holding) {
  // Ticks in doubles: a picture within this of the target is at it.
  constexpr double kSame = 1e-9;
  if (time && *time <= target + kSame) {
    // The next picture is known to come after the target only with a rate.
    return interval > 0 && *time + interval > target + kSame ? SeekPicture::This
                                                             : SeekPicture::Hold;
  }
  // Past the target, or no time to tell by.
  return holding ? SeekPicture::HeldThenThis : SeekPicture::This;
}

int videoComponentOpen(VideoDecoder& decoder, int streamIndex) {
  if (decoder.open(streamIndex) < 0) return -1;
  decoder.start();
  return 0;
}

int64_t durationSecondsOf(const AVFormatContext* format, const AVStream* stream) {
  if (stream && stream->duration != AV_NOPTS_VALUE && stream->duration > 0 &&
      stream->time_base.den > 0) {
    return stream->duration * stream->time_base.num / stream->time_base.den;
  }
  if (format && format->duration != AV_NOPTS_VALUE && format->duration > 0) {
    return format->duration / AV_TIME_BASE;
  }
  return 0;
}

std::optional<double> pictureTime(const AVFrame* frame, const AVStream* stream) {
  int64_t raw = frame->best_effort_timestamp;
  if (raw == AV_NOPTS_VALUE) raw = frame->pts;
  if (raw == AV_NOPTS_VALUE) return std::nullopt;
  return static_cast<double>(raw) * av_q2d(stream->time_base);
}

double synchronizeVideo(PlayerState& state, const AVFrame* frame, std::optional<double> known) {
  // A picture at 0 is at 0: after a seek back to the start the running clock
  // still stands where the seek left.
  double time;
  if (known) {
    time = *known;
    state.videoClock = time;
  } else {
    time = state.videoClock;
  }
  // An unknown rate adds nothing: the next picture's own time sets the clock.
  const double interval = frameInterval(state, frame);
  state.videoClock = state.videoClock + interval + frame->repeat_pict * interval / 2;
  return time;
}

double frameInterval(PlayerState& state, const AVFrame* frame) {
  EngineState& engine = engineOf(state);
  const AVRational rate =
      av_guess_frame_rate(engine.formatContext, engine.videoStream, const_cast<AVFrame*>(frame));
  return rate.num > 0 && rate.den > 0 ? av_q2d(av_inv_q(rate)) : 0.0;
}

bool waitForPictureSlot(PlayerState& state) {
  EngineState& engine = engineOf(state);
  std::unique_lock<std::mutex> hold(engine.pictureLock);
  const auto ending = [&state, &engine] { return state.quit.load() || engine.stopWorkers.load(); };
  engine.pictureCond.wait(hold, [&] { return engine.pictureCount == 0 || ending(); });
  return !ending();
}

int queuePicture(PlayerState& state, const AVFrame* frame, double time, int serial) {
  EngineState& engine = engineOf(state);
  if (!waitForPictureSlot(state)) return -1;
  // The decoding thread is the slot's only filler: it is still free.
  std::unique_lock<std::mutex> hold(engine.pictureLock);
  if (serial != engine.videoQueue.serial.load()) return -1;
  if (!engine.picture.store(frame, time, serial)) return -1;
  engine.pictureCount = 1;
  hold.unlock();
  engine.pictureCond.notify_all();  // a display waiting for a picture
  return 0;
}

}  // namespace vantrel
