// The plug-in file the end-to-end tests load, given on the command line
// (--plugin=PATH), and a fixture that makes instances of it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "test_host.h"

const std::string& PluginPath();
PluginLibrary& LoadedPlugin();

class PluginTest : public ::testing::Test {
 protected:
  // A new instance, not yet opened.
  std::unique_ptr<PluginInstance> Create() { return std::make_unique<PluginInstance>(host_, LoadedPlugin().Entry()); }
  // A new instance opened and started at the given rate and block size.
  std::unique_ptr<PluginInstance> Started(double sampleRate = 44100.0, std::int32_t blockSize = 512) {
    auto plugin = Create();
    plugin->Start(sampleRate, blockSize);
    return plugin;
  }

  TestHost host_;
};
