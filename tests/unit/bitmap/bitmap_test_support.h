// Small bitmaps for the bitmap library's tests.
#pragma once

#include "bitmap.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace bitmap_test {

// A MemoryBitmap that reports its rows bottom-up: image row y is memory row height - 1 - y.
class FlippedBitmap : public MemoryBitmap {
public:
    using MemoryBitmap::MemoryBitmap;
    bool IsBottomUp() const override { return true; }
};

inline void Fill(Bitmap& bitmap, PixelWord value)
{
    for (std::int32_t y = 0; y < bitmap.GetHeight(); ++y)
        for (std::int32_t x = 0; x < bitmap.GetWidth(); ++x)
            bitmap.GetPixels()[std::int64_t(y) * bitmap.GetRowStride() + x] = value;
}

// Writes image pixel (x, y), honouring the flipped flag.
inline void Put(Bitmap& bitmap, std::int32_t x, std::int32_t y, PixelWord value)
{
    const std::int32_t row = bitmap.IsBottomUp() ? bitmap.GetHeight() - 1 - y : y;
    bitmap.GetPixels()[std::int64_t(row) * bitmap.GetRowStride() + x] = value;
}

// A distinct opaque value for every pixel, easy to trace after a blit.
inline PixelWord Marker(std::int32_t x, std::int32_t y) { return MakePixelWord(255, y, x, 7); }

inline void FillMarkers(Bitmap& bitmap)
{
    for (std::int32_t y = 0; y < bitmap.GetHeight(); ++y)
        for (std::int32_t x = 0; x < bitmap.GetWidth(); ++x) Put(bitmap, x, y, Marker(x, y));
}

// The image as rows of characters: '.' where the pixel equals background, '#' elsewhere.
inline std::vector<std::string> Shape(const Bitmap& bitmap, PixelWord background)
{
    std::vector<std::string> rows;
    for (std::int32_t y = 0; y < bitmap.GetHeight(); ++y) {
        std::string row;
        for (std::int32_t x = 0; x < bitmap.GetWidth(); ++x) row += ReadPixel(&bitmap, x, y) == background ? '.' : '#';
        rows.push_back(row);
    }
    return rows;
}

// Every image pixel, row after row.
inline std::vector<PixelWord> Pixels(const Bitmap& bitmap)
{
    std::vector<PixelWord> out;
    for (std::int32_t y = 0; y < bitmap.GetHeight(); ++y)
        for (std::int32_t x = 0; x < bitmap.GetWidth(); ++x) out.push_back(ReadPixel(&bitmap, x, y));
    return out;
}

}  // namespace bitmap_test
