// Source sampling in 16.16 fixed point for the scaled and rotated blits.
#pragma once

#include "pixel_access.h"
#include "pixel_combiners.h"

#include <algorithm>
#include <cstdint>

namespace bitmap_detail {

// Positions and steps are held within these bounds so that no walk can
// overflow (a position of 2^30 pixels is already far outside any bitmap).
constexpr std::int64_t kMaxFixedPosition = std::int64_t(1) << 46;
constexpr std::int64_t kMaxFixedStep = std::int64_t(1) << 32;

inline std::int64_t FixedPosition(float v)
{
    return std::clamp(TruncateToInt64(double(v * 65536.0f)), -kMaxFixedPosition, kMaxFixedPosition);
}
inline std::int64_t FixedStep(float v)
{
    return std::clamp(TruncateToInt64(double(v * 65536.0f)), -kMaxFixedStep, kMaxFixedStep);
}

// Source cells that may be read: left <= column < right, top <= row < bottom.
struct SampleWindow {
    std::int64_t left, top, right, bottom;
};

// The pixel whose cell holds the position.
struct NearestSampler {
    static bool Sample(const PixelView& src, const SampleWindow& win, std::int64_t x, std::int64_t y,
                       SourceColour& out)
    {
        const std::int64_t c = x / 65536, r = y / 65536;
        if (r < win.top || r >= win.bottom || c < win.left || c >= win.right) return false;
        out = Channels(*src.At(std::int32_t(c), std::int32_t(r)));
        return true;
    }
};

// Four-tap interpolation; on the last column or row only the remaining taps are used.
struct BilinearSampler {
    static bool Sample(const PixelView& src, const SampleWindow& win, std::int64_t x, std::int64_t y,
                       SourceColour& out)
    {
        const std::int64_t c = x / 65536, r = y / 65536;
        if (r < win.top || r >= win.bottom || c < win.left || c >= win.right) return false;
        const std::uint32_t fx = std::uint32_t(x & 0xFFFF), fy = std::uint32_t(y & 0xFFFF);
        const PixelWord* p = src.At(std::int32_t(c), std::int32_t(r));
        const bool hasRight = c < win.right - 1, hasBelow = r < win.bottom - 1;
        const PixelWord p00 = p[0];
        if (hasRight && hasBelow) {
            const PixelWord p10 = p[1], p01 = p[src.RowStep()], p11 = p[src.RowStep() + 1];
            const std::uint32_t w11 = (fx * fy) >> 16, w10 = fx - w11, w01 = fy - w11;
            const std::uint32_t w00 = 65536 - fx - fy + w11;
            auto mix = [&](int shift) {
                return int((w00 * ((p00 >> shift) & 0xFF) + w10 * ((p10 >> shift) & 0xFF) +
                            w01 * ((p01 >> shift) & 0xFF) + w11 * ((p11 >> shift) & 0xFF)) / 65536);
            };
            out = {mix(0), mix(8), mix(16), mix(24)};
        } else if (hasBelow) {
            const PixelWord p01 = p[src.RowStep()];
            auto mix = [&](int shift) {
                return int((((p00 >> shift) & 0xFF) * (65536 - fy) + ((p01 >> shift) & 0xFF) * fy) >> 16);
            };
            out = {mix(0), mix(8), mix(16), mix(24)};
        } else if (hasRight) {
            const PixelWord p10 = p[1];
            auto mix = [&](int shift) {
                return int((((p00 >> shift) & 0xFF) * (65536 - fx) + ((p10 >> shift) & 0xFF) * fx) >> 16);
            };
            out = {mix(0), mix(8), mix(16), mix(24)};
        } else {
            out = Channels(p00);
        }
        return true;
    }
};

}  // namespace bitmap_detail
