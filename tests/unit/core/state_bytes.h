// Parameter state written out byte by byte: groups of bytes and the
// little-endian doubles the tests use.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "core/state_chunk.h"

using Bytes = std::vector<std::uint8_t>;

// Concatenates byte groups written out in a test.
inline Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// Little-endian IEEE 754 doubles, written out by hand.
inline const Bytes kHalf = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE0, 0x3F};        // 0.5
inline const Bytes kOne = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F};         // 1.0
inline const Bytes kQuarter = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xD0, 0x3F};     // 0.25
inline const Bytes kThreeQuarters = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE8, 0x3F};  // 0.75
inline const Bytes kSevenHalf = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1E, 0x40};   // 7.5
inline const Bytes kMinusOne = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0xBF};    // -1.0
inline const Bytes kZero = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};        // 0.0
inline const Bytes kNaN = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x7F};         // quiet NaN
inline const Bytes kInfinity = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x7F};    // +inf

inline Bytes ChunkBytes(const StateChunk& chunk) { return Bytes(chunk.Data(), chunk.Data() + chunk.Size()); }
