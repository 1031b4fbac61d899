// How the chain behaves as a whole: bypass, reset and parameter reactions,
// and its answers to bad input and to being used before a rate arrives.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "chain_helpers.h"
#include "fixed_sections.h"
#include "noise_table.h"

namespace {

bool SameMemories(const PedalChain& a, const PedalChain& b) {
  const BiquadBank &x = a.Biquads(), &y = b.Biquads();
  return std::memcmp(x.x1, y.x1, sizeof x.x1) == 0 && std::memcmp(x.x2, y.x2, sizeof x.x2) == 0 &&
         std::memcmp(x.y1, y.y1, sizeof x.y1) == 0 && std::memcmp(x.y2, y.y2, sizeof x.y2) == 0 &&
         std::memcmp(a.LowPasses().y, b.LowPasses().y, sizeof x.y1[0] * 8) == 0 &&
         std::memcmp(a.HighPasses().y, b.HighPasses().y, sizeof x.y1[0] * 8) == 0;
}

bool AllMemoriesZero(const PedalChain& chain) {
  auto cleared = std::make_unique<PedalChain>();  // a fresh chain holds zero memories
  return SameMemories(chain, *cleared);
}

bool SameCoefficients(const BiquadBank& x, const BiquadBank& y, int k) {
  return x.b0[k] == y.b0[k] && x.b1[k] == y.b1[k] && x.b2[k] == y.b2[k] && x.a1[k] == y.a1[k] &&
         x.a2[k] == y.a2[k];
}

TEST(Bypass, OutputsTheExactInputSumAndFreezesTheFilters) {
  ReferenceSettings settings;
  auto chain = MakeChain(settings);
  Stereo in = PluckedNotes(44100, 256);
  RunBlock(*chain, in.left.data(), in.right.data(), 256);  // leave something in the memories
  chain->HandleParamChange(EffectParam, 0.0);
  auto frozen = std::make_unique<PedalChain>(*chain);

  const double tiny = std::numeric_limits<double>::denorm_min();
  std::vector<double> in0 = {0.1, -1e300, tiny, 0.0, -0.0, 3.5, 1e-20, 0.7};
  std::vector<double> in1 = {0.2, -1e300, tiny, -0.0, -0.0, -3.5, 0.3, 0.0};
  std::vector<double> out = RunBlock(*chain, in0.data(), in1.data(), 8);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(std::bit_cast<std::uint64_t>(out[i]), std::bit_cast<std::uint64_t>(in1[i] + in0[i])) << i;
  EXPECT_TRUE(SameMemories(*chain, *frozen));

  // In place, and a silent second input passes the first through unchanged.
  std::vector<double> buffer0 = in0, buffer1(8, 0.0);
  double* io[2] = {buffer0.data(), buffer1.data()};
  chain->ProcessBlock(io, io, 8);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(buffer0[i]), std::bit_cast<std::uint64_t>(in0[i] + 0.0)) << i;
    EXPECT_EQ(buffer1[i], buffer0[i]) << i;
  }
}

TEST(Processing, SwitchingOffAndOnResumesFromTheMemories) {
  ReferenceSettings settings;
  std::uint32_t seed = noiseSeed.load();
  auto interrupted = MakeChain(settings);
  noiseSeed.store(seed);
  auto continuous = MakeChain(settings);  // same noise table
  Stereo in = PluckedNotes(44100, 600);
  RunBlock(*interrupted, in.left.data(), in.right.data(), 300);
  RunBlock(*continuous, in.left.data(), in.right.data(), 300);
  interrupted->HandleParamChange(EffectParam, 0.0);
  RunBlock(*interrupted, in.left.data(), in.right.data(), 300);
  interrupted->HandleParamChange(EffectParam, 1.0);
  EXPECT_EQ(RunBlock(*interrupted, &in.left[300], &in.right[300], 300),
            RunBlock(*continuous, &in.left[300], &in.right[300], 300));
}

TEST(Processing, SilenceAndZeroLevelLeaveOnlyInaudibleOffsets) {
  ReferenceSettings settings;
  auto chain = MakeChain(settings);
  std::vector<double> silence(2048, 0.0);
  std::vector<double> out = RunBlock(*chain, silence.data(), silence.data(), 2048);
  EXPECT_NE(out.back(), 0.0);
  for (double y : out) EXPECT_LT(std::fabs(y), 1e-15);

  settings.level = 0.0;
  auto quiet = MakeChain(settings);
  EXPECT_EQ(quiet->LevelGain(), 0.0);
  Stereo loud = PluckedNotes(44100, 2048);
  for (double y : RunBlock(*quiet, loud.left.data(), loud.right.data(), 2048)) EXPECT_LT(std::fabs(y), 1e-15);
}

TEST(Reset, SameRateKeepsEverythingButTheNoise) {
  auto chain = MakeChain({});
  Stereo in = PluckedNotes(44100, 500);
  RunBlock(*chain, in.left.data(), in.right.data(), 500);
  auto before = std::make_unique<PedalChain>(*chain);
  chain->ResetProcessing(44100);
  EXPECT_TRUE(SameMemories(*chain, *before));
  for (int k = 0; k < BiquadBank::kSections; ++k) EXPECT_TRUE(SameCoefficients(chain->Biquads(), before->Biquads(), k));
  EXPECT_NE(chain->Noise()[100], before->Noise()[100]);
}

TEST(Reset, RateChangeClearsMemoriesAndRedesignsEveryTime) {
  auto chain = MakeChain({});
  auto fresh48 = MakeChain({.sampleRate = 48000});
  auto fresh44 = MakeChain({.sampleRate = 44100});
  Stereo in = PluckedNotes(44100, 500);
  for (double rate : {48000.0, 44100.0}) {
    RunBlock(*chain, in.left.data(), in.right.data(), 500);
    ASSERT_FALSE(AllMemoriesZero(*chain));
    chain->ResetProcessing(rate);
    EXPECT_TRUE(AllMemoriesZero(*chain)) << rate;
    EXPECT_EQ(chain->DesignedRate(), rate);
    const PedalChain& fresh = rate == 48000.0 ? *fresh48 : *fresh44;
    for (int k = 0; k < BiquadBank::kSections; ++k) EXPECT_TRUE(SameCoefficients(chain->Biquads(), fresh.Biquads(), k)) << k;
  }
}

TEST(Reset, RateThatIsNoRateKeepsTheDesign) {
  auto chain = MakeChain({.sampleRate = 48000});
  auto before = std::make_unique<PedalChain>(*chain);
  for (double bad : {0.0, -44100.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    chain->ResetProcessing(bad);
    EXPECT_EQ(chain->WorkRate(), 48000.0) << bad;
    for (int k = 0; k < BiquadBank::kSections; ++k) EXPECT_TRUE(SameCoefficients(chain->Biquads(), before->Biquads(), k));
  }
}

TEST(ToneKnob, RedesignsOnlyItsSectionAndKeepsMemories) {
  auto chain = MakeChain({});
  Stereo in = PluckedNotes(44100, 500);
  RunBlock(*chain, in.left.data(), in.right.data(), 500);
  for (int param : {LowParam, MidParam, HighParam}) {
    auto before = std::make_unique<PedalChain>(*chain);
    chain->HandleParamChange(param, 0.8);
    EXPECT_TRUE(SameMemories(*chain, *before));
    int changed = kLowToneSection + param - LowParam;
    for (int k = 0; k < BiquadBank::kSections; ++k) {
      EXPECT_EQ(SameCoefficients(chain->Biquads(), before->Biquads(), k), k != changed) << param << " " << k;
    }
  }
}

TEST(EffectParameter, TruncatesTowardZeroAndSwitchesOnlyOnZeroOrOne) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double value;
    bool startOn;
    std::optional<double> led;
    bool on;
  } cases[] = {
      {0.0, true, 0.0, false},  {0.99, true, 0.0, false}, {-0.5, true, 0.0, false},
      {1.0, false, 1.0, true},  {1.7, false, 1.0, true},  {1.0, true, 1.0, true},
      {2.0, true, std::nullopt, true}, {-1.0, false, std::nullopt, false}, {nan, true, std::nullopt, true},
  };
  for (const Case& c : cases) {
    auto chain = std::make_unique<PedalChain>();
    chain->HandleParamChange(EffectParam, c.startOn ? 1.0 : 0.0);
    EXPECT_EQ(chain->HandleParamChange(EffectParam, c.value), c.led) << c.value;
    EXPECT_EQ(chain->EffectOn(), c.on) << c.value;
  }
  auto chain = std::make_unique<PedalChain>();
  EXPECT_EQ(chain->HandleParamChange(6, 1.0), std::nullopt);
  EXPECT_EQ(chain->HandleParamChange(-1, 1.0), std::nullopt);
  EXPECT_EQ(chain->HandleParamChange(DriveParam, 0.3), std::nullopt);
  EXPECT_EQ(chain->DriveAmount(), 0.3);
}

TEST(BeforeAnyRate, ConstructionDesignsAtTheDefaultRateAndDrawsNoNoise) {
  std::uint32_t seed = noiseSeed.load();
  auto chain = std::make_unique<PedalChain>();
  EXPECT_EQ(noiseSeed.load(), seed);
  EXPECT_EQ(chain->EffectOn(), false);
  EXPECT_EQ(chain->LevelGain(), 0.0);
  // The open sequence hands in every parameter before any rate arrives.
  chain->HandleParamChange(LevelParam, 0.5);
  chain->HandleParamChange(DriveParam, 0.5);
  chain->HandleParamChange(LowParam, 0.5);
  chain->HandleParamChange(MidParam, 0.5);
  chain->HandleParamChange(HighParam, 0.5);
  chain->HandleParamChange(EffectParam, 1.0);
  Stereo in = PluckedNotes(44100, 1000);
  for (double y : RunBlock(*chain, in.left.data(), in.right.data(), 1000)) ASSERT_TRUE(std::isfinite(y));

  auto designed = MakeChain({});
  for (int k = 0; k < BiquadBank::kSections; ++k) EXPECT_TRUE(SameCoefficients(chain->Biquads(), designed->Biquads(), k)) << k;
}

TEST(BadInput, NonFiniteSampleDoesNotSilenceLaterBlocks) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double bad : {std::numeric_limits<double>::quiet_NaN(), inf, -inf}) {
    ReferenceSettings settings{.sampleRate = 48000, .drive = 0.8};
    std::uint32_t seed = noiseSeed.load();
    auto chain = MakeChain(settings);
    Stereo in = PluckedNotes(48000, 2000);
    std::vector<double> poisoned = in.left;
    poisoned[700] = bad;
    RunBlock(*chain, poisoned.data(), in.right.data(), 1000);
    std::vector<double> out = RunBlock(*chain, &in.left[1000], &in.right[1000], 1000);

    // The block after the bad one sounds like a freshly reset pedal.
    ReferencePedal fresh(settings, seed);
    std::vector<double> expected(1000);
    fresh.Process(&in.left[1000], &in.right[1000], expected.data(), 1000);
    for (int i = 0; i < 1000; ++i) ASSERT_NEAR(out[i], expected[i], 1e-9) << bad << " frame " << i;
  }
}

TEST(LongBlocks, ReuseTheNoiseTableFromTheStart) {
  auto chain = MakeChain({});
  const int frames = kNoiseTableLength * 2 + 10;
  std::vector<double> silence(frames, 0.0);
  std::vector<double> out = RunBlock(*chain, silence.data(), silence.data(), frames);
  for (double y : out) ASSERT_TRUE(std::isfinite(y));
}

}  // namespace
