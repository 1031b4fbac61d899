// Cost of processing through the plug-in's VST entry point, as a host sees it:
// binding, float conversion and the whole signal chain.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "session.h"
#include "test_host.h"

namespace {

std::string PluginPath() {
  const char* path = std::getenv("OSTRABEL_PLUGIN");
  return path ? path : OSTRABEL_DEFAULT_PLUGIN;
}

PluginLibrary& Library() {
  static PluginLibrary library;
  static bool loaded = library.Load(PluginPath());
  if (!loaded) std::abort();
  return library;
}

void RenderThroughHost(benchmark::State& state, ProcessPath path, float effect) {
  const int block = static_cast<int>(state.range(0));
  TestHost host;
  host.recording = false;
  PluginInstance plugin(host, Library().Entry());
  plugin.Start(48000.0, block);
  plugin.SetParameter(5, effect);
  const std::vector<double> signal = MakeTestSignal(block, 7, 0.5);
  std::vector<double> d0(signal), d1(signal), o0(block), o1(block);
  std::vector<float> f0(signal.begin(), signal.end()), f1(f0), g0(block), g1(block);
  double* din[2] = {d0.data(), d1.data()};
  double* dout[2] = {o0.data(), o1.data()};
  float* fin[2] = {f0.data(), f1.data()};
  float* fout[2] = {g0.data(), g1.data()};
  for (auto _ : state) {
    if (path == ProcessPath::Double) {
      plugin.ProcessDouble(din, dout, block);
    } else {
      plugin.ProcessReplacing(fin, fout, block);
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * block);
  // Scaled so that the inverted rate reads in nanoseconds per sample frame.
  state.counters["ns_per_sample"] = benchmark::Counter(
      block * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_HostDoubleOn(benchmark::State& state) { RenderThroughHost(state, ProcessPath::Double, 1.0f); }
void BM_HostFloatOn(benchmark::State& state) { RenderThroughHost(state, ProcessPath::Float, 1.0f); }
void BM_HostFloatBypass(benchmark::State& state) { RenderThroughHost(state, ProcessPath::Float, 0.0f); }

BENCHMARK(BM_HostDoubleOn)->Arg(64)->Arg(512);
BENCHMARK(BM_HostFloatOn)->Arg(64)->Arg(512);
BENCHMARK(BM_HostFloatBypass)->Arg(64)->Arg(512);

}  // namespace

BENCHMARK_MAIN();
