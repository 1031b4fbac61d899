// Small helpers shared by the chain tests: a chain set up like the effect
// does it (every parameter handed in, then a reset at the rate), a block run,
// and a guitar-like test signal.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "pedal_chain.h"
#include "reference_pedal.h"

inline std::unique_ptr<PedalChain> MakeChain(const ReferenceSettings& s) {
  auto chain = std::make_unique<PedalChain>();
  chain->HandleParamChange(LevelParam, s.level);
  chain->HandleParamChange(DriveParam, s.drive);
  chain->HandleParamChange(LowParam, s.low);
  chain->HandleParamChange(MidParam, s.mid);
  chain->HandleParamChange(HighParam, s.high);
  chain->HandleParamChange(EffectParam, s.effectOn ? 1.0 : 0.0);
  chain->ResetProcessing(s.sampleRate);
  return chain;
}

struct Stereo {
  std::vector<double> left, right;
};

// Runs one block; both outputs must carry the same signal, which is returned.
inline std::vector<double> RunBlock(PedalChain& chain, const double* in0, const double* in1, int frames) {
  Stereo out{std::vector<double>(frames), std::vector<double>(frames)};
  const double* inputs[2] = {in0, in1};
  double* outputs[2] = {out.left.data(), out.right.data()};
  chain.ProcessBlock(inputs, outputs, frames);
  for (int i = 0; i < frames; ++i) {
    if (!(out.left[i] == out.right[i]) && !(std::isnan(out.left[i]) && std::isnan(out.right[i]))) {
      ADD_FAILURE() << "outputs differ at frame " << i;
      break;
    }
  }
  return out.left;
}

// Two decaying plucked notes with a few harmonics, one per channel.
inline Stereo PluckedNotes(double rate, int frames) {
  Stereo s{std::vector<double>(frames), std::vector<double>(frames)};
  for (int i = 0; i < frames; ++i) {
    double t = i / rate;
    double a = 0.0, b = 0.0;
    for (int h = 1; h <= 6; ++h) {
      a += std::sin(2 * std::numbers::pi * 110.0 * h * t) * std::exp(-t * 2.0 * h) / h;
      b += std::sin(2 * std::numbers::pi * 164.8 * h * t) * std::exp(-t * 3.0 * h) / h;
    }
    s.left[i] = 0.4 * a;
    s.right[i] = 0.15 * b;
  }
  return s;
}
