// The circle outline shared by DrawCircle and DrawArc.
#pragma once

#include "painter.h"
#include "pixel_access.h"

#include <cmath>
#include <cstdint>

namespace bitmap_detail {

// Pixels outside left <= x < right, top <= y < bottom are skipped.
struct ClipBox {
    std::int64_t left, top, right, bottom;
};

// Radii at or beyond this are refused: single-precision steps of 1 stop
// advancing long before 2^24, and no such ring is drawable anyway.
constexpr float kLargestRadius = 4194304.0f;

// False when no pixel of a ring of this radius can land in the clip box.
inline bool RingMeetsBox(float cx, float cy, float radius, const ClipBox& clip)
{
    if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(radius)) return false;
    if (std::fabs(radius) >= kLargestRadius) return false;
    const double r = std::fabs(double(radius));
    const double nearX = std::fmax(double(clip.left) - cx, std::fmax(0.0, cx - double(clip.right)));
    const double nearY = std::fmax(double(clip.top) - cy, std::fmax(0.0, cy - double(clip.bottom)));
    const double farX = std::fmax(std::fabs(cx - double(clip.left)), std::fabs(cx - double(clip.right)));
    const double farY = std::fmax(std::fabs(cy - double(clip.top)), std::fabs(cy - double(clip.bottom)));
    const double margin = 3.0;  // truncation and the antialiasing pixel beyond the ring
    return std::hypot(nearX, nearY) <= r + margin && std::hypot(farX, farY) >= r - margin;
}

// Outline centred on (cx, cy) in memory coordinates, at weight w.
template <class P>
void DrawCircleOutline(const PixelView& memory, const P& painter, float cx, float cy, float radius, int w,
                       bool antialias, const ClipBox& clip)
{
    if (!RingMeetsBox(cx, cy, radius, clip)) return;
    auto plot = [&](float px, float py, int v) {
        const std::int64_t x = TruncateToInt64(px), y = TruncateToInt64(py);
        if (x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom || !memory.Contains(x, y)) return;
        painter.Plot(memory.At(std::int32_t(x), std::int32_t(y)), v);
    };

    if (!antialias) {
        // Midpoint method in single precision.
        const float r = radius;
        plot(cx, cy + r, w), plot(cx, cy - r, w), plot(cx + r, cy, w), plot(cx - r, cy, w);
        float x = 0.0f, y = r, d = (5.0f - 4.0f * r) / 4.0f;
        while (x < y) {
            x += 1.0f;
            if (d >= 0.0f) {
                y -= 1.0f;
                d += 2.0f * (x - y) + 1.0f;
            } else {
                d += 2.0f * x + 1.0f;
            }
            plot(cx + x, cy + y, w), plot(cx - x, cy + y, w), plot(cx + x, cy - y, w), plot(cx - x, cy - y, w);
            plot(cx + y, cy + x, w), plot(cx - y, cy + x, w), plot(cx + y, cy - x, w), plot(cx - y, cy - x, w);
        }
        return;
    }

    // Antialiased: the ring's fractional position splits w between the two
    // pixels it falls between.
    float x = 0.0f, y = radius;
    while (x < y + 1.0f) {
        const float f = y - std::floor(y);
        if (f == 0.0f) {
            plot(cx + x, cy + y, w), plot(cx - x, cy + y, w), plot(cx + x, cy - y, w), plot(cx - x, cy - y, w);
            plot(cx + y, cy + x, w), plot(cx - y, cy + x, w), plot(cx + y, cy - x, w), plot(cx - y, cy - x, w);
        } else {
            const int a = int(TruncateToInt64(float(w) * f)), b = w - a;
            for (const float sx : {x, -x}) {
                plot(cx + sx, cy + y + 1.0f, a);
                plot(cx + sx, cy + y, b);
                plot(cx + sx, cy - y + 1.0f, b);
                plot(cx + sx, cy - y, a);
            }
            for (const float sy : {x, -x}) {
                plot(cx + y + 1.0f, cy + sy, a);
                plot(cx + y, cy + sy, b);
                plot(cx - y + 1.0f, cy + sy, b);
                plot(cx - y, cy + sy, a);
            }
        }
        x += 1.0f;
        y = std::sqrt(radius * radius - x * x);
    }
}

}  // namespace bitmap_detail
