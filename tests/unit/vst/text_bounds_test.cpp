#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "vst_fixtures.h"

namespace {

// Every text the plug-in copies into a host buffer stays within the size the
// VST 2.4 standard gives that buffer, terminator included, however long the
// plug-in's own text is.
TEST(TextBoundsTest, TextOpcodesNeverWritePastTheStandardSize) {
  FakeHost host;
  Plugin plugin({.longTexts = true});
  const struct {
    const char* name;
    VstInt32 opcode, index;
    VstIntPtr value;
    float opt;
    std::size_t size;
    std::string full;  // the text that would be written without a bound
  } cases[] = {
      {"effGetParamName", effGetParamName, 0, 0, 0.0f, 8, kLongParamName},
      {"effGetParamLabel", effGetParamLabel, 0, 0, 0.0f, 8, kLongLabel},
      {"effGetParamDisplay, number", effGetParamDisplay, 0, 0, 0.0f, 8, "123456.789"},
      {"effGetParamDisplay, text", effGetParamDisplay, 5, 0, 0.0f, 8, kLongDisplayText},
      {"effVendorSpecific display", effVendorSpecific, 7, 0, 0.123456789f, 8, "123456.789"},
      {"effGetProgramName", effGetProgramName, 0, 0, 0.0f, 24, kLongProgramName},
      {"effGetProgramNameIndexed", effGetProgramNameIndexed, 1, 0, 0.0f, 24, kLongProgramName},
      {"effGetEffectName", effGetEffectName, 0, 0, 0.0f, 32, kLongEffectName},
      {"effGetVendorString", effGetVendorString, 0, 0, 0.0f, 64, kLongMakerName},
      {"effGetProductString", effGetProductString, 0, 0, 0.0f, 64, kLongProductName},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_GE(c.full.size(), c.size);  // the case really is too long
    unsigned char buffer[256];
    std::memset(buffer, 0xA5, sizeof buffer);
    plugin.Dispatch(c.opcode, c.index, c.value, buffer, c.opt);
    const char* text = reinterpret_cast<const char*>(buffer);
    ASSERT_NE(std::memchr(buffer, 0, c.size), nullptr) << "no terminator within " << c.size << " bytes";
    EXPECT_EQ(std::string(text), c.full.substr(0, c.size - 1));  // the longest prefix that fits
    for (std::size_t i = c.size; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], 0xA5) << "byte " << i;
  }
}

TEST(TextBoundsTest, ProgramNameFromTheHostIsTakenUpToItsTerminator) {
  FakeHost host;
  Plugin plugin;
  char name[24] = "Twenty-three characters";  // 23 characters and the terminator: the largest a host sends
  EXPECT_EQ(plugin.Dispatch(effSetProgramName, 0, 0, name), 0);
  EXPECT_STREQ(plugin.fx->GetProgramName(0), "Twenty-three characters");
}

}  // namespace
