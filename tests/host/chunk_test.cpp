// State as the host stores it: the chunk's bytes, and loading good and bad data.
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "plugin_under_test.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes LittleEndian(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, 8);
  Bytes bytes;
  for (int i = 0; i < 8; ++i) bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
  return bytes;
}

Bytes Chunk(const std::vector<double>& values, bool withHeader = true, std::uint32_t version = 0x10000) {
  Bytes bytes;
  if (withHeader) {
    bytes = {0x74, 0x66, 0x66, 0x70};
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(version >> (8 * i)));
  }
  for (double v : values) {
    const Bytes b = LittleEndian(v);
    bytes.insert(bytes.end(), b.begin(), b.end());
  }
  return bytes;
}

using ChunkTest = PluginTest;

TEST_F(ChunkTest, DefaultStateIsFiftySixBytesWrittenOut) {
  auto plugin = Started();
  const Bytes expected = {
      0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00,  // marker "tffp", version 0x10000
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE0, 0x3F,  // Level 0.5
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE0, 0x3F,  // Drive 0.5
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE0, 0x3F,  // Low 0.5
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE0, 0x3F,  // Mid 0.5
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE0, 0x3F,  // High 0.5
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F,  // Effect 1
  };
  EXPECT_EQ(plugin->GetChunk(true), expected);
  EXPECT_EQ(plugin->GetChunk(false), expected);
  void* data = nullptr;
  EXPECT_EQ(plugin->Dispatch(effGetChunk, 1, 0, nullptr), 0);
  EXPECT_EQ(plugin->Dispatch(effGetChunk, 1, 0, &data), 56);
}

TEST_F(ChunkTest, RoundTripRestoresEveryValue) {
  auto source = Started();
  const float values[] = {0.125f, 0.9f, 0.0f, 1.0f, 0.333f, 0.0f};
  for (int i = 0; i < 6; ++i) source->SetParameter(i, values[i]);
  const Bytes saved = source->GetChunk(false);
  auto target = Started();
  EXPECT_EQ(target->SetChunk(saved, false), 1);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(target->GetParameter(i), source->GetParameter(i)) << i;
  EXPECT_EQ(target->GetChunk(false), saved);
}

TEST_F(ChunkTest, LoadingClampsAndRejectsWhatIsNotANumber) {
  auto plugin = Started();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(plugin->SetChunk(Chunk({7.5, -2.0, nan, inf, -inf, 0.0}), false), 1);
  EXPECT_EQ(plugin->GetParameter(0), 1.0f);  // clamped to the maximum
  EXPECT_EQ(plugin->GetParameter(1), 0.0f);  // clamped to the minimum
  EXPECT_EQ(plugin->GetParameter(2), 0.0f);  // not a number: the minimum
  EXPECT_EQ(plugin->GetParameter(3), 0.0f);  // infinite: the minimum
  EXPECT_EQ(plugin->GetParameter(4), 0.0f);
  EXPECT_EQ(plugin->ParamDisplay(5), "Off");
}

TEST_F(ChunkTest, ShortDataSetsWhatIsThereAndFails) {
  auto plugin = Started();
  plugin->SetParameter(4, 0.8f);
  plugin->SetParameter(5, 0.0f);
  EXPECT_EQ(plugin->SetChunk(Chunk({0.1, 0.2, 0.3}), false), 0);
  EXPECT_FLOAT_EQ(plugin->GetParameter(0), 0.1f);
  EXPECT_FLOAT_EQ(plugin->GetParameter(1), 0.2f);
  EXPECT_FLOAT_EQ(plugin->GetParameter(2), 0.3f);
  EXPECT_EQ(plugin->GetParameter(3), 0.0f);   // first missing value: 0 clamped to its range
  EXPECT_FLOAT_EQ(plugin->GetParameter(4), 0.8f);  // the rest keep theirs
  EXPECT_EQ(plugin->GetParameter(5), 0.0f);
}

TEST_F(ChunkTest, HeaderVariants) {
  struct Case {
    const char* what;
    Bytes data;
    VstIntPtr result;
    float level;  // parameter 0 afterwards (it starts at 0.25)
  };
  const Bytes sixBytes = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00};
  const Case cases[] = {
      {"full chunk", Chunk({0.75, 0.5, 0.5, 0.5, 0.5, 1.0}), 1, 0.75f},
      {"bare values without marker", Chunk({0.75, 0.5, 0.5, 0.5, 0.5, 1.0}, false), 1, 0.75f},
      {"marker and two bytes", sixBytes, 0, 0.25f},
      {"longer data, extra ignored", Chunk({0.75, 0.5, 0.5, 0.5, 0.5, 1.0, 9.0, 9.0}), 1, 0.75f},
  };
  for (const Case& c : cases) {
    auto plugin = Started();
    plugin->SetParameter(0, 0.25f);
    EXPECT_EQ(plugin->SetChunk(c.data, false), c.result) << c.what;
    EXPECT_FLOAT_EQ(plugin->GetParameter(0), c.level) << c.what;
  }
}

TEST_F(ChunkTest, DataThePluginCannotHoldLeavesTheStateUntouched) {
  auto plugin = Started();
  plugin->SetParameter(0, 0.25f);
  const Bytes before = plugin->GetChunk(false);
  Bytes data = Chunk({0.75, 0.5, 0.5, 0.5, 0.5, 1.0});
  EXPECT_EQ(plugin->Dispatch(effSetChunk, 1, -1, data.data()), 0);
  EXPECT_EQ(plugin->Dispatch(effSetChunk, 1, VstIntPtr(1) << 30, data.data()), 0);
  EXPECT_EQ(plugin->Dispatch(effSetChunk, 1, 56, nullptr), 0);
  EXPECT_EQ(plugin->GetChunk(false), before);
}

TEST_F(ChunkTest, LoadedValuesBecomeTheCurrentProgram) {
  auto plugin = Started();
  plugin->Dispatch(effSetProgram, 0, 2);
  EXPECT_EQ(plugin->SetChunk(Chunk({0.75, 0.5, 0.5, 0.5, 0.5, 1.0}), false), 1);
  plugin->Dispatch(effSetProgram, 0, 1);
  EXPECT_FLOAT_EQ(plugin->GetParameter(0), 0.5f);
  plugin->Dispatch(effSetProgram, 0, 2);
  EXPECT_FLOAT_EQ(plugin->GetParameter(0), 0.75f);
}

}  // namespace
