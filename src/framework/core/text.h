// Fixed-size text fields: copies are always terminated and never overrun.
#pragma once

#include <cstddef>
#include <cstring>

inline void CopyText(char* destination, std::size_t capacity, const char* source) {
  if (capacity == 0) return;
  if (!source) source = "";
  // Never reads further than it may write: a host's text may lack its terminator.
  const void* end = std::memchr(source, '\0', capacity - 1);
  const std::size_t length = end ? static_cast<std::size_t>(static_cast<const char*>(end) - source) : capacity - 1;
  std::memcpy(destination, source, length);
  destination[length] = '\0';
}

template <std::size_t N>
inline void CopyText(char (&destination)[N], const char* source) {
  CopyText(destination, N, source);
}
