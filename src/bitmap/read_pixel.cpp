#include "bitmap.h"
#include "pixel_access.h"

PixelWord ReadPixel(const Bitmap* bitmap, std::int32_t x, std::int32_t y)
{
    bitmap_detail::PixelView view;
    if (!bitmap_detail::OpenView(bitmap, view) || !view.Contains(x, y)) return 0;
    return *view.At(x, y);
}
