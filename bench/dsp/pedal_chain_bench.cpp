// Cost of the per-sample chain, reported as ns per sample (the "ns/sample"
// counter), with the effect on at two block sizes and in bypass; and the cost
// of a full redesign at a new rate.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "pedal_chain.h"

namespace {

std::unique_ptr<PedalChain> ReadyChain(bool effectOn) {
  auto chain = std::make_unique<PedalChain>();
  for (int param = LevelParam; param <= HighParam; ++param) chain->HandleParamChange(param, 0.5);
  chain->HandleParamChange(EffectParam, effectOn ? 1.0 : 0.0);
  chain->ResetProcessing(48000);
  return chain;
}

void RunBlocks(benchmark::State& state, bool effectOn) {
  const int frames = static_cast<int>(state.range(0));
  auto chain = ReadyChain(effectOn);
  std::vector<double> in0(frames), in1(frames), out0(frames), out1(frames);
  for (int i = 0; i < frames; ++i) {
    in0[i] = 0.4 * std::sin(i * 0.0143);
    in1[i] = 0.1 * std::sin(i * 0.0317);
  }
  const double* inputs[2] = {in0.data(), in1.data()};
  double* outputs[2] = {out0.data(), out1.data()};
  for (auto _ : state) {
    chain->ProcessBlock(inputs, outputs, frames);
    benchmark::DoNotOptimize(out0.data());
    benchmark::ClobberMemory();
  }
  // Samples counted in units of 1e9, inverted as a rate: nanoseconds per sample.
  state.counters["ns/sample"] = benchmark::Counter(static_cast<double>(state.iterations()) * frames * 1e-9,
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_EffectOn(benchmark::State& state) { RunBlocks(state, true); }
void BM_Bypass(benchmark::State& state) { RunBlocks(state, false); }

void BM_RedesignAtNewRate(benchmark::State& state) {
  auto chain = ReadyChain(true);
  bool flip = false;
  for (auto _ : state) {
    chain->ResetProcessing(flip ? 44100 : 48000);  // also refills the noise table
    flip = !flip;
  }
}

void BM_ToneKnobMove(benchmark::State& state) {
  auto chain = ReadyChain(true);
  double value = 0.0;
  for (auto _ : state) {
    chain->HandleParamChange(MidParam, value);
    value = value < 1.0 ? value + 0.001 : 0.0;
  }
}

}  // namespace

BENCHMARK(BM_EffectOn)->Arg(64)->Arg(512);
BENCHMARK(BM_Bypass)->Arg(64)->Arg(512);
BENCHMARK(BM_RedesignAtNewRate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ToneKnobMove)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
