// List of pointers kept in a HeapBuffer; the owner deletes the elements.
#pragma once

#include <cstdint>

#include "heap_buffer.h"

template <class T>
class PointerList {
 public:
  explicit PointerList(std::int32_t granularity = 4096) : buffer_(granularity) {}

  std::int32_t Count() const { return buffer_.Size() / std::int32_t(sizeof(T*)); }

  // Returns p, or none when the list could not grow (p is then not stored).
  T* Add(T* p) {
    const std::int32_t count = Count();
    const std::int32_t before = buffer_.Size();
    buffer_.Resize((count + 1) * std::int32_t(sizeof(T*)), false);
    if (buffer_.Size() == before) return nullptr;
    static_cast<T**>(buffer_.Data())[count] = p;
    return p;
  }

  T* Get(std::int32_t index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return static_cast<T**>(buffer_.Data())[index];
  }

  // Deletes every element, last index first, and empties the list.
  void DeleteAll() {
    for (std::int32_t i = Count() - 1; i >= 0; --i) delete Get(i);
    buffer_.Resize(0, true);
  }

 private:
  HeapBuffer buffer_;
};
