// Byte stream for parameter state: little-endian 32-bit words and IEEE doubles.
#pragma once

#include <cstdint>

#include "heap_buffer.h"

class StateChunk {
 public:
  StateChunk() : buffer_(4096) {}

  void Clear() { buffer_.Resize(0, true); }
  // Replaces the contents with a copy of size bytes; false when memory is short.
  bool Assign(const void* data, std::int32_t size);

  bool AppendInt32(std::int32_t value);
  bool AppendDouble(double value);
  // Reads at offset; false (and nothing read) when the bytes are not all there.
  bool ReadInt32(std::int32_t offset, std::int32_t* value) const;
  bool ReadDouble(std::int32_t offset, double* value) const;

  const std::uint8_t* Data() const { return static_cast<const std::uint8_t*>(buffer_.Data()); }
  std::int32_t Size() const { return buffer_.Size(); }

 private:
  bool AppendBytes(const std::uint8_t* bytes, std::int32_t count);

  HeapBuffer buffer_;
};
