#include "module_handle.h"

// Resources are embedded and found by type and id; no handle is needed.
void* ModuleHandle() { return nullptr; }
