// The design's own maths against the C library's long double routines,
// rounded to double: over the arguments the design really uses and over wide
// random sweeps, at most one unit in the last place apart and nearly always
// identical.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "fixed_sections.h"
#include "portable_math.h"

namespace {

std::int64_t OrderedBits(double v) {
  std::int64_t bits = std::bit_cast<std::int64_t>(v);
  return bits < 0 ? std::numeric_limits<std::int64_t>::min() - bits : bits;
}

std::int64_t UlpDistance(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b) ? 0 : std::numeric_limits<std::int64_t>::max();
  std::int64_t d = OrderedBits(a) - OrderedBits(b);
  return d < 0 ? -d : d;
}

struct Routine {
  const char* name;
  double (*portable)(double);
  long double (*truth)(long double);
};

const Routine kSin{"sin", PortableSin, [](long double x) { return std::sin(x); }};
const Routine kCos{"cos", PortableCos, [](long double x) { return std::cos(x); }};
const Routine kSinh{"sinh", PortableSinh, [](long double x) { return std::sinh(x); }};
const Routine kExp{"exp", PortableExp, [](long double x) { return std::exp(x); }};
const Routine kPow10{"pow10", PortablePow10, [](long double x) { return std::pow(10.0L, x); }};

// At most one ulp anywhere; at most one argument in a hundred off at all
// (the truth itself is rounded twice, so a few near-ties may disagree).
void ExpectCorrectlyRoundedMostly(const Routine& r, const std::vector<double>& args) {
  std::int64_t worst = 0;
  double worstArg = 0.0;
  std::size_t differing = 0;
  for (double x : args) {
    std::int64_t d = UlpDistance(r.portable(x), static_cast<double>(r.truth(x)));
    if (d != 0) ++differing;
    if (d > worst) worst = d, worstArg = x;
  }
  EXPECT_LE(worst, 1) << r.name << " at " << worstArg;
  EXPECT_LE(differing * 100, args.size()) << r.name << ": " << differing << " of " << args.size();
}

std::vector<double> DesignRates() {
  std::vector<double> rates = {8000, 11025, 22050, 44100, 48000, 88200, 96000, 176400, 192000};
  for (double rate = 8000; rate <= 192000; rate += 100) rates.push_back(rate);
  return rates;
}

std::vector<double> AllDesignConstants() {
  std::vector<double> ks;
  for (const FixedSection& s : kFixedSections) ks.push_back(s.K);
  for (double k : kLowPassK) ks.push_back(k);
  for (double k : kHighPassK) ks.push_back(k);
  return ks;
}

std::vector<double> Uniform(double lo, double hi, int count, unsigned seed) {
  std::mt19937_64 generator(seed);
  std::uniform_real_distribution<double> distribution(lo, hi);
  std::vector<double> v(count);
  for (double& x : v) x = distribution(generator);
  return v;
}

TEST(PortableMath, SinAndCosOfEverySectionAngle) {
  std::vector<double> omegas;
  for (double rate : DesignRates())
    for (double K : AllDesignConstants()) omegas.push_back(K / rate);
  ExpectCorrectlyRoundedMostly(kSin, omegas);
  ExpectCorrectlyRoundedMostly(kCos, omegas);
}

TEST(PortableMath, SinhOfEveryBandwidthArgument) {
  std::vector<double> args;
  for (double rate : DesignRates()) {
    for (const FixedSection& s : kFixedSections) {
      if (s.type == SectionType::HighShelf) continue;
      double omega = s.K / rate;
      args.push_back(s.c * omega / PortableSin(omega));
    }
  }
  ExpectCorrectlyRoundedMostly(kSinh, args);
}

TEST(PortableMath, ExpOfEveryPoleAndLevelExponent) {
  std::vector<double> args = {-3.0};
  for (double rate : DesignRates()) {
    for (double K : kLowPassK) args.push_back(-K / rate);
    for (double K : kHighPassK) args.push_back(-K / rate);
  }
  for (int i = 0; i <= 1000; ++i) args.push_back((1.0 - (i / 1000.0) * 0.5) * (-3.0));
  ExpectCorrectlyRoundedMostly(kExp, args);
}

TEST(PortableMath, Pow10OfEveryGainExponent) {
  std::vector<double> args;
  for (const FixedSection& s : kFixedSections) args.push_back(s.x);
  for (int i = 0; i <= 1000; ++i) {
    args.push_back(ToneGainExponent(kLowToneSection, i / 1000.0));
    args.push_back(ToneGainExponent(kLowToneSection + 1, i / 1000.0));
  }
  ExpectCorrectlyRoundedMostly(kPow10, args);
}

TEST(PortableMath, WideRandomSweeps) {
  ExpectCorrectlyRoundedMostly(kSin, Uniform(-40.0, 40.0, 20000, 1));
  ExpectCorrectlyRoundedMostly(kCos, Uniform(-40.0, 40.0, 20000, 2));
  ExpectCorrectlyRoundedMostly(kSin, Uniform(-1e9, 1e9, 20000, 3));  // tiny rates
  ExpectCorrectlyRoundedMostly(kSinh, Uniform(-3.0, 3.0, 20000, 4));
  ExpectCorrectlyRoundedMostly(kSinh, Uniform(-710.0, 710.0, 20000, 5));
  ExpectCorrectlyRoundedMostly(kExp, Uniform(-708.0, 709.0, 20000, 6));
  ExpectCorrectlyRoundedMostly(kPow10, Uniform(-1.0, 1.0, 20000, 7));
  ExpectCorrectlyRoundedMostly(kPow10, Uniform(-300.0, 300.0, 20000, 8));
  ExpectCorrectlyRoundedMostly(kSinh, Uniform(-1e-6, 1e-6, 2000, 9));
  ExpectCorrectlyRoundedMostly(kSin, Uniform(-1e-6, 1e-6, 2000, 10));
}

TEST(PortableMath, ExactAndLimitValues) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* what;
    double got, expected;
  } cases[] = {
      {"exp 0", PortableExp(0.0), 1.0},          {"10^0", PortablePow10(0.0), 1.0},
      {"10^1", PortablePow10(1.0), 10.0},        {"10^2", PortablePow10(2.0), 100.0},
      {"10^22", PortablePow10(22.0), 1e22},      {"10^-1", PortablePow10(-1.0), 0.1},
      {"sin 0", PortableSin(0.0), 0.0},          {"cos 0", PortableCos(0.0), 1.0},
      {"sinh 0", PortableSinh(0.0), 0.0},        {"sqrt 2", PortableSqrt(2.0), std::sqrt(2.0)},
      {"exp 1000", PortableExp(1000.0), inf},    {"exp -1000", PortableExp(-1000.0), 0.0},
      {"exp -inf", PortableExp(-inf), 0.0},      {"sinh 1000", PortableSinh(1000.0), inf},
      {"sinh -1000", PortableSinh(-1000.0), -inf}, {"10^400", PortablePow10(400.0), inf},
      {"sinh 710.4", PortableSinh(710.4), static_cast<double>(std::sinh(static_cast<long double>(710.4)))},
      {"exp nan", PortableExp(nan), nan},        {"sin inf", PortableSin(inf), nan},
      {"cos nan", PortableCos(nan), nan},        {"sinh nan", PortableSinh(nan), nan},
      {"sin 2^31", PortableSin(0x1p31), nan},
  };
  for (const Case& c : cases) EXPECT_EQ(UlpDistance(c.got, c.expected), 0) << c.what << ": " << c.got;
}

}  // namespace
