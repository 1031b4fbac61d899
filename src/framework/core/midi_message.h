#pragma once

#include <cstdint>

struct IMidiMessage {
  std::int32_t frameOffset = 0;
  std::uint8_t status = 0;
  std::uint8_t data1 = 0;
  std::uint8_t data2 = 0;
};
