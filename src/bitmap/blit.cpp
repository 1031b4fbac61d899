// BlitBitmap, BlitBitmapArea and CopyBitmap: unscaled compositing.
#include "bitmap.h"
#include "pixel_access.h"
#include "pixel_combiners.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

using namespace bitmap_detail;

namespace {

struct RowPair {
    PixelWord* dest;
    std::ptrdiff_t destStep;
    const PixelWord* src;
    std::ptrdiff_t srcStep;
    std::int32_t rows, columns;
};

template <class Rule>
void CombineRows(const RowPair& rp, int w)
{
    PixelWord* d = rp.dest;
    const PixelWord* s = rp.src;
    for (std::int32_t row = 0; row < rp.rows; ++row, d += rp.destStep, s += rp.srcStep)
        for (std::int32_t i = 0; i < rp.columns; ++i) Rule::Apply(Bytes(d + i), Channels(s[i]), w);
}

void CopyChannelRows(const RowPair& rp, BlendMode mode)
{
    const int destByte = int(mode >> 2) & 3, srcByte = int(mode) & 3;
    PixelWord* d = rp.dest;
    const PixelWord* s = rp.src;
    for (std::int32_t row = 0; row < rp.rows; ++row, d += rp.destStep, s += rp.srcStep)
        for (std::int32_t i = 0; i < rp.columns; ++i)
            Bytes(d + i)[destByte] = reinterpret_cast<const std::uint8_t*>(s + i)[srcByte];
}

}  // namespace

void BlitBitmap(Bitmap* dest, const Bitmap* src, std::int32_t x, std::int32_t y, const BitmapRect* srcRect,
                float opacity, BlendMode mode)
{
    if (!dest || !src || opacity == 0.0f) return;

    // Source window, then clipped to the destination (64-bit so that far-off
    // coordinates clip instead of wrapping).
    std::int64_t left = 0, top = 0, right = src->GetWidth(), bottom = src->GetHeight();
    std::int64_t dx = x, dy = y;
    if (srcRect) {
        left = srcRect->left;
        if (left < 0) dx -= left, left = 0;
        top = srcRect->top;
        if (top < 0) dy -= top, top = 0;
        right = std::min<std::int64_t>(srcRect->right, right);
        bottom = std::min<std::int64_t>(srcRect->bottom, bottom);
    }
    if (dx < 0) left -= dx, dx = 0;
    if (dy < 0) top -= dy, dy = 0;
    if (right - left + dx > dest->GetWidth()) right = dest->GetWidth() + left - dx;
    if (bottom - top + dy > dest->GetHeight()) bottom = dest->GetHeight() + top - dy;
    if (right <= left || bottom <= top) return;

    PixelView dv, sv;
    if (!OpenView(dest, dv) || !OpenView(src, sv)) return;

    RowPair rp;
    rp.rows = std::int32_t(bottom - top);
    rp.columns = std::int32_t(right - left);
    rp.src = sv.At(std::int32_t(left), std::int32_t(top));
    rp.srcStep = sv.RowStep();
    rp.dest = dv.At(std::int32_t(dx), std::int32_t(dy));
    rp.destStep = dv.RowStep();

    if ((mode & 0xFFu) >= BlendChannelCopy) {
        CopyChannelRows(rp, mode);
        return;
    }
    if ((mode & 0x100FFu) == BlendCopy) {
        if (opacity == 1.0f) {
            PixelWord* d = rp.dest;
            const PixelWord* s = rp.src;
            for (std::int32_t row = 0; row < rp.rows; ++row, d += rp.destStep, s += rp.srcStep)
                std::memmove(d, s, std::size_t(rp.columns) * sizeof(PixelWord));
            return;
        }
        if (opacity == 0.5f) {
            PixelWord* d = rp.dest;
            const PixelWord* s = rp.src;
            for (std::int32_t row = 0; row < rp.rows; ++row, d += rp.destStep, s += rp.srcStep)
                for (std::int32_t i = 0; i < rp.columns; ++i) d[i] = Half(s[i]) + Half(d[i]);
            return;
        }
    }
    const int w = WeightFromOpacity(opacity);
    if (w == 0) return;
    DispatchCombiner(mode, w, [&]<class Rule>() { CombineRows<Rule>(rp, w); });
}

void BlitBitmapArea(Bitmap* dest, const Bitmap* src, std::int32_t dstX, std::int32_t dstY, std::int32_t srcX,
                    std::int32_t srcY, std::int32_t width, std::int32_t height, float opacity, BlendMode mode)
{
    const auto far = [](std::int32_t a, std::int32_t b) {
        return std::int32_t(std::clamp<std::int64_t>(std::int64_t(a) + b, INT32_MIN, INT32_MAX));
    };
    const BitmapRect rect = {srcX, srcY, far(srcX, width), far(srcY, height)};
    BlitBitmap(dest, src, dstX, dstY, &rect, opacity, mode);
}

void CopyBitmap(Bitmap* dest, const Bitmap* src)
{
    if (!dest || !src) return;
    dest->Resize(src->GetWidth(), src->GetHeight());
    BlitBitmap(dest, src, 0, 0, nullptr, 1.0f, BlendCopy);
}
