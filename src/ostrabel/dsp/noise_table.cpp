#include "noise_table.h"

#include <bit>

std::atomic<std::uint32_t> noiseSeed{1};

void FillNoiseTable(NoiseTable& table) {
  constexpr std::uint32_t kSignAndTopMantissa = 0x807F0000u;
  constexpr std::uint32_t kExponent60 = 60u << 23;  // steps of (1 + m/128) * 2^-67
  std::uint32_t seed = noiseSeed.load(std::memory_order_relaxed);
  float acc = 0.0f;
  for (double& entry : table) {
    seed = seed * 1234567u + 890123u;
    acc = acc + std::bit_cast<float>((seed & kSignAndTopMantissa) | kExponent60);
    entry = acc;
  }
  noiseSeed.store(seed, std::memory_order_relaxed);
}
