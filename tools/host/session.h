// A fixed, reproducible processing session: the same input, settings and
// blocks give the same output bits on every build of the plug-in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "test_host.h"

enum class ProcessPath { Double, Float, Accumulate };

struct SessionSettings {
  double sampleRate = 48000.0;
  std::int32_t blockSize = 512;
  std::int32_t frames = 48000;
  ProcessPath path = ProcessPath::Double;
  std::int32_t program = -1;
  std::vector<std::pair<std::string, float>> params;  // normalised values by parameter name
};

// A deterministic guitar-like test signal (integer noise through a comb), identical on every build.
std::vector<double> MakeTestSignal(std::int32_t frames, std::uint32_t seed, double gain);

// Sets parameters by name; false names the first unknown one in *unknown.
bool ApplyParams(PluginInstance& plugin, const std::vector<std::pair<std::string, float>>& params, std::string* unknown);

// Runs the session: left and right inputs in, both outputs back (as doubles).
void RunSession(PluginInstance& plugin, const SessionSettings& settings, const std::vector<double>& left,
                const std::vector<double>& right, std::vector<double>* outLeft, std::vector<double>* outRight);

std::uint64_t Fingerprint(const std::vector<double>& samples);
ProcessPath ParsePath(const std::string& name, bool* ok);
