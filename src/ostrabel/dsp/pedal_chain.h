// The pedal's sound: three clipping branches, level, tone stack and cabinet
// cascade, or the plain input sum when the effect is off. Plain C++ with no
// plug-in types; the effect class owns one and forwards its reset, parameter
// and block calls, holding its lock around each.
#pragma once

#include <optional>

#include "biquad_bank.h"
#include "noise_table.h"
#include "one_pole_bank.h"

enum PedalParam : int { LevelParam = 0, DriveParam, LowParam, MidParam, HighParam, EffectParam };

class PedalChain {
 public:
  static constexpr double kDefaultRate = 44100.0;

  // Designed for kDefaultRate with Low, Mid and High at 0.5, so that blocks
  // arriving before the host names a rate come out finite. The shared noise
  // seed is not touched; level, drive and the noise stay 0 and the effect off
  // until the first parameter changes and reset.
  PedalChain();

  // Refreshes the noise table; on a changed rate clears every filter and
  // designs all of them anew. A rate that is not a positive finite number
  // refreshes only the noise: the filters keep the last usable design.
  void ResetProcessing(double sampleRate);

  // Reacts to one parameter's new value (indices as PedalParam; others are
  // ignored). For the Effect parameter, returns the value the LED must show
  // when the value truncates to 0 or 1; otherwise nothing.
  std::optional<double> HandleParamChange(int paramIndex, double value);

  // Two input and two output channels; in-place processing is fine.
  void ProcessBlock(const double* const* inputs, double* const* outputs, int frameCount);

  bool EffectOn() const { return effectOn; }
  double WorkRate() const { return workRate; }
  double DesignedRate() const { return designedRate; }
  double LevelGain() const { return levelGain; }
  double DriveAmount() const { return driveAmount; }
  const NoiseTable& Noise() const { return noiseTable; }
  const BiquadBank& Biquads() const { return biquads; }
  const OnePoleBank& LowPasses() const { return lowPasses; }
  const OnePoleBank& HighPasses() const { return highPasses; }

 private:
  void ClearFilters();
  void DesignFixedFilters();
  void DesignSection(int k);
  void ClearMemoriesIfNotFinite();

  double HighGainBranch(double x);
  double BlendBranch(double s);
  double DoubleClipBranch(double s);
  double ToneStack(double y);
  double CabinetCascade(double y);

  double workRate = 0.0;
  double designedRate = 0.0;
  double levelGain = 0.0;
  double driveAmount = 0.0;
  NoiseTable noiseTable{};
  bool effectOn = false;
  BiquadBank biquads;
  OnePoleBank lowPasses;
  OnePoleBank highPasses;
  double toneValues[3] = {0.5, 0.5, 0.5};  // Low, Mid, High as last handed in
};
