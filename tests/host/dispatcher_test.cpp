// The dispatcher's answers, opcode by opcode, as a host receives them.
#include <cmath>
#include <cstring>
#include <limits>

#include "plugin_under_test.h"

namespace {

using DispatcherTest = PluginTest;

TEST_F(DispatcherTest, FixedAnswers) {
  auto plugin = Started();
  struct Case {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    VstIntPtr result;
  };
  const Case cases[] = {
      {effGetVstVersion, 0, 0, 2400},
      {effGetPlugCategory, 0, 0, 1},
      {effIdentify, 0, 0, 0x4E764566},
      {effGetVendorVersion, 0, 0, 0},
      {effCanBeAutomated, 0, 0, 1},
      {effCanBeAutomated, 99, 0, 1},
      {effGetProgram, 0, 0, 0},
      {effEditGetRect, 0, 0, 0},
      {effEditOpen, 0, 0, 0},
      {effEditClose, 0, 0, 0},
      {effEditIdle, 0, 0, 0},
      {effIdle, 0, 0, 0},
      {effGetTailSize, 0, 0, 0},
      {effSetBypass, 0, 1, 0},
      {effString2Parameter, 0, 0, 0},
      {effGetParameterProperties, 0, 0, 0},
      {effStartProcess, 0, 0, 0},
      {effStopProcess, 0, 0, 0},
      {effProcessVarIo, 0, 0, 0},
      {effProcessEvents, 0, 0, 0},
      {effGetMidiKeyName, 0, 0, 0},
      {99, 0, 0, 0},
      {-1, 0, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(plugin->Dispatch(c.opcode, c.index, c.value), c.result) << "opcode " << c.opcode;
  }
}

TEST_F(DispatcherTest, CapabilitiesAreMatchedWholeAndCaseSensitively) {
  auto plugin = Started();
  struct Case {
    const char* text;
    VstIntPtr answer;
  };
  const Case cases[] = {
      {"receiveVstTimeInfo", 1}, {"ReceiveVstTimeInfo", 0}, {"receiveVstTimeInfo ", 0},
      {"sendVstEvents", 0},      {"receiveVstMidiEvent", 0}, {"bypass", 0},
      {"", 0},
  };
  for (const Case& c : cases) {
    std::string text(c.text);
    EXPECT_EQ(plugin->Dispatch(effCanDo, 0, 0, text.data()), c.answer) << c.text;
  }
  EXPECT_EQ(plugin->Dispatch(effCanDo, 0, 0, nullptr), 0);
}

TEST_F(DispatcherTest, PinProperties) {
  auto plugin = Started();
  struct Case {
    VstInt32 opcode;
    VstInt32 index;
    const char* label;
    VstInt32 flags;
  };
  const Case cases[] = {
      {effGetInputProperties, 0, "Input 1", 3},
      {effGetInputProperties, 1, "Input 2", 1},
      {effGetOutputProperties, 0, "Output 1", 3},
      {effGetOutputProperties, 1, "Output 2", 1},
  };
  for (const Case& c : cases) {
    VstPinProperties pin{};
    EXPECT_EQ(plugin->Dispatch(c.opcode, c.index, 0, &pin), 1);
    EXPECT_STREQ(pin.label, c.label);
    EXPECT_EQ(pin.flags, c.flags);
  }
  for (VstInt32 opcode : {effGetInputProperties, effGetOutputProperties}) {
    for (VstInt32 index : {2, -1}) {
      VstPinProperties pin;
      std::memset(&pin, 0x5A, sizeof pin);
      EXPECT_EQ(plugin->Dispatch(opcode, index, 0, &pin), 0);
      EXPECT_EQ(pin.flags, 0x5A5A5A5A);
    }
    EXPECT_EQ(plugin->Dispatch(opcode, 0, 0, nullptr), 0);
  }
}

TEST_F(DispatcherTest, SpeakerArrangementsAreTheirOwnAndAnyOfferIsAccepted) {
  auto plugin = Started();
  VstSpeakerArrangement* in = nullptr;
  VstSpeakerArrangement* out = nullptr;
  EXPECT_EQ(plugin->Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 1);
  ASSERT_NE(in, nullptr);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(in->numChannels, 2);
  EXPECT_EQ(out->numChannels, 2);
  EXPECT_EQ(in->type, 0);

  // A mono offer: the second input is no longer fed, so the chain sees only the first.
  VstSpeakerArrangement mono{};
  mono.numChannels = 1;
  EXPECT_EQ(plugin->Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&mono), &mono), 1);
  EXPECT_EQ(in->numChannels, 2);  // the plug-in's own records stay as they were
  plugin->SetParameter(5, 0.0f);
  double left[4] = {0.5, 0.25, -0.5, 1.0};
  double out0[4] = {}, scratch[4] = {};
  double* inputs[2] = {left, nullptr};
  double* outputs[2] = {out0, scratch};
  plugin->ProcessDouble(inputs, outputs, 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(out0[i], left[i]) << i;

  VstSpeakerArrangement junk{};
  junk.numChannels = -7;
  EXPECT_EQ(plugin->Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&junk), nullptr), 1);
}

TEST_F(DispatcherTest, TextOpcodesStayWithinTheStandardSizes) {
  auto plugin = Started();
  struct Case {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr result;
    std::size_t limit;
  };
  const Case cases[] = {
      {effGetParamName, 5, 0, 8},   {effGetParamLabel, 0, 0, 8},    {effGetParamDisplay, 0, 0, 8},
      {effGetEffectName, 0, 1, 32}, {effGetVendorString, 0, 1, 64}, {effGetProductString, 0, 1, 64},
      {effGetProgramName, 0, 0, 24},
  };
  for (const Case& c : cases) {
    char buffer[256];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(plugin->Dispatch(c.opcode, c.index, 0, buffer), c.result) << c.opcode;
    EXPECT_LT(std::strlen(buffer), c.limit) << c.opcode;
    for (std::size_t i = c.limit; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], '#') << c.opcode << " at " << i;
  }
  for (VstInt32 opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
    char buffer[16] = "untouched";
    EXPECT_EQ(plugin->Dispatch(opcode, 6, 0, buffer), 0);
    EXPECT_STREQ(buffer, "untouched");
  }
  for (VstInt32 opcode : {effGetEffectName, effGetVendorString, effGetProductString}) {
    EXPECT_EQ(plugin->Dispatch(opcode, 0, 0, nullptr), 0);
  }
}

TEST_F(DispatcherTest, JunkSampleRatesAreIgnored) {
  auto plugin = Started(48000.0, 64);
  plugin->Dispatch(effSetSampleRate, 0, 0, nullptr, 0.0f);
  plugin->Dispatch(effSetSampleRate, 0, 0, nullptr, -44100.0f);
  plugin->Dispatch(effSetSampleRate, 0, 0, nullptr, std::numeric_limits<float>::quiet_NaN());
  double in0[64], in1[64], out0[64], out1[64];
  for (int i = 0; i < 64; ++i) in0[i] = in1[i] = (i % 9) * 0.05;
  double* in[2] = {in0, in1};
  double* out[2] = {out0, out1};
  plugin->ProcessDouble(in, out, 64);
  for (int i = 0; i < 64; ++i) ASSERT_TRUE(std::isfinite(out0[i])) << i;
}

TEST_F(DispatcherTest, MidiEventsAreHandedBackToTheHost) {
  auto plugin = Started();
  host_.calls.clear();
  VstMidiEvent note{};
  note.type = kVstMidiType;
  note.byteSize = sizeof note;
  note.deltaFrames = 12;
  note.midiData[0] = char(0x90);
  note.midiData[1] = 60;
  note.midiData[2] = 100;
  VstEvent other{};
  other.type = 6;
  other.byteSize = sizeof other;
  struct {
    VstInt32 numEvents;
    VstIntPtr reserved;
    VstEvent* events[3];
  } list{3, 0, {reinterpret_cast<VstEvent*>(&note), nullptr, &other}};
  EXPECT_EQ(plugin->Dispatch(effProcessEvents, 0, 0, &list), 1);
  EXPECT_EQ(host_.Count(audioMasterProcessEvents), 2u);
}

}  // namespace
