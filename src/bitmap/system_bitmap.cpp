#include "bitmap.h"
#include "system_surface.h"

using namespace bitmap_detail;

SystemBitmap::SystemBitmap(std::int32_t width, std::int32_t height)
{
    hasContext_ = OpenSurfaceContext(deviceContext_);
    Resize(width, height);
}

SystemBitmap::~SystemBitmap()
{
    ReleasePixels();
    if (hasContext_) CloseSurfaceContext(deviceContext_);
}

void SystemBitmap::ReleasePixels()
{
    if (hasContext_ && (dib_ || previous_)) ReleaseSurfacePixels(deviceContext_, dib_, previous_);
    dib_ = previous_ = nullptr;
    pixels_ = nullptr;
}

bool SystemBitmap::Resize(std::int32_t width, std::int32_t height)
{
    if (!hasContext_) {
        width_ = height_ = 0;
        pixels_ = nullptr;
        return false;
    }
    if (width == width_ && height == height_) return false;
    width_ = width;
    height_ = height;
    // Shrinking (or regrowing within the allocation) keeps the pixels and the span.
    if (width != 0 && height != 0 && width <= allocatedWidth_ && height <= allocatedHeight_ && pixels_) return true;

    allocatedWidth_ = width;
    allocatedHeight_ = height;
    ReleasePixels();
    if (width == 0 || height == 0) return false;

    const SurfacePixels created = CreateSurfacePixels(deviceContext_, width, height);
    if (created.pixels) {
        pixels_ = created.pixels;
        dib_ = created.dib;
        previous_ = created.previous;
    } else {
        width_ = height_ = 0;
        allocatedWidth_ = allocatedHeight_ = 0;
    }
    return true;
}
