#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/parameter.h"

namespace {

// Parameters own their text storage and cannot be copied: these set one up in place.
IParameter& Continuous(IParameter& p, double minimum = 0.0, double maximum = 1.0, double step = 0.001) {
  p.SetupDouble("Drive", 0.5, minimum, maximum, step, "dB");
  return p;
}

IParameter& Switch(IParameter& p) {
  p.SetupEnum("Effect", 1, 2);
  p.AddDisplayText(0, "Off");
  p.AddDisplayText(1, "On");
  return p;
}

std::string Display(const IParameter& p, double value, bool isNormalized) {
  char out[64];
  std::memset(out, 'x', sizeof out);
  p.FormatDisplay(value, isNormalized, out, sizeof out);
  return out;
}

TEST(ParameterTest, DisplayPrecisionComesFromTheStep) {
  const struct {
    double step;
    std::int32_t precision;
  } cases[] = {
      {1.0, 0},  {10.0, 0}, {0.5, 1},       {2.5, 1},  {0.25, 2},
      {0.01, 2}, {0.001, 3}, {0.0000001, 6}, {1e-9, 6}, {1e20, 0},  // beyond 64-bit integers counts as whole
  };
  for (const auto& c : cases) {
    IParameter p;
    p.SetupDouble("x", 0.0, 0.0, 1e30, c.step, "");
    EXPECT_EQ(p.DisplayPrecision(), c.precision) << "step " << c.step;
  }
}

TEST(ParameterTest, SetupDoubleStoresRangeAndKeepsTheDefaultUnclamped) {
  IParameter p;
  p.SetupDouble("Level", 5.0, 0.0, 1.0, 0.001, "dB");
  EXPECT_EQ(p.Kind(), ParamKindDouble);
  EXPECT_STREQ(p.GetName(), "Level");
  EXPECT_STREQ(p.GetLabel(), "dB");
  EXPECT_EQ(p.Value(), 5.0);  // until the value is next set
  EXPECT_EQ(p.Minimum(), 0.0);
  EXPECT_EQ(p.Maximum(), 1.0);
  p.SetFromNormalized(0.5);
  EXPECT_EQ(p.Value(), 0.5);

  const struct {
    double minimum, maximum, step, expectedMaximum;
  } ranges[] = {
      {2.0, 2.0, 0.5, 2.5},    // maximum equal to minimum
      {0.0, 0.3, 0.5, 0.5},    // maximum closer than one step
      {-24.0, 24.0, 0.1, 24.0},
  };
  for (const auto& r : ranges) {
    IParameter q;
    q.SetupDouble("x", 0.0, r.minimum, r.maximum, r.step, "");
    EXPECT_EQ(q.Maximum(), r.expectedMaximum) << r.minimum << ".." << r.maximum;
  }
}

TEST(ParameterTest, KindIsSetByTheFirstInitialiserOnly) {
  IParameter toggle;
  toggle.SetupEnum("Effect", 1, 2);
  EXPECT_EQ(toggle.Kind(), ParamKindEnum);
  EXPECT_EQ(toggle.Value(), 1.0);
  EXPECT_EQ(toggle.Maximum(), 1.0);
  EXPECT_STREQ(toggle.GetLabel(), "");
  toggle.SetupDouble("Effect", 0.0, 0.0, 3.0, 1.0, "");
  EXPECT_EQ(toggle.Kind(), ParamKindEnum);

  IParameter knob;
  knob.SetupDouble("Drive", 0.5, 0.0, 1.0, 0.001, "");
  knob.SetupEnum("Drive", 0, 4);
  EXPECT_EQ(knob.Kind(), ParamKindDouble);
  knob.SetFromNormalized(0.1);  // a continuous kind is never snapped
  EXPECT_DOUBLE_EQ(knob.Value(), 0.3);
}

TEST(ParameterTest, SetFromNormalizedSnapsIntegerKindsHalvesUp) {
  const struct {
    std::int32_t count;
    double normalized;
    double expected;
  } cases[] = {
      {2, 0.0, 0.0}, {2, 0.49, 0.0}, {2, 0.5, 1.0}, {2, 0.7, 1.0}, {2, 1.0, 1.0},
      {5, 0.3, 1.0},  // 1.2
      {5, 0.375, 2.0},  // 1.5 rounds up
      {5, 0.9, 4.0},  // 3.6
  };
  for (const auto& c : cases) {
    IParameter p;
    p.SetupEnum("e", 0, c.count);
    p.SetFromNormalized(c.normalized);
    EXPECT_EQ(p.Value(), c.expected) << c.count << " values, x=" << c.normalized;
  }
}

TEST(ParameterTest, SetFromNormalizedNeverExceedsTheMaximum) {
  IParameter p;
  p.SetupEnum("e", 0, 2);
  p.SetupDouble("e", 0.0, 0.0, 2.5, 1.0, "");  // still enumerated: 2.5 snaps to 3
  p.SetFromNormalized(1.0);
  EXPECT_EQ(p.Value(), 2.5);

  IParameter gain;
  Continuous(gain, -24.0, 24.0, 0.1);
  gain.SetFromNormalized(0.75);
  EXPECT_EQ(gain.Value(), 12.0);
  gain.SetFromNormalized(0.1234);
  EXPECT_DOUBLE_EQ(gain.Value(), -24.0 + 48.0 * 0.1234);
}

TEST(ParameterTest, ToNormalizedClampsToTheRange) {
  IParameter unit, gain;
  Continuous(unit);
  Continuous(gain, -24.0, 24.0, 0.1);
  const struct {
    const IParameter* p;
    double real;
    double expected;
  } cases[] = {
      {&unit, 0.25, 0.25}, {&unit, 1.5, 1.0},  {&unit, -0.5, 0.0}, {&unit, 1e300, 1.0},
      {&gain, 12.0, 0.75}, {&gain, -24.0, 0.0}, {&gain, 30.0, 1.0}, {&gain, -30.0, 0.0},
  };
  for (const auto& c : cases) EXPECT_EQ(c.p->ToNormalized(c.real), c.expected) << c.real;

  IParameter outside;
  outside.SetupDouble("x", 7.5, 0.0, 1.0, 0.001, "");  // default above the range
  EXPECT_EQ(outside.ToNormalized(), 1.0);
}

TEST(ParameterTest, FormatDisplayTexts) {
  IParameter unit, whole, gain, toggle;
  Continuous(unit);
  Continuous(whole, 0.0, 10.0, 1.0);
  Continuous(gain, -24.0, 24.0, 0.1);
  Switch(toggle);

  IParameter sparse;  // an empty text, and a value without text
  sparse.SetupEnum("s", 0, 4);
  sparse.AddDisplayText(0, "Zero");
  sparse.AddDisplayText(1, "");
  sparse.AddDisplayText(1, "One");  // later duplicates are never consulted

  const struct {
    const IParameter* p;
    double value;
    bool isNormalized;
    const char* expected;
  } cases[] = {
      {&unit, 0.5, false, "0.500"},
      {&unit, 1.0, false, "1.000"},
      {&unit, 0.0, false, "0"},
      {&unit, -0.0, false, "0"},
      {&unit, 0.25, true, "0.250"},
      {&whole, 2.7, false, "2"},
      {&whole, -2.7, false, "-2"},
      {&whole, 0.4, false, "0"},
      {&gain, -12.34, false, "-12.3"},
      {&gain, 0.5, true, "0"},
      {&gain, 0.75, true, "12.0"},
      {&toggle, 1.0, false, "On"},
      {&toggle, 0.0, false, "Off"},
      {&toggle, 0.7, true, "Off"},  // real 0.7, integer part 0: no snapping for display
      {&toggle, 1.0, true, "On"},
      {&toggle, 0.99, false, "Off"},
      {&sparse, 0.0, false, "Zero"},
      {&sparse, 1.0, false, "1"},
      {&sparse, 3.0, false, "3"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Display(*c.p, c.value, c.isNormalized), c.expected)
        << c.p->GetName() << " " << c.value << (c.isNormalized ? " (normalised)" : "");
  }
}

TEST(ParameterTest, FormatDisplayStaysWithinTheGivenCapacity) {
  IParameter p;
  Continuous(p, 0.0, 1e6, 0.001);
  char out[16];
  std::memset(out, 0x5A, sizeof out);
  p.FormatDisplay(123456.789, false, out, 8);
  EXPECT_STREQ(out, "123456.");
  for (int i = 8; i < 16; ++i) EXPECT_EQ(out[i], 0x5A) << i;
}

TEST(ParameterTest, DisplayTextLookups) {
  IParameter p;
  p.SetupEnum("Mode", 0, 3);
  p.AddDisplayText(0, "Clean");
  p.AddDisplayText(2, "Fuzz");
  p.AddDisplayText(1, "Fuzz");
  EXPECT_EQ(p.CountDisplayTexts(), 3);
  EXPECT_STREQ(p.FindDisplayText(2), "Fuzz");
  EXPECT_STREQ(p.FindDisplayText(7), "");

  std::int32_t value = -5;
  EXPECT_TRUE(p.LookUpDisplayValue("Fuzz", &value));
  EXPECT_EQ(value, 2);  // the first entry with that text
  EXPECT_TRUE(p.LookUpDisplayValue("Clean", &value));
  EXPECT_EQ(value, 0);
  value = -5;
  for (const char* miss : {"fuzz", "Fuzz ", "", "Cle"}) {
    EXPECT_FALSE(p.LookUpDisplayValue(miss, &value)) << miss;
    EXPECT_EQ(value, -5);
  }
}

}  // namespace
