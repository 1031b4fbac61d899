// The instance lock: recursive, one per plug-in instance. A critical section
// in the Windows builds, a std::recursive_mutex elsewhere.
#pragma once

#ifdef _WIN32
#include <cstdint>
#else
#include <mutex>
#endif

class PlugMutex {
 public:
  PlugMutex();
  ~PlugMutex();
  PlugMutex(const PlugMutex&) = delete;
  PlugMutex& operator=(const PlugMutex&) = delete;

  void Lock();
  void Unlock();

 private:
#ifdef _WIN32
  // Storage for a CRITICAL_SECTION (40 bytes on x86-64, 24 on i386), kept
  // opaque so that only the Win32 source includes <windows.h>.
  alignas(8) unsigned char section_[40];
#else
  std::recursive_mutex mutex_;
#endif
};

// Holds a PlugMutex for the lifetime of a scope.
class PlugLock {
 public:
  explicit PlugLock(PlugMutex& mutex) : mutex_(mutex) { mutex_.Lock(); }
  ~PlugLock() { mutex_.Unlock(); }
  PlugLock(const PlugLock&) = delete;
  PlugLock& operator=(const PlugLock&) = delete;

 private:
  PlugMutex& mutex_;
};
