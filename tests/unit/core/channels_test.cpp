#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "core_effect.h"

namespace {

TEST(ChannelsTest, ConfigurationsAndLegalIO) {
  const struct {
    const char* channels;
    std::int32_t inputs, outputs;
    std::vector<std::pair<std::int32_t, std::int32_t>> legal, illegal;
  } cases[] = {
      {"1-1 2-2", 2, 2, {{1, -1}, {2, 2}, {-1, -1}, {2, -1}, {-1, 1}, {1, 1}}, {{1, 2}, {3, -1}, {0, 0}, {-1, 3}}},
      {"2-2", 2, 2, {{2, 2}, {-1, 2}}, {{1, -1}, {1, 1}}},
      {"1-1", 1, 1, {{1, -1}, {1, 1}}, {{2, 2}}},
      {"1-2 2-4", 2, 4, {{1, 2}, {2, 4}, {-1, 4}}, {{1, 4}, {2, 2}}},
      {"1-1  2-2", 2, 2, {{2, 2}}, {{1, 2}}},  // a second space is skipped like any white space
      {nullptr, 0, 0, {}, {{-1, -1}, {0, 0}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.channels ? c.channels : "(none)");
    CoreEffect fx(0, c.channels, 1);
    EXPECT_EQ(fx.NumInputChannels(), c.inputs);
    EXPECT_EQ(fx.NumOutputChannels(), c.outputs);
    for (auto [in, out] : c.legal) EXPECT_TRUE(fx.LegalIO(in, out)) << in << "-" << out;
    for (auto [in, out] : c.illegal) EXPECT_FALSE(fx.LegalIO(in, out)) << in << "-" << out;
  }
}

// A "1-1 2-2" core with all channels connected and room for eight frames; the
// effect records the pointers and the first samples it was given.
class ChannelsFixture : public ::testing::Test {
 protected:
  ChannelsFixture() {
    effect.ConnectInputs(0, 2, true);
    effect.ConnectOutputs(0, 2, true);
    effect.ChangeBlockSize(8);
    effect.processor = [this](double** in, double** out, std::int32_t n) {
      seenInputs.assign(in, in + 2);
      seenOutputs.assign(out, out + 2);
      firstSamples.clear();
      for (int c = 0; c < 2; ++c) {
        for (int s = 0; s < 4; ++s) firstSamples.push_back(in[c] ? in[c][s] : -99.0);
      }
      for (int c = 0; c < 2; ++c) {
        if (!out[c]) continue;  // a connected output the test never bound
        for (int s = 0; s < n; ++s) out[c][s] = outputValue(c, s, in[c] ? in[c][s] : 0.0);
      }
    };
  }

  std::function<double(int, int, double)> outputValue = [](int, int, double in) { return in; };
  CoreEffect effect{0, "1-1 2-2", 1};
  std::vector<double*> seenInputs, seenOutputs;
  std::vector<double> firstSamples;
};

TEST_F(ChannelsFixture, DisconnectedInputTakesNoHostPointer) {
  double a[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  double b[8] = {};
  double* inputs[] = {a};
  double* outputs[] = {b, b};
  effect.ConnectInputs(0, 1, false);
  EXPECT_FALSE(effect.IsInputConnected(0));
  EXPECT_TRUE(effect.IsInputConnected(1));
  effect.BindInputBuffers(0, 2, inputs, 0);
  effect.BindOutputBuffers(0, 2, outputs, 0, 8);
  effect.RunBlock(8);
  EXPECT_EQ(seenInputs[1], a);  // host pointer 0 goes to the first connected channel
  ASSERT_NE(seenInputs[0], nullptr);
  EXPECT_NE(seenInputs[0], a);
  EXPECT_EQ(firstSamples, (std::vector<double>{0, 0, 0, 0, 1, 2, 3, 4}));  // channel 0 reads its own zeros
}

TEST_F(ChannelsFixture, DoubleBuffersArePassedThroughAtTheOffset) {
  double a[12] = {}, b[12] = {}, x[12] = {}, y[12] = {};
  double* inputs[] = {a, b};
  double* outputs[] = {x, y};
  effect.BindInputBuffers(0, 2, inputs, 3);
  effect.BindOutputBuffers(0, 2, outputs, 3, 8);
  effect.RunBlock(8);
  EXPECT_EQ(seenInputs, (std::vector<double*>{a + 3, b + 3}));
  EXPECT_EQ(seenOutputs, (std::vector<double*>{x + 3, y + 3}));
}

TEST_F(ChannelsFixture, ConnectClipsTheChannelRange) {
  const struct {
    std::int32_t first, count;
    bool input0, input1;
  } cases[] = {{1, 100, true, false}, {-3, 4, false, true}, {0, 0, true, true}, {2, 5, true, true},
               {INT32_MAX, INT32_MAX, true, true}};
  for (const auto& c : cases) {
    effect.ConnectInputs(0, 2, true);
    effect.ConnectInputs(c.first, c.count, false);
    EXPECT_EQ(effect.IsInputConnected(0), c.input0) << c.first << "+" << c.count;
    EXPECT_EQ(effect.IsInputConnected(1), c.input1) << c.first << "+" << c.count;
  }
  EXPECT_FALSE(effect.IsInputConnected(2));
  EXPECT_FALSE(effect.IsOutputConnected(-1));
}

TEST_F(ChannelsFixture, BlockSizeChangeKeepsOrClearsScratch) {
  float a[8] = {0.5f, 0.25f, 0.125f, 0.1f, 0, 0, 0, 0};
  float* inputs[] = {a, a};
  effect.BindInputBuffers(0, 2, inputs, 0, 8);  // converted into channel 0's scratch
  effect.ConnectInputs(0, 1, false);           // which the channel now reads as it is
  const std::vector<double> kept = {0.5, 0.25, 0.125, double(0.1f), -99, -99, -99, -99};

  const struct {
    std::int32_t size;
    std::int32_t expectedBlockSize;
    bool zeroed;
  } cases[] = {
      {8, 8, false},        // same size: untouched
      {0, 8, false},        // not a size: kept
      {-1, 8, false},
      {262145, 8, false},   // beyond the largest block: kept
      {16, 16, true},       // new size: all zeros
  };
  for (const auto& c : cases) {
    effect.ChangeBlockSize(c.size);
    EXPECT_EQ(effect.BlockSize(), c.expectedBlockSize) << c.size;
    effect.ConnectInputs(1, 1, false);
    effect.RunBlock(4);
    std::vector<double> channel0(firstSamples.begin(), firstSamples.begin() + 4);
    if (c.zeroed) {
      EXPECT_EQ(channel0, (std::vector<double>{0, 0, 0, 0})) << c.size;
    } else {
      EXPECT_EQ(channel0, std::vector<double>(kept.begin(), kept.begin() + 4)) << c.size;
    }
  }
}

TEST_F(ChannelsFixture, FloatOutputsSkipDisconnectedChannels) {
  const float sentinel = -7.0f;
  outputValue = [](int c, int s, double) { return 10.0 * (c + 1) + s; };
  for (int disconnected : {0, 1}) {
    SCOPED_TRACE(disconnected);
    float in[8] = {};
    float x[8], y[8];
    std::fill(x, x + 8, sentinel);
    std::fill(y, y + 8, sentinel);
    float* inputs[] = {in, in};
    float* outputs[] = {x, y};
    effect.ConnectOutputs(0, 2, true);
    effect.ConnectOutputs(disconnected, 1, false);
    effect.BindInputBuffers(0, 2, inputs, 0, 4);
    effect.BindOutputBuffers(0, 2, outputs, 0);
    effect.RunBlockFloat(4);
    const float expected = disconnected == 0 ? 20.0f : 10.0f;  // host buffer 0 goes to the connected channel
    EXPECT_EQ(std::vector<float>(x, x + 5), (std::vector<float>{expected, expected + 1, expected + 2, expected + 3,
                                                               sentinel}));
    EXPECT_EQ(std::vector<float>(y, y + 8), std::vector<float>(8, sentinel));
  }
}

TEST_F(ChannelsFixture, FloatPathConvertsExactlyAndRoundsOnce) {
  float in[4] = {0.1f, -0.3f, 1e-30f, 3.0f};
  float x[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  float y[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  float* inputs[] = {in, in};
  float* outputs[] = {x, y};
  outputValue = [](int, int, double v) { return v + 0.1; };
  effect.BindInputBuffers(0, 2, inputs, 0, 4);
  effect.BindOutputBuffers(0, 2, outputs, 0);
  effect.RunBlockFloat(4);
  for (int s = 0; s < 4; ++s) {
    EXPECT_EQ(firstSamples[s], double(in[s]));  // widening is exact
    EXPECT_EQ(x[s], float(double(in[s]) + 0.1));
    EXPECT_EQ(y[s], float(double(in[s]) + 0.1));  // replaced, not added
  }
}

TEST_F(ChannelsFixture, AccumulatingPathAddsToTheHostBuffers) {
  float in[4] = {0.5f, -0.25f, 0.0f, 0.125f};
  float silence[4] = {};
  float x[4] = {0.25f, 0.25f, 0.25f, 0.25f};
  float y[4] = {1.0f, -1.0f, 3.0f, 0.0f};
  float* inputs[] = {in, silence};
  float* outputs[] = {x, y};
  effect.BindInputBuffers(0, 2, inputs, 0, 4);
  effect.BindOutputBuffers(0, 2, outputs, 0);
  effect.RunBlockAccumulating(4);
  EXPECT_EQ(std::vector<float>(x, x + 4), (std::vector<float>{0.75f, 0.0f, 0.25f, 0.375f}));
  EXPECT_EQ(std::vector<float>(y, y + 4), (std::vector<float>{1.0f, -1.0f, 3.0f, 0.0f}));  // silence adds nothing
}

TEST(ChannelsTest, DefaultProcessBlockCopiesAndSilencesExtraOutputs) {
  CoreEffect fx(0, "1-2", 1);
  fx.ConnectInputs(0, 1, true);
  fx.ConnectOutputs(0, 2, true);
  fx.ChangeBlockSize(4);
  double in[4] = {1, -2, 3, -4};
  double x[4] = {9, 9, 9, 9}, y[4] = {9, 9, 9, 9};
  double* inputs[] = {in};
  double* outputs[] = {x, y};
  fx.BindInputBuffers(0, 1, inputs, 0);
  fx.BindOutputBuffers(0, 2, outputs, 0, 4);
  fx.RunBlock(4);
  EXPECT_EQ(std::vector<double>(x, x + 4), (std::vector<double>{1, -2, 3, -4}));
  EXPECT_EQ(std::vector<double>(y, y + 4), (std::vector<double>{0, 0, 0, 0}));

  fx.RunBlock(0);  // still called, writes nothing
  EXPECT_EQ(fx.blocks, (std::vector<std::int32_t>{4, 0}));
}

}  // namespace
