#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vst_fixtures.h"

namespace {

enum class Path { Replacing, Accumulating, Double };

const char* Name(Path path) {
  switch (path) {
    case Path::Replacing: return "processReplacing";
    case Path::Accumulating: return "process";
    default: return "processDoubleReplacing";
  }
}

// Host-side buffers for two channels in each direction, in both precisions.
struct HostBuffers {
  explicit HostBuffers(int frames, float outputFill = 0.0f)
      : in{std::vector<float>(frames), std::vector<float>(frames)},
        out{std::vector<float>(frames, outputFill), std::vector<float>(frames, outputFill)},
        din{std::vector<double>(frames), std::vector<double>(frames)},
        dout{std::vector<double>(frames, outputFill), std::vector<double>(frames, outputFill)} {
    for (int s = 0; s < frames; ++s) {
      in[0][s] = float(s) / 256.0f;
      in[1][s] = -float(s) / 512.0f;
      din[0][s] = in[0][s];
      din[1][s] = in[1][s];
    }
    for (int c = 0; c < 2; ++c) {
      inputs[c] = in[c].data();
      outputs[c] = out[c].data();
      dinputs[c] = din[c].data();
      doutputs[c] = dout[c].data();
    }
  }

  void Run(AEffect* record, Path path, int frames) {
    switch (path) {
      case Path::Replacing: record->processReplacing(record, inputs, outputs, frames); break;
      case Path::Accumulating: record->process(record, inputs, outputs, frames); break;
      case Path::Double: record->processDoubleReplacing(record, dinputs, doutputs, frames); break;
    }
  }

  // What a channel's host output holds, as double.
  std::vector<double> Output(Path path, int c) const {
    return path == Path::Double ? dout[c] : std::vector<double>(out[c].begin(), out[c].end());
  }

  std::vector<float> in[2], out[2];
  std::vector<double> din[2], dout[2];
  float* inputs[2];
  float* outputs[2];
  double* dinputs[2];
  double* doutputs[2];
};

constexpr Path kPaths[] = {Path::Replacing, Path::Accumulating, Path::Double};

class AudioTest : public ::testing::Test {
 protected:
  AudioTest() {
    // out = 2 in + c / 2: exact in single precision for the ramps above
    plugin.fx->processor = [this](double** in, double** out, std::int32_t n) {
      seen.push_back({in[0], in[1], out[0], out[1]});
      for (int c = 0; c < 2; ++c) {
        for (int s = 0; s < n; ++s) out[c][s] = 2.0 * in[c][s] + 0.5 * c;
      }
    };
  }

  FakeHost host;
  Plugin plugin;
  std::vector<std::vector<double*>> seen;  // the pointers of every ProcessBlock call
};

TEST_F(AudioTest, ReplacingOverwritesAccumulatingAdds) {
  for (Path path : kPaths) {
    SCOPED_TRACE(Name(path));
    HostBuffers io(32, 1.0f);
    io.Run(plugin.record, path, 32);
    for (int c = 0; c < 2; ++c) {
      for (int s = 0; s < 32; ++s) {
        const double processed = 2.0 * io.din[c][s] + 0.5 * c;
        const double expected = path == Path::Accumulating ? double(1.0f + float(processed)) : processed;
        ASSERT_EQ(io.Output(path, c)[s], expected) << "channel " << c << " frame " << s;
      }
    }
  }
}

TEST_F(AudioTest, DoublePathHandsTheHostsMemoryToTheEffect) {
  HostBuffers io(16);
  io.Run(plugin.record, Path::Double, 16);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], (std::vector<double*>{io.dinputs[0], io.dinputs[1], io.doutputs[0], io.doutputs[1]}));
}

TEST_F(AudioTest, SilenceThroughTheAccumulatingPathLeavesTheHostBuffer) {
  plugin.fx->processor = nullptr;  // the core's own pass-through
  HostBuffers io(16);
  for (auto& channel : io.in) std::fill(channel.begin(), channel.end(), 0.0f);
  io.out[0] = std::vector<float>{0.1f, -0.2f, 0.3f, 1e-20f, 5.0f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1.0f};
  io.outputs[0] = io.out[0].data();
  const std::vector<float> before = io.out[0];
  io.Run(plugin.record, Path::Accumulating, 16);
  EXPECT_EQ(io.out[0], before);
}

TEST_F(AudioTest, LongBlocksAreProcessedInPiecesOfTheBlockSize) {
  ASSERT_EQ(plugin.Dispatch(effSetBlockSize, 0, 64), 0);
  const struct {
    int frames;
    std::vector<std::int32_t> pieces;
  } cases[] = {{200, {64, 64, 64, 8}}, {128, {64, 64}}, {64, {64}}, {65, {64, 1}}, {1, {1}}, {0, {0}}};
  for (Path path : kPaths) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(Name(path)) + ", " + std::to_string(c.frames) + " frames");
      plugin.fx->blocks.clear();
      seen.clear();
      HostBuffers io(c.frames + 1, 9.0f);  // one frame more than sent: it must stay untouched
      io.Run(plugin.record, path, c.frames);
      EXPECT_EQ(plugin.fx->blocks, c.pieces);
      for (int ch = 0; ch < 2; ++ch) {
        const std::vector<double> out = io.Output(path, ch);
        for (int s = 0; s < c.frames; ++s) {
          const double processed = 2.0 * io.din[ch][s] + 0.5 * ch;
          const double expected = path == Path::Accumulating ? double(9.0f + float(processed)) : processed;
          ASSERT_EQ(out[s], expected) << "channel " << ch << " frame " << s;
        }
        EXPECT_EQ(out[c.frames], 9.0) << "channel " << ch << ": frame after the block";
      }
      if (path == Path::Double && c.frames == 200) {
        for (std::size_t k = 0; k < seen.size(); ++k) {
          EXPECT_EQ(seen[k][0], io.dinputs[0] + 64 * k);
          EXPECT_EQ(seen[k][3], io.doutputs[1] + 64 * k);
        }
      }
    }
  }
}

TEST_F(AudioTest, DisconnectedInputTakesNoHostPointer) {
  plugin.fx->ConnectInputs(0, 1, false);
  for (Path path : kPaths) {
    SCOPED_TRACE(Name(path));
    HostBuffers io(16);
    // the host's first (and only) buffer carries the ramp of channel 1
    float* inputs[] = {io.in[1].data()};
    double* dinputs[] = {io.din[1].data()};
    switch (path) {
      case Path::Replacing: plugin.record->processReplacing(plugin.record, inputs, io.outputs, 16); break;
      case Path::Accumulating: plugin.record->process(plugin.record, inputs, io.outputs, 16); break;
      case Path::Double: plugin.record->processDoubleReplacing(plugin.record, dinputs, io.doutputs, 16); break;
    }
    const std::vector<double> out0 = io.Output(path, 0);
    const std::vector<double> out1 = io.Output(path, 1);
    for (int s = 0; s < 16; ++s) {
      ASSERT_EQ(out0[s], 0.0) << s;  // channel 0 reads silence
      ASSERT_EQ(out1[s], 2.0 * io.din[1][s] + 0.5) << s;
    }
    if (path == Path::Double) {
      EXPECT_EQ(seen.back()[1], io.din[1].data());
    }
  }
}

TEST_F(AudioTest, DisconnectedOutputWritesNothing) {
  VstSpeakerArrangement stereoIn{}, monoOut{};
  stereoIn.numChannels = 2;
  monoOut.numChannels = 1;
  ASSERT_EQ(plugin.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&stereoIn), &monoOut), 1);
  for (Path path : kPaths) {
    SCOPED_TRACE(Name(path));
    HostBuffers io(16, -7.0f);
    io.Run(plugin.record, path, 16);
    const std::vector<double> out0 = io.Output(path, 0);
    const std::vector<double> out1 = io.Output(path, 1);
    for (int s = 0; s < 16; ++s) {
      const double processed = 2.0 * io.din[0][s];
      ASSERT_EQ(out0[s], path == Path::Accumulating ? double(-7.0f + float(processed)) : processed) << s;
      ASSERT_EQ(out1[s], -7.0) << s;
    }
  }
}

TEST_F(AudioTest, MonoEffectUsesOneBufferEachWay) {
  Plugin mono({.channels = "1-1"});
  float in[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  float out[8] = {};
  float* inputs[] = {in};
  float* outputs[] = {out};
  mono.record->processReplacing(mono.record, inputs, outputs, 8);
  EXPECT_EQ(std::vector<float>(out, out + 8), std::vector<float>(in, in + 8));
  double din[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  double dout[8] = {};
  double* dinputs[] = {din};
  double* doutputs[] = {dout};
  mono.record->processDoubleReplacing(mono.record, dinputs, doutputs, 8);
  EXPECT_EQ(std::vector<double>(dout, dout + 8), std::vector<double>(din, din + 8));
}

}  // namespace
