#include "bitmap.h"

#include <array>
#include <cstdint>

namespace {

constexpr std::array<std::uint16_t, 256> MakeReciprocalTable()
{
    std::array<std::uint16_t, 256> table{};
    for (int i = 1; i < 256; ++i) table[std::size_t(i)] = std::uint16_t(65536 / i - 1);
    return table;
}

}  // namespace

constinit const std::array<std::uint16_t, 256> ReciprocalTable = MakeReciprocalTable();
