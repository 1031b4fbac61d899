#include "portable_math.h"

#include <bit>
#include <cstdint>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#else
#include <cmath>
#endif

#include "double_double.h"

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Constants as sums of doubles, enough terms for the reductions below to stay
// exact well past the precision the results need.
constexpr double kHalfPi[4] = {0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54,
                               -0x1.f1976b7ed8fbcp-110, 0x1.4cf98e804177dp-164};
constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
constexpr double kLn2[3] = {0x1.62e42fefa39efp-1, 0x1.abc9e3b39803fp-56, 0x1.7b57a079a1934p-111};
constexpr double kInvLn2 = 0x1.71547652b82fep+0;
constexpr double kLn10[3] = {0x1.26bb1bbb55516p+1, -0x1.f48ad494ea3e9p-53, -0x1.9ebae3ae0260cp-107};

// Series lengths: the first omitted term is below 2^-110 of the sum over the
// reduced ranges (|r| <= ln2/2 for exp, pi/4 for sin and cos, 1 for sinh).
constexpr int kExpTerms = 24;
constexpr int kTrigTerms = 15;
constexpr int kSinhTerms = 15;

constexpr DoubleDouble kOne = {1.0, 0.0};

// Ties away from zero, for |v| < 2^31 - 1. The truncating conversion is the
// same whatever rounding mode is set, and 32 bits keep it an SSE2
// instruction on i386 (64-bit conversions there go through the x87 unit).
std::int32_t NearestInteger(double v) {
  return static_cast<std::int32_t>(v < 0.0 ? v - 0.5 : v + 0.5);
}

double PowerOfTwo(int n) {  // n in -1022..1023
  return std::bit_cast<double>(static_cast<std::uint64_t>(n + 1023) << 52);
}

// v * 2^n with a single rounding, also when the result is subnormal.
double ScaleByPowerOfTwo(double v, int n) {
  if (n > 1023) {
    int first = n - 1023 > 1023 ? 1023 : n - 1023;
    v *= PowerOfTwo(first);
    n = 1023;
  } else if (n < -1022) {
    int first = n + 1022 < -1022 ? -1022 : n + 1022;
    v *= PowerOfTwo(first);
    n = -1022;
  }
  return v * PowerOfTwo(n);
}

struct ScaledValue {
  DoubleDouble mantissa;
  int exponent;  // value = mantissa * 2^exponent
};

// e^x for |x.hi| below about 750.
ScaledValue ExpScaled(DoubleDouble x) {
  std::int32_t n = NearestInteger(x.hi * kInvLn2);
  double nd = static_cast<double>(n);
  DoubleDouble r = Add(x, Negate(TwoProduct(nd, kLn2[0])));
  r = Add(r, Negate(TwoProduct(nd, kLn2[1])));
  r = Add(r, {-(nd * kLn2[2]), 0.0});
  // 1 + r(1 + r/2(1 + r/3(...))), every step in double-double.
  DoubleDouble sum = kOne;
  for (int k = kExpTerms; k >= 1; --k) sum = Add(kOne, Divide(Multiply(r, sum), k));
  return {sum, n};
}

struct ReducedAngle {
  DoubleDouble r;  // |r| <= pi/4 (a hair more at ties)
  int quadrant;    // x = r + quadrant * pi/2 (mod 2 pi)
};

// Cody-Waite reduction with pi/2 in four pieces; the products are formed
// exactly, so the remainder keeps full double-double precision even next to
// a multiple of pi/2.
bool ReduceAngle(double x, ReducedAngle& out) {
  if (!(x < 0x1p30 && x > -0x1p30)) return false;
  std::int32_t n = NearestInteger(x * kTwoOverPi);
  double nd = static_cast<double>(n);
  DoubleDouble r = Add({x, 0.0}, Negate(TwoProduct(nd, kHalfPi[0])));
  r = Add(r, Negate(TwoProduct(nd, kHalfPi[1])));
  r = Add(r, Negate(TwoProduct(nd, kHalfPi[2])));
  r = Add(r, {-(nd * kHalfPi[3]), 0.0});
  out = {r, n & 3};
  return true;
}

DoubleDouble SinSeries(DoubleDouble r) {
  DoubleDouble r2 = Multiply(r, r);
  DoubleDouble sum = kOne;
  for (int k = kTrigTerms; k >= 1; --k) {
    sum = Add(kOne, Negate(Divide(Multiply(r2, sum), double(2 * k) * double(2 * k + 1))));
  }
  return Multiply(r, sum);
}

DoubleDouble CosSeries(DoubleDouble r) {
  DoubleDouble r2 = Multiply(r, r);
  DoubleDouble sum = kOne;
  for (int k = kTrigTerms; k >= 1; --k) {
    sum = Add(kOne, Negate(Divide(Multiply(r2, sum), double(2 * k - 1) * double(2 * k))));
  }
  return sum;
}

}  // namespace

double PortableSin(double x) {
  ReducedAngle a;
  if (!ReduceAngle(x, a)) return kNaN;
  switch (a.quadrant) {
    case 0: return SinSeries(a.r).hi;
    case 1: return CosSeries(a.r).hi;
    case 2: return -SinSeries(a.r).hi;
    default: return -CosSeries(a.r).hi;
  }
}

double PortableCos(double x) {
  ReducedAngle a;
  if (!ReduceAngle(x, a)) return kNaN;
  switch (a.quadrant) {
    case 0: return CosSeries(a.r).hi;
    case 1: return -SinSeries(a.r).hi;
    case 2: return -CosSeries(a.r).hi;
    default: return SinSeries(a.r).hi;
  }
}

double PortableExp(double x) {
  if (x != x) return x;
  if (x > 710.0) return kInfinity;
  if (x < -746.0) return 0.0;
  ScaledValue e = ExpScaled({x, 0.0});
  return ScaleByPowerOfTwo(e.mantissa.hi, e.exponent);
}

double PortablePow10(double x) {
  if (x != x) return x;
  if (x > 310.0) return kInfinity;
  if (x < -330.0) return 0.0;
  // x * ln10 to double-double precision.
  DoubleDouble exponent = Add(TwoProduct(x, kLn10[0]), TwoProduct(x, kLn10[1]));
  exponent = Add(exponent, {x * kLn10[2], 0.0});
  ScaledValue e = ExpScaled(exponent);
  return ScaleByPowerOfTwo(e.mantissa.hi, e.exponent);
}

double PortableSinh(double x) {
  if (x != x) return x;
  double ax = x < 0.0 ? -x : x;
  double result;
  if (ax < 1.0) {
    // x(1 + x^2/(2*3)(1 + x^2/(4*5)(...))): no cancellation for small x.
    DoubleDouble x2 = TwoProduct(x, x);
    DoubleDouble sum = kOne;
    for (int k = kSinhTerms; k >= 1; --k) {
      sum = Add(kOne, Divide(Multiply(x2, sum), double(2 * k) * double(2 * k + 1)));
    }
    return Multiply({x, 0.0}, sum).hi;
  }
  if (ax > 711.0) {
    result = kInfinity;
  } else {
    ScaledValue up = ExpScaled({ax, 0.0});
    ScaledValue down = ExpScaled({-ax, 0.0});
    int shift = down.exponent - up.exponent;
    DoubleDouble downAligned = {ScaleByPowerOfTwo(down.mantissa.hi, shift),
                                ScaleByPowerOfTwo(down.mantissa.lo, shift)};
    DoubleDouble difference = Add(up.mantissa, Negate(downAligned));
    result = ScaleByPowerOfTwo(difference.hi, up.exponent - 1);
  }
  return x < 0.0 ? -result : result;
}

double PortableSqrt(double x) {
#if defined(__SSE2__)
  return _mm_cvtsd_f64(_mm_sqrt_sd(_mm_setzero_pd(), _mm_set_sd(x)));
#else
  return std::sqrt(x);
#endif
}
