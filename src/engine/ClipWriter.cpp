#include "engine/ClipWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
}

#include "engine/VideoDecoder.h"

namespace vantrel {

namespace {

// Once the pictures have reached the end, the other streams are read on
// this much further: the container may store their last samples after it.
constexpr double kInterleaveSlack = 2.0;

std::string errorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

bool isCopiedKind(AVMediaType type) {
  return type == AVMEDIA_TYPE_VIDEO || type == AVMEDIA_TYPE_AUDIO ||
         type == AVMEDIA_TYPE_SUBTITLE || type == AVMEDIA_TYPE_DATA;
}

// Whether format can store the stream's codec. A muxer that cannot say is
// trusted with pictures, sound and text, not with other data.
bool containerTakes(const AVOutputFormat* format, const AVStream* stream) {
  const AVCodecParameters* par = stream->codecpar;
  if (!isCopiedKind(par->codec_type) || (stream->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
    return false;
  }
  const int answer = avformat_query_codec(format, par->codec_id, FF_COMPLIANCE_NORMAL);
  return answer == 1 || (answer < 0 && par->codec_type != AVMEDIA_TYPE_DATA);
}

// The source's tag where the output container knows it (hvc1 stays hvc1),
// else 0 so that the muxer picks its own.
unsigned keptCodecTag(const AVOutputFormat* format, const AVCodecParameters* par) {
  if (!format->codec_tag) return par->codec_tag;
  if (av_codec_get_id(format->codec_tag, par->codec_tag) == par->codec_id) return par->codec_tag;
  unsigned known = 0;
  return av_codec_get_tag2(format->codec_tag, par->codec_id, &known) ? 0 : par->codec_tag;
}

void copyStreamSideData(const AVStream* from, AVStream* to) {
  for (int i = 0; i < from->nb_side_data; ++i) {
    const AVPacketSideData& data = from->side_data[i];
    if (uint8_t* copy = av_stream_new_side_data(to, data.type, data.size)) {
      std::copy_n(data.data, data.size, copy);
    }
  }
}

// One clip being written: the source opened for reading, the target for
// writing, and the copy between them.
class ClipCopy {
 public:
  ClipCopy(const ClipProgress& progress, ClipResult& result)
      : progress_(progress), result_(result), packet_(av_packet_alloc()) {}
  ~ClipCopy() {
    for (AVPacket*& held : pending_) av_packet_free(&held);
    av_packet_free(&packet_);
    avformat_close_input(&source_);
    if (target_) {
      avio_closep(&target_->pb);
      avformat_free_context(target_);
    }
  }

  ClipStatus run(const std::string& source, const std::string& target, double start, double end);

 private:
  bool fail(const std::string& why) {
    result_.reason = why;
    return false;
  }
  bool openSource(const std::string& path);
  bool checkSpan(double start, double end);
  bool openTarget(const std::string& path);
  bool addStreams();
  void seekNear(double start);
  ClipStatus copy();
  bool take(AVPacket* packet);
  bool startWith(AVPacket* packet);
  bool write(AVPacket* packet);
  bool finish();

  double secondsOf(const AVPacket* packet, bool decodeOrder) const;
  bool reachedEnd(const AVPacket* packet) const;

  const ClipProgress& progress_;
  ClipResult& result_;
  AVPacket* packet_;
  AVFormatContext* source_ = nullptr;
  AVFormatContext* target_ = nullptr;
  std::vector<int> outIndex_;  // per source stream: its target stream, or -1
  std::vector<bool> done_;     // per source stream: past the end
  int video_ = -1;
  double origin_ = 0.0;     // the recording's first picture time, seconds
  double startTime_ = 0.0;  // the span, in stream seconds (origin included)
  double endTime_ = 0.0;
  double clipStart_ = -1.0;  // the keyframe the clip begins with; -1 not yet
  double lastPictureEnd_ = 0.0;
  std::vector<AVPacket*> pending_;  // from the last keyframe at or before the start
  bool canceled_ = false;
};

ClipStatus ClipCopy::run(const std::string& source, const std::string& target, double start,
                         double end) {
  if (!packet_) {
    result_.reason = "out of memory";
    return kClipFailed;
  }
  if (!openSource(source) || !checkSpan(start, end) || !openTarget(target) || !addStreams()) {
    return kClipFailed;
  }
  const int header = avformat_write_header(target_, nullptr);
  if (header < 0) {
    result_.reason = "cannot write '" + target + "': " + errorText(header);
    return kClipFailed;
  }
  seekNear(startTime_);
  const ClipStatus status = copy();
  if (status != kClipWritten) return status;
  return finish() ? kClipWritten : kClipFailed;
}

bool ClipCopy::openSource(const std::string& path) {
  int code = avformat_open_input(&source_, path.c_str(), nullptr, nullptr);
  if (code == 0) code = avformat_find_stream_info(source_, nullptr);
  if (code < 0) return fail("cannot read '" + path + "': " + errorText(code));
  video_ = av_find_best_stream(source_, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (video_ < 0) return fail("'" + path + "' has no pictures");
  const AVStream* video = source_->streams[video_];
  if (video->start_time != AV_NOPTS_VALUE) origin_ = video->start_time * av_q2d(video->time_base);
  return true;
}

bool ClipCopy::checkSpan(double start, double end) {
  const AVStream* video = source_->streams[video_];
  double length = 0.0;
  if (video->duration != AV_NOPTS_VALUE && video->duration > 0) {
    length = video->duration * av_q2d(video->time_base);
  } else if (source_->duration != AV_NOPTS_VALUE && source_->duration > 0) {
    length = static_cast<double>(source_->duration) / AV_TIME_BASE;
  }
  result_.sourceDuration = durationSecondsOf(source_, video);
  if (!(start >= 0.0) || !(end > start)) return fail("the end must come after the start");
  if (length > 0.0 && start >= length) {
    char text[96];
    std::snprintf(text, sizeof text, "the start lies past the end of the recording (%.2f s)",
                  length);
    return fail(text);
  }
  if (length > 0.0 && end > length) end = length;
  startTime_ = origin_ + start;
  endTime_ = origin_ + end;
  return true;
}

bool ClipCopy::openTarget(const std::string& path) {
  int code = avformat_alloc_output_context2(&target_, nullptr, nullptr, path.c_str());
  if (code < 0) {
    // A name that tells no container: the recording's own.
    const AVOutputFormat* same = av_guess_format(nullptr, source_->url, nullptr);
    code = avformat_alloc_output_context2(&target_, same, nullptr, path.c_str());
  }
  if (code < 0) return fail("cannot write '" + path + "': no container for that name");
  code = avio_open(&target_->pb, path.c_str(), AVIO_FLAG_WRITE);
  if (code < 0) return fail("cannot write '" + path + "': " + errorText(code));
  av_dict_copy(&target_->metadata, source_->metadata, 0);
  return true;
}

bool ClipCopy::addStreams() {
  outIndex_.assign(source_->nb_streams, -1);
  done_.assign(source_->nb_streams, false);
  for (unsigned i = 0; i < source_->nb_streams; ++i) {
    const AVStream* in = source_->streams[i];
    if (!containerTakes(target_->oformat, in)) {
      result_.skippedStreams++;
      done_[i] = true;
      continue;
    }
    AVStream* out = avformat_new_stream(target_, nullptr);
    if (!out || avcodec_parameters_copy(out->codecpar, in->codecpar) < 0) {
      return fail("out of memory");
    }
    out->codecpar->codec_tag = keptCodecTag(target_->oformat, in->codecpar);
    out->time_base = in->time_base;
    out->disposition = in->disposition;
    av_dict_copy(&out->metadata, in->metadata, 0);
    copyStreamSideData(in, out);
    outIndex_[i] = out->index;
    result_.streams++;
  }
  if (outIndex_[video_] < 0) return fail("the container cannot hold these pictures");
  return true;
}

void ClipCopy::seekNear(double start) {
  // Only a short cut: the copy itself finds the keyframe it begins with, so
  // a seek that fails or lands early costs reading, never pictures.
  const AVStream* video = source_->streams[video_];
  const int64_t target = static_cast<int64_t>(std::floor(start / av_q2d(video->time_base)));
  if (avformat_seek_file(source_, video_, INT64_MIN, target, target, 0) < 0) {
    avformat_seek_file(source_, video_, INT64_MIN, INT64_MIN, INT64_MIN, 0);
  }
}

double ClipCopy::secondsOf(const AVPacket* packet, bool decodeOrder) const {
  int64_t stamp = decodeOrder ? packet->dts : packet->pts;
  if (stamp == AV_NOPTS_VALUE) stamp = decodeOrder ? packet->pts : packet->dts;
  if (stamp == AV_NOPTS_VALUE) return NAN;
  return stamp * av_q2d(source_->streams[packet->stream_index]->time_base);
}

bool ClipCopy::reachedEnd(const AVPacket* packet) const {
  // Pictures in decode order, so a frame shown before the end but decoded
  // after a later one is still taken.
  const double t = secondsOf(packet, packet->stream_index == video_);
  return t >= endTime_;
}

ClipStatus ClipCopy::copy() {
  for (;;) {
    const int code = av_read_frame(source_, packet_);
    // The end of the file, or a read error in a damaged one: the clip ends
    // with what could be read.
    if (code < 0) break;
    const bool ok = take(packet_);
    av_packet_unref(packet_);
    if (canceled_) {
      result_.reason = "cancelled";
      return kClipCancelled;
    }
    if (!ok) return kClipFailed;
    bool all = true;
    for (bool d : done_) all = all && d;
    if (all) break;
  }
  if (clipStart_ < 0.0) {
    result_.reason = "no pictures in that span";
    return kClipFailed;
  }
  return kClipWritten;
}

bool ClipCopy::take(AVPacket* packet) {
  const int index = packet->stream_index;
  if (index < 0 || index >= static_cast<int>(outIndex_.size())) return true;
  const double t = secondsOf(packet, false);
  if (clipStart_ < 0.0) return startWith(packet);
  // Past the end of the pictures, a stream that has not reached the end by
  // now ends where it is (sparse text, or sound that stopped early).
  if (done_[video_] && t >= endTime_ + kInterleaveSlack)
    std::fill(done_.begin(), done_.end(), true);
  if (done_[index] || outIndex_[index] < 0) return true;
  if (reachedEnd(packet)) {
    done_[index] = true;
    return true;
  }
  return write(packet);
}

// Before the clip has begun: packets are held from the last keyframe at or
// before the start, and written once a later picture shows where it begins.
bool ClipCopy::startWith(AVPacket* packet) {
  const bool isVideo = packet->stream_index == video_;
  const bool key = isVideo && (packet->flags & AV_PKT_FLAG_KEY);
  const double t = secondsOf(packet, false);
  if (key && t <= startTime_ + 1e-6) {
    for (AVPacket*& held : pending_) av_packet_free(&held);
    pending_.clear();
  } else if (pending_.empty() && !key) {
    return true;  // before the first usable keyframe
  }
  const bool begins =
      isVideo && (t > startTime_ + 1e-6 || reachedEnd(packet)) && (!pending_.empty() || key);
  if (!begins) {
    AVPacket* held = av_packet_clone(packet);
    if (!held) return fail("out of memory");
    pending_.push_back(held);
    return true;
  }
  // The first held packet is the keyframe; without one this packet is it.
  const AVPacket* first = pending_.empty() ? packet : pending_.front();
  clipStart_ = secondsOf(first, false);
  result_.start = clipStart_ - origin_;
  std::vector<AVPacket*> held;
  held.swap(pending_);
  bool ok = true;
  for (AVPacket*& p : held) {
    if (ok) ok = take(p);
    av_packet_free(&p);
  }
  return ok && take(packet);
}

bool ClipCopy::write(AVPacket* packet) {
  const int in = packet->stream_index;
  const AVStream* source = source_->streams[in];
  const double t = secondsOf(packet, false);
  const double length = packet->duration * av_q2d(source->time_base);
  // Sound and text that end before the clip's first picture are left out.
  if (in != video_ && !std::isnan(t) && t + length <= clipStart_) return true;
  if (in == video_ && !std::isnan(t)) {
    lastPictureEnd_ = std::max(lastPictureEnd_, t + length);
    if (progress_ && !progress_((t - clipStart_) / (endTime_ - clipStart_))) {
      canceled_ = true;
      return false;
    }
  }
  const int64_t shift = std::llround(clipStart_ / av_q2d(source->time_base));
  if (packet->pts != AV_NOPTS_VALUE) packet->pts -= shift;
  if (packet->dts != AV_NOPTS_VALUE) packet->dts -= shift;
  AVStream* target = target_->streams[outIndex_[in]];
  av_packet_rescale_ts(packet, source->time_base, target->time_base);
  packet->stream_index = target->index;
  packet->pos = -1;
  const int code = av_interleaved_write_frame(target_, packet);
  if (code < 0) return fail("cannot write '" + std::string(target_->url) + "': " + errorText(code));
  return true;
}

bool ClipCopy::finish() {
  int code = av_write_trailer(target_);
  const int closed = avio_closep(&target_->pb);
  if (code >= 0) code = closed;
  if (code < 0) return fail("cannot write '" + std::string(target_->url) + "': " + errorText(code));
  result_.end = lastPictureEnd_ - origin_;
  return true;
}

}  // namespace

ClipStatus writeClip(const std::string& source, const std::string& target, double start, double end,
                     const ClipProgress& progress, ClipResult* result) {
  ClipResult local;
  ClipResult& out = result ? *result : local;
  out = ClipResult{};
  ClipStatus status;
  {
    ClipCopy copy(progress, out);
    status = copy.run(source, target, start, end);
  }
  if (status != kClipWritten) {
    std::error_code ignored;
    std::filesystem::remove(target, ignored);
  }
  return status;
}

}  // namespace vantrel
