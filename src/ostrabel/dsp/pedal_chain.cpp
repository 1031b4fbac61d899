#include "pedal_chain.h"

#include "fixed_sections.h"
#include "level_curve.h"
#include "section_design.h"

PedalChain::PedalChain() {
  workRate = kDefaultRate;
  designedRate = kDefaultRate;
  DesignFixedFilters();
}

void PedalChain::ResetProcessing(double sampleRate) {
  FillNoiseTable(noiseTable);
  if (!(sampleRate > 0.0 && sampleRate - sampleRate == 0.0)) return;
  workRate = sampleRate;
  if (workRate == designedRate) return;
  designedRate = workRate;
  ClearFilters();
  DesignFixedFilters();
}

std::optional<double> PedalChain::HandleParamChange(int paramIndex, double value) {
  switch (paramIndex) {
    case LevelParam:
      levelGain = LevelGainFor(value);
      break;
    case DriveParam:
      driveAmount = value;
      break;
    case LowParam:
    case MidParam:
    case HighParam:
      toneValues[paramIndex - LowParam] = value;
      DesignSection(kLowToneSection + paramIndex - LowParam);
      break;
    case EffectParam:
      // The value truncated toward zero; 0 and 1 switch, anything else
      // (NaN included) leaves the state and the LED alone.
      if (value > -1.0 && value < 1.0) {
        effectOn = false;
        return 0.0;
      }
      if (value >= 1.0 && value < 2.0) {
        effectOn = true;
        return 1.0;
      }
      break;
    default:
      break;
  }
  return std::nullopt;
}

void PedalChain::ClearFilters() {
  biquads = BiquadBank{};
  lowPasses = OnePoleBank{};
  highPasses = OnePoleBank{};
}

void PedalChain::DesignSection(int k) {
  const FixedSection& s = kFixedSections[k];
  bool tone = k >= kLowToneSection && k < kLowToneSection + 3;
  double x = tone ? ToneGainExponent(k, toneValues[k - kLowToneSection]) : s.x;
  switch (s.type) {
    case SectionType::LowPass: DesignLowPass(biquads, k, s.K, s.c, workRate); break;
    case SectionType::HighPass: DesignHighPass(biquads, k, s.K, s.c, workRate); break;
    case SectionType::Peak: DesignPeak(biquads, k, s.K, s.c, x, workRate); break;
    case SectionType::HighShelf: DesignHighShelf(biquads, k, s.K, x, workRate); break;
  }
}

void PedalChain::DesignFixedFilters() {
  for (int k = 0; k < kDesignedSections; ++k) DesignSection(k);
  for (int k = 0; k < 4; ++k) DesignOnePole(lowPasses, k, kLowPassK[k], workRate);
  for (int k = 0; k < 3; ++k) DesignOnePole(highPasses, k, kHighPassK[k], workRate);
}

void PedalChain::ClearMemoriesIfNotFinite() {
  if (biquads.MemoriesFinite() && lowPasses.MemoriesFinite() && highPasses.MemoriesFinite()) return;
  biquads.ClearMemories();
  lowPasses.ClearMemories();
  highPasses.ClearMemories();
}
