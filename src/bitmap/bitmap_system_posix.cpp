// Heap pixels with the same size limits a 32-bit DIB section has.
#include "system_surface.h"

#include <cstdint>
#include <cstdlib>

namespace bitmap_detail {

bool OpenSurfaceContext(NativeDeviceContext& context)
{
    context = nullptr;  // no device context outside Windows
    return true;
}

void CloseSurfaceContext(NativeDeviceContext) {}

SurfacePixels CreateSurfacePixels(NativeDeviceContext, std::int32_t width, std::int32_t height)
{
    SurfacePixels result;
    if (width <= 0 || height <= 0) return result;
    const std::int64_t bytes = std::int64_t(width) * height * 4;
    if (bytes > INT32_MAX) return result;
    result.pixels = static_cast<PixelWord*>(std::malloc(std::size_t(bytes)));
    result.dib = result.pixels;
    return result;
}

void ReleaseSurfacePixels(NativeDeviceContext, void* dib, void*) { std::free(dib); }

}  // namespace bitmap_detail
