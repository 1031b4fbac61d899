// One program: a name and a saved set of parameter values.
#pragma once

#include "state_chunk.h"

struct IProgramSlot {
  bool initialised = false;
  char name[256] = {};
  StateChunk values;
};
