// A top-down 32-bit DIB section selected into a memory device context, so that
// the window can present the surface with one BitBlt.
#include "system_surface.h"

#include <windows.h>

namespace bitmap_detail {

bool OpenSurfaceContext(NativeDeviceContext& context)
{
    context = CreateCompatibleDC(nullptr);
    return context != nullptr;
}

void CloseSurfaceContext(NativeDeviceContext context) { DeleteDC(context); }

SurfacePixels CreateSurfacePixels(NativeDeviceContext context, std::int32_t width, std::int32_t height)
{
    SurfacePixels result;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: top-down, memory row 0 is the top row
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib || !bits) {
        if (dib) DeleteObject(dib);
        return result;
    }
    result.pixels = static_cast<PixelWord*>(bits);
    result.dib = dib;
    result.previous = SelectObject(context, dib);
    return result;
}

void ReleaseSurfacePixels(NativeDeviceContext context, void* dib, void* previous)
{
    if (previous && context) SelectObject(context, static_cast<HGDIOBJ>(previous));
    if (dib) DeleteObject(static_cast<HGDIOBJ>(dib));
}

}  // namespace bitmap_detail
