#include "plug_mutex.h"

#include <windows.h>

static_assert(sizeof(CRITICAL_SECTION) <= 40, "critical section storage too small");

static CRITICAL_SECTION* Section(unsigned char* storage) { return reinterpret_cast<CRITICAL_SECTION*>(storage); }

PlugMutex::PlugMutex() { InitializeCriticalSection(Section(section_)); }
PlugMutex::~PlugMutex() { DeleteCriticalSection(Section(section_)); }
void PlugMutex::Lock() { EnterCriticalSection(Section(section_)); }
void PlugMutex::Unlock() { LeaveCriticalSection(Section(section_)); }
