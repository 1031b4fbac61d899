// The bitmap a loader decodes into: the caller's target, resized, or a new
// MemoryBitmap. Shared by the PNG and JPEG loaders.
#pragma once

#include "bitmap.h"
#include "pixel_access.h"

#include <cstdint>
#include <new>

namespace bitmap_detail {

// Images beyond 32 megapixels (128 MiB of pixels) are refused: no artwork comes
// near it, and it keeps corrupt headers from claiming gigabytes.
constexpr std::uint64_t kMaxImagePixels = std::uint64_t(1) << 25;

inline bool AcceptableImageSize(std::uint64_t width, std::uint64_t height)
{
    return width > 0 && height > 0 && width <= INT32_MAX && height <= INT32_MAX && width * height <= kMaxImagePixels;
}

// The bitmap to fill, or none when it cannot take the size. A bitmap created
// here is also stored in created, for the caller to release on failure.
inline Bitmap* PrepareTarget(Bitmap* target, std::uint32_t width, std::uint32_t height, Bitmap*& created)
{
    if (!AcceptableImageSize(width, height)) return nullptr;
    Bitmap* bitmap = target;
    if (bitmap) {
        bitmap->Resize(std::int32_t(width), std::int32_t(height));
    } else {
        bitmap = created = new (std::nothrow) MemoryBitmap(std::int32_t(width), std::int32_t(height));
        if (!bitmap) return nullptr;
    }
    PixelView view;
    if (!OpenView(bitmap, view) || view.width != std::int32_t(width) || view.height != std::int32_t(height))
        return nullptr;
    return bitmap;
}

}  // namespace bitmap_detail
