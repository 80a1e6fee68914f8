#include "engine/AudioTempo.h"

#include <cmath>
#include <cstdio>
#include <cstring>

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
#include <libavutil/opt.h>
#include <libavutil/samplefmt.h>
}

namespace vantrel {

namespace {
constexpr int kBytesPerSample = 2;
}  // namespace

std::vector<double> tempoStages(double speed) {
  std::vector<double> stages;
  if (!(speed > 0.0)) return stages;
  while (speed > 2.0) {
    stages.push_back(2.0);
    speed /= 2.0;
  }
  while (speed < 0.5) {
    stages.push_back(0.5);
    speed /= 0.5;
  }
  stages.push_back(speed);
  return stages;
}

AudioTempo::~AudioTempo() {
  close();
}

void AudioTempo::close() {
  avfilter_graph_free(&graph_);  // frees the filters in it too
  source_ = sink_ = nullptr;
  av_frame_free(&frame_);
  passed_.clear();
}

int AudioTempo::open(int sampleRate, int channels, double speed) {
  close();
  rate_ = sampleRate;
  channels_ = channels;
  speed_ = speed;
  samplesIn_ = samplesOut_ = 0;
  startTime_ = -1.0;
  if (sampleRate <= 0 || channels <= 0 || !(speed > 0.0)) return -1;
  if (speed == 1.0) return 0;
  frame_ = av_frame_alloc();
  if (frame_ && build(speed)) return 0;
  close();
  return -1;
}

bool AudioTempo::build(double speed) {
  graph_ = avfilter_graph_alloc();
  if (!graph_) return false;
  AVChannelLayout layout{};
  av_channel_layout_default(&layout, channels_);
  char layoutName[64] = {};
  av_channel_layout_describe(&layout, layoutName, sizeof layoutName);
  av_channel_layout_uninit(&layout);
  char args[160];
  std::snprintf(args, sizeof args, "time_base=1/%d:sample_rate=%d:sample_fmt=s16:channel_layout=%s",
                rate_, rate_, layoutName);
  if (avfilter_graph_create_filter(&source_, avfilter_get_by_name("abuffer"), "in", args, nullptr,
                                   graph_) < 0 ||
      avfilter_graph_create_filter(&sink_, avfilter_get_by_name("abuffersink"), "out", nullptr,
                                   nullptr, graph_) < 0) {
    return false;
  }
  // The sink takes what the source gives, so no converter is put in between.
  const AVSampleFormat formats[] = {AV_SAMPLE_FMT_S16, AV_SAMPLE_FMT_NONE};
  const int rates[] = {rate_, -1};
  if (av_opt_set_int_list(sink_, "sample_fmts", formats, AV_SAMPLE_FMT_NONE,
                          AV_OPT_SEARCH_CHILDREN) < 0 ||
      av_opt_set_int_list(sink_, "sample_rates", rates, -1, AV_OPT_SEARCH_CHILDREN) < 0 ||
      av_opt_set(sink_, "ch_layouts", layoutName, AV_OPT_SEARCH_CHILDREN) < 0) {
    return false;
  }
  AVFilterContext* last = source_;
  for (double stage : tempoStages(speed)) {
    AVFilterContext* tempo = nullptr;
    char tempoArgs[32];
    std::snprintf(tempoArgs, sizeof tempoArgs, "tempo=%.6f", stage);
    if (avfilter_graph_create_filter(&tempo, avfilter_get_by_name("atempo"), nullptr, tempoArgs,
                                     nullptr, graph_) < 0 ||
        avfilter_link(last, 0, tempo, 0) < 0) {
      return false;
    }
    last = tempo;
  }
  return avfilter_link(last, 0, sink_, 0) >= 0 && avfilter_graph_config(graph_, nullptr) >= 0;
}

int AudioTempo::push(const uint8_t* samples, size_t bytes, double time) {
  const int frameBytes = channels_ * kBytesPerSample;
  if (frameBytes <= 0 || bytes % frameBytes != 0) return -1;
  if (startTime_ < 0.0) startTime_ = time;
  const int count = static_cast<int>(bytes / frameBytes);
  if (speed_ == 1.0) {
    passed_.insert(passed_.end(), samples, samples + bytes);
    samplesIn_ += count;
    return 0;
  }
  if (!graph_) return -1;
  AVFrame* frame = av_frame_alloc();
  if (!frame) return -1;
  frame->format = AV_SAMPLE_FMT_S16;
  frame->sample_rate = rate_;
  av_channel_layout_default(&frame->ch_layout, channels_);
  frame->nb_samples = count;
  frame->pts = samplesIn_;
  int result = av_frame_get_buffer(frame, 0);
  if (result >= 0) {
    std::memcpy(frame->data[0], samples, bytes);
    result = av_buffersrc_add_frame(source_, frame);
  }
  av_frame_free(&frame);
  if (result < 0) return -1;
  samplesIn_ += count;
  return 0;
}

void AudioTempo::finish() {
  if (graph_ && av_buffersrc_add_frame(source_, nullptr) < 0) avfilter_graph_free(&graph_);
}

double AudioTempo::nextTime() const {
  // Media time runs `speed` times as fast as the samples that come out.
  return startTime_ + static_cast<double>(samplesOut_) * speed_ / rate_;
}

double AudioTempo::pull(std::vector<uint8_t>& out) {
  const double time = nextTime();
  const size_t before = out.size();
  if (speed_ == 1.0) {
    out.insert(out.end(), passed_.begin(), passed_.end());
    passed_.clear();
  } else if (graph_) {
    while (av_buffersink_get_frame(sink_, frame_) >= 0) {
      const size_t bytes = static_cast<size_t>(frame_->nb_samples) * channels_ * kBytesPerSample;
      out.insert(out.end(), frame_->data[0], frame_->data[0] + bytes);
      av_frame_unref(frame_);
    }
  }
  const size_t added = out.size() - before;
  if (added == 0) return -1.0;
  samplesOut_ += static_cast<int64_t>(added / (channels_ * kBytesPerSample));
  return time;
}

}  // namespace vantrel
