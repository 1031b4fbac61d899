// The audio path allocates nothing and takes no lock but the instance lock,
// whichever callback the host uses and however it sizes its blocks.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "audio_path_counters.h"
#include "test_host.h"

namespace {

std::string gPluginPath;

struct PathCase {
  const char* name;
  int path;  // 0 double, 1 float replacing, 2 float accumulating
  float effect;
  int framesPerCall;
};

TEST(AudioPath, NoAllocationAndOnlyTheInstanceLock) {
  PluginLibrary library;
  ASSERT_TRUE(library.Load(gPluginPath)) << library.Error();
  const PathCase cases[] = {
      {"double, on", 0, 1.0f, 256}, {"float, on", 1, 1.0f, 256},       {"accumulating, on", 2, 1.0f, 256},
      {"double, off", 0, 0.0f, 256}, {"float, longer than announced", 1, 1.0f, 1000},
  };
  for (const PathCase& c : cases) {
    TestHost host;
    host.recording = false;
    PluginInstance plugin(host, library.Entry());
    plugin.Start(48000.0, 256);
    plugin.SetParameter(5, c.effect);
    std::vector<double> din(c.framesPerCall, 0.25), dout0(c.framesPerCall), dout1(c.framesPerCall);
    std::vector<float> fin(c.framesPerCall, 0.25f), fout0(c.framesPerCall), fout1(c.framesPerCall);
    double* dins[2] = {din.data(), din.data()};
    double* douts[2] = {dout0.data(), dout1.data()};
    float* fins[2] = {fin.data(), fin.data()};
    float* fouts[2] = {fout0.data(), fout1.data()};
    constexpr int kCalls = 20;
    StartCounting();
    for (int i = 0; i < kCalls; ++i) {
      if (c.path == 0) plugin.ProcessDouble(dins, douts, c.framesPerCall);
      if (c.path == 1) plugin.ProcessReplacing(fins, fouts, c.framesPerCall);
      if (c.path == 2) plugin.ProcessAccumulating(fins, fouts, c.framesPerCall);
    }
    StopCounting();
    EXPECT_EQ(CountedAllocations(), 0) << c.name;
    EXPECT_EQ(CountedLocks(), kCalls) << c.name << ": one instance lock per callback";
  }
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--plugin=", 9) == 0) gPluginPath = argv[i] + 9;
  }
  return RUN_ALL_TESTS();
}
