// Row addressing and weight conversion shared by every operation.
#pragma once

#include "bitmap.h"

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>

static_assert(std::endian::native == std::endian::little, "pixel bytes are addressed blue, green, red, alpha");

namespace bitmap_detail {

// A bitmap's storage as seen through its interface, checked once per operation.
struct PixelView {
    PixelWord* pixels = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::ptrdiff_t stride = 0;  // pixels between memory rows
    bool bottomUp = false;

    // Memory row holding image row y.
    std::int32_t MemoryRow(std::int32_t y) const { return bottomUp ? height - 1 - y : y; }
    // Pixel (x, image row y).
    PixelWord* At(std::int32_t x, std::int32_t y) const { return pixels + MemoryRow(y) * stride + x; }
    // Distance from image row y to image row y + 1.
    std::ptrdiff_t RowStep() const { return bottomUp ? -stride : stride; }
    bool Contains(std::int64_t x, std::int64_t y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// False for no bitmap, no pixels, an empty size or a row span shorter than a row.
inline bool OpenView(const Bitmap* bitmap, PixelView& view)
{
    if (!bitmap) return false;
    view.pixels = bitmap->GetPixels();
    view.width = bitmap->GetWidth();
    view.height = bitmap->GetHeight();
    view.stride = bitmap->GetRowStride();
    view.bottomUp = bitmap->IsBottomUp();
    return view.pixels && view.width > 0 && view.height > 0 && view.stride >= view.width;
}

// Conversion toward zero that cannot overflow: NaN gives 0, far values saturate.
inline std::int64_t TruncateToInt64(double v)
{
    if (!(v == v)) return 0;
    if (v >= 9.0e18) return INT64_C(9000000000000000000);
    if (v <= -9.0e18) return -INT64_C(9000000000000000000);
    return static_cast<std::int64_t>(v);
}
inline std::int32_t TruncateToInt32(double v)
{
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<std::int32_t>(v);
}

// Weights beyond this magnitude (opacity beyond 16) are held there so that the
// combiners' integer products cannot overflow.
constexpr int kWeightLimit = 4096;

// w = truncate(opacity x 256).
inline int WeightFromOpacity(float opacity)
{
    const float scaled = opacity * 256.0f;
    if (!(scaled == scaled)) return 0;
    if (scaled >= float(kWeightLimit)) return kWeightLimit;
    if (scaled <= -float(kWeightLimit)) return -kWeightLimit;
    return static_cast<int>(scaled);
}

inline std::uint8_t* Bytes(PixelWord* p) { return reinterpret_cast<std::uint8_t*>(p); }

// Per-byte averages and quarter mixes done on the whole word.
constexpr PixelWord Half(PixelWord p) { return (p >> 1) & 0x7F7F7F7Fu; }
constexpr PixelWord Quarter(PixelWord p) { return (p >> 2) & 0x3F3F3F3Fu; }

}  // namespace bitmap_detail
