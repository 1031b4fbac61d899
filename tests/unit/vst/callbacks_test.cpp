#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "vst_fixtures.h"

namespace {

using Log = std::vector<std::string>;

class CallbacksTest : public ::testing::Test {
 protected:
  FakeHost host;
  Plugin plugin;
};

TEST_F(CallbacksTest, GetParameterIsNormalisedAndZeroOutOfRange) {
  plugin.fx->ParamAt(1)->SetFromNormalized(0.25);
  const struct {
    VstInt32 index;
    float expected;
  } cases[] = {{0, 0.5f}, {1, 0.25f}, {5, 1.0f}, {-1, 0.0f}, {6, 0.0f}, {INT32_MAX, 0.0f}, {INT32_MIN, 0.0f}};
  for (const auto& c : cases) EXPECT_EQ(plugin.record->getParameter(plugin.record, c.index), c.expected) << c.index;
}

TEST_F(CallbacksTest, SetParameterSnapsClampsAndIgnoresNaN) {
  const float inf = std::numeric_limits<float>::infinity();
  const struct {
    VstInt32 index;
    float value;
    double expected;  // the parameter's value afterwards
    bool handled;
  } cases[] = {
      {5, 0.7f, 1.0, true},   {5, 0.49f, 0.0, true}, {5, 0.5f, 1.0, true},
      {0, 0.25f, 0.25, true}, {0, 1.5f, 1.0, true},  {0, -0.5f, 0.0, true},
      {0, inf, 1.0, true},    {0, -inf, 0.0, true},  {0, std::nanf(""), 0.5, false},
      {-1, 0.5f, 0.5, false}, {6, 0.5f, 0.5, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.index) + " <- " + std::to_string(c.value));
    Plugin fresh;
    fresh.record->setParameter(fresh.record, c.index, c.value);
    if (c.index >= 0 && c.index < 6) {
      EXPECT_EQ(fresh.fx->ParamAt(c.index)->Value(), c.expected);
    } else {
      EXPECT_EQ(fresh.fx->Values(), (std::vector<double>{0.5, 0.5, 0.5, 0.5, 0.5, 1.0}));
    }
    EXPECT_EQ(fresh.fx->log, c.handled ? Log{"param " + std::to_string(c.index)} : Log{});
  }
  EXPECT_TRUE(host.calls.empty());  // a change from the host is not announced back to it
}

TEST_F(CallbacksTest, SetParameterShowsTheHostsValueBeforeSnapping) {
  auto* editor = new FakeEditor(225, 333);
  plugin.fx->AttachEditor(editor);
  editor->shown.clear();
  plugin.record->setParameter(plugin.record, 5, 0.7f);
  EXPECT_EQ(plugin.fx->ParamAt(5)->Value(), 1.0);
  ASSERT_EQ(editor->shown.size(), 1u);
  EXPECT_EQ(editor->shown[0].param, 5);
  EXPECT_EQ(editor->shown[0].value, double(0.7f));
  EXPECT_TRUE(editor->shown[0].isNormalized);
  EXPECT_EQ(plugin.fx->log, Log{"param 5"});
  EXPECT_EQ(host.Count(audioMasterAutomate), 0u);

  plugin.record->setParameter(plugin.record, 0, std::nanf(""));
  EXPECT_EQ(editor->shown.size(), 1u);  // nothing shown for a value that is not a number
}

TEST_F(CallbacksTest, EditorGesturesReachTheHost) {
  plugin.fx->BeginParamEdit(3);
  plugin.fx->SetParameterFromGUI(5, 0.7);
  plugin.fx->EndParamEdit(3);
  EXPECT_EQ(host.Opcodes(), (std::vector<VstInt32>{audioMasterBeginEdit, audioMasterAutomate, audioMasterEndEdit}));
  EXPECT_EQ(host.calls[0].index, 3);
  EXPECT_EQ(host.calls[1].index, 5);
  EXPECT_EQ(host.calls[1].opt, 0.7f);  // the control's value, not the snapped one
  EXPECT_EQ(host.calls[1].value, 0);
  EXPECT_EQ(host.calls[1].ptr, nullptr);
  EXPECT_EQ(host.calls[2].index, 3);
  for (const HostCall& call : host.calls) EXPECT_EQ(call.effect, plugin.record);
  EXPECT_EQ(plugin.fx->ParamAt(5)->Value(), 1.0);
  EXPECT_EQ(plugin.fx->log, Log{"param 5"});
}

TEST_F(CallbacksTest, HostIsIdentifiedOnceFromProductAndVendorVersion) {
  const struct {
    const char* product;
    VstIntPtr vendorVersion;
    HostKind kind;
    std::int32_t packed;
    std::vector<VstInt32> asked;
  } cases[] = {
      {"Cubase VST", 40512, HostCubase, 0x4050C,
       {audioMasterGetProductString, audioMasterGetVendorVersion}},
      {"REAPER", 60000, HostReaper, 0x60000, {audioMasterGetProductString, audioMasterGetVendorVersion}},
      {"Ableton Live", 90103, HostLive, 0x90103, {audioMasterGetProductString, audioMasterGetVendorVersion}},
      {"Some Host", 0, HostUnrecognised, 0, {audioMasterGetProductString, audioMasterGetVendorVersion}},
      {"", 40512, HostUnrecognised, 0, {audioMasterGetProductString}},  // vendor version never asked
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.product);
    host.calls.clear();
    host.productBufferOnEntry.clear();
    host.product = c.product;
    host.vendorVersion = c.vendorVersion;
    Plugin fresh;
    EXPECT_EQ(fresh.fx->IdentifyHost(), c.kind);
    EXPECT_EQ(fresh.fx->Host(), c.kind);
    EXPECT_EQ(fresh.fx->HostVersion(), c.packed);
    EXPECT_EQ(host.Opcodes(), c.asked);
    EXPECT_EQ(host.productBufferOnEntry, std::vector<char>{'\0'});
    EXPECT_EQ(fresh.fx->IdentifyHost(), c.kind);  // a second time asks nothing
    EXPECT_EQ(host.Opcodes(), c.asked);
  }
}

TEST_F(CallbacksTest, QuirkyHostsGetOnlyTwoInputs) {
  const struct {
    const char* product;
    const char* channels;
    std::vector<bool> inputs, outputs;
  } cases[] = {
      {"Adobe Audition", "4-4", {true, true, false, false}, {true, true, true, true}},
      {"Forte", "4-4", {true, true, false, false}, {true, true, true, true}},
      {"Orion", "4-4", {true, true, false, false}, {true, true, true, true}},
      {"SAWStudio", "4-4", {true, true, false, false}, {true, true, true, true}},
      {"REAPER", "4-4", {true, true, true, true}, {true, true, false, false}},
      {"Adobe Audition", "1-1 2-2", {true, true}, {false, false}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.product) + " " + c.channels);
    host.product = c.product;
    Plugin fresh({.channels = c.channels});
    // outputs beyond the second start disconnected here, to see the quirk connect them
    const std::int32_t n = fresh.fx->NumOutputChannels();
    fresh.fx->ConnectOutputs(n > 2 ? 2 : 0, n, false);
    EXPECT_EQ(fresh.Dispatch(effOpen), 0);
    for (std::size_t i = 0; i < c.inputs.size(); ++i) EXPECT_EQ(fresh.fx->IsInputConnected(i), c.inputs[i]) << i;
    for (std::size_t i = 0; i < c.outputs.size(); ++i) EXPECT_EQ(fresh.fx->IsOutputConnected(i), c.outputs[i]) << i;
    EXPECT_EQ(fresh.record->numInputs, fresh.fx->NumInputChannels());
    EXPECT_EQ(fresh.record->numOutputs, fresh.fx->NumOutputChannels());
    VstSpeakerArrangement* in = nullptr;
    VstSpeakerArrangement* out = nullptr;
    fresh.Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out);
    EXPECT_EQ(in->numChannels, fresh.fx->NumInputChannels());
    EXPECT_EQ(out->numChannels, fresh.fx->NumOutputChannels());
  }
}

TEST_F(CallbacksTest, QuirksAreAppliedOnce) {
  host.product = "Adobe Audition";
  Plugin quad({.channels = "4-4"});
  quad.Dispatch(effOpen);
  EXPECT_FALSE(quad.fx->IsInputConnected(2));
  quad.fx->ConnectInputs(2, 2, true);
  quad.Dispatch(effOpen);
  quad.fx->ApplyHostQuirks();
  EXPECT_TRUE(quad.fx->IsInputConnected(2));
  EXPECT_TRUE(quad.fx->IsInputConnected(3));
  EXPECT_EQ(host.Count(audioMasterGetProductString), 1u);
}

TEST_F(CallbacksTest, TimeQueries) {
  struct Case {
    const char* name;
    bool giveTime;
    double samplePos, tempo;
    VstInt32 flags, numerator, denominator;
    std::int32_t position;
    double expectedTempo;
    std::int32_t expectedNumerator, expectedDenominator;
  };
  const Case cases[] = {
      {"all valid", true, 1234.9, 120.5, kVstTempoValid | kVstTimeSigValid, 7, 8, 1234, 120.5, 7, 8},
      {"no validity flags", true, 1234.9, 120.5, 0, 7, 8, 1234, 0.0, 0, 0},
      {"tempo only", true, 0.0, 90.0, kVstTempoValid, 3, 4, 0, 90.0, 0, 0},
      {"negative values", true, -1.0, -120.0, kVstTempoValid | kVstTimeSigValid, -3, 4, 0, 0.0, 0, 0},
      {"negative denominator", true, 5.0, 60.0, kVstTempoValid | kVstTimeSigValid, 3, -4, 5, 60.0, 0, 0},
      {"position beyond int", true, 3e9, 60.0, kVstTempoValid, 3, 4, 0, 60.0, 0, 0},
      {"no record", false, 1234.9, 120.5, kVstTempoValid | kVstTimeSigValid, 7, 8, 0, 0.0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.calls.clear();
    host.giveTime = c.giveTime;
    host.time = VstTimeInfo{};
    host.time.samplePos = c.samplePos;
    host.time.tempo = c.tempo;
    host.time.flags = c.flags;
    host.time.timeSigNumerator = c.numerator;
    host.time.timeSigDenominator = c.denominator;
    EXPECT_EQ(plugin.fx->GetSamplePosition(), c.position);
    EXPECT_EQ(plugin.fx->QueryTempo(), c.expectedTempo);
    std::int32_t numerator = 99, denominator = 99;
    plugin.fx->QueryTimeSignature(&numerator, &denominator);
    EXPECT_EQ(numerator, c.expectedNumerator);
    EXPECT_EQ(denominator, c.expectedDenominator);
    ASSERT_EQ(host.calls.size(), 3u);
    for (const HostCall& call : host.calls) EXPECT_EQ(call.opcode, audioMasterGetTime);
    EXPECT_EQ(host.calls[0].value, 0);  // the flags each query asks for
    EXPECT_EQ(host.calls[1].value, kVstTempoValid);
    EXPECT_EQ(host.calls[2].value, kVstTimeSigValid);
  }
}

TEST_F(CallbacksTest, MidiMessagesAreSentEvenAfterARefusal) {
  const IMidiMessage messages[] = {{0, 0x90, 60, 100}, {5, 0x80, 60, 0}, {-3, 0xB0, 7, 127}};
  const struct {
    std::vector<VstIntPtr> answers;
    bool expected;
  } cases[] = {{{1, 0, 1}, false}, {{1, 1, 1}, true}, {{1, 2, 1}, false}, {{0, 1, 1}, false}, {{1, 1, -1}, false}};
  for (const auto& c : cases) {
    host.events.clear();
    host.eventAnswers = c.answers;
    EXPECT_EQ(plugin.fx->SendMidiMessages(messages, 3), c.expected);
    ASSERT_EQ(host.events.size(), 3u);
    for (int i = 0; i < 3; ++i) {
      const VstMidiEvent& e = host.events[i].midi;
      EXPECT_EQ(host.events[i].numEvents, 1);
      EXPECT_EQ(host.events[i].second, nullptr);
      EXPECT_EQ(e.type, kVstMidiType);
      EXPECT_EQ(e.byteSize, 32);
      EXPECT_EQ(e.deltaFrames, messages[i].frameOffset);
      EXPECT_EQ(std::uint8_t(e.midiData[0]), messages[i].status);
      EXPECT_EQ(std::uint8_t(e.midiData[1]), messages[i].data1);
      EXPECT_EQ(std::uint8_t(e.midiData[2]), messages[i].data2);
      EXPECT_EQ(e.midiData[3], 0);
      EXPECT_EQ(e.detune, 0);
      EXPECT_EQ(e.noteOffVelocity, 0);
    }
  }
  host.events.clear();
  EXPECT_TRUE(plugin.fx->SendMidiMessages(messages, 0));
  EXPECT_TRUE(host.events.empty());
}

TEST_F(CallbacksTest, WithoutAHostCallbackNothingCrashes) {
  Plugin lonely({.doesMidi = true}, nullptr);
  EXPECT_EQ(lonely.Dispatch(effOpen), 0);
  EXPECT_EQ(lonely.fx->Host(), HostUnrecognised);
  EXPECT_EQ(lonely.fx->QueryTempo(), 0.0);
  EXPECT_EQ(lonely.fx->GetSamplePosition(), 0);
  std::int32_t numerator = 9, denominator = 9;
  lonely.fx->QueryTimeSignature(&numerator, &denominator);
  EXPECT_EQ(numerator, 0);
  EXPECT_EQ(denominator, 0);
  const IMidiMessage note{0, 0x90, 60, 100};
  EXPECT_FALSE(lonely.fx->SendMidiMessage(note));
  EXPECT_FALSE(lonely.fx->SendMidiMessages(&note, 1));
  lonely.fx->BeginParamEdit(0);
  lonely.fx->SetParameterFromGUI(0, 0.25);
  lonely.fx->EndParamEdit(0);
  EXPECT_EQ(lonely.fx->ParamAt(0)->Value(), 0.25);

  VstMidiEvent event{};
  event.type = kVstMidiType;
  event.byteSize = sizeof event;
  VstEvents list{1, 0, {reinterpret_cast<VstEvent*>(&event), nullptr}};
  EXPECT_EQ(lonely.Dispatch(effProcessEvents, 0, 0, &list), 1);

  float in[4] = {0.5f, 0.5f, 0.5f, 0.5f};
  float out[4] = {};
  float* inputs[] = {in, in};
  float* outputs[] = {out, out};
  lonely.record->processReplacing(lonely.record, inputs, outputs, 4);
  EXPECT_EQ(out[3], 0.5f);
  EXPECT_TRUE(host.calls.empty());
}

TEST_F(CallbacksTest, MidiEffectsAskForMidiWithEveryBlock) {
  Plugin midi({.doesMidi = true});
  float in[8] = {}, out[8] = {};
  float* inputs[] = {in, in};
  float* outputs[] = {out, out};
  double din[8] = {}, dout[8] = {};
  double* dinputs[] = {din, din};
  double* doutputs[] = {dout, dout};
  for (Plugin* p : {&plugin, &midi}) {
    p->record->processReplacing(p->record, inputs, outputs, 8);
    p->record->process(p->record, inputs, outputs, 8);
    p->record->processDoubleReplacing(p->record, dinputs, doutputs, 8);
  }
  ASSERT_EQ(host.calls.size(), 3u);  // all from the MIDI effect
  for (const HostCall& call : host.calls) {
    EXPECT_EQ(call.effect, midi.record);
    EXPECT_EQ(call.opcode, audioMasterWantMidi);
    EXPECT_EQ(call.index, 0);
    EXPECT_EQ(call.value, 0);
    EXPECT_EQ(call.ptr, nullptr);
    EXPECT_EQ(call.opt, 0.0f);
  }
}

}  // namespace
