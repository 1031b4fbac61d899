#include <windows.h>

#include "plugin_library.h"

PluginLibrary::~PluginLibrary() {
  if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
}

bool PluginLibrary::Load(const std::string& path) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (!module) {
    error_ = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  handle_ = module;
  entry_ = reinterpret_cast<PluginEntry>(reinterpret_cast<void*>(GetProcAddress(module, "VSTPluginMain")));
  mainEntry_ = reinterpret_cast<PluginEntry>(reinterpret_cast<void*>(GetProcAddress(module, "main")));
  if (!entry_) error_ = "no VSTPluginMain in " + path;
  return entry_ != nullptr;
}
