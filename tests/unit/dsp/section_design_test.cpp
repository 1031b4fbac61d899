// Every designed section against the analog prototype its formula comes
// from: the bandwidth forms and the slope-1 shelf are the bilinear transform,
// prewarped at the section's frequency, of
//   low-pass 1/(s^2 + s/Q + 1), high-pass s^2/(s^2 + s/Q + 1),
//   peak (s^2 + sA/Q + 1)/(s^2 + s/(AQ) + 1),
//   high shelf A(As^2 + sqrt(2A)s + 1)/(s^2 + sqrt(2A)s + A),
// with Q = 1/(2 sinh(c w0 / sin w0)), A = 10^x, and s = j tan(w/2)/tan(w0/2).
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <memory>
#include <numbers>

#include "fixed_sections.h"
#include "pedal_chain.h"

namespace {

using Complex = std::complex<double>;

Complex DigitalResponse(const BiquadBank& bank, int k, double w) {
  Complex z1 = std::polar(1.0, -w);
  Complex z2 = z1 * z1;
  return (bank.b0[k] + bank.b1[k] * z1 + bank.b2[k] * z2) / (1.0 + bank.a1[k] * z1 + bank.a2[k] * z2);
}

Complex AnalogResponse(SectionType type, double w0, double c, double x, double w) {
  Complex s(0.0, std::tan(w / 2) / std::tan(w0 / 2));
  double q = 1.0 / (2.0 * std::sinh(c * w0 / std::sin(w0)));
  double a = std::pow(10.0, x);
  switch (type) {
    case SectionType::LowPass: return 1.0 / (s * s + s / q + 1.0);
    case SectionType::HighPass: return s * s / (s * s + s / q + 1.0);
    case SectionType::Peak: return (s * s + s * (a / q) + 1.0) / (s * s + s / (a * q) + 1.0);
    case SectionType::HighShelf: {
      double r = std::sqrt(2.0 * a);
      return a * (a * s * s + r * s + 1.0) / (s * s + r * s + a);
    }
  }
  return 0.0;
}

// Knob settings away from the tone sections' flat middle, and their gain
// exponents worked out by hand.
constexpr double kLow = 0.9, kMid = 0.1, kHigh = 0.7;
constexpr double kToneX[3] = {0.65, -0.36, 0.18};

std::unique_ptr<PedalChain> ChainAt(double rate) {
  auto chain = std::make_unique<PedalChain>();
  chain->HandleParamChange(LowParam, kLow);
  chain->HandleParamChange(MidParam, kMid);
  chain->HandleParamChange(HighParam, kHigh);
  chain->ResetProcessing(rate);
  return chain;
}

double GainExponentOf(int k) { return k >= 8 && k <= 10 ? kToneX[k - 8] : kFixedSections[k].x; }

class SectionDesignAtRate : public testing::TestWithParam<double> {};

TEST_P(SectionDesignAtRate, MatchesAnalogPrototypeAcrossTheBand) {
  const double rate = GetParam();
  auto chain = ChainAt(rate);
  for (int k = 0; k < kDesignedSections; ++k) {
    const FixedSection& s = kFixedSections[k];
    double w0 = s.K / rate;
    for (double w : {0.0, 0.25 * w0, 0.5 * w0, w0, 2.0 * w0, 0.6 * std::numbers::pi, 0.95 * std::numbers::pi}) {
      if (w > 0.95 * std::numbers::pi) continue;
      double digital = std::abs(DigitalResponse(chain->Biquads(), k, w));
      double analog = std::abs(AnalogResponse(s.type, w0, s.c, GainExponentOf(k), w));
      EXPECT_NEAR(digital, analog, 1e-9 * analog + 1e-12) << "section " << k << " at w = " << w;
    }
  }
}

// The dB figures of the section table: a peak reaches 40x dB at its centre, a
// shelf at half the rate; low-passes pass DC and stop at half the rate,
// high-passes the other way round.
TEST_P(SectionDesignAtRate, HitsTheTableGainsAtCentreAndEdges) {
  const double rate = GetParam();
  auto chain = ChainAt(rate);
  const double pi = std::numbers::pi;
  for (int k = 0; k < kDesignedSections; ++k) {
    const FixedSection& s = kFixedSections[k];
    auto dB = [&](double w) { return 20.0 * std::log10(std::abs(DigitalResponse(chain->Biquads(), k, w))); };
    auto gain = [&](double w) { return std::abs(DigitalResponse(chain->Biquads(), k, w)); };
    switch (s.type) {
      case SectionType::Peak:
        EXPECT_NEAR(dB(s.K / rate), 40.0 * GainExponentOf(k), 1e-9) << k;
        EXPECT_NEAR(dB(0.0), 0.0, 1e-9) << k;
        break;
      case SectionType::HighShelf:
        EXPECT_NEAR(dB(pi), 40.0 * GainExponentOf(k), 1e-9) << k;
        EXPECT_NEAR(dB(0.0), 0.0, 1e-9) << k;
        break;
      case SectionType::LowPass:
        EXPECT_NEAR(gain(0.0), 1.0, 1e-12) << k;
        EXPECT_NEAR(gain(pi), 0.0, 1e-12) << k;
        break;
      case SectionType::HighPass:
        EXPECT_NEAR(gain(0.0), 0.0, 1e-12) << k;
        EXPECT_NEAR(gain(pi), 1.0, 1e-12) << k;
        break;
    }
  }
}

TEST_P(SectionDesignAtRate, OnePolesHaveUnityDcGainAndTheirPole) {
  const double rate = GetParam();
  auto chain = ChainAt(rate);
  auto check = [&](const OnePoleBank& bank, int k, double K) {
    double p = -bank.m[k];
    EXPECT_NEAR(p, std::exp(-K / rate), 1e-16) << k;
    EXPECT_EQ(bank.g[k], 1.0 - p) << k;
  };
  for (int k = 0; k < 4; ++k) check(chain->LowPasses(), k, kLowPassK[k]);
  for (int k = 0; k < 3; ++k) check(chain->HighPasses(), k, kHighPassK[k]);
  for (int k = 4; k < 8; ++k) EXPECT_EQ(chain->LowPasses().g[k], 0.0);
  for (int k = 3; k < 8; ++k) EXPECT_EQ(chain->HighPasses().g[k], 0.0);
  for (int k = kDesignedSections; k < BiquadBank::kSections; ++k) EXPECT_EQ(chain->Biquads().b0[k], 0.0);
}

INSTANTIATE_TEST_SUITE_P(Rates, SectionDesignAtRate, testing::Values(44100.0, 48000.0, 96000.0, 192000.0));

// The section table as its columns read in Hz, octaves and dB, so that a
// slip in a K, c or x shows up here.
TEST(SectionTable, ConstantsMatchFrequencyBandwidthAndGain) {
  struct Row {
    double hz, octaves, dB;
  } rows[kDesignedSections] = {
      {650, 1.4, 0},     {2000, 1.4, 0},  {3100, 0, 12},     {730, 1.4, 0},     {650, 1.4, 0},
      {400, 0.755, 0},   {9700, 0.555, 0}, {7500, 1.5, 0},   {200, 2, 0},       {1200, 3, 0},
      {6000, 3, 0},      {9500, 0, -21},  {100, 1, 7.2},     {7250, 1, 5.4},    {750, 1, -6},
      {1400, 0.5, -5.7}, {5500, 0.2, 10.8}, {5910, 0.1, -28.8}, {3300, 1.6, 26.1}, {4300, 0.2, 7.2},
      {7500, 0, -29.7},  {400, 1, -4.2},  {1650, 0.3, 3.9},  {7000, 1, 8.4},    {8700, 0.1, -28.5},
      {10100, 0, -14.4},
  };
  for (int k = 0; k < kDesignedSections; ++k) {
    EXPECT_NEAR(kFixedSections[k].K / (2 * std::numbers::pi), rows[k].hz, 1e-9) << k;
    EXPECT_NEAR(kFixedSections[k].c / (std::numbers::ln2 / 2), rows[k].octaves, 1e-12) << k;
    EXPECT_NEAR(kFixedSections[k].x * 40, rows[k].dB, 1e-12) << k;
  }
  const double onePoleHz[7] = {723, 2000, 2700, 6500, 720, 720, 723};
  const double onePoleK[7] = {kLowPassK[0], kLowPassK[1], kLowPassK[2], kLowPassK[3],
                              kHighPassK[0], kHighPassK[1], kHighPassK[2]};
  for (int k = 0; k < 7; ++k) EXPECT_NEAR(onePoleK[k] / (2 * std::numbers::pi), onePoleHz[k], 0.5) << k;
}

TEST(ToneSections, FlatKnobsGiveExactPassThrough) {
  auto chain = std::make_unique<PedalChain>();
  chain->HandleParamChange(LowParam, 0.25);
  chain->HandleParamChange(MidParam, 0.5);
  chain->HandleParamChange(HighParam, 0.5);
  chain->ResetProcessing(48000);
  const BiquadBank& bank = chain->Biquads();
  for (int k = 8; k <= 10; ++k) {
    EXPECT_EQ(bank.b0[k], 1.0) << k;
    EXPECT_EQ(bank.b1[k], bank.a1[k]) << k;
    EXPECT_EQ(bank.b2[k], bank.a2[k]) << k;
  }
}

// At 12 kHz the High section sits exactly at half the rate, where alpha
// overflows; at 19.4 kHz the 9700 Hz high-pass does. The sections take their
// limits instead of NaN coefficients.
TEST(SectionDesignAtHalfTheRate, TakesTheLimitInsteadOfNaN) {
  auto chain = std::make_unique<PedalChain>();
  chain->HandleParamChange(HighParam, 0.75);  // A = 10^0.225
  chain->ResetProcessing(12000);
  const BiquadBank& bank = chain->Biquads();
  EXPECT_NEAR(bank.b0[10], std::pow(10.0, 0.45), 1e-15);
  EXPECT_EQ(bank.b1[10], 0.0);
  EXPECT_EQ(bank.a2[10], 0.0);

  chain->ResetProcessing(19400);
  EXPECT_EQ(chain->Biquads().b0[6], 0.0);
  EXPECT_EQ(chain->Biquads().a1[6], 0.0);
  EXPECT_EQ(chain->Biquads().a2[6], 0.0);
  for (int k = 0; k < kDesignedSections; ++k) EXPECT_TRUE(std::isfinite(chain->Biquads().b0[k])) << k;
}

// Every section at every rate from 8 kHz up keeps its poles inside the unit
// circle, also where its frequency lies beyond half the rate.
TEST(SectionDesignAtAnyRate, EverySectionIsStable) {
  for (double rate = 8000; rate <= 192000; rate += 250) {
    auto chain = ChainAt(rate);
    const BiquadBank& b = chain->Biquads();
    for (int k = 0; k < kDesignedSections; ++k) {
      ASSERT_LT(std::fabs(b.a2[k]), 1.0) << "section " << k << " at " << rate;
      ASSERT_LT(std::fabs(b.a1[k]), 1.0 + b.a2[k]) << "section " << k << " at " << rate;
    }
  }
}

// A shelf above half the rate sounds as the shelf at its alias frequency
// folded below half the rate: the magnitude response its formula describes.
TEST(SectionDesignAtAnyRate, ShelfBeyondHalfTheRateFollowsItsAlias) {
  for (double rate : {8000.0, 11025.0, 12000.0, 16000.0}) {
    auto chain = ChainAt(rate);
    for (int k : {2, 11, 20, 25}) {
      const FixedSection& s = kFixedSections[k];
      double alias = std::fmod(s.K / rate, 2 * std::numbers::pi);
      if (alias > std::numbers::pi) alias = 2 * std::numbers::pi - alias;
      for (double w : {0.0, 0.3, 1.0, alias, 2.5, 3.0}) {
        double digital = std::abs(DigitalResponse(chain->Biquads(), k, w));
        double analog = std::abs(AnalogResponse(SectionType::HighShelf, alias, 0.0, s.x, w));
        EXPECT_NEAR(digital, analog, 1e-9 * analog) << "section " << k << " at " << rate << ", w = " << w;
      }
    }
  }
}

// A shelf whose corner lands exactly on the sample rate (9500 Hz at 9.5 kHz)
// has a double pole on the unit circle; it becomes its limit, the gain A^2.
TEST(SectionDesignAtAnyRate, ShelfAtTheSampleRateBecomesItsGain) {
  auto chain = ChainAt(9500);
  EXPECT_NEAR(chain->Biquads().b0[11], std::pow(10.0, 2 * -0.525), 1e-15);
  EXPECT_EQ(chain->Biquads().a1[11], 0.0);
}

}  // namespace
