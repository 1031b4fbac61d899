#include "reference_pedal.h"

#include <cmath>
#include <cstring>

namespace {

constexpr int kNoiseEntries = 44100;

struct CabinetSection {
  bool shelf;
  double K, c, x;
};

// Sections 11..25 in processing order.
constexpr CabinetSection kCabinet[15] = {
    {true, 59690.26041820607, 0, -0.525},
    {false, 628.3185307179587, 0.34657359027997264, 0.18},
    {false, 45553.093477052, 0.34657359027997264, 0.135},
    {false, 4712.38898038469, 0.34657359027997264, -0.15},
    {false, 8796.45943005142, 0.17328679513998632, -0.1425},
    {false, 34557.51918948772, 0.06931471805599453, 0.27},
    {false, 37133.62516543135, 0.03465735902799726, -0.72},
    {false, 20734.511513692636, 0.5545177444479562, 0.6525},
    {false, 27017.69682087222, 0.06931471805599453, 0.18},
    {true, 47123.8898038469, 0, -0.7425},
    {false, 2513.2741228718346, 0.34657359027997264, -0.105},
    {false, 10367.255756846318, 0.1039720770839918, 0.0975},
    {false, 43982.2971502571, 0.34657359027997264, 0.21},
    {false, 54663.7121724624, 0.03465735902799726, -0.7125},
    {true, 63460.17160251382, 0, -0.36},
};

std::uint32_t NextSeed(std::uint32_t s) { return s * 1234567u + 890123u; }

}  // namespace

double ReferencePedal::Biquad::Run(double x) {
  double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
  x2 = x1;
  x1 = x;
  y2 = y1;
  y1 = y;
  return y + 1e-20;
}

double ReferencePedal::OnePole::Run(double x) {
  y = g * x - m * y;
  return y;
}

ReferencePedal::ReferencePedal(const ReferenceSettings& settings, std::uint32_t seed)
    : rate_(settings.sampleRate), noise_(kNoiseEntries) {
  RefillNoise(seed);
  LowPass(inputLowPass_, 4084.070449666731, 0.48520302639196167);
  LowPass(blendLowPass_, 12566.370614359172, 0.48520302639196167);
  HighShelf(blendShelf_, 19477.874452256718, 0.3);
  HighPass(gainHighPass_, 4586.725274241098, 0.48520302639196167);
  LowPass(gainLowPass_, 4084.070449666731, 0.48520302639196167);
  LowPass(bandLow400_, 2513.2741228718346, 0.26166306066137934);
  HighPass(bandHigh9700_, 60946.897479641986, 0.19234834260538483);
  LowPass(bandLow7500_, 47123.8898038469, 0.5198603854199589);
  for (int i = 0; i < 15; ++i) {
    const CabinetSection& s = kCabinet[i];
    if (s.shelf) {
      HighShelf(cabinet_[i], s.K, s.x);
    } else {
      Peak(cabinet_[i], s.K, s.c, s.x);
    }
  }
  Pole(blendAfterClip_, 4545.451220171853);
  Pole(doubleIn_, 12566.370614359172);
  Pole(doubleOut_, 16964.600329384884);
  Pole(gainAfterClip_, 40840.70449666731);
  Pole(blendBeforeClip_, 4526.934538081286);
  Pole(doubleBeforeClip_, 4526.934538081286);
  Pole(doubleOutHigh_, 4545.451220171853);
  SetParameter(0, settings.level);
  SetParameter(1, settings.drive);
  SetParameter(2, settings.low);
  SetParameter(3, settings.mid);
  SetParameter(4, settings.high);
  SetParameter(5, settings.effectOn ? 1.0 : 0.0);
}

void ReferencePedal::SetParameter(int index, double v) {
  switch (index) {
    case 0: {
      double norm = 1.0 / (1.0 - std::exp(-3.0));
      levelGain_ = 1.0 - (1.0 - std::exp((1.0 - v * 0.5) * (-3.0))) * norm;
      break;
    }
    case 1: drive_ = v; break;
    case 2: Peak(toneLow_, 1256.6370614359173, 0.6931471805599453, (v * 40.0 - 10.0) / 40.0); break;
    case 3: Peak(toneMid_, 7539.822368615503, 1.0397207708399179, (v * 36.0 - 18.0) / 40.0); break;
    case 4: Peak(toneHigh_, 37699.11184307752, 1.0397207708399179, (v * 36.0 - 18.0) / 40.0); break;
    case 5: {
      double n = std::trunc(v);
      if (n == 0.0) on_ = false;
      if (n == 1.0) on_ = true;
      break;
    }
    default: break;
  }
}

void ReferencePedal::RefillNoise(std::uint32_t seed) {
  float sum = 0.0f;
  for (int i = 0; i < kNoiseEntries; ++i) {
    seed = NextSeed(seed);
    std::uint32_t bits = (seed & 0x80000000u) | (seed & 0x007F0000u) | (60u << 23);
    float step;
    std::memcpy(&step, &bits, sizeof step);
    sum = sum + step;
    noise_[i] = sum;
  }
  seedAfterFill_ = seed;
}

std::uint32_t ReferencePedal::SeedAfterFills(std::uint32_t seed, int fills) {
  for (long i = 0; i < long(fills) * kNoiseEntries; ++i) seed = NextSeed(seed);
  return seed;
}

// Where a section's formulas break down (non-finite coefficients, or poles
// on or outside the unit circle: a section right at half the rate or a
// multiple of it) it becomes the plain gain its response tends to: silence
// for low- and high-passes, A^2 for peaks, A^2 or 1 for shelves.
void ReferencePedal::SetBiquad(Biquad& s, double b0, double b1, double b2, double a1, double a2,
                               double fallbackGain) {
  bool usable = std::isfinite(b0) && std::isfinite(b1) && std::isfinite(b2) && std::fabs(a2) < 1 &&
                std::fabs(a1) < 1 + a2;
  if (usable) {
    s.b0 = b0, s.b1 = b1, s.b2 = b2, s.a1 = a1, s.a2 = a2;
  } else {
    s.b0 = std::isfinite(fallbackGain) ? fallbackGain : 1.0, s.b1 = s.b2 = s.a1 = s.a2 = 0.0;
  }
}

void ReferencePedal::LowPass(Biquad& s, double K, double c) const {
  double w = K / rate_, sn = std::sin(w), cs = std::cos(w);
  double alpha = sn * std::sinh(c * w / sn);
  double a0 = 1 + alpha;
  SetBiquad(s, (1 - cs) * 0.5 / a0, (1 - cs) / a0, (1 - cs) * 0.5 / a0, -2 * cs / a0, (1 - alpha) / a0, 0.0);
}

void ReferencePedal::HighPass(Biquad& s, double K, double c) const {
  double w = K / rate_, sn = std::sin(w), cs = std::cos(w);
  double alpha = sn * std::sinh(c * w / sn);
  double a0 = 1 + alpha;
  SetBiquad(s, (1 + cs) * 0.5 / a0, -(1 + cs) / a0, (1 + cs) * 0.5 / a0, -2 * cs / a0, (1 - alpha) / a0, 0.0);
}

void ReferencePedal::Peak(Biquad& s, double K, double c, double x) const {
  double w = K / rate_, sn = std::sin(w), cs = std::cos(w);
  double alpha = sn * std::sinh(c * w / sn);
  double A = std::pow(10.0, x);
  double a0 = 1 + alpha / A;
  SetBiquad(s, (1 + alpha * A) / a0, -2 * cs / a0, (1 - alpha * A) / a0, -2 * cs / a0, (1 - alpha / A) / a0, A * A);
}

void ReferencePedal::HighShelf(Biquad& s, double K, double x) const {
  double w = K / rate_, sn = std::sin(w), cs = std::cos(w);
  double A = std::pow(10.0, x);
  // Beyond half the rate the shelf is designed at its alias frequency (the
  // plain formula would put its poles outside the unit circle).
  double q = std::sqrt(A + A) * std::fabs(sn);
  double a0 = (A + 1) - (A - 1) * cs + q;
  SetBiquad(s, A * ((A + 1) + (A - 1) * cs + q) / a0, -2 * A * ((A - 1) + (A + 1) * cs) / a0,
            A * ((A + 1) + (A - 1) * cs - q) / a0, 2 * ((A - 1) - (A + 1) * cs) / a0,
            ((A + 1) - (A - 1) * cs - q) / a0, cs > 0 ? A * A : 1.0);
}

void ReferencePedal::Pole(OnePole& s, double K) const {
  double p = std::exp(-K / rate_);
  s.g = 1 - p;
  s.m = -p;
}

double ReferencePedal::Clip(double c) const {
  if (std::fabs(c) < 0.2) return ((1 - std::fabs(c) / 0.4) * c) * 0.5 * 10;
  return c >= 0 ? 0.5 : -0.5;
}

double ReferencePedal::Sample(double x) {
  double s = inputLowPass_.Run(x);

  double h = gainHighPass_.Run(x);
  double l = gainLowPass_.Run(h);
  double d = Clip((drive_ * 500) * l);
  double f = gainAfterClip_.Run(d) + 1e-20;
  double hi = bandHigh9700_.Run(f);
  double lo = bandLow400_.Run(f);
  double mid = bandLow7500_.Run(f);
  double branchA = (hi * 2.1) * 1.593 + lo * 1.017 + mid * 1.305;

  double b = blendLowPass_.Run(s);
  double bh = (b - blendBeforeClip_.Run(b) + 1e-20) * 32.4;
  double bm = b + Clip(bh);
  double bf = blendAfterClip_.Run(bm) + 1e-20;
  double branchB = blendShelf_.Run(bf);

  double c = doubleIn_.Run(s) + 1e-20;
  double ch = c - doubleBeforeClip_.Run(c) + 1e-20;
  double d1 = Clip((drive_ * 75 + 3) * ch);
  double d2 = Clip(d1);
  double cm = doubleOut_.Run(d2) + 1e-20;
  double ck = d2 - doubleOutHigh_.Run(d2) + 1e-20;
  double branchC = (ck * (-0.07) + cm) * 0.6;

  double y = ((branchB + branchA) + branchC) * levelGain_;
  y = toneHigh_.Run(toneMid_.Run(toneLow_.Run(y)));
  for (Biquad& section : cabinet_) y = section.Run(y);
  return y;
}

void ReferencePedal::Process(const double* in0, const double* in1, double* out, int frames) {
  for (int i = 0; i < frames; ++i) {
    double sum = in1[i] + in0[i];
    out[i] = on_ ? Sample(sum + noise_[i % kNoiseEntries]) : sum;
  }
}
