// DrawLine: clipped, with separate walks for straight, diagonal and general
// lines; general lines are drawn from both ends towards the middle.
#include "bitmap.h"
#include "painter.h"
#include "pixel_access.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

using namespace bitmap_detail;

namespace {

struct Point {
    std::int64_t x, y;
};

int OutCode(const Point& p, std::int64_t width, std::int64_t height)
{
    return (p.x < 0 ? 1 : 0) | (p.x >= width ? 2 : 0) | (p.y < 0 ? 4 : 0) | (p.y >= height ? 8 : 0);
}

// Cohen-Sutherland; false when the segment misses the bitmap.
bool ClipSegment(Point& a, Point& b, std::int64_t width, std::int64_t height)
{
    int codeA = OutCode(a, width, height), codeB = OutCode(b, width, height);
    // The bottom and right edges are met at row height and column width, so an
    // end may need a second pass; a handful of passes always settles.
    for (int pass = 0; pass < 8; ++pass) {
        if ((codeA | codeB) == 0) return true;
        if (codeA & codeB) return false;
        const int code = codeA ? codeA : codeB;
        const double x1 = double(a.x), y1 = double(a.y), x2 = double(b.x), y2 = double(b.y);
        Point moved;
        if (code & 8) moved = {a.x + TruncateToInt64((x2 - x1) * (double(height) - y1) / (y2 - y1)), height - 1};
        else if (code & 4) moved = {a.x - TruncateToInt64((x2 - x1) * y1 / (y2 - y1)), 0};
        else if (code & 2) moved = {width - 1, a.y + TruncateToInt64((y2 - y1) * (double(width) - x1) / (x2 - x1))};
        else moved = {0, a.y - TruncateToInt64((y2 - y1) * x1 / (x2 - x1))};
        if (code == codeA) a = moved, codeA = OutCode(a, width, height);
        else b = moved, codeB = OutCode(b, width, height);
    }
    return false;
}

template <class P>
struct LineCanvas {
    const PixelView& view;
    const P& painter;
    PixelWord* At(std::int64_t x, std::int64_t y) const
    {
        return view.Contains(x, y) ? view.At(std::int32_t(x), std::int32_t(y)) : nullptr;
    }
    void Plot(std::int64_t x, std::int64_t y, int v) const
    {
        if (PixelWord* p = At(x, y)) painter.Plot(p, v);
    }
    void Blend(std::int64_t x, std::int64_t y, int v) const
    {
        if (PixelWord* p = At(x, y)) painter.Blend(p, v);
    }
    template <class Fn>
    void Word(std::int64_t x, std::int64_t y, Fn&& fn) const
    {
        if (PixelWord* p = At(x, y)) *p = fn(*p);
    }
};

// Plain-copy mixes at exact opacities, done on the whole word.
PixelWord ThreeQuarters(PixelWord colour, PixelWord p) { return Half(colour) + Quarter(colour) + Quarter(p); }
PixelWord OneQuarter(PixelWord colour, PixelWord p) { return Half(p) + Quarter(p) + Quarter(colour); }

template <class P>
void StraightLine(const LineCanvas<P>& canvas, Point a, Point b, float opacity)
{
    const std::int64_t dx = a.x == b.x ? 0 : 1, dy = a.x == b.x ? 1 : 0;
    if (b.x < a.x || b.y < a.y) std::swap(a, b);
    const std::int64_t count = (b.x - a.x) + (b.y - a.y) + 1;
    const PixelWord colour = canvas.painter.colour;
    auto each = [&](auto&& fn) {
        for (std::int64_t i = 0; i < count; ++i) fn(a.x + i * dx, a.y + i * dy);
    };
    if constexpr (P::kPlainCopy) {
        if (opacity == 1.0f) return each([&](auto x, auto y) { canvas.Word(x, y, [&](PixelWord) { return colour; }); });
        if (opacity == 0.5f)
            return each([&](auto x, auto y) { canvas.Word(x, y, [&](PixelWord p) { return Half(colour) + Half(p); }); });
        if (opacity == 0.25f)
            return each([&](auto x, auto y) { canvas.Word(x, y, [&](PixelWord p) { return OneQuarter(colour, p); }); });
        if (opacity == 0.75f)
            return each([&](auto x, auto y) { canvas.Word(x, y, [&](PixelWord p) { return ThreeQuarters(colour, p); }); });
    }
    const int w = WeightFromOpacity(opacity);
    if (w == 0) return;
    each([&](auto x, auto y) { canvas.Plot(x, y, w); });
}

template <class P>
void DiagonalLine(const LineCanvas<P>& canvas, Point a, Point b, float opacity, bool antialias)
{
    const std::int64_t n = std::llabs(b.x - a.x);
    const std::int64_t sx = b.x > a.x ? 1 : -1, sy = b.y > a.y ? 1 : -1;
    const PixelWord colour = canvas.painter.colour;
    if (P::kPlainCopy && opacity == 1.0f) {
        for (std::int64_t k = 0; k <= n; ++k) {
            const std::int64_t x = a.x + k * sx, y = a.y + k * sy;
            if (!antialias) {
                canvas.Word(x, y, [&](PixelWord) { return colour; });
                continue;
            }
            canvas.Word(x, y, [&](PixelWord p) { return ThreeQuarters(colour, p); });
            if (k == n) break;
            canvas.Word(x + sx, y, [&](PixelWord p) { return OneQuarter(colour, p); });
            canvas.Word(x, y + sy, [&](PixelWord p) { return OneQuarter(colour, p); });
        }
        return;
    }
    const int w = WeightFromOpacity(opacity);
    if (w == 0) return;
    for (std::int64_t k = 0; k <= n; ++k) {
        const std::int64_t x = a.x + k * sx, y = a.y + k * sy;
        if (!antialias) {
            canvas.Plot(x, y, w);
            continue;
        }
        canvas.Blend(x, y, w * 3 / 4);
        if (k == n) break;
        canvas.Blend(x + sx, y, w / 4);
        canvas.Blend(x, y + sy, w / 4);
    }
}

// A walker along the major axis; minor is the coordinate on the other axis.
struct Walker {
    std::int64_t major, minor;
};

template <class P>
void GeneralLine(const LineCanvas<P>& canvas, Point a, Point b, float opacity, bool antialias)
{
    const int w = WeightFromOpacity(opacity);
    if (w == 0) return;
    const bool xMajor = std::llabs(b.x - a.x) > std::llabs(b.y - a.y);
    auto majorOf = [&](const Point& p) { return xMajor ? p.x : p.y; };
    auto minorOf = [&](const Point& p) { return xMajor ? p.y : p.x; };
    if (majorOf(b) < majorOf(a)) std::swap(a, b);
    const std::int64_t extent = majorOf(b) - majorOf(a);
    const std::int64_t minorDiff = minorOf(b) - minorOf(a);
    const std::int64_t step = minorDiff >= 0 ? 1 : -1;
    const std::int64_t slope = TruncateToInt64(double(std::llabs(minorDiff)) / double(extent) * 65536.0);

    Walker front{majorOf(a), minorOf(a)}, back{majorOf(b), minorOf(b)};
    auto plot = [&](const Walker& at, std::int64_t minorShift, int v, bool share) {
        const std::int64_t x = xMajor ? at.major : at.minor + minorShift;
        const std::int64_t y = xMajor ? at.minor + minorShift : at.major;
        if (share) canvas.Blend(x, y, v);
        else canvas.Plot(x, y, v);
    };
    const std::int64_t halfSteps = (extent + 1) / 2;
    const bool even = extent % 2 == 0;

    if (!antialias) {
        std::int64_t e = 0;
        for (std::int64_t k = 0; k < halfSteps; ++k) {
            plot(front, 0, w, false);
            plot(back, 0, w, false);
            ++front.major, --back.major;
            e += slope;
            if (e >= 0x8000) front.minor += step, back.minor -= step, e -= 65536;
        }
        if (even) plot(front, 0, w, false);
        return;
    }

    // Antialiased: the line pixel takes 255 - e/256 and its neighbour towards
    // the minor side e/256, scaled by w when w is not full.
    auto onLine = [&](std::int64_t e) { return w == 256 ? int(255 - e / 256) : int((255 - e / 256) * w / 256); };
    auto beside = [&](std::int64_t e) { return w == 256 ? int(e / 256) : int(w * (e / 256) / 256); };
    plot(front, 0, w, false);
    plot(back, 0, w, false);
    std::int64_t e = slope;
    for (std::int64_t k = 1; k < halfSteps; ++k) {
        ++front.major, --back.major;
        plot(front, 0, onLine(e), true);
        plot(front, step, beside(e), true);
        plot(back, 0, onLine(e), true);
        plot(back, -step, beside(e), true);
        e += slope;
        if (e >= 65536) front.minor += step, back.minor -= step, e -= 65536;
    }
    if (even) {
        ++front.major;
        plot(front, 0, onLine(e), true);
        plot(front, step, beside(e), true);
    }
}

}  // namespace

void DrawLine(Bitmap* bitmap, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, PixelWord colour,
              float opacity, BlendMode mode, bool antialias)
{
    PixelView view;
    if (!OpenView(bitmap, view)) return;
    Point a{x1, y1}, b{x2, y2};
    if (view.bottomUp) a.y = view.height - 1 - a.y, b.y = view.height - 1 - b.y;
    const PixelView memory = MemoryLayout(view);
    if (!ClipSegment(a, b, memory.width, memory.height)) return;

    WithPainter(mode, colour, [&](const auto& painter) {
        const LineCanvas<std::remove_cvref_t<decltype(painter)>> canvas{memory, painter};
        if (a.x == b.x || a.y == b.y) StraightLine(canvas, a, b, opacity);
        else if (std::llabs(b.x - a.x) == std::llabs(b.y - a.y)) DiagonalLine(canvas, a, b, opacity, antialias);
        else GeneralLine(canvas, a, b, opacity, antialias);
    });
}
