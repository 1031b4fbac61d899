// Anti-denormal noise: a slow random walk of steps around 1e-20, added to the
// input at the frame's position in the block.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

inline constexpr int kNoiseTableLength = 44100;
using NoiseTable = std::array<double, kNoiseTableLength>;

// Shared by every instance in the process and never reset: 1 at load,
// advanced by every fill. Concurrent fills may interleave, which only changes
// which tiny values are drawn.
extern std::atomic<std::uint32_t> noiseSeed;

void FillNoiseTable(NoiseTable& table);
