#include <windows.h>

#include "module_handle.h"

namespace {
HINSTANCE gModule = nullptr;
}

void* ModuleHandle() { return gModule; }

// Runs after the C runtime's own start-up: only the handle is kept.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/) {
  gModule = instance;
  return TRUE;
}
