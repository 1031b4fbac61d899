// The chain against the independent reference implementation: the same
// settings, noise and block partition give the same sound to within 1e-9.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "chain_helpers.h"
#include "noise_table.h"

namespace {

struct Setting {
  const char* name;
  ReferenceSettings values;
};

const Setting kSettings[] = {
    {"defaults", {}},
    {"clean", {.level = 1.0, .drive = 0.0}},
    {"full_drive", {.level = 0.8, .drive = 1.0}},
    {"tone_smile", {.level = 0.6, .drive = 0.7, .low = 1.0, .mid = 0.0, .high = 1.0}},
    {"tone_frown", {.level = 0.4, .drive = 0.2, .low = 0.0, .mid = 1.0, .high = 0.0}},
};

// Runs chain and reference side by side over the blocks, returning the
// largest difference and checking the outputs stay finite.
double MaxDifference(PedalChain& chain, ReferencePedal& reference, const Stereo& in, const std::vector<int>& blocks) {
  double worst = 0.0;
  int start = 0;
  std::vector<double> expected;
  for (int frames : blocks) {
    frames = std::min<int>(frames, int(in.left.size()) - start);
    if (frames <= 0) break;
    std::vector<double> out = RunBlock(chain, &in.left[start], &in.right[start], frames);
    expected.resize(frames);
    reference.Process(&in.left[start], &in.right[start], expected.data(), frames);
    for (int i = 0; i < frames; ++i) {
      if (!std::isfinite(out[i])) return INFINITY;
      worst = std::max(worst, std::fabs(out[i] - expected[i]));
    }
    start += frames;
  }
  return worst;
}

class Agreement : public testing::TestWithParam<std::tuple<double, Setting>> {};

TEST_P(Agreement, ChainMatchesReferenceWithinOneNanoUnit) {
  auto [rate, setting] = GetParam();
  ReferenceSettings values = setting.values;
  values.sampleRate = rate;
  std::uint32_t seed = noiseSeed.load();
  auto chain = MakeChain(values);
  ReferencePedal reference(values, seed);
  Stereo in = PluckedNotes(rate, 24000);
  EXPECT_LE(MaxDifference(*chain, reference, in, {64, 512, 1000, 37, 4096, 20000}), 1e-9);

  // A reset at the same rate mid-stream: new noise, memories kept.
  std::uint32_t midSeed = noiseSeed.load();
  chain->ResetProcessing(rate);
  reference.RefillNoise(midSeed);
  EXPECT_LE(MaxDifference(*chain, reference, in, {3000, 3000}), 1e-9);
}

TEST_P(Agreement, ParameterMovesBetweenBlocksAgree) {
  auto [rate, setting] = GetParam();
  ReferenceSettings values = setting.values;
  values.sampleRate = rate;
  std::uint32_t seed = noiseSeed.load();
  auto chain = MakeChain(values);
  ReferencePedal reference(values, seed);
  Stereo in = PluckedNotes(rate, 4000);
  const std::pair<int, double> moves[] = {{LowParam, 0.9}, {DriveParam, 0.95}, {MidParam, 0.2},
                                          {LevelParam, 0.7}, {HighParam, 0.35}, {EffectParam, 0.0},
                                          {EffectParam, 1.0}};
  for (auto [param, value] : moves) {
    chain->HandleParamChange(param, value);
    reference.SetParameter(param, value);
    EXPECT_LE(MaxDifference(*chain, reference, in, {256, 300}), 1e-9) << "after parameter " << param;
  }
}

INSTANTIATE_TEST_SUITE_P(
    RatesAndSettings, Agreement, testing::Combine(testing::Values(44100.0, 48000.0, 96000.0), testing::ValuesIn(kSettings)),
    [](const auto& info) {
      return std::get<1>(info.param).name + std::string("_") + std::to_string(int(std::get<0>(info.param)));
    });

// Blocks longer than the noise table; low rates where cabinet shelves lie
// beyond half the rate; rates that put a section right at half the rate
// (12 kHz: High; 17.4 kHz: 8700 Hz cabinet peak; 19.4 kHz: 9700 Hz high-pass).
TEST(AgreementAtTheEdges, LongBlocksLowRatesAndSectionsAtHalfTheRate) {
  for (double rate : {44100.0, 8000.0, 11025.0, 16000.0, 12000.0, 17400.0, 19400.0}) {
    ReferenceSettings values{.sampleRate = rate, .drive = 0.9, .high = 0.8};
    std::uint32_t seed = noiseSeed.load();
    auto chain = MakeChain(values);
    ReferencePedal reference(values, seed);
    Stereo in = PluckedNotes(rate, 100000);
    EXPECT_LE(MaxDifference(*chain, reference, in, {100000}), 1e-9) << rate;
  }
}

}  // namespace
