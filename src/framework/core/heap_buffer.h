// Growable byte block with the reallocation policy the framework's lists,
// chunks and sample buffers share.
#pragma once

#include <cstdint>

class HeapBuffer {
 public:
  explicit HeapBuffer(std::int32_t granularity = 4096, std::int32_t minimumAllocation = 0);
  ~HeapBuffer();
  HeapBuffer(const HeapBuffer&) = delete;
  HeapBuffer& operator=(const HeapBuffer&) = delete;

  // Sets the used size, growing (or, with allowShrink, shrinking) the storage.
  // Returns the data pointer, or none when the used size is 0. When storage
  // cannot be obtained the buffer is left entirely unchanged.
  void* Resize(std::int32_t newSize, bool allowShrink = true);

  void* Data() const { return data_; }
  std::int32_t Size() const { return usedSize_; }
  std::int32_t AllocatedSize() const { return allocatedSize_; }
  std::int32_t Granularity() const { return granularity_; }

 private:
  std::int32_t AllocationFor(std::int32_t newSize) const;

  void* data_ = nullptr;
  std::int32_t granularity_;
  std::int32_t allocatedSize_ = 0;
  std::int32_t usedSize_ = 0;
  std::int32_t minimumAllocation_;
};
