// Runs alone in its process: the very first table filled after load.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "noise_table.h"
#include "pedal_chain.h"

TEST(FirstNoiseTable, StartsWithTheFirstTwoStepsOfSeedOne) {
  EXPECT_EQ(noiseSeed.load(), 1u);
  auto chain = std::make_unique<PedalChain>();
  EXPECT_EQ(noiseSeed.load(), 1u);  // construction draws no noise
  chain->ResetProcessing(44100);
  EXPECT_EQ(chain->Noise()[0], std::ldexp(1.25, -67));
  EXPECT_EQ(chain->Noise()[1], std::ldexp(-0.421875, -67));
}
