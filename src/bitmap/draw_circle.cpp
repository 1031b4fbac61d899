// DrawCircle and DrawArc.
#include "bitmap.h"
#include "circle_outline.h"
#include "painter.h"
#include "pixel_access.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

using namespace bitmap_detail;

namespace {

constexpr float kPi = 3.14159265358979f;  // single precision, as the angle arithmetic uses

// w for an outline; 0 when nothing is to be drawn.
int OutlineWeight(float opacity, BlendMode mode)
{
    const int w = WeightFromOpacity(opacity);
    if ((mode & 0xFFu) == BlendCopy && w < 0) return 0;
    return w;
}

ClipBox WholeView(const PixelView& view) { return {0, 0, view.width, view.height}; }

double NormaliseAngle(float t)
{
    const double turn = 2.0 * double(kPi);
    double n = std::fmod(double(t), turn);
    if (n < 0.0) n += turn;
    return n;
}

// The arc's pixel at angle t: 0 points up, angles grow clockwise.
void ArcPoint(float cx, float cy, float radius, double t, std::int64_t& x, std::int64_t& y)
{
    const float angle = float(t);
    x = TruncateToInt64(cx + radius * std::sin(angle));
    y = TruncateToInt64(cy - radius * std::cos(angle));
}

// The box that the end points cut off bounds a piece only in some quadrant
// combinations: from the bottom to just below the left point it would also
// take in the whole upper-left quadrant. The piece's own extent (its end points
// and the axis points it passes), a pixel wider on every side for truncation
// and the antialiasing neighbours, trims what lies beyond the arc.
void NarrowToExtent(ClipBox& clip, float cx, float cy, float radius, float start, float end)
{
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    bool first = true;
    auto take = [&](double t) {
        const double x = double(cx) + double(radius) * std::sin(t), y = double(cy) - double(radius) * std::cos(t);
        if (first) minX = maxX = x, minY = maxY = y, first = false;
        minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
    };
    take(start);
    take(end);
    const double quarter = double(kPi) / 2.0;
    const double firstAxis = std::ceil(double(start) / quarter);
    for (int k = 0; k < 4; ++k) {
        const double t = (firstAxis + k) * quarter;
        if (t >= end) break;
        if (t > start) take(t);
    }
    clip.left = std::max(clip.left, TruncateToInt64(std::floor(minX)) - 1);
    clip.right = std::min(clip.right, TruncateToInt64(std::floor(maxX)) + 2);
    clip.top = std::max(clip.top, TruncateToInt64(std::floor(minY)) - 1);
    clip.bottom = std::min(clip.bottom, TruncateToInt64(std::floor(maxY)) + 2);
}

// One piece of at most half a turn, drawn as the outline clipped by the box its
// two end points cut off.
template <class P>
void DrawArcPiece(const PixelView& memory, const P& painter, float cx, float cy, float radius, float start,
                  float end, int w, bool antialias)
{
    const double halfPi = double(kPi) / 2.0, pi = double(kPi), threeHalfPi = 3.0 * double(kPi) / 2.0;
    const double eps = 1e-6;
    ClipBox clip = WholeView(memory);
    std::int64_t px, py;

    const double ts = NormaliseAngle(start);
    ArcPoint(cx, cy, radius, ts, px, py);
    if (ts < eps) clip.left = std::max<std::int64_t>(px, 0);
    else if (ts < halfPi + eps) clip.top = std::max<std::int64_t>(py, 0);
    else if (ts < pi + eps) clip.right = std::min(clip.right, px);
    else if (ts >= threeHalfPi + eps) clip.left = std::max(clip.left, px);
    else clip.bottom = std::min(clip.bottom, py);

    const double te = NormaliseAngle(end);
    ArcPoint(cx, cy, radius, te, px, py);
    if (te < halfPi - eps) clip.right = std::min(clip.right, px);
    else if (te < pi - eps) clip.bottom = std::min(clip.bottom, py);
    else if (te >= threeHalfPi - eps) clip.top = std::max(clip.top, py);
    else clip.left = std::max(clip.left, px);

    NarrowToExtent(clip, cx, cy, radius, start, end);
    DrawCircleOutline(memory, painter, cx, cy, radius, w, antialias, clip);
}

}  // namespace

void DrawCircle(Bitmap* bitmap, float cx, float cy, float radius, PixelWord colour, float opacity, BlendMode mode,
                bool antialias)
{
    if (const CircleStamp* stamp = FindCircleStamp(radius)) {
        const std::uint8_t* mask = antialias ? stamp->antialiased : stamp->plain;
        DrawCoverageMask(bitmap, TruncateToInt32(cx - radius), TruncateToInt32(cy - radius), colour, mask,
                         stamp->size, stamp->size, opacity, mode);
        return;
    }
    PixelView view;
    if (!OpenView(bitmap, view)) return;
    if (view.bottomUp) cy = float(view.height - 1) - cy;
    const int w = OutlineWeight(opacity, mode);
    if (w == 0) return;
    const PixelView memory = MemoryLayout(view);
    WithPainter(mode, colour, [&](const auto& painter) {
        DrawCircleOutline(memory, painter, cx, cy, radius, w, antialias, WholeView(memory));
    });
}

void DrawArc(Bitmap* bitmap, float cx, float cy, float radius, float startAngle, float endAngle, PixelWord colour,
             float opacity, BlendMode mode, bool antialias)
{
    PixelView view;
    if (!OpenView(bitmap, view) || !std::isfinite(startAngle) || !std::isfinite(endAngle)) return;
    if (view.bottomUp) {
        // Mirroring turns angle t into pi - t and reverses the direction, so the
        // mirrored arc runs from pi - end to pi - start.
        cy = float(view.height - 1) - cy;
        const float start = kPi - endAngle, end = kPi - startAngle;
        startAngle = start, endAngle = end;
    }
    // An arc that ends before it starts is empty.
    if (endAngle < startAngle) return;
    const int w = OutlineWeight(opacity, mode);
    if (w == 0) return;
    const PixelView memory = MemoryLayout(view);

    WithPainter(mode, colour, [&](const auto& painter) {
        float start = startAngle;
        if (endAngle - start >= 2.0f * kPi) {
            DrawCircleOutline(memory, painter, cx, cy, radius, w, antialias, WholeView(memory));
            return;
        }
        // Longer arcs are cut at multiples of pi (pi for a start in 0..pi, 0 for
        // one in -pi..0) so that each piece is at most half a turn.
        for (int piece = 0; piece < 4 && endAngle - start > kPi; ++piece) {
            float split = (std::floor(start / kPi) + 1.0f) * kPi;
            if (!(split > start) || split - start > kPi) split = start + kPi;
            DrawArcPiece(memory, painter, cx, cy, radius, start, split, w, antialias);
            start = split;
        }
        DrawArcPiece(memory, painter, cx, cy, radius, start, endAngle, w, antialias);
    });
}
