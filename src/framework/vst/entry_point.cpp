// The exported entry point: one call, one new instance.
#include "effect_vst.h"
#include "plugin_factory.h"

#if defined(_WIN32)
#define OSTRABEL_EXPORT
#else
#define OSTRABEL_EXPORT __attribute__((visibility("default")))
#endif

namespace {

PlugMutex& CreationLock() {
  static PlugMutex lock;  // created on first use, released at process exit
  return lock;
}

}  // namespace

extern "C" OSTRABEL_EXPORT AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback hostCallback) {
  PlugLock lock(CreationLock());
  IEffectVST* instance = nullptr;
  try {
    instance = CreateEffectInstance(hostCallback);
  } catch (...) {
    return nullptr;  // nothing thrown reaches the host; the constructors released what they built
  }
  if (!instance) return nullptr;
  instance->EnsureOneProgram();
  AEffect* effect = instance->Effect();
  if (effect->numPrograms < 1) effect->numPrograms = 1;
  return effect;
}

#if !defined(_WIN32)
// Hosts on Linux look for "main" too; it is the same routine.
extern "C" OSTRABEL_EXPORT AEffect* VSTPluginMainAlias(audioMasterCallback hostCallback) __asm__("main")
    __attribute__((alias("VSTPluginMain")));
#endif
