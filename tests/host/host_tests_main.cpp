#include <cstring>
#include <iostream>

#include "plugin_under_test.h"

namespace {
std::string gPluginPath;
}

const std::string& PluginPath() { return gPluginPath; }

PluginLibrary& LoadedPlugin() {
  static PluginLibrary library;
  static bool loaded = library.Load(gPluginPath);
  if (!loaded) {
    std::cerr << "cannot load the plug-in: " << library.Error() << "\n";
    std::abort();
  }
  return library;
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--plugin=", 9) == 0) gPluginPath = argv[i] + 9;
  }
  if (gPluginPath.empty()) {
    std::cerr << "usage: host_tests --plugin=PATH [gtest options]\n";
    return 2;
  }
  return RUN_ALL_TESTS();
}
