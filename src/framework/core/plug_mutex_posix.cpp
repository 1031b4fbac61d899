#include "plug_mutex.h"

PlugMutex::PlugMutex() = default;
PlugMutex::~PlugMutex() = default;
void PlugMutex::Lock() { mutex_.lock(); }
void PlugMutex::Unlock() { mutex_.unlock(); }
