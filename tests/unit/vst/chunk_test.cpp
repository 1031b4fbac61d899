#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "state_bytes.h"
#include "vst_fixtures.h"

namespace {

using Log = std::vector<std::string>;

const Log kAllParams = {"param 0", "param 1", "param 2", "param 3", "param 4", "param 5"};
const Bytes kMarker = {0x74, 0x66, 0x66, 0x70};
const Bytes kVersion1 = {0x00, 0x00, 0x01, 0x00};    // 0x10000
const Bytes kVersion2 = {0x00, 0x00, 0x02, 0x00};    // 0x20000
const Bytes kVersionOld = {0xFF, 0xFF, 0x00, 0x00};  // 0xFFFF
const Bytes kInitValues = Join({kHalf, kHalf, kHalf, kHalf, kHalf, kOne});

Bytes ValueBytes(const std::vector<double>& values) {
  StateChunk chunk;
  for (double v : values) chunk.AppendDouble(v);
  return ChunkBytes(chunk);
}

Bytes GetChunk(Plugin& plugin, VstInt32 index, void** data = nullptr) {
  void* local = nullptr;
  void** where = data ? data : &local;
  const VstIntPtr size = plugin.Dispatch(effGetChunk, index, 0, where);
  if (size <= 0 || !*where) return {};
  const auto* bytes = static_cast<const std::uint8_t*>(*where);
  return Bytes(bytes, bytes + size);
}

class ChunkTest : public ::testing::Test {
 protected:
  FakeHost host;
};

TEST_F(ChunkTest, GetChunkWritesMarkerVersionAndLittleEndianValues) {
  Plugin plugin;
  const Bytes expected = Join({kMarker, kVersion1, kInitValues});
  ASSERT_EQ(expected.size(), 56u);
  EXPECT_EQ(GetChunk(plugin, 1), expected);
  EXPECT_EQ(GetChunk(plugin, 0), expected);  // a bank holds the same

  plugin.record->setParameter(plugin.record, 0, 0.25f);
  plugin.record->setParameter(plugin.record, 5, 0.0f);
  const Bytes current = Join({kQuarter, kHalf, kHalf, kHalf, kHalf, kZero});
  EXPECT_EQ(GetChunk(plugin, 1), Join({kMarker, kVersion1, current}));
  EXPECT_EQ(plugin.fx->ProgramBytes(0), kInitValues);  // a program chunk leaves the slot alone
  EXPECT_EQ(GetChunk(plugin, 0), Join({kMarker, kVersion1, current}));
  EXPECT_EQ(plugin.fx->ProgramBytes(0), current);  // a bank chunk saves the current program first
}

TEST_F(ChunkTest, SetChunkLoadsClampsAndStoresIntoTheCurrentProgram) {
  const Bytes values = Join({kQuarter, kSevenHalf, kHalf, kMinusOne, kNaN, kOne});
  const std::vector<double> loaded = {0.25, 1.0, 0.5, 0.0, 0.0, 1.0};
  const Bytes bare = Join({kQuarter, kThreeQuarters, kQuarter, kThreeQuarters, kQuarter, kZero});
  const std::vector<double> bareLoaded = {0.25, 0.75, 0.25, 0.75, 0.25, 0.0};
  const std::vector<double> untouched = {0.5, 0.5, 0.5, 0.5, 0.25, 0.0};
  const struct {
    const char* name;
    VstInt32 index;
    Bytes data;
    VstIntPtr result;
    std::vector<double> expected;
    bool storedInProgram;
  } cases[] = {
      {"program chunk", 1, Join({kMarker, kVersion1, values}), 1, loaded, true},
      {"bank chunk of this version", 0, Join({kMarker, kVersion1, values}), 1, loaded, false},
      {"bank chunk of a later version", 0, Join({kMarker, kVersion2, values}), 1, loaded, false},
      {"bank chunk of an older version", 0, Join({kMarker, kVersionOld, values}), 1, loaded, true},
      {"program chunk of a later version", 1, Join({kMarker, kVersion2, values}), 1, loaded, true},
      {"bare values as a bank", 0, bare, 1, bareLoaded, true},
      {"bare values as a program", 1, bare, 1, bareLoaded, true},
      {"trailing bytes are ignored", 1, Join({kMarker, kVersion1, bare, {0x01, 0x02}}), 1, bareLoaded, true},
      {"three values", 1, Join({kMarker, kVersion1, kQuarter, kThreeQuarters, kQuarter}), 0,
       {0.25, 0.75, 0.25, 0.0, 0.25, 0.0}, true},
      {"three values in a bank", 0, Join({kMarker, kVersion1, kQuarter, kThreeQuarters, kQuarter}), 0,
       {0.25, 0.75, 0.25, 0.0, 0.25, 0.0}, false},
      {"header only", 1, Join({kMarker, kVersion1}), 0, {0.0, 0.5, 0.5, 0.5, 0.25, 0.0}, true},
      {"marker and two bytes", 1, Join({kMarker, {0x00, 0x00}}), 0, untouched, true},
      {"marker alone", 0, kMarker, 0, untouched, true},
      {"marker and three bytes", 1, Join({kMarker, {0x00, 0x00, 0x01}}), 0, untouched, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Plugin plugin;
    plugin.record->setParameter(plugin.record, 4, 0.25f);
    plugin.record->setParameter(plugin.record, 5, 0.0f);
    plugin.fx->log.clear();
    Bytes data = c.data;
    EXPECT_EQ(plugin.Dispatch(effSetChunk, c.index, VstIntPtr(data.size()), data.data()), c.result);
    EXPECT_EQ(plugin.fx->Values(), c.expected);
    EXPECT_EQ(plugin.fx->log, kAllParams);  // every change handler, loaded or not
    EXPECT_EQ(plugin.fx->ProgramBytes(0), c.storedInProgram ? ValueBytes(c.expected) : kInitValues);
    EXPECT_EQ(plugin.Dispatch(effGetProgram), 0);
  }
}

TEST_F(ChunkTest, SizeThePluginCannotHoldLeavesEverythingAsItWas) {
  Plugin plugin;
  plugin.record->setParameter(plugin.record, 1, 0.75f);
  void* handed = nullptr;
  const Bytes before = GetChunk(plugin, 1, &handed);
  ASSERT_EQ(before.size(), 56u);
  plugin.fx->log.clear();
  Bytes data = Join({kMarker, kVersion1, kInitValues});
  for (VstInt32 index : {0, 1}) {
    for (VstIntPtr size : {VstIntPtr(-1), VstIntPtr(-56), VstIntPtr((16 << 20) + 1), VstIntPtr(INT32_MAX),
                           VstIntPtr(1) << 40}) {
      EXPECT_EQ(plugin.Dispatch(effSetChunk, index, size, data.data()), 0) << size;
    }
  }
  EXPECT_TRUE(plugin.fx->log.empty());
  EXPECT_EQ(plugin.fx->ParamAt(1)->Value(), 0.75);
  EXPECT_EQ(plugin.fx->ProgramBytes(0), kInitValues);
  // the chunk handed out before is still there, unchanged
  const auto* bytes = static_cast<const std::uint8_t*>(handed);
  EXPECT_EQ(Bytes(bytes, bytes + 56), before);
}

TEST_F(ChunkTest, RoundTripRestoresTheValuesAndShowsThemInTheEditor) {
  for (VstInt32 index : {0, 1}) {
    SCOPED_TRACE(index);
    Plugin plugin;
    auto* editor = new FakeEditor(225, 333);
    plugin.fx->AttachEditor(editor);
    plugin.record->setParameter(plugin.record, 2, 0.125f);
    plugin.record->setParameter(plugin.record, 5, 0.0f);
    const std::vector<double> saved = plugin.fx->Values();
    void* data = nullptr;
    const VstIntPtr size = plugin.Dispatch(effGetChunk, index, 0, &data);
    ASSERT_EQ(size, 56);

    plugin.record->setParameter(plugin.record, 2, 0.875f);
    plugin.record->setParameter(plugin.record, 5, 1.0f);
    editor->shown.clear();
    // the host hands back the plug-in's own memory
    EXPECT_EQ(plugin.Dispatch(effSetChunk, index, size, data), 1);
    EXPECT_EQ(plugin.fx->Values(), saved);
    ASSERT_EQ(editor->shown.size(), 6u);
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(editor->shown[i].param, i);
      EXPECT_EQ(editor->shown[i].value, saved[i]);
      EXPECT_FALSE(editor->shown[i].isNormalized);
    }

    editor->shown.clear();
    Bytes tooShort = Join({kMarker, {0x00, 0x00}});
    EXPECT_EQ(plugin.Dispatch(effSetChunk, index, VstIntPtr(tooShort.size()), tooShort.data()), 0);
    EXPECT_TRUE(editor->shown.empty());  // no refresh after a failed load
  }
}

TEST_F(ChunkTest, ChunkFromOneInstanceLoadsIntoAnother) {
  Plugin source;
  source.record->setParameter(source.record, 0, 0.25f);
  source.record->setParameter(source.record, 3, 0.75f);
  void* data = nullptr;
  const VstIntPtr size = source.Dispatch(effGetChunk, 1, 0, &data);
  Plugin target;
  EXPECT_EQ(target.Dispatch(effSetChunk, 1, size, data), 1);
  EXPECT_EQ(target.fx->Values(), source.fx->Values());
}

}  // namespace
