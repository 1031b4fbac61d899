// Parameter values through getParameter/setParameter and their displays.
#include <cmath>
#include <limits>

#include "plugin_under_test.h"

namespace {

using ParamsTest = PluginTest;

TEST_F(ParamsTest, OutOfRangeIndicesReadZeroAndChangeNothing) {
  auto plugin = Started();
  EXPECT_EQ(plugin->GetParameter(-1), 0.0f);
  EXPECT_EQ(plugin->GetParameter(6), 0.0f);
  EXPECT_EQ(plugin->GetParameter(1 << 30), 0.0f);
  const auto chunkBefore = plugin->GetChunk(false);
  plugin->SetParameter(-1, 0.3f);
  plugin->SetParameter(6, 0.3f);
  EXPECT_EQ(plugin->GetChunk(false), chunkBefore);
}

TEST_F(ParamsTest, SwitchSnapsToItsStepAndIsNotEchoedAsAutomation) {
  auto plugin = Started();
  host_.calls.clear();
  plugin->SetParameter(5, 0.7f);
  EXPECT_EQ(plugin->GetParameter(5), 1.0f);
  EXPECT_EQ(plugin->ParamDisplay(5), "On");
  plugin->SetParameter(5, 0.49f);
  EXPECT_EQ(plugin->GetParameter(5), 0.0f);
  EXPECT_EQ(plugin->ParamDisplay(5), "Off");
  EXPECT_EQ(host_.Count(audioMasterAutomate), 0u);
}

TEST_F(ParamsTest, HostValuesAreKeptWithinRangeAndNotANumberIsIgnored) {
  auto plugin = Started();
  struct Case {
    float sent;
    float read;
    const char* display;
  };
  const Case cases[] = {
      {0.25f, 0.25f, "0.250"}, {1.0f, 1.0f, "1.000"}, {0.0f, 0.0f, "0"},
      {1.5f, 1.0f, "1.000"},   {-3.0f, 0.0f, "0"},    {std::numeric_limits<float>::infinity(), 1.0f, "1.000"},
  };
  for (const Case& c : cases) {
    plugin->SetParameter(1, c.sent);
    EXPECT_EQ(plugin->GetParameter(1), c.read) << c.sent;
    EXPECT_EQ(plugin->ParamDisplay(1), c.display) << c.sent;
  }
  plugin->SetParameter(1, 0.75f);
  plugin->SetParameter(1, std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(plugin->GetParameter(1), 0.75f);
}

TEST_F(ParamsTest, VendorSpecificDisplaysANormalisedValueWithoutSettingIt) {
  auto plugin = Started();
  char text[64] = {};
  EXPECT_EQ(plugin->Dispatch(effVendorSpecific, 7, 0, text, 0.25f), 0xBEEF);
  EXPECT_STREQ(text, "0.250");
  EXPECT_EQ(plugin->GetParameter(0), 0.5f);
  char untouched[8] = {'x', 0};
  EXPECT_EQ(plugin->Dispatch(effVendorSpecific, 7, 99, untouched, 0.25f), 0xBEEF);
  EXPECT_STREQ(untouched, "x");
  EXPECT_EQ(plugin->Dispatch(effVendorSpecific, 7, 5, text, 0.0f), 0xBEEF);
  EXPECT_STREQ(text, "Off");
  EXPECT_EQ(plugin->Dispatch(effVendorSpecific, 6, 0, text, 0.25f), 0);
  EXPECT_EQ(plugin->Dispatch(effVendorSpecific, 7, 0, nullptr, 0.25f), 0);
}

}  // namespace
