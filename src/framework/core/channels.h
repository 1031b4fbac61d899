// Channel configurations and the per-channel records that bind host buffers
// to the double-precision pointer arrays the effect processes.
#pragma once

#include <cstdint>

#include "heap_buffer.h"

struct IChannelConfig {
  std::int32_t inputs;
  std::int32_t outputs;
};

struct IInputChannel {
  bool connected = false;
  double** slot = nullptr;
  HeapBuffer scratch{4096};
  double* Scratch() const { return static_cast<double*>(scratch.Data()); }
};

struct IOutputChannel {
  bool connected = false;
  double** slot = nullptr;
  float* hostFloatDestination = nullptr;
  HeapBuffer scratch{4096};
  double* Scratch() const { return static_cast<double*>(scratch.Data()); }
};
