#include "state_chunk.h"

#include <cstring>

bool StateChunk::Assign(const void* data, std::int32_t size) {
  if (size < 0) return false;
  // A host may hand back the memory this chunk gave it: move it into place
  // first, then shrink without reallocating.
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  if (Size() > 0 && bytes >= Data() && bytes < Data() + Size()) {
    if (bytes + size > Data() + Size()) return false;
    std::memmove(buffer_.Data(), bytes, static_cast<std::size_t>(size));
    buffer_.Resize(size, false);
    return true;
  }
  const std::int32_t before = buffer_.Size();
  buffer_.Resize(size, true);
  if (buffer_.Size() != size) {
    buffer_.Resize(before, true);
    return false;
  }
  if (size > 0) std::memcpy(buffer_.Data(), data, static_cast<std::size_t>(size));
  return true;
}

bool StateChunk::AppendBytes(const std::uint8_t* bytes, std::int32_t count) {
  const std::int32_t before = buffer_.Size();
  buffer_.Resize(before + count, false);
  if (buffer_.Size() != before + count) return false;
  std::memcpy(static_cast<std::uint8_t*>(buffer_.Data()) + before, bytes, static_cast<std::size_t>(count));
  return true;
}

bool StateChunk::AppendInt32(std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  const std::uint8_t bytes[4] = {std::uint8_t(u), std::uint8_t(u >> 8), std::uint8_t(u >> 16), std::uint8_t(u >> 24)};
  return AppendBytes(bytes, 4);
}

bool StateChunk::AppendDouble(double value) {
  std::uint64_t u;
  std::memcpy(&u, &value, 8);
  std::uint8_t bytes[8];
  for (int i = 0; i < 8; ++i) bytes[i] = std::uint8_t(u >> (8 * i));
  return AppendBytes(bytes, 8);
}

bool StateChunk::ReadInt32(std::int32_t offset, std::int32_t* value) const {
  if (offset < 0 || offset > Size() - 4) return false;
  const std::uint8_t* p = Data() + offset;
  *value = static_cast<std::int32_t>(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                                     std::uint32_t(p[3]) << 24);
  return true;
}

bool StateChunk::ReadDouble(std::int32_t offset, double* value) const {
  if (offset < 0 || offset > Size() - 8) return false;
  const std::uint8_t* p = Data() + offset;
  std::uint64_t u = 0;
  for (int i = 7; i >= 0; --i) u = (u << 8) | p[i];
  std::memcpy(value, &u, 8);
  return true;
}
