// Platform storage behind SystemBitmap: a DIB section in a memory device
// context on Windows (bitmap_system_win32.cpp), heap pixels elsewhere
// (bitmap_system_posix.cpp).
#pragma once

#include "bitmap.h"

#include <cstdint>

namespace bitmap_detail {

struct SurfacePixels {
    PixelWord* pixels = nullptr;
    void* dib = nullptr;       // what ReleaseSurfacePixels frees
    void* previous = nullptr;  // object the DIB replaced in the context
};

// False when no context can be had; the bitmap then stays empty for good.
bool OpenSurfaceContext(NativeDeviceContext& context);
void CloseSurfaceContext(NativeDeviceContext context);
// Top-down 32-bit pixels of width x height; pixels stays none on failure.
SurfacePixels CreateSurfacePixels(NativeDeviceContext context, std::int32_t width, std::int32_t height);
void ReleaseSurfacePixels(NativeDeviceContext context, void* dib, void* previous);

}  // namespace bitmap_detail
