// Fixed-size text fields: copies are always terminated and never overrun.
#pragma once

#include <cstddef>
#include <cstring>

inline void CopyText(char* destination, std::size_t capacity, const char* source) {
  if (capacity == 0) return;
  if (!source) source = "";
  std::size_t length = std::strlen(source);
  if (length >= capacity) length = capacity - 1;
  std::memcpy(destination, source, length);
  destination[length] = '\0';
}

template <std::size_t N>
inline void CopyText(char (&destination)[N], const char* source) {
  CopyText(destination, N, source);
}
