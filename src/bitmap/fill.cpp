// PlotPixel, FillRectangle, MaskFillRectangle and DrawCoverageMask.
#include "bitmap.h"
#include "painter.h"
#include "pixel_access.h"
#include "pixel_combiners.h"

#include <algorithm>
#include <cstdint>

using namespace bitmap_detail;

namespace {

// Plain-copy weights done on the whole word; false when w has no shortcut.
bool CopyShortcut(PixelWord* p, PixelWord colour, int w)
{
    switch (w) {
    case 256: *p = colour; return true;
    case 128: *p = Half(colour) + Half(*p); return true;
    case 64: *p = Half(*p) + Quarter(*p) + Quarter(colour); return true;
    case 192: *p = Quarter(colour) + Quarter(*p) + Half(colour); return true;
    default: return false;
    }
}

// A rectangle clipped to the view; empty when nothing is left.
struct Span {
    std::int32_t x = 0, y = 0, width = 0, height = 0;
    bool Empty() const { return width <= 0 || height <= 0; }
};

Span ClipRectangle(const PixelView& view, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height)
{
    std::int64_t cx = x, cy = y, cw = width, ch = height;
    if (cx < 0) cw += cx, cx = 0;
    if (cy < 0) ch += cy, cy = 0;
    cw = std::min<std::int64_t>(cw, view.width - cx);
    ch = std::min<std::int64_t>(ch, view.height - cy);
    if (cw <= 0 || ch <= 0) return {};
    return {std::int32_t(cx), std::int32_t(cy), std::int32_t(cw), std::int32_t(ch)};
}

template <class Fn>
void ForEachPixel(const PixelView& view, const Span& span, Fn&& fn)
{
    PixelWord* row = view.At(span.x, span.y);
    for (std::int32_t i = 0; i < span.height; ++i, row += view.RowStep())
        for (std::int32_t j = 0; j < span.width; ++j) fn(row + j);
}

}  // namespace

void PlotPixel(Bitmap* bitmap, std::int32_t x, std::int32_t y, PixelWord colour, float opacity, BlendMode mode)
{
    PixelView view;
    if (!OpenView(bitmap, view) || !view.Contains(x, y)) return;
    PixelWord* p = view.At(x, y);
    const int w = WeightFromOpacity(opacity);
    if ((mode & 0xFFu) == BlendCopy && CopyShortcut(p, colour, w)) return;
    if (w == 0) return;
    WithPainter(mode, colour, [&](const auto& painter) { painter.Blend(p, w); });
}

void FillRectangle(Bitmap* bitmap, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                   PixelWord colour, float opacity, BlendMode mode)
{
    if (!bitmap) return;
    if (mode & BlendUseSourceAlpha) opacity = float(double(opacity) * (PixelAlpha(colour) * 0.003921569));
    PixelView view;
    if (!OpenView(bitmap, view)) return;
    const Span span = ClipRectangle(view, x, y, width, height);
    if (span.Empty() || opacity == 0.0f) return;

    const int w = WeightFromOpacity(opacity);
    if ((mode & 0xFFu) == BlendCopy) {
        if (w == 256 || w == 128 || w == 64 || w == 192) {
            ForEachPixel(view, span, [&](PixelWord* p) { CopyShortcut(p, colour, w); });
        } else if (w > 0) {
            // The alpha byte moves towards the weight itself, not the colour's alpha.
            const SourceColour source{PixelBlue(colour), PixelGreen(colour), PixelRed(colour), w};
            ForEachPixel(view, span, [&](PixelWord* p) { CopyWeighted::Apply(Bytes(p), source, w); });
        }
        return;
    }
    if (w == 0) return;
    WithPainter(mode, colour, [&](auto painter) {
        painter.source.a = w;  // the weight stands in for the source alpha
        ForEachPixel(view, span, [&](PixelWord* p) { painter.Blend(p, w); });
    });
}

void MaskFillRectangle(Bitmap* bitmap, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                       PixelWord andMask, PixelWord orValue)
{
    PixelView view;
    if (!OpenView(bitmap, view)) return;
    const Span span = ClipRectangle(view, x, y, width, height);
    if (span.Empty()) return;
    ForEachPixel(view, span, [&](PixelWord* p) { *p = (*p & andMask) | orValue; });
}

void DrawCoverageMask(Bitmap* bitmap, std::int32_t x, std::int32_t y, PixelWord colour, const std::uint8_t* mask,
                      std::int32_t maskWidth, std::int32_t maskHeight, float opacity, BlendMode mode)
{
    PixelView view;
    if (!OpenView(bitmap, view) || !mask || maskWidth <= 0 || maskHeight <= 0) return;
    const auto visible = [](std::int64_t pos, std::int64_t size, std::int64_t limit, std::int64_t& first) {
        first = std::max<std::int64_t>(0, -pos);
        return pos + size <= limit ? size + std::min<std::int64_t>(pos, 0) : limit - std::max<std::int64_t>(pos, 0);
    };
    std::int64_t firstColumn, firstRow;
    const std::int64_t columns = visible(x, maskWidth, view.width, firstColumn);
    const std::int64_t rows = visible(y, maskHeight, view.height, firstRow);
    if (columns <= 0 || rows <= 0) return;
    const int w = WeightFromOpacity(opacity);
    if (w == 0) return;

    WithPainter(mode, colour, [&](const auto& painter) {
        for (std::int64_t i = firstRow; i < firstRow + rows; ++i) {
            const std::uint8_t* coverage = mask + i * maskWidth;
            PixelWord* p = view.At(std::int32_t(x + firstColumn), std::int32_t(y + i));
            for (std::int64_t j = firstColumn; j < firstColumn + columns; ++j, ++p)
                if (coverage[j] != 0) painter.Blend(p, w * coverage[j] / 256);
        }
    });
}
