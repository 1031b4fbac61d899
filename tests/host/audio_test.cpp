// The three audio callbacks: what they write into the host's buffers.
#include <vector>

#include "plugin_under_test.h"

namespace {

class AudioTest : public PluginTest {
 protected:
  static constexpr int kFrames = 300;

  void SetUp() override {
    for (int i = 0; i < kFrames; ++i) {
      // Values with more precision than a float holds show whether the double path is copied through floats.
      left_[i] = 0.1 + 1e-12 * i;
      right_[i] = -0.05 * (i % 7) + 1e-13;
    }
  }

  double left_[kFrames];
  double right_[kFrames];
};

TEST_F(AudioTest, BypassedReplacingOverwritesWithTheSumOfTheInputs) {
  auto plugin = Started(48000.0, 512);
  plugin->SetParameter(5, 0.0f);
  std::vector<float> in0(kFrames), in1(kFrames), out0(kFrames, 9.0f), out1(kFrames, 9.0f);
  for (int i = 0; i < kFrames; ++i) {
    in0[i] = static_cast<float>(left_[i]);
    in1[i] = static_cast<float>(right_[i]);
  }
  float* in[2] = {in0.data(), in1.data()};
  float* out[2] = {out0.data(), out1.data()};
  plugin->ProcessReplacing(in, out, kFrames);
  for (int i = 0; i < kFrames; ++i) {
    const float expected = static_cast<float>(double(in1[i]) + double(in0[i]));
    ASSERT_EQ(out0[i], expected) << i;
    ASSERT_EQ(out1[i], expected) << i;
  }
}

TEST_F(AudioTest, BypassedAccumulatingAddsToWhatTheHostHolds) {
  auto plugin = Started(48000.0, 512);
  plugin->SetParameter(5, 0.0f);
  std::vector<float> in0(kFrames), in1(kFrames), out0(kFrames), out1(kFrames);
  for (int i = 0; i < kFrames; ++i) {
    in0[i] = static_cast<float>(left_[i]);
    in1[i] = static_cast<float>(right_[i]);
    out0[i] = 0.5f;
    out1[i] = -0.25f;
  }
  float* in[2] = {in0.data(), in1.data()};
  float* out[2] = {out0.data(), out1.data()};
  plugin->ProcessAccumulating(in, out, kFrames);
  for (int i = 0; i < kFrames; ++i) {
    const float sum = static_cast<float>(double(in1[i]) + double(in0[i]));
    ASSERT_EQ(out0[i], 0.5f + sum) << i;
    ASSERT_EQ(out1[i], -0.25f + sum) << i;
  }
}

TEST_F(AudioTest, BypassedDoubleReplacingKeepsFullPrecision) {
  auto plugin = Started(48000.0, 512);
  plugin->SetParameter(5, 0.0f);
  std::vector<double> out0(kFrames, 9.0), out1(kFrames, 9.0);
  double* in[2] = {left_, right_};
  double* out[2] = {out0.data(), out1.data()};
  plugin->ProcessDouble(in, out, kFrames);
  for (int i = 0; i < kFrames; ++i) {
    ASSERT_EQ(out0[i], right_[i] + left_[i]) << i;
    ASSERT_EQ(out1[i], right_[i] + left_[i]) << i;
  }
}

TEST_F(AudioTest, InPlaceProcessingReadsEachInputBeforeWritingIt) {
  auto plugin = Started(48000.0, 512);
  plugin->SetParameter(5, 0.0f);
  std::vector<double> a(left_, left_ + kFrames), b(right_, right_ + kFrames);
  double* io[2] = {a.data(), b.data()};
  plugin->ProcessDouble(io, io, kFrames);
  for (int i = 0; i < kFrames; ++i) ASSERT_EQ(a[i], right_[i] + left_[i]) << i;
}

TEST_F(AudioTest, BlocksLongerThanAnnouncedAreProcessedWhole) {
  // The host announces 64 frames and then sends 300 in one call.
  for (int path = 0; path < 2; ++path) {
    auto plugin = Started(48000.0, 64);
    plugin->SetParameter(5, 0.0f);
    std::vector<double> out0(kFrames, 9.0), out1(kFrames, 9.0);
    std::vector<float> fin0(kFrames), fin1(kFrames), fout0(kFrames, 9.0f), fout1(kFrames, 9.0f);
    for (int i = 0; i < kFrames; ++i) {
      fin0[i] = static_cast<float>(left_[i]);
      fin1[i] = static_cast<float>(right_[i]);
    }
    if (path == 0) {
      double* in[2] = {left_, right_};
      double* out[2] = {out0.data(), out1.data()};
      plugin->ProcessDouble(in, out, kFrames);
      for (int i = 0; i < kFrames; ++i) ASSERT_EQ(out1[i], right_[i] + left_[i]) << i;
    } else {
      float* in[2] = {fin0.data(), fin1.data()};
      float* out[2] = {fout0.data(), fout1.data()};
      plugin->ProcessReplacing(in, out, kFrames);
      for (int i = 0; i < kFrames; ++i) {
        ASSERT_EQ(fout1[i], static_cast<float>(double(fin1[i]) + double(fin0[i]))) << i;
      }
    }
  }
}

TEST_F(AudioTest, JunkBlockSizesKeepTheLastGoodOne) {
  auto plugin = Started(48000.0, 32);
  plugin->Dispatch(effSetBlockSize, 0, 0);
  plugin->Dispatch(effSetBlockSize, 0, -5);
  plugin->SetParameter(5, 0.0f);
  std::vector<double> out0(kFrames), out1(kFrames);
  double* in[2] = {left_, right_};
  double* out[2] = {out0.data(), out1.data()};
  plugin->ProcessDouble(in, out, kFrames);
  for (int i = 0; i < kFrames; ++i) ASSERT_EQ(out0[i], right_[i] + left_[i]) << i;
  plugin->ProcessDouble(in, out, 0);
  plugin->ProcessDouble(in, out, -1);
}

TEST_F(AudioTest, AudioCallbacksNeverCallTheHost) {
  auto plugin = Started(48000.0, 128);
  host_.calls.clear();
  std::vector<double> out0(kFrames), out1(kFrames);
  double* in[2] = {left_, right_};
  double* out[2] = {out0.data(), out1.data()};
  plugin->ProcessDouble(in, out, 128);
  EXPECT_TRUE(host_.calls.empty());
}

}  // namespace
