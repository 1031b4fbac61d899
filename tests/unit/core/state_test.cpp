#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core_effect.h"

namespace {

TEST(StateChunkTest, AppendsLittleEndianWordsAndDoubles) {
  StateChunk chunk;
  EXPECT_TRUE(chunk.AppendInt32(0x70666674));
  EXPECT_TRUE(chunk.AppendInt32(0x10000));
  EXPECT_TRUE(chunk.AppendInt32(-2));
  EXPECT_TRUE(chunk.AppendDouble(0.5));
  EXPECT_TRUE(chunk.AppendDouble(-1.0));
  EXPECT_EQ(ChunkBytes(chunk), Join({{0x74, 0x66, 0x66, 0x70}, {0x00, 0x00, 0x01, 0x00}, {0xFE, 0xFF, 0xFF, 0xFF},
                                     kHalf, kMinusOne}));

  std::int32_t word = 0;
  double value = 0.0;
  EXPECT_TRUE(chunk.ReadInt32(8, &word));
  EXPECT_EQ(word, -2);
  EXPECT_TRUE(chunk.ReadDouble(20, &value));
  EXPECT_EQ(value, -1.0);
  EXPECT_TRUE(chunk.ReadInt32(24, &word));  // the last four bytes
  EXPECT_EQ(word, int32_t(0xBFF00000));
}

TEST(StateChunkTest, ReadsOutsideTheDataFailAndWriteNothing) {
  StateChunk chunk;
  chunk.Assign(Join({kHalf, {0x01, 0x02, 0x03}}).data(), 11);
  ASSERT_EQ(chunk.Size(), 11);
  std::int32_t word = 77;
  double value = 7.0;
  for (std::int32_t offset : {-1, 8, 11, 12, INT32_MAX, INT32_MIN}) {
    EXPECT_FALSE(chunk.ReadInt32(offset, &word)) << offset;
  }
  for (std::int32_t offset : {-8, -1, 4, 11, INT32_MAX - 4, INT32_MIN}) {
    EXPECT_FALSE(chunk.ReadDouble(offset, &value)) << offset;
  }
  EXPECT_EQ(word, 77);
  EXPECT_EQ(value, 7.0);
  EXPECT_TRUE(chunk.ReadInt32(7, &word));
  EXPECT_EQ(word, 0x0302013F);
}

TEST(StateChunkTest, AssignReplacesTheContents) {
  StateChunk chunk;
  chunk.AppendDouble(1.0);
  const Bytes data = Join({kQuarter, kHalf, {0xAB}});
  EXPECT_TRUE(chunk.Assign(data.data(), std::int32_t(data.size())));
  EXPECT_EQ(ChunkBytes(chunk), data);
  EXPECT_FALSE(chunk.Assign(data.data(), -1));
  EXPECT_EQ(ChunkBytes(chunk), data);
  chunk.Clear();
  EXPECT_EQ(chunk.Size(), 0);
}

// Six parameters with ranges that tell clamping, the minimum and plain zero apart.
struct StateEffect : CoreEffect {
  StateEffect() : CoreEffect(6, "1-1 2-2", 1) {
    ParamAt(0)->SetupDouble("Level", 0.5, 0.0, 1.0, 0.001, "");
    ParamAt(1)->SetupDouble("Drive", 0.5, 0.0, 1.0, 0.001, "");
    ParamAt(2)->SetupDouble("Low", 0.5, 0.0, 1.0, 0.001, "");
    ParamAt(3)->SetupDouble("Mid", 0.5, 0.25, 1.0, 0.001, "");
    ParamAt(4)->SetupDouble("High", 12.0, -24.0, 24.0, 0.1, "dB");
    ParamAt(5)->SetupEnum("Effect", 0, 2);
  }
};

class StateTest : public ::testing::Test {
 protected:
  StateEffect effect;
};

TEST_F(StateTest, SerializeWritesEveryValueAsLittleEndianDouble) {
  effect.ParamAt(5)->SetFromNormalized(1.0);
  effect.ParamAt(4)->SetFromNormalized(0.0);
  StateChunk chunk;
  EXPECT_TRUE(effect.SerializeParamValues(chunk));
  const Bytes minus24 = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x38, 0xC0};
  EXPECT_EQ(ChunkBytes(chunk), Join({kHalf, kHalf, kHalf, kHalf, minus24, kOne}));

  CoreEffect none(0, "1-1", 1);
  StateChunk empty;
  EXPECT_TRUE(none.SerializeParamValues(empty));
  EXPECT_EQ(empty.Size(), 0);
}

TEST_F(StateTest, UnserializeClampsFillsAndReportsWhereItStopped) {
  const Bytes header = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
  const struct {
    const char* name;
    Bytes data;
    std::int32_t start;
    std::vector<double> expected;
    std::int32_t end;
  } cases[] = {
      {"every value, clamped, not snapped, NaN to the minimum",
       Join({kQuarter, kSevenHalf, kHalf, kMinusOne, kNaN, kThreeQuarters}), 0,
       {0.25, 1.0, 0.5, 0.25, -24.0, 0.75}, 48},
      {"infinity falls to the minimum too", Join({kInfinity, kHalf, kHalf, kHalf, kHalf, kOne}), 0,
       {0.0, 0.5, 0.5, 0.5, 0.5, 1.0}, 48},
      {"values after a header", Join({header, kOne, kOne, kOne, kOne, kOne, kOne}), 8,
       {1.0, 1.0, 1.0, 1.0, 1.0, 1.0}, 56},
      {"extra bytes are ignored", Join({kZero, kZero, kZero, kZero, kZero, kZero, kOne, {0x55}}), 0,
       {0.0, 0.0, 0.0, 0.25, 0.0, 0.0}, 48},
      {"three values: the fourth gets 0 clamped, the rest keep theirs", Join({kQuarter, kThreeQuarters, kQuarter}),
       0, {0.25, 0.75, 0.25, 0.25, 12.0, 0.0}, -1},
      {"a partial value counts as missing", Join({kQuarter, {0x00, 0x00, 0x00, 0x00}}), 0,
       {0.25, 0.0, 0.5, 0.5, 12.0, 0.0}, -1},
      {"nothing at all", {}, 0, {0.0, 0.5, 0.5, 0.5, 12.0, 0.0}, -1},
      {"a negative start reads nothing", Join({kOne, kOne, kOne, kOne, kOne, kOne}), -1,
       {0.5, 0.5, 0.5, 0.5, 12.0, 0.0}, -1},
      {"and returns the start itself", Join({kOne, kOne, kOne, kOne, kOne, kOne}), -5,
       {0.5, 0.5, 0.5, 0.5, 12.0, 0.0}, -5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StateEffect fx;
    StateChunk chunk;
    chunk.Assign(c.data.data(), std::int32_t(c.data.size()));
    EXPECT_EQ(fx.UnserializeParams(chunk, c.start), c.end);
    EXPECT_EQ(fx.Values(), c.expected);
    EXPECT_EQ(fx.changes, (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5}));  // every handler, whatever happened
  }
}

}  // namespace
