#include "heap_buffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

HeapBuffer::HeapBuffer(std::int32_t granularity, std::int32_t minimumAllocation)
    : granularity_(granularity), minimumAllocation_(minimumAllocation) {}

HeapBuffer::~HeapBuffer() { std::free(data_); }

std::int32_t HeapBuffer::AllocationFor(std::int32_t newSize) const {
  std::int64_t half = std::max<std::int64_t>(newSize / 2, granularity_);
  std::int64_t size;
  if (granularity_ < 4096) {
    size = std::int64_t(newSize) + half;
  } else {
    half = std::clamp<std::int64_t>(half / 4096 * 4096, 4096, 4194304);
    size = (std::int64_t(newSize) + half + 96) / 4096 * 4096 - 96;
  }
  size = std::max<std::int64_t>(size, minimumAllocation_);
  // Sizes are 32-bit; a request beyond that cannot be met.
  return size > INT32_MAX ? -1 : static_cast<std::int32_t>(size);
}

void* HeapBuffer::Resize(std::int32_t newSize, bool allowShrink) {
  if (newSize < 0) return usedSize_ > 0 ? data_ : nullptr;
  if (newSize == usedSize_) return usedSize_ > 0 ? data_ : nullptr;

  const bool grow = newSize > allocatedSize_;
  const bool shrink = allowShrink && newSize < usedSize_ && newSize < allocatedSize_ / 2 &&
                      std::int64_t(newSize) < std::int64_t(allocatedSize_) - 4 * std::int64_t(granularity_);
  if (grow || shrink) {
    const std::int32_t size = AllocationFor(newSize);
    if (size < 0) return usedSize_ > 0 ? data_ : nullptr;
    if (size != allocatedSize_) {
      void* block = size > 0 ? std::realloc(data_, static_cast<std::size_t>(size)) : nullptr;
      if (size > 0 && !block) {
        block = std::malloc(static_cast<std::size_t>(size));
        if (!block) return usedSize_ > 0 ? data_ : nullptr;
        if (data_) std::memcpy(block, data_, static_cast<std::size_t>(std::min(usedSize_, newSize)));
        std::free(data_);
      } else if (size == 0) {
        std::free(data_);
      }
      data_ = block;
      allocatedSize_ = size;
    }
  }
  usedSize_ = newSize;
  return usedSize_ > 0 ? data_ : nullptr;
}
