// A second, deliberately plain implementation of the pedal's sound and its
// coefficient design: one struct per section, the C library's maths, no
// code shared with src/ostrabel/dsp. Tests hold the plug-in against it.
#pragma once

#include <cstdint>
#include <vector>

struct ReferenceSettings {
  double sampleRate = 44100.0;
  double level = 0.5;
  double drive = 0.5;
  double low = 0.5;
  double mid = 0.5;
  double high = 0.5;
  bool effectOn = true;
};

class ReferencePedal {
 public:
  // Designs everything for settings.sampleRate with cleared memories and
  // fills the noise table starting from seed (the plug-in's seed just
  // before the matching reset).
  ReferencePedal(const ReferenceSettings& settings, std::uint32_t seed);

  // Parameter index 0..5: Level, Drive, Low, Mid, High, Effect (as 0 or 1).
  void SetParameter(int index, double value);

  // A reset at an unchanged rate: a fresh noise table, memories kept.
  void RefillNoise(std::uint32_t seed);
  std::uint32_t SeedAfterFill() const { return seedAfterFill_; }
  double NoiseAt(int i) const { return noise_[i]; }

  // Both plug-in outputs carry the same signal; this writes it once.
  void Process(const double* in0, const double* in1, double* out, int frames);

  // The seed after the given number of table fills.
  static std::uint32_t SeedAfterFills(std::uint32_t seed, int fills);

 private:
  struct Biquad {
    double b0 = 0, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    double Run(double x);
  };
  struct OnePole {
    double g = 0, m = 0, y = 0;
    double Run(double x);
  };

  static void SetBiquad(Biquad& s, double b0, double b1, double b2, double a1, double a2, double fallbackGain);
  void LowPass(Biquad& s, double hz2pi, double c) const;
  void HighPass(Biquad& s, double hz2pi, double c) const;
  void Peak(Biquad& s, double hz2pi, double c, double x) const;
  void HighShelf(Biquad& s, double hz2pi, double x) const;
  void Pole(OnePole& s, double hz2pi) const;
  double Clip(double c) const;
  double Sample(double x);

  double rate_;
  double levelGain_ = 0;
  double drive_ = 0;
  bool on_ = true;
  std::vector<double> noise_;
  std::uint32_t seedAfterFill_ = 0;

  Biquad inputLowPass_, blendLowPass_, blendShelf_;
  Biquad gainHighPass_, gainLowPass_, bandLow400_, bandHigh9700_, bandLow7500_;
  Biquad toneLow_, toneMid_, toneHigh_;
  Biquad cabinet_[15];
  OnePole blendAfterClip_, doubleIn_, doubleOut_, gainAfterClip_;   // low-passes
  OnePole blendBeforeClip_, doubleBeforeClip_, doubleOutHigh_;     // used as high-passes
};
