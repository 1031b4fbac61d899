#include "section_design.h"

#include "portable_math.h"

namespace {

bool Finite(double v) { return v - v == 0.0; }

// Poles strictly inside the unit circle; false for NaN.
bool Stable(double a1, double a2) { return (a2 < 0.0 ? -a2 : a2) < 1.0 && (a1 < 0.0 ? -a1 : a1) < 1.0 + a2; }

// Stores the design, or the plain gain it tends to when its formula breaks
// down (non-finite coefficients or poles on the unit circle).
void Store(BiquadBank& bank, int k, const double (&c)[5], double limitGain) {
  if (Finite(c[0]) && Finite(c[1]) && Finite(c[2]) && Stable(c[3], c[4])) {
    bank.SetCoefficients(k, c[0], c[1], c[2], c[3], c[4]);
  } else {
    bank.SetCoefficients(k, Finite(limitGain) ? limitGain : 1.0, 0.0, 0.0, 0.0, 0.0);
  }
}

struct Angle {
  double omega, sn, cs;
};

Angle AngleOf(double K, double workRate) {
  double omega = K / workRate;
  return {omega, PortableSin(omega), PortableCos(omega)};
}

double BandwidthAlpha(const Angle& w, double c) { return w.sn * PortableSinh(c * w.omega / w.sn); }

}  // namespace

void DesignLowPass(BiquadBank& bank, int k, double K, double c, double workRate) {
  Angle w = AngleOf(K, workRate);
  double alpha = BandwidthAlpha(w, c);
  double a0 = 1.0 + alpha;
  const double coefficients[5] = {(1.0 - w.cs) * 0.5 / a0, (1.0 - w.cs) / a0, (1.0 - w.cs) * 0.5 / a0,
                                  -2.0 * w.cs / a0, (1.0 - alpha) / a0};
  Store(bank, k, coefficients, 0.0);
}

void DesignHighPass(BiquadBank& bank, int k, double K, double c, double workRate) {
  Angle w = AngleOf(K, workRate);
  double alpha = BandwidthAlpha(w, c);
  double a0 = 1.0 + alpha;
  const double coefficients[5] = {(1.0 + w.cs) * 0.5 / a0, -(1.0 + w.cs) / a0, (1.0 + w.cs) * 0.5 / a0,
                                  -2.0 * w.cs / a0, (1.0 - alpha) / a0};
  Store(bank, k, coefficients, 0.0);
}

void DesignPeak(BiquadBank& bank, int k, double K, double c, double x, double workRate) {
  Angle w = AngleOf(K, workRate);
  double alpha = BandwidthAlpha(w, c);
  double A = PortablePow10(x);
  double a0 = 1.0 + alpha / A;
  const double coefficients[5] = {(1.0 + alpha * A) / a0, -2.0 * w.cs / a0, (1.0 - alpha * A) / a0,
                                  -2.0 * w.cs / a0, (1.0 - alpha / A) / a0};
  Store(bank, k, coefficients, A * A);
}

void DesignHighShelf(BiquadBank& bank, int k, double K, double x, double workRate) {
  Angle w = AngleOf(K, workRate);
  double A = PortablePow10(x);
  // Above half the rate (sin w < 0) the formula's poles leave the unit circle
  // and the output explodes. Its magnitude response is that of the shelf at
  // the alias frequency below half the rate, which |sin w| designs stably.
  double sn = w.sn < 0.0 ? -w.sn : w.sn;
  double q = PortableSqrt(A + A) * sn;
  double a0 = (A + 1.0) - (A - 1.0) * w.cs + q;
  const double coefficients[5] = {A * ((A + 1.0) + (A - 1.0) * w.cs + q) / a0,
                                  -2.0 * A * ((A - 1.0) + (A + 1.0) * w.cs) / a0,
                                  A * ((A + 1.0) + (A - 1.0) * w.cs - q) / a0,
                                  2.0 * ((A - 1.0) - (A + 1.0) * w.cs) / a0,
                                  ((A + 1.0) - (A - 1.0) * w.cs - q) / a0};
  // Breaks down only with its corner at DC or half the rate (sin w = 0), where
  // it tends to A^2 or 1 throughout.
  Store(bank, k, coefficients, w.cs > 0.0 ? A * A : 1.0);
}

void DesignOnePole(OnePoleBank& bank, int k, double K, double workRate) {
  double p = PortableExp(-K / workRate);
  bank.g[k] = 1.0 - p;
  bank.m[k] = -p;
}
