#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "engine/AudioTempo.h"

namespace vantrel {
namespace {

constexpr int kRate = 48000;
constexpr int kChannels = 2;
constexpr double kOnset = 1.0;  // the tone starts here; silence before it
constexpr double kLength = 3.0;
constexpr double kTone = 440.0;

TEST(TempoStages, EachStageWithinTheFiltersCleanRange) {
  const std::pair<double, std::vector<double>> cases[] = {
      {0.25, {0.5, 0.5}}, {0.5, {0.5}},      {0.75, {0.75}},         {1.0, {1.0}}, {1.5, {1.5}},
      {2.0, {2.0}},       {4.0, {2.0, 2.0}}, {8.0, {2.0, 2.0, 2.0}}, {0.0, {}},
  };
  for (const auto& [speed, stages] : cases) EXPECT_EQ(tempoStages(speed), stages) << speed;
}

// Silence, then a 440 Hz tone from kOnset on, interleaved stereo.
std::vector<int16_t> toneAfterSilence() {
  std::vector<int16_t> samples(static_cast<size_t>(kLength * kRate) * kChannels);
  for (size_t i = 0; i < samples.size() / kChannels; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double v = t < kOnset ? 0.0 : 8000.0 * std::sin(2 * M_PI * kTone * t);
    samples[i * kChannels] = samples[i * kChannels + 1] = static_cast<int16_t>(v);
  }
  return samples;
}

struct Played {
  std::vector<int16_t> samples;  // interleaved
  double firstTime = -1.0;       // media time of samples[0]
};

// Through the filter in blocks of 1024 sample frames, as the decoder hands
// them in, starting at media time 10 s.
Played play(double speed) {
  AudioTempo tempo;
  EXPECT_EQ(tempo.open(kRate, kChannels, speed), 0);
  const std::vector<int16_t> input = toneAfterSilence();
  std::vector<uint8_t> out;
  Played played;
  constexpr size_t kBlock = 1024 * kChannels;
  for (size_t at = 0; at < input.size(); at += kBlock) {
    const size_t n = std::min(kBlock, input.size() - at);
    EXPECT_EQ(tempo.push(reinterpret_cast<const uint8_t*>(input.data() + at), n * 2,
                         10.0 + static_cast<double>(at / kChannels) / kRate),
              0);
    const double time = tempo.pull(out);
    if (played.firstTime < 0) played.firstTime = time;
  }
  played.samples.resize(out.size() / 2);
  std::memcpy(played.samples.data(), out.data(), out.size());
  return played;
}

size_t firstLoud(const std::vector<int16_t>& samples) {
  for (size_t i = 0; i < samples.size(); i += kChannels) {
    if (std::abs(samples[i]) > 2000) return i / kChannels;
  }
  return samples.size();
}

// The tone's frequency over the quarter second from sample frame `from`.
double frequencyFrom(const std::vector<int16_t>& samples, size_t from) {
  const size_t span = kRate / 4;
  int crossings = 0;
  for (size_t i = from + 1; i < from + span && i * kChannels < samples.size(); ++i) {
    const bool before = samples[(i - 1) * kChannels] < 0;
    const bool now = samples[i * kChannels] < 0;
    if (before != now) ++crossings;
  }
  return crossings / 2.0 / (static_cast<double>(span) / kRate);
}

class TempoSpeeds : public testing::TestWithParam<double> {};

// The sound takes 1/speed of the time, keeps its pitch, and the media time
// given for what comes out places the tone's start where it is in the input.
TEST_P(TempoSpeeds, TimeScaledPitchKeptMediaTimeRight) {
  const double speed = GetParam();
  const Played played = play(speed);
  ASSERT_FALSE(played.samples.empty());
  const double outSeconds = static_cast<double>(played.samples.size() / kChannels) / kRate;
  // All but what the filter still holds (under a tenth of a second of input).
  EXPECT_NEAR(outSeconds, kLength / speed, 0.1 / speed + 0.05);
  EXPECT_NEAR(played.firstTime, 10.0, 1e-9);
  const size_t onset = firstLoud(played.samples);
  ASSERT_LT(onset, played.samples.size() / kChannels);
  const double onsetMedia = played.firstTime + static_cast<double>(onset) * speed / kRate;
  // Each stage's overlapping windows (1/24 s) bring a start forward by up to
  // half a window or so: about 20 ms of media time a stage.
  EXPECT_NEAR(onsetMedia, 10.0 + kOnset, 0.04 * tempoStages(speed).size());
  EXPECT_NEAR(frequencyFrom(played.samples, onset + kRate / 10), kTone, kTone * 0.03);
}

// The speeds the player offers.
INSTANTIATE_TEST_SUITE_P(Speeds, TempoSpeeds,
                         testing::Values(0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 4.0));

TEST(AudioTempo, AtNormalSpeedSamplesPassUntouched) {
  const Played played = play(1.0);
  EXPECT_EQ(played.samples, toneAfterSilence());
}

TEST(AudioTempo, RefusesWhatItCannotTake) {
  AudioTempo tempo;
  EXPECT_EQ(tempo.open(0, 2, 2.0), -1);
  EXPECT_EQ(tempo.open(kRate, 2, 0.0), -1);
  ASSERT_EQ(tempo.open(kRate, 2, 2.0), 0);
  const uint8_t odd[3] = {};
  EXPECT_EQ(tempo.push(odd, sizeof odd, 0.0), -1);  // not whole sample frames
  std::vector<uint8_t> out;
  EXPECT_LT(tempo.pull(out), 0.0);
  EXPECT_TRUE(out.empty());
}

}  // namespace
}  // namespace vantrel
