// What a host sees of the effect record right after the entry point.
#include "plugin_under_test.h"

namespace {

using RecordTest = PluginTest;

TEST_F(RecordTest, IdentityChannelsAndFlags) {
  auto plugin = Create();
  ASSERT_TRUE(plugin->Valid());
  const AEffect* e = plugin->Effect();
  EXPECT_EQ(e->magic, 0x56737450);  // "VstP"
  EXPECT_EQ(e->uniqueID, 0x6F737431);  // "ost1"
  EXPECT_EQ(e->version, 20300);
  EXPECT_EQ(e->numParams, 6);
  EXPECT_EQ(e->numPrograms, 16);
  EXPECT_EQ(e->numInputs, 2);
  EXPECT_EQ(e->numOutputs, 2);
  EXPECT_EQ(e->flags, 0x1018);
  EXPECT_EQ(e->initialDelay, 0);
  EXPECT_EQ(e->ioRatio, 1.0f);
  EXPECT_EQ(e->user, nullptr);
  EXPECT_NE(e->dispatcher, nullptr);
  EXPECT_NE(e->process, nullptr);
  EXPECT_NE(e->processReplacing, nullptr);
  EXPECT_NE(e->processDoubleReplacing, nullptr);
  for (char c : e->future) EXPECT_EQ(c, 0);
}

TEST_F(RecordTest, EachInstanceHasItsOwnRecordAndObject) {
  auto first = Create();
  auto second = Create();
  ASSERT_TRUE(first->Valid() && second->Valid());
  EXPECT_NE(first->Effect(), second->Effect());
  EXPECT_NE(first->Effect()->object, nullptr);
  EXPECT_NE(first->Effect()->object, second->Effect()->object);
  first->SetParameter(0, 0.25f);
  EXPECT_FLOAT_EQ(second->GetParameter(0), 0.5f);
}

TEST_F(RecordTest, MainIsTheSameEntryPoint) {
  EXPECT_EQ(LoadedPlugin().MainEntry(), LoadedPlugin().Entry());
}

TEST_F(RecordTest, EntryPointDoesNotTalkToTheHost) {
  auto plugin = Create();
  EXPECT_TRUE(host_.calls.empty());
}

TEST_F(RecordTest, NamesAndIdentityTexts) {
  auto plugin = Started();
  EXPECT_EQ(plugin->Text(effGetEffectName), "Ostrabel");
  EXPECT_EQ(plugin->Text(effGetVendorString), "tollerwyn");
  EXPECT_EQ(plugin->Text(effGetProductString), "");
  const char* names[] = {"Level", "Drive", "Low", "Mid", "High", "Effect"};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(plugin->ParamName(i), names[i]);
    EXPECT_EQ(plugin->ParamLabel(i), "");
  }
  EXPECT_EQ(plugin->ParamDisplay(0), "0.500");
  EXPECT_EQ(plugin->ParamDisplay(5), "On");
  for (int i = 0; i < 16; ++i) EXPECT_EQ(plugin->ProgramName(i), "Init") << i;
}

TEST_F(RecordTest, OpenAsksTheHostWhoItIsOnce) {
  auto plugin = Create();
  plugin->Dispatch(effOpen);
  plugin->Dispatch(effOpen);
  EXPECT_EQ(host_.Count(audioMasterGetProductString), 1u);
  EXPECT_EQ(host_.Count(audioMasterGetVendorVersion), 1u);
  for (const HostCall& call : host_.calls) {
    EXPECT_NE(call.opcode, audioMasterVersion);
    EXPECT_NE(call.opcode, audioMasterIOChanged);
  }
}

TEST_F(RecordTest, HostWithoutCallbackGetsAWorkingInstance) {
  AEffect* effect = LoadedPlugin().Entry()(nullptr);
  ASSERT_NE(effect, nullptr);
  effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
  effect->dispatcher(effect, effSetBlockSize, 0, 64, nullptr, 0.0f);
  effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
  effect->setParameter(effect, 5, 0.0f);
  double in0[64] = {}, in1[64] = {}, out0[64], out1[64];
  double* in[2] = {in0, in1};
  double* out[2] = {out0, out1};
  effect->processDoubleReplacing(effect, in, out, 64);
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

}  // namespace
