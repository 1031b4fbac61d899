// SoftClip, the Level taper and the noise table against hand-worked numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "level_curve.h"
#include "noise_table.h"
#include "pedal_chain.h"
#include "reference_pedal.h"
#include "soft_clip.h"

namespace {

TEST(SoftClip, FollowsTheCurveAndStaysWithinHalf) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double in, out;
  } cases[] = {
      {0.0, 0.0},    {0.1, 0.375},  {-0.1, -0.375}, {0.05, 0.21875}, {0.2, 0.5},
      {-0.2, -0.5},  {5.0, 0.5},    {-5.0, -0.5},   {inf, 0.5},      {-inf, -0.5},
      {0.15, 0.46875},  // 5 * 0.15 * (1 - 0.375)
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(SoftClip(c.in), c.out) << c.in;
  for (double c = -0.3; c <= 0.3; c += 1e-4) EXPECT_LE(std::fabs(SoftClip(c)), 0.5) << c;
  EXPECT_NEAR(SoftClip(0.2 - 1e-9), 0.5, 1e-12);  // meets the flat part without a step
}

TEST(LevelCurve, ZeroAtTheBottomAndTheTaperInBetween) {
  const double norm = 1.0 / (1.0 - std::exp(-3.0));
  EXPECT_NEAR(levelNorm, norm, 1e-16);
  EXPECT_EQ(LevelGainFor(0.0), 0.0);
  EXPECT_NEAR(LevelGainFor(1.0), 1.0 - (1.0 - std::exp(-1.5)) * norm, 1e-16);
  struct Case {
    double level, dB;
  } cases[] = {{0.5, -24.65}, {1.0, -14.78}};
  for (const Case& c : cases) EXPECT_NEAR(20.0 * std::log10(LevelGainFor(c.level)), c.dB, 0.01) << c.level;
  for (double v = 0.001; v <= 1.0; v += 0.001) EXPECT_GT(LevelGainFor(v), LevelGainFor(v - 0.001)) << v;

  auto chain = std::make_unique<PedalChain>();
  chain->HandleParamChange(LevelParam, 0.3);
  EXPECT_EQ(chain->LevelGain(), LevelGainFor(0.3));
}

TEST(NoiseTable, EachFillContinuesTheSharedSeed) {
  auto chain = std::make_unique<PedalChain>();
  std::uint32_t seed = noiseSeed.load();
  ReferencePedal reference({}, seed);
  chain->ResetProcessing(44100);
  EXPECT_EQ(noiseSeed.load(), ReferencePedal::SeedAfterFills(seed, 1));
  EXPECT_EQ(noiseSeed.load(), reference.SeedAfterFill());
  for (int i = 0; i < kNoiseTableLength; ++i) ASSERT_EQ(chain->Noise()[i], reference.NoiseAt(i)) << i;
  double first = chain->Noise()[0];
  EXPECT_GE(std::fabs(first), std::ldexp(1.0, -67));
  EXPECT_LT(std::fabs(first), std::ldexp(2.0, -67));
  for (double v : chain->Noise()) ASSERT_LT(std::fabs(v), 1e-16);

  chain->ResetProcessing(44100);
  EXPECT_EQ(noiseSeed.load(), ReferencePedal::SeedAfterFills(seed, 2));
  EXPECT_NE(chain->Noise()[0], first);
}

}  // namespace
