// The chain's section designs. K is 2 pi times the frequency in Hz (the
// section's omega is K / rate), c is ln2/2 times the bandwidth in octaves,
// x the gain exponent (A = 10^x, the response peaks at A^2, i.e. 40 x dB).
#pragma once

enum class SectionType { LowPass, HighPass, Peak, HighShelf };

struct FixedSection {
  SectionType type;
  double K;
  double c;  // unused by shelves
  double x;  // unused by low- and high-passes; tone sections take it from their knob
};

inline constexpr int kDesignedSections = 26;
inline constexpr int kLowToneSection = 8;  // Low, Mid, High are sections 8, 9, 10

inline constexpr FixedSection kFixedSections[kDesignedSections] = {
    {SectionType::LowPass, 4084.070449666731, 0.48520302639196167, 0.0},     // 650 Hz input
    {SectionType::LowPass, 12566.370614359172, 0.48520302639196167, 0.0},    // 2000 Hz blend
    {SectionType::HighShelf, 19477.874452256718, 0.0, 0.3},                  // 3100 Hz +12 dB
    {SectionType::HighPass, 4586.725274241098, 0.48520302639196167, 0.0},    // 730 Hz high gain
    {SectionType::LowPass, 4084.070449666731, 0.48520302639196167, 0.0},     // 650 Hz
    {SectionType::LowPass, 2513.2741228718346, 0.26166306066137934, 0.0},    // 400 Hz band
    {SectionType::HighPass, 60946.897479641986, 0.19234834260538483, 0.0},   // 9700 Hz band
    {SectionType::LowPass, 47123.8898038469, 0.5198603854199589, 0.0},       // 7500 Hz band
    {SectionType::Peak, 1256.6370614359173, 0.6931471805599453, 0.0},        // Low 200 Hz
    {SectionType::Peak, 7539.822368615503, 1.0397207708399179, 0.0},         // Mid 1200 Hz
    {SectionType::Peak, 37699.11184307752, 1.0397207708399179, 0.0},         // High 6000 Hz
    {SectionType::HighShelf, 59690.26041820607, 0.0, -0.525},                // cabinet from here
    {SectionType::Peak, 628.3185307179587, 0.34657359027997264, 0.18},
    {SectionType::Peak, 45553.093477052, 0.34657359027997264, 0.135},
    {SectionType::Peak, 4712.38898038469, 0.34657359027997264, -0.15},
    {SectionType::Peak, 8796.45943005142, 0.17328679513998632, -0.1425},
    {SectionType::Peak, 34557.51918948772, 0.06931471805599453, 0.27},
    {SectionType::Peak, 37133.62516543135, 0.03465735902799726, -0.72},
    {SectionType::Peak, 20734.511513692636, 0.5545177444479562, 0.6525},
    {SectionType::Peak, 27017.69682087222, 0.06931471805599453, 0.18},
    {SectionType::HighShelf, 47123.8898038469, 0.0, -0.7425},
    {SectionType::Peak, 2513.2741228718346, 0.34657359027997264, -0.105},
    {SectionType::Peak, 10367.255756846318, 0.1039720770839918, 0.0975},
    {SectionType::Peak, 43982.2971502571, 0.34657359027997264, 0.21},
    {SectionType::Peak, 54663.7121724624, 0.03465735902799726, -0.7125},
    {SectionType::HighShelf, 63460.17160251382, 0.0, -0.36},
};

// One-pole K values: lowPasses 0..3 (723, 2000, 2700, 6500 Hz) and
// highPasses 0..2 (720, 720, 723 Hz).
inline constexpr double kLowPassK[4] = {4545.451220171853, 12566.370614359172, 16964.600329384884,
                                        40840.70449666731};
inline constexpr double kHighPassK[3] = {4526.934538081286, 4526.934538081286, 4545.451220171853};

// Gain exponent of a tone section from its knob (0..1): Low spans -10..+30 dB,
// Mid and High -18..+18 dB.
inline double ToneGainExponent(int toneSection, double v) {
  if (toneSection == kLowToneSection) return (v * 40.0 - 10.0) / 40.0;
  return (v * 36.0 - 18.0) / 40.0;
}
