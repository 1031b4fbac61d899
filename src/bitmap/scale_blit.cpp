// ScaleBlitBitmap: stretching with nearest, bilinear or box sampling, and mirroring.
#include "bitmap.h"
#include "pixel_access.h"
#include "pixel_combiners.h"
#include "sampling.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

using namespace bitmap_detail;

namespace {

// The destination rectangle after clipping and the source walk that fills it.
struct ScaleWalk {
    PixelView dest, src;
    SampleWindow window;
    std::int64_t dstX, dstY, dstW, dstH;
    std::int64_t sx, sy, dx, dy;  // 16.16
};

template <class Visit>
void ForEachDestination(const ScaleWalk& walk, Visit&& visit)
{
    for (std::int64_t i = 0; i < walk.dstH; ++i) {
        PixelWord* row = walk.dest.At(std::int32_t(walk.dstX), std::int32_t(walk.dstY + i));
        const std::int64_t y = walk.sy + i * walk.dy;
        for (std::int64_t j = 0; j < walk.dstW; ++j) visit(row + j, walk.sx + j * walk.dx, y);
    }
}

template <class Sampler, class Rule>
void SampleRows(const ScaleWalk& walk, int w)
{
    ForEachDestination(walk, [&](PixelWord* d, std::int64_t x, std::int64_t y) {
        SourceColour s;
        if (Sampler::Sample(walk.src, walk.window, x, y, s)) Rule::Apply(Bytes(d), s, w);
    });
}

// Plain average over a 3 x 3 (or, beyond a threefold reduction, 5 x 5) box
// around the sample. The tap weights 65536 x (M - 1) / distance all clamp to
// 65536 because M is at least 1.7 x 65536 here, so the weighted sum is a mean.
template <class Rule>
void BoxRows(const ScaleWalk& walk, int w)
{
    const int reach = std::max(walk.dx, walk.dy) <= 0x30000 ? 1 : 2;
    ForEachDestination(walk, [&](PixelWord* d, std::int64_t x, std::int64_t y) {
        const std::int64_t c = x / 65536, r = y / 65536;
        if (r < 0 || r >= walk.window.bottom || c < 0 || c >= walk.window.right) return;
        const std::int64_t r0 = std::max<std::int64_t>(r - reach, 0);
        const std::int64_t r1 = std::min<std::int64_t>(r + reach, walk.window.bottom - 1);
        const std::int64_t c0 = std::max<std::int64_t>(c - reach, 0);
        const std::int64_t c1 = std::min<std::int64_t>(c + reach, walk.window.right - 1);
        int sum[4] = {0, 0, 0, 0}, taps = 0;
        for (std::int64_t tr = r0; tr <= r1; ++tr) {
            const PixelWord* p = walk.src.At(std::int32_t(c0), std::int32_t(tr));
            for (std::int64_t tc = c0; tc <= c1; ++tc, ++p) {
                sum[0] += int(*p & 0xFF), sum[1] += int((*p >> 8) & 0xFF);
                sum[2] += int((*p >> 16) & 0xFF), sum[3] += int(*p >> 24);
                ++taps;
            }
        }
        if (taps == 0) return;
        Rule::Apply(Bytes(d), SourceColour{sum[0] / taps, sum[1] / taps, sum[2] / taps, sum[3] / taps}, w);
    });
}

bool NearInteger(float v) { return std::fabs(double(v) - std::floor(double(v) + 0.5)) < 0.03; }

// Drops leading positions before the source and trailing ones past its end (positive steps only).
void TrimToSource(std::int64_t& dstPos, std::int64_t& dstLen, std::int64_t& s, std::int64_t d, std::int64_t srcLen)
{
    if (d <= 0) return;
    if (s < 0) {
        const std::int64_t k = (d - s - 1) / d;
        dstLen -= k;
        dstPos += k;
        s += k * d;
    }
    if (((dstLen - 1) * d + s) / 65536 >= srcLen) dstLen = std::min(dstLen, (srcLen * 65536 - s - 65536) / d);
}

}  // namespace

void ScaleBlitBitmap(Bitmap* dest, const Bitmap* src, std::int32_t dstX, std::int32_t dstY, std::int32_t dstW,
                     std::int32_t dstH, float srcX, float srcY, float srcW, float srcH, float opacity,
                     BlendMode mode)
{
    if (!dest || !src || dstW == 0 || dstH == 0 || opacity == 0.0f) return;
    const bool bilinear = (mode & 0xFF00u) == BlendFilterBilinear;

    if (std::fabs(srcW - float(dstW)) < 0.001f && std::fabs(srcH - float(dstH)) < 0.001f &&
        (!bilinear || (NearInteger(srcX) && NearInteger(srcY)))) {
        const std::int32_t ix = TruncateToInt32(double(srcX) + 0.5), iy = TruncateToInt32(double(srcY) + 0.5);
        BlitBitmapArea(dest, src, dstX, dstY, ix, iy, dstW, dstH, opacity, mode);
        return;
    }

    ScaleWalk walk;
    walk.dstX = dstX, walk.dstY = dstY, walk.dstW = dstW, walk.dstH = dstH;
    const bool mirrorX = dstW < 0, mirrorY = dstH < 0;
    if (mirrorX) walk.dstX += walk.dstW, walk.dstW = -walk.dstW, srcX += srcW, srcW = -srcW;
    if (mirrorY) walk.dstY += walk.dstH, walk.dstH = -walk.dstH, srcY += srcH, srcH = -srcH;
    const float xStep = srcW / float(walk.dstW), yStep = srcH / float(walk.dstH);

    if (walk.dstX < 0) walk.dstW += walk.dstX, srcX -= float(walk.dstX) * xStep, walk.dstX = 0;
    if (walk.dstY < 0) walk.dstH += walk.dstY, srcY -= float(walk.dstY) * yStep, walk.dstY = 0;
    walk.dstW = std::min<std::int64_t>(walk.dstW, dest->GetWidth() - walk.dstX);
    walk.dstH = std::min<std::int64_t>(walk.dstH, dest->GetHeight() - walk.dstY);
    if (walk.dstW < 1 || walk.dstH < 1) return;

    walk.sx = FixedPosition(srcX), walk.dx = FixedStep(xStep);
    walk.sy = FixedPosition(srcY), walk.dy = FixedStep(yStep);
    // A mirrored walk starts at the far edge of the source; sampling one step in
    // makes the first destination pixel take the last source pixel, so the
    // result is the exact mirror image of the unmirrored one.
    if (mirrorX) walk.sx += walk.dx;
    if (mirrorY) walk.sy += walk.dy;

    TrimToSource(walk.dstX, walk.dstW, walk.sx, walk.dx, src->GetWidth());
    TrimToSource(walk.dstY, walk.dstH, walk.sy, walk.dy, src->GetHeight());
    if (walk.dstW < 1 || walk.dstH < 1) return;

    const auto limit = [](float start, float size, std::int32_t srcLen) {
        const double edge = std::ceil(double(start) + std::max(double(size), 0.0));
        return std::min<std::int64_t>(TruncateToInt64(edge), srcLen);
    };
    walk.window = {0, 0, limit(srcX, srcW, src->GetWidth()), limit(srcY, srcH, src->GetHeight())};
    if (walk.window.right < 1 || walk.window.bottom < 1) return;
    if (!OpenView(dest, walk.dest) || !OpenView(src, walk.src)) return;

    const int w = WeightFromOpacity(opacity);
    if (w == 0) return;

    if ((mode & 0x1FFFFu) == 0 && (w == 128 || w == 256)) {
        ForEachDestination(walk, [&](PixelWord* d, std::int64_t x, std::int64_t y) {
            const std::int64_t c = x / 65536, r = y / 65536;
            if (r < 0 || r >= walk.window.bottom || c < 0 || c >= walk.window.right) return;
            const PixelWord s = *walk.src.At(std::int32_t(c), std::int32_t(r));
            *d = w == 256 ? s : Half(*d) + Half(s);
        });
        return;
    }
    if (bilinear && xStep >= 1.7f && yStep >= 1.7f)
        DispatchCombiner(mode, w, [&]<class Rule>() { BoxRows<Rule>(walk, w); });
    else if (bilinear)
        DispatchCombiner(mode, w, [&]<class Rule>() { SampleRows<BilinearSampler, Rule>(walk, w); });
    else
        DispatchCombiner(mode, w, [&]<class Rule>() { SampleRows<NearestSampler, Rule>(walk, w); });
}
