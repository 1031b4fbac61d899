#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "vst_fixtures.h"

namespace {

using Log = std::vector<std::string>;

const Log kAllParams = {"param 0", "param 1", "param 2", "param 3", "param 4", "param 5"};

class DispatcherTest : public ::testing::Test {
 protected:
  FakeHost host;
  Plugin plugin;
};

TEST_F(DispatcherTest, FixedAnswersAndUnhandledOpcodes) {
  const struct {
    const char* name;
    VstInt32 opcode, index;
    VstIntPtr value;
    bool withBuffer;  // hand over a buffer that must stay untouched
    VstIntPtr expected;
  } cases[] = {
      {"effGetVstVersion", effGetVstVersion, 0, 0, false, 2400},
      {"effGetPlugCategory", effGetPlugCategory, 0, 0, false, 1},
      {"effIdentify", effIdentify, 0, 0, false, 0x4E764566},
      {"effGetProgram", effGetProgram, 0, 0, false, 0},
      {"effCanBeAutomated 0", effCanBeAutomated, 0, 0, false, 1},
      {"effCanBeAutomated out of range", effCanBeAutomated, 99, 0, false, 1},
      {"effGetSpeakerArrangement without pointers", effGetSpeakerArrangement, 0, 0, false, 1},
      {"effSetSpeakerArrangement without arrangements", effSetSpeakerArrangement, 0, 0, false, 1},
      {"effGetVendorVersion", effGetVendorVersion, 0, 0, true, 0},
      {"effGetTailSize", effGetTailSize, 0, 0, true, 0},
      {"effSetBypass", effSetBypass, 0, 1, true, 0},
      {"effString2Parameter", effString2Parameter, 0, 0, true, 0},
      {"effGetParameterProperties", effGetParameterProperties, 0, 0, true, 0},
      {"effBeginSetProgram", effBeginSetProgram, 0, 0, true, 0},
      {"effEndSetProgram", effEndSetProgram, 0, 0, true, 0},
      {"effStartProcess", effStartProcess, 0, 0, true, 0},
      {"effStopProcess", effStopProcess, 0, 0, true, 0},
      {"effProcessVarIo", effProcessVarIo, 0, 0, true, 0},
      {"effEditGetRect without editor", effEditGetRect, 0, 0, true, 0},
      {"effEditOpen without editor", effEditOpen, 0, 0, true, 0},
      {"effEditClose without editor", effEditClose, 0, 0, true, 0},
      {"effEditIdle", effEditIdle, 0, 0, true, 0},
      {"effIdle", effIdle, 0, 0, true, 0},
      {"effVendorSpecific, index 6", effVendorSpecific, 6, 0, true, 0},
      {"opcode 9", 9, 0, 0, true, 0},
      {"opcode 16", 16, 0, 0, true, 0},
      {"opcode 70", 70, 0, 0, true, 0},
      {"opcode 73", 73, 0, 0, true, 0},
      {"opcode 200", 200, 0, 0, true, 0},
      {"opcode -1", -1, 0, 0, true, 0},
      {"effGetChunk without pointer", effGetChunk, 1, 0, false, 0},
      {"effSetChunk without pointer", effSetChunk, 1, 56, false, 0},
      {"effProcessEvents without pointer", effProcessEvents, 0, 0, false, 0},
      {"effGetEffectName without pointer", effGetEffectName, 0, 0, false, 0},
      {"effGetVendorString without pointer", effGetVendorString, 0, 0, false, 0},
      {"effGetProductString without pointer", effGetProductString, 0, 0, false, 0},
      {"effGetProgramNameIndexed without pointer", effGetProgramNameIndexed, 0, 0, false, 0},
      {"effGetMidiKeyName without pointer", effGetMidiKeyName, 0, 0, false, 0},
      {"effGetInputProperties without pointer", effGetInputProperties, 0, 0, false, 0},
      {"effVendorSpecific 7 without pointer", effVendorSpecific, 7, 0, false, 0},
      {"effCanDo without pointer", effCanDo, 0, 0, false, 0},
  };
  const std::vector<double> values = plugin.fx->Values();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    unsigned char buffer[256];
    std::memset(buffer, 0xA5, sizeof buffer);
    EXPECT_EQ(plugin.Dispatch(c.opcode, c.index, c.value, c.withBuffer ? buffer : nullptr, 0.5f), c.expected);
    for (unsigned char byte : buffer) ASSERT_EQ(byte, 0xA5);
  }
  EXPECT_EQ(plugin.fx->Values(), values);
  EXPECT_TRUE(plugin.fx->log.empty());
  EXPECT_TRUE(host.calls.empty());
}

TEST_F(DispatcherTest, RecordWithoutObjectIsRefused) {
  AEffect copy = *plugin.record;
  copy.object = nullptr;
  EXPECT_EQ(copy.dispatcher(&copy, effGetVstVersion, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(copy.dispatcher(&copy, effClose, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(plugin.Dispatch(effGetVstVersion), 2400);  // the instance is still there
}

TEST_F(DispatcherTest, CanDoAnswers) {
  Plugin midi({.doesMidi = true});
  const struct {
    const char* capability;
    VstIntPtr withoutMidi, withMidi;
  } cases[] = {
      {"receiveVstTimeInfo", 1, 1},
      {"ReceiveVstTimeInfo", 0, 0},
      {"receiveVstTimeInfo ", 0, 0},
      {"receiveVstTime", 0, 0},
      {"sendVstEvents", 0, 1},
      {"sendVstMidiEvent", 0, 1},
      {"receiveVstEvents", 0, 1},
      {"receiveVstMidiEvent", 0, 1},
      {"sendvstevents", 0, 0},
      {"plugAsChannelInsert", 0, 0},
      {"bypass", 0, 0},
      {"", 0, 0},
  };
  for (const auto& c : cases) {
    char text[64];
    std::strcpy(text, c.capability);
    EXPECT_EQ(plugin.Dispatch(effCanDo, 0, 0, text), c.withoutMidi) << c.capability;
    EXPECT_EQ(midi.Dispatch(effCanDo, 0, 0, text), c.withMidi) << c.capability;
  }
  EXPECT_EQ(midi.Dispatch(effCanDo, 0, 0, nullptr), 0);
}

TEST_F(DispatcherTest, PinProperties) {
  Plugin mono({.channels = "1-1"});
  const struct {
    Plugin* p;
    VstInt32 opcode, index;
    VstIntPtr expected;
    const char* label;
    VstInt32 flags;
  } cases[] = {
      {&plugin, effGetInputProperties, 0, 1, "Input 1", 3},
      {&plugin, effGetInputProperties, 1, 1, "Input 2", 1},
      {&plugin, effGetInputProperties, 2, 0, nullptr, 0},
      {&plugin, effGetInputProperties, -1, 0, nullptr, 0},
      {&plugin, effGetOutputProperties, 0, 1, "Output 1", 3},
      {&plugin, effGetOutputProperties, 1, 1, "Output 2", 1},
      {&plugin, effGetOutputProperties, 2, 0, nullptr, 0},
      {&mono, effGetInputProperties, 0, 1, "Input 1", 3},
      {&mono, effGetInputProperties, 1, 0, nullptr, 0},
      {&mono, effGetOutputProperties, 1, 0, nullptr, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.opcode) + " index " + std::to_string(c.index));
    VstPinProperties pin;
    std::memset(&pin, 0xA5, sizeof pin);
    EXPECT_EQ(c.p->Dispatch(c.opcode, c.index, 0, &pin), c.expected);
    if (c.label) {
      EXPECT_STREQ(pin.label, c.label);
      EXPECT_EQ(pin.flags, c.flags);
    } else {
      const auto* bytes = reinterpret_cast<const unsigned char*>(&pin);
      for (std::size_t i = 0; i < sizeof pin; ++i) ASSERT_EQ(bytes[i], 0xA5) << i;
    }
  }
}

TEST_F(DispatcherTest, VendorSpecificShowsADisplayWithoutSettingIt) {
  const struct {
    VstIntPtr param;
    float normalized;
    const char* expected;  // none: the buffer stays untouched
  } cases[] = {
      {0, 0.25f, "0.250"}, {0, 1.0f, "1.000"}, {5, 0.7f, "Off"}, {5, 1.0f, "On"},
      {99, 0.25f, nullptr}, {6, 0.25f, nullptr}, {-1, 0.25f, nullptr},
  };
  const std::vector<double> values = plugin.fx->Values();
  for (const auto& c : cases) {
    char text[64];
    std::memset(text, 'x', sizeof text);
    text[63] = '\0';
    EXPECT_EQ(plugin.Dispatch(effVendorSpecific, 7, c.param, text, c.normalized), 0xBEEF) << c.param;
    EXPECT_STREQ(text, c.expected ? c.expected : std::string(63, 'x').c_str()) << c.param;
  }
  EXPECT_EQ(plugin.fx->Values(), values);
  EXPECT_TRUE(plugin.fx->log.empty());
}

TEST_F(DispatcherTest, ParameterTexts) {
  plugin.fx->ParamAt(1)->SetFromNormalized(0.25);
  plugin.fx->ParamAt(5)->SetFromNormalized(0.0);
  const struct {
    VstInt32 opcode, index;
    const char* expected;  // none: untouched
  } cases[] = {
      {effGetParamName, 0, "Level"}, {effGetParamName, 5, "Effect"}, {effGetParamLabel, 0, ""},
      {effGetParamDisplay, 0, "0.500"}, {effGetParamDisplay, 1, "0.250"}, {effGetParamDisplay, 5, "Off"},
      {effGetParamName, 6, nullptr}, {effGetParamLabel, -1, nullptr}, {effGetParamDisplay, 6, nullptr},
  };
  for (const auto& c : cases) {
    char text[16];
    std::strcpy(text, "untouched");
    EXPECT_EQ(plugin.Dispatch(c.opcode, c.index, 0, text), 0);
    EXPECT_STREQ(text, c.expected ? c.expected : "untouched") << c.opcode << " " << c.index;
  }
  EXPECT_EQ(plugin.Dispatch(effGetParamDisplay, 0, 0, nullptr), 0);
}

TEST_F(DispatcherTest, OpenRunsEveryChangeHandlerAndAsksTheHostOnce) {
  host.product = "Cubase SX";
  host.vendorVersion = 30105;
  EXPECT_EQ(plugin.fx->Host(), HostNotAsked);
  EXPECT_EQ(plugin.Dispatch(effOpen), 0);
  EXPECT_EQ(plugin.fx->log, kAllParams);
  EXPECT_EQ(plugin.fx->Host(), HostCubase);
  EXPECT_EQ(plugin.fx->HostVersion(), 0x30105);
  EXPECT_EQ(host.Opcodes(), (std::vector<VstInt32>{audioMasterGetProductString, audioMasterGetVendorVersion}));
  for (const HostCall& call : host.calls) EXPECT_EQ(call.effect, plugin.record);

  plugin.fx->log.clear();
  EXPECT_EQ(plugin.Dispatch(effOpen), 0);
  EXPECT_EQ(plugin.fx->log, kAllParams);
  EXPECT_EQ(host.calls.size(), 2u);
}

TEST_F(DispatcherTest, MainsChanged) {
  const struct {
    VstIntPtr value;
    Log expected;
  } cases[] = {{0, {"inactive", "reset"}}, {1, {"active"}}, {7, {"active"}}, {-1, {"active"}}};
  for (const auto& c : cases) {
    plugin.fx->log.clear();
    EXPECT_EQ(plugin.Dispatch(effMainsChanged, 0, c.value), 0);
    EXPECT_EQ(plugin.fx->log, c.expected) << c.value;
  }
}

TEST_F(DispatcherTest, SampleRateMustBePositiveAndFinite) {
  const float inf = std::numeric_limits<float>::infinity();
  const struct {
    float rate;
    double expected;
    bool reset;
  } cases[] = {
      {48000.0f, 48000.0, true}, {0.0f, 48000.0, false},  {-44100.0f, 48000.0, false},
      {std::nanf(""), 48000.0, false}, {inf, 48000.0, false}, {-inf, 48000.0, false},
      {96000.0f, 96000.0, true},  {1e-3f, double(1e-3f), true},
  };
  EXPECT_EQ(plugin.fx->SampleRate(), 44100.0);
  for (const auto& c : cases) {
    plugin.fx->log.clear();
    EXPECT_EQ(plugin.Dispatch(effSetSampleRate, 0, 0, nullptr, c.rate), 0);
    EXPECT_EQ(plugin.fx->SampleRate(), c.expected) << c.rate;
    EXPECT_EQ(plugin.fx->log, c.reset ? Log{"reset"} : Log{}) << c.rate;
  }
}

TEST_F(DispatcherTest, BlockSizeOutsideOneTo262144KeepsTheCurrentSize) {
  const struct {
    VstIntPtr size;
    std::int32_t expected;
  } cases[] = {
      {64, 64}, {0, 64}, {-5, 64}, {262145, 64}, {VstIntPtr(1) << 40, 64}, {262144, 262144}, {1, 1}, {512, 512},
  };
  for (const auto& c : cases) {
    plugin.fx->log.clear();
    EXPECT_EQ(plugin.Dispatch(effSetBlockSize, 0, c.size), 0);
    EXPECT_EQ(plugin.fx->BlockSize(), c.expected) << c.size;
    EXPECT_EQ(plugin.fx->log, Log{"reset"}) << c.size;
  }
}

TEST_F(DispatcherTest, EditorOpcodes) {
  bool destroyed = false;
  auto* editor = new FakeEditor(225, 333, &destroyed);
  plugin.fx->AttachEditor(editor);
  int parent = 0, window = 0;

  EXPECT_EQ(plugin.Dispatch(effEditOpen, 0, 0, &parent), 0);  // no window could be made
  EXPECT_EQ(editor->openedWith, &parent);
  EXPECT_TRUE(plugin.fx->log.empty());

  editor->windowToReturn = &window;
  EXPECT_EQ(plugin.Dispatch(effEditOpen, 0, 0, &parent), 1);
  EXPECT_EQ(plugin.fx->log, Log{"opened"});

  EXPECT_EQ(plugin.Dispatch(effEditClose), 1);
  EXPECT_EQ(plugin.fx->log, (Log{"opened", "closing"}));
  EXPECT_EQ(editor->closeCalls, 1);
  EXPECT_FALSE(destroyed);  // closing the window keeps the surface
  EXPECT_EQ(plugin.Dispatch(effEditIdle), 0);
}

TEST_F(DispatcherTest, SetProgramSavesTheCurrentValuesFirst) {
  // Slots 0 and 1 hold the defaults ("Init"), 2 and 3 were never filled.
  plugin.record->setParameter(plugin.record, 0, 0.25f);
  EXPECT_EQ(plugin.Dispatch(effSetProgram, 0, 1), 0);
  EXPECT_EQ(plugin.Dispatch(effGetProgram), 1);
  double stored = 0.0;
  ASSERT_TRUE(plugin.fx->ProgramAt(0)->values.ReadDouble(0, &stored));
  EXPECT_EQ(stored, 0.25);  // slot 0 kept what was current when the program changed
  EXPECT_EQ(plugin.fx->Values(), (std::vector<double>{0.5, 0.5, 0.5, 0.5, 0.5, 1.0}));  // slot 1 loaded

  EXPECT_EQ(plugin.Dispatch(effSetProgram, 0, 0), 0);
  EXPECT_EQ(plugin.fx->ParamAt(0)->Value(), 0.25);

  // a never-filled slot takes the current values and a user preset name
  plugin.fx->log.clear();
  EXPECT_EQ(plugin.Dispatch(effSetProgram, 0, 3), 0);
  EXPECT_EQ(plugin.Dispatch(effGetProgram), 3);
  char name[32];
  EXPECT_EQ(plugin.Dispatch(effGetProgramName, 0, 0, name), 0);
  EXPECT_STREQ(name, "user preset 1");
  EXPECT_EQ(plugin.fx->ParamAt(0)->Value(), 0.25);
  EXPECT_EQ(plugin.fx->ProgramBytes(3), plugin.fx->ProgramBytes(0));
}

TEST_F(DispatcherTest, SetProgramOutOfRangeStoresButKeepsTheProgram) {
  for (VstIntPtr index : {VstIntPtr(4), VstIntPtr(-1), VstIntPtr(1) << 33}) {
    plugin.record->setParameter(plugin.record, 2, 0.125f);
    plugin.fx->log.clear();
    EXPECT_EQ(plugin.Dispatch(effSetProgram, 0, index), 0);
    EXPECT_EQ(plugin.Dispatch(effGetProgram), 0);
    EXPECT_TRUE(plugin.fx->log.empty());
    double stored = 0.0;
    EXPECT_EQ(plugin.fx->ProgramAt(0)->values.Size(), 48);
    ASSERT_TRUE(plugin.fx->ProgramAt(0)->values.ReadDouble(16, &stored));
    EXPECT_EQ(stored, 0.125);
    plugin.record->setParameter(plugin.record, 2, 0.5f);
  }
}

TEST_F(DispatcherTest, SetProgramWithChunksDoesNotSaveFirst) {
  Plugin chunky({.doesChunks = true});
  const std::vector<std::uint8_t> before = chunky.fx->ProgramBytes(0);
  chunky.record->setParameter(chunky.record, 0, 0.25f);
  EXPECT_EQ(chunky.Dispatch(effSetProgram, 0, 1), 0);
  EXPECT_EQ(chunky.fx->ProgramBytes(0), before);
  EXPECT_EQ(chunky.fx->ParamAt(0)->Value(), 0.5);
}

TEST_F(DispatcherTest, ProgramNames) {
  char name[32];
  plugin.record->setParameter(plugin.record, 0, 0.75f);
  std::strcpy(name, "Crunch");
  EXPECT_EQ(plugin.Dispatch(effSetProgramName, 0, 0, name), 0);
  EXPECT_STREQ(plugin.fx->GetProgramName(0), "Crunch");
  EXPECT_EQ(plugin.fx->ProgramAt(0)->values.Size(), 48);
  double stored = 0.0;
  plugin.fx->ProgramAt(0)->values.ReadDouble(0, &stored);
  EXPECT_EQ(stored, 0.75);

  plugin.record->setParameter(plugin.record, 0, 0.25f);
  name[0] = '\0';
  EXPECT_EQ(plugin.Dispatch(effSetProgramName, 0, 0, name), 0);  // an empty name keeps the old one
  EXPECT_STREQ(plugin.fx->GetProgramName(0), "Crunch");
  plugin.fx->ProgramAt(0)->values.ReadDouble(0, &stored);
  EXPECT_EQ(stored, 0.25);
  EXPECT_EQ(plugin.Dispatch(effSetProgramName, 0, 0, nullptr), 0);

  const struct {
    VstInt32 index;
    VstIntPtr result;
    const char* expected;
  } indexed[] = {{0, 1, "Crunch"}, {1, 1, "Init"}, {2, 1, "- 3 -"}, {4, 0, ""}, {-1, 0, ""}};
  for (const auto& c : indexed) {
    std::strcpy(name, "junk");
    EXPECT_EQ(plugin.Dispatch(effGetProgramNameIndexed, c.index, 12345, name), c.result) << c.index;
    EXPECT_STREQ(name, c.expected) << c.index;
  }
}

TEST_F(DispatcherTest, SpeakerArrangements) {
  VstSpeakerArrangement* inputs = nullptr;
  VstSpeakerArrangement* outputs = nullptr;
  EXPECT_EQ(plugin.Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&inputs), &outputs), 1);
  ASSERT_NE(inputs, nullptr);
  ASSERT_NE(outputs, nullptr);
  EXPECT_EQ(inputs->numChannels, 2);
  EXPECT_EQ(outputs->numChannels, 2);
  EXPECT_EQ(inputs->type, 0);

  const struct {
    VstInt32 inputChannels, outputChannels;
    bool in0, in1, out0, out1;
  } cases[] = {
      {1, 1, true, false, true, false}, {2, 0, true, true, false, false}, {5, 2, true, true, true, true},
      {-1, 1, false, false, true, false}, {0, 2, false, false, true, true},
  };
  for (const auto& c : cases) {
    VstSpeakerArrangement in{}, out{};
    in.numChannels = c.inputChannels;
    out.numChannels = c.outputChannels;
    EXPECT_EQ(plugin.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 1);
    EXPECT_EQ(plugin.fx->IsInputConnected(0), c.in0);
    EXPECT_EQ(plugin.fx->IsInputConnected(1), c.in1);
    EXPECT_EQ(plugin.fx->IsOutputConnected(0), c.out0);
    EXPECT_EQ(plugin.fx->IsOutputConnected(1), c.out1);
    EXPECT_EQ(inputs->numChannels, 2);  // the plug-in's own arrangements stay as they are
    EXPECT_EQ(outputs->numChannels, 2);
  }
  // Only one side given: the other keeps its connections.
  VstSpeakerArrangement mono{}, stereo{};
  mono.numChannels = 1;
  stereo.numChannels = 2;
  EXPECT_EQ(plugin.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&mono), &mono), 1);
  EXPECT_EQ(plugin.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&stereo), nullptr), 1);
  EXPECT_TRUE(plugin.fx->IsInputConnected(1));
  EXPECT_FALSE(plugin.fx->IsOutputConnected(1));
}

TEST_F(DispatcherTest, MidiKeyNameIsClearedWhenThereIsNone) {
  MidiKeyName key{};
  key.thisKeyNumber = 60;
  std::strcpy(key.keyName, "stale");
  EXPECT_EQ(plugin.Dispatch(effGetMidiKeyName, 0, 0, &key), 0);
  EXPECT_EQ(key.keyName[0], '\0');
}

// A host list of three events: wider than the two pointers VstEvents declares.
struct ThreeEvents {
  VstInt32 numEvents;
  VstIntPtr reserved;
  VstEvent* events[3];
};

TEST_F(DispatcherTest, ProcessEventsSendsMidiBackAndForwardsTheRest) {
  VstMidiEvent note{};
  note.type = kVstMidiType;
  note.byteSize = sizeof note;
  note.deltaFrames = 17;
  note.noteLength = 99;  // not carried over: the message holds only offset and bytes
  note.midiData[0] = char(0x90);
  note.midiData[1] = 60;
  note.midiData[2] = 100;
  note.midiData[3] = 55;
  VstEvent sysex{};
  sysex.type = 6;
  sysex.byteSize = sizeof sysex;
  ThreeEvents list{3, 0, {reinterpret_cast<VstEvent*>(&note), nullptr, &sysex}};

  EXPECT_EQ(plugin.Dispatch(effProcessEvents, 0, 0, &list), 1);
  ASSERT_EQ(host.events.size(), 2u);
  const SentEvents& midi = host.events[0];
  EXPECT_EQ(midi.numEvents, 1);
  EXPECT_EQ(midi.reserved, 0);
  EXPECT_EQ(midi.second, nullptr);
  EXPECT_NE(midi.first, reinterpret_cast<VstEvent*>(&note));  // a new event built from the message
  EXPECT_EQ(midi.midi.type, 1);
  EXPECT_EQ(midi.midi.byteSize, 32);
  EXPECT_EQ(midi.midi.deltaFrames, 17);
  EXPECT_EQ(midi.midi.flags, 0);
  EXPECT_EQ(midi.midi.noteLength, 0);
  EXPECT_EQ(midi.midi.noteOffset, 0);
  EXPECT_EQ(std::vector<int>(midi.midi.midiData, midi.midi.midiData + 4), (std::vector<int>{char(0x90), 60, 100, 0}));
  EXPECT_EQ(host.events[1].first, &sysex);  // passed on unchanged
  EXPECT_EQ(host.events[1].numEvents, 1);
  EXPECT_EQ(host.events[1].second, nullptr);

  ThreeEvents empty{0, 0, {nullptr, nullptr, nullptr}};
  EXPECT_EQ(plugin.Dispatch(effProcessEvents, 0, 0, &empty), 1);
  EXPECT_EQ(host.events.size(), 2u);
}

}  // namespace
