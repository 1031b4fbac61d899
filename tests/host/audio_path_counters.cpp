// Replaces the C allocator and pthread_mutex_lock for the whole process; the
// plug-in library, loaded later, resolves its calls to these.
#include "audio_path_counters.h"

#include <dlfcn.h>
#include <pthread.h>

#include <atomic>
#include <cstddef>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* pointer);
}

namespace {

std::atomic<bool> gCounting{false};
std::atomic<long> gAllocations{0};
std::atomic<long> gLocks{0};

void CountAllocation() {
  if (gCounting.load(std::memory_order_relaxed)) gAllocations.fetch_add(1, std::memory_order_relaxed);
}

using LockFunction = int (*)(pthread_mutex_t*);
LockFunction RealLock() {
  static LockFunction real = reinterpret_cast<LockFunction>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
  return real;
}

}  // namespace

#define EXPORTED __attribute__((visibility("default")))

extern "C" {

EXPORTED void* malloc(std::size_t size) {
  CountAllocation();
  return __libc_malloc(size);
}

EXPORTED void* calloc(std::size_t count, std::size_t size) {
  CountAllocation();
  return __libc_calloc(count, size);
}

EXPORTED void* realloc(void* pointer, std::size_t size) {
  CountAllocation();
  return __libc_realloc(pointer, size);
}

EXPORTED void* memalign(std::size_t alignment, std::size_t size) {
  CountAllocation();
  return __libc_memalign(alignment, size);
}

EXPORTED int posix_memalign(void** result, std::size_t alignment, std::size_t size) {
  CountAllocation();
  *result = __libc_memalign(alignment, size);
  return *result ? 0 : 12;
}

EXPORTED void* aligned_alloc(std::size_t alignment, std::size_t size) {
  CountAllocation();
  return __libc_memalign(alignment, size);
}

EXPORTED void free(void* pointer) { __libc_free(pointer); }

EXPORTED int pthread_mutex_lock(pthread_mutex_t* mutex) {
  if (gCounting.load(std::memory_order_relaxed)) gLocks.fetch_add(1, std::memory_order_relaxed);
  return RealLock()(mutex);
}

}  // extern "C"

void StartCounting() {
  RealLock();
  gAllocations = 0;
  gLocks = 0;
  gCounting = true;
}

void StopCounting() { gCounting = false; }
long CountedAllocations() { return gAllocations; }
long CountedLocks() { return gLocks; }
