// RotateBlitBitmap: turns the source rectangle about the destination centre.
#include "bitmap.h"
#include "pixel_access.h"
#include "pixel_combiners.h"
#include "sampling.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

using namespace bitmap_detail;

namespace {

struct RotateWalk {
    PixelView dest, src;
    SampleWindow window;
    std::int64_t dstX, dstY, dstW, dstH;
    std::int64_t x0, y0;          // 16.16 source position of the first destination pixel
    std::int64_t colX, colY;      // per destination column
    std::int64_t rowX, rowY;      // per destination row
};

template <class Sampler, class Rule>
void RotateRows(const RotateWalk& walk, int w)
{
    std::int64_t rowStartX = walk.x0, rowStartY = walk.y0;
    for (std::int64_t i = 0; i < walk.dstH; ++i, rowStartX += walk.rowX, rowStartY += walk.rowY) {
        PixelWord* d = walk.dest.At(std::int32_t(walk.dstX), std::int32_t(walk.dstY + i));
        std::int64_t x = rowStartX, y = rowStartY;
        for (std::int64_t j = 0; j < walk.dstW; ++j, ++d, x += walk.colX, y += walk.colY) {
            SourceColour s;
            if (Sampler::Sample(walk.src, walk.window, x, y, s)) Rule::Apply(Bytes(d), s, w);
        }
    }
}

}  // namespace

void RotateBlitBitmap(Bitmap* dest, const Bitmap* src, std::int32_t dstX, std::int32_t dstY, std::int32_t dstW,
                      std::int32_t dstH, float srcX, float srcY, float srcW, float srcH, float angle,
                      bool clipToSource, float opacity, BlendMode mode, float centreOffsetX, float centreOffsetY)
{
    if (!dest || !src || dstW == 0 || dstH == 0) return;

    RotateWalk walk;
    walk.window = {0, 0, src->GetWidth(), src->GetHeight()};
    if (clipToSource) {
        if (srcX > 0) walk.window.left = TruncateToInt64(srcX);
        if (srcY > 0) walk.window.top = TruncateToInt64(srcY);
        walk.window.right = std::min(walk.window.right, TruncateToInt64(double(srcX + srcW)));
        walk.window.bottom = std::min(walk.window.bottom, TruncateToInt64(double(srcY + srcH)));
    }

    float fdstX = float(dstX), fdstY = float(dstY), fdstW = float(dstW), fdstH = float(dstH);
    walk.dstX = dstX, walk.dstY = dstY, walk.dstW = dstW, walk.dstH = dstH;
    const bool mirrorX = dstW < 0, mirrorY = dstH < 0;
    if (mirrorX) walk.dstX += walk.dstW, walk.dstW = -walk.dstW, srcX += srcW, srcW = -srcW;
    if (mirrorY) walk.dstY += walk.dstH, walk.dstH = -walk.dstH, srcY += srcH, srcH = -srcH;
    fdstX = float(walk.dstX), fdstY = float(walk.dstY), fdstW = float(walk.dstW), fdstH = float(walk.dstH);

    const float c = std::cos(angle), s = std::sin(angle);
    const float xStep = srcW / fdstW, yStep = srcH / fdstH;
    const float colX = xStep * c, colY = -yStep * s;
    const float rowX = xStep * s, rowY = yStep * c;
    float x0 = srcX - ((fdstH * xStep * s + fdstW * xStep * c - srcW) * 0.5f - centreOffsetX);
    float y0 = srcY - ((fdstW * (-yStep * s) + fdstH * yStep * c - srcH) * 0.5f - centreOffsetY);

    if (walk.dstX < 0) {
        walk.dstW += walk.dstX;
        x0 -= fdstX * xStep * c;
        y0 -= fdstX * (-yStep * s);
        walk.dstX = 0;
    }
    if (walk.dstY < 0) {
        walk.dstH += walk.dstY;
        x0 -= fdstY * xStep * s;
        y0 -= fdstY * yStep * c;
        walk.dstY = 0;
    }
    walk.dstW = std::min<std::int64_t>(walk.dstW, dest->GetWidth() - walk.dstX);
    walk.dstH = std::min<std::int64_t>(walk.dstH, dest->GetHeight() - walk.dstY);
    if (walk.dstW < 1 || walk.dstH < 1) return;
    if (!OpenView(dest, walk.dest) || !OpenView(src, walk.src)) return;
    walk.window.right = std::min<std::int64_t>(walk.window.right, walk.src.width);
    walk.window.bottom = std::min<std::int64_t>(walk.window.bottom, walk.src.height);

    const int w = WeightFromOpacity(opacity);
    if (w == 0) return;

    walk.x0 = FixedPosition(x0), walk.y0 = FixedPosition(y0);
    walk.colX = FixedStep(colX), walk.colY = FixedStep(colY);
    walk.rowX = FixedStep(rowX), walk.rowY = FixedStep(rowY);
    // As in ScaleBlitBitmap, a mirrored walk starts one step in from the far edge.
    if (mirrorX) walk.x0 += walk.colX, walk.y0 += walk.colY;
    if (mirrorY) walk.x0 += walk.rowX, walk.y0 += walk.rowY;

    if ((mode & 0xFF00u) == BlendFilterBilinear)
        DispatchCombiner(mode, w, [&]<class Rule>() { RotateRows<BilinearSampler, Rule>(walk, w); });
    else
        DispatchCombiner(mode, w, [&]<class Rule>() { RotateRows<NearestSampler, Rule>(walk, w); });
}
