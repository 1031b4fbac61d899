#include <gtest/gtest.h>

#include "vst_fixtures.h"

namespace {

class RecordTest : public ::testing::Test {
 protected:
  FakeHost host;
};

TEST_F(RecordTest, FieldsFollowTheConstructorArguments) {
  const struct {
    const char* name;
    TestOptions options;
    VstInt32 flags, inputs, outputs, version, delay;
  } cases[] = {
      {"mono and stereo", {}, 0x1018, 2, 2, 20300, 0},
      {"stereo only: not mono", {.channels = "2-2"}, 0x1010, 2, 2, 20300, 0},
      {"mono only", {.channels = "1-1"}, 0x1018, 1, 1, 20300, 0},
      {"wider outputs", {.channels = "1-2 2-4"}, 0x1018, 2, 4, 20300, 0},
      {"program chunks", {.doesChunks = true}, 0x1038, 2, 2, 20300, 0},
      {"instrument", {.isInstrument = true}, 0x1118, 2, 2, 20300, 0},
      {"version and latency", {.version = 0x10203, .latency = 64}, 0x1018, 2, 2, 10203, 64},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Plugin plugin(c.options);
    const AEffect& e = *plugin.record;
    EXPECT_EQ(e.magic, 0x56737450);
    EXPECT_EQ(e.flags, c.flags);
    EXPECT_EQ(e.numInputs, c.inputs);
    EXPECT_EQ(e.numOutputs, c.outputs);
    EXPECT_EQ(e.version, c.version);
    EXPECT_EQ(e.initialDelay, c.delay);
    EXPECT_EQ(e.numParams, 6);
    EXPECT_EQ(e.numPrograms, 4);
    EXPECT_EQ(e.uniqueID, 0x74737431);
    EXPECT_EQ(e.ioRatio, 1.0f);
    EXPECT_EQ(e.object, static_cast<void*>(static_cast<IEffectVST*>(plugin.fx)));
    EXPECT_EQ(e.user, nullptr);
    EXPECT_EQ(e.resvd1, 0);
    EXPECT_EQ(e.resvd2, 0);
    EXPECT_EQ(e.realQualities, 0);
    EXPECT_EQ(e.offQualities, 0);
    for (char byte : e.future) ASSERT_EQ(byte, 0);
    EXPECT_NE(e.dispatcher, nullptr);
    EXPECT_NE(e.process, nullptr);
    EXPECT_NE(e.processReplacing, nullptr);
    EXPECT_NE(e.processDoubleReplacing, nullptr);
    EXPECT_NE(e.getParameter, nullptr);
    EXPECT_NE(e.setParameter, nullptr);
    // Every channel starts connected, with room for 1024 frames.
    EXPECT_EQ(plugin.fx->BlockSize(), 1024);
    for (VstInt32 i = 0; i < c.inputs; ++i) EXPECT_TRUE(plugin.fx->IsInputConnected(i)) << i;
    for (VstInt32 i = 0; i < c.outputs; ++i) EXPECT_TRUE(plugin.fx->IsOutputConnected(i)) << i;
  }
  EXPECT_TRUE(host.calls.empty());  // construction never calls the host
}

TEST_F(RecordTest, AttachingAnEditorSetsTheFlagAndTheRectangle) {
  Plugin plugin;
  ERect* rect = nullptr;
  EXPECT_EQ(plugin.Dispatch(effEditGetRect, 0, 0, &rect), 0);
  EXPECT_EQ(rect, nullptr);

  auto* editor = new FakeEditor(225, 333);
  plugin.fx->AttachEditor(editor);
  plugin.fx->AttachEditor(nullptr);  // nothing happens
  EXPECT_EQ(plugin.record->flags, 0x1019);
  EXPECT_EQ(plugin.Dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 333);
  EXPECT_EQ(rect->right, 225);
  EXPECT_EQ(plugin.Dispatch(effEditGetRect), 0);  // without a pointer
  EXPECT_EQ(plugin.fx->Editor(), editor);
}

TEST_F(RecordTest, ChangeLatencyRewritesTheRecord) {
  Plugin plugin;
  plugin.fx->ChangeLatency(128);
  EXPECT_EQ(plugin.record->initialDelay, 128);
  EXPECT_EQ(plugin.fx->Latency(), 128);
  EXPECT_TRUE(host.calls.empty());  // the host is not told
}

TEST_F(RecordTest, CloseDestroysTheInstanceAndItsEditor) {
  bool destroyed = false;
  Plugin plugin;
  plugin.fx->AttachEditor(new FakeEditor(10, 10, &destroyed));
  EXPECT_EQ(plugin.Dispatch(effClose), 0);
  plugin.record = nullptr;
  EXPECT_TRUE(destroyed);
}

}  // namespace
