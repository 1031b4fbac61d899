#include <dlfcn.h>

#include "plugin_library.h"

PluginLibrary::~PluginLibrary() {
  if (handle_) dlclose(handle_);
}

bool PluginLibrary::Load(const std::string& path) {
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* message = dlerror();
    error_ = message ? message : "cannot load " + path;
    return false;
  }
  entry_ = reinterpret_cast<PluginEntry>(dlsym(handle_, "VSTPluginMain"));
  mainEntry_ = reinterpret_cast<PluginEntry>(dlsym(handle_, "main"));
  if (!entry_) error_ = "no VSTPluginMain in " + path;
  return entry_ != nullptr;
}
