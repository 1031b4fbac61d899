// Loads a plug-in file and finds its VST entry point.
#pragma once

#include <string>

#include "vst/vst_abi.h"

using PluginEntry = AEffect*(VSTCALLBACK*)(audioMasterCallback);

class PluginLibrary {
 public:
  PluginLibrary() = default;
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // False with a message in Error() when the file cannot be loaded or has no entry point.
  bool Load(const std::string& path);
  PluginEntry Entry() const { return entry_; }
  // The entry point exported under the name "main", if any.
  PluginEntry MainEntry() const { return mainEntry_; }
  const std::string& Error() const { return error_; }

 private:
  void* handle_ = nullptr;
  PluginEntry entry_ = nullptr;
  PluginEntry mainEntry_ = nullptr;
  std::string error_;
};
