// BlitBitmap / BlitBitmapArea / CopyBitmap: clipping, flipped rows and row spans.
#include "bitmap.h"
#include "bitmap_test_support.h"

#include <gtest/gtest.h>

using namespace bitmap_test;

namespace {

constexpr PixelWord kBackground = 0x01020304u;

// Which source pixel (if any) landed on each destination pixel: -1 for none.
struct Landing {
    int sx, sy;
};

Landing Traced(const Bitmap& dest, int x, int y)
{
    const PixelWord p = ReadPixel(&dest, x, y);
    if (p == kBackground) return {-1, -1};
    return {PixelGreen(p), PixelRed(p)};
}

}  // namespace

TEST(BlitBitmap, NegativeSourceRectLeftShiftsTheDestination)
{
    MemoryBitmap src(20, 10), dest(24, 10);
    FillMarkers(src);
    Fill(dest, kBackground);
    const BitmapRect rect{-3, 0, 10, 10};
    BlitBitmap(&dest, &src, 5, 0, &rect, 1.0f, BlendCopy);
    for (int x = 0; x < 24; ++x) {
        const Landing l = Traced(dest, x, 4);
        if (x >= 8 && x <= 17) EXPECT_EQ(l.sx, x - 8) << x;
        else EXPECT_EQ(l.sx, -1) << x;
    }
}

TEST(BlitBitmap, ClipsAtEveryBorder)
{
    struct Case {
        const char* name;
        int x, y;
        int firstX, firstY, lastX, lastY;  // destination pixels covered
        int srcX0, srcY0;                  // source pixel at (firstX, firstY)
    };
    // A 6 x 5 source onto a 10 x 8 destination.
    const Case cases[] = {
        {"inside", 2, 1, 2, 1, 7, 5, 0, 0},
        {"past left", -2, 1, 0, 1, 3, 5, 2, 0},
        {"past top", 2, -3, 2, 0, 7, 1, 0, 3},
        {"past right", 7, 1, 7, 1, 9, 5, 0, 0},
        {"past bottom", 2, 6, 2, 6, 7, 7, 0, 0},
        {"past all four", -1, -1, 0, 0, 4, 3, 1, 1},
    };
    for (const Case& c : cases) {
        MemoryBitmap src(6, 5), dest(10, 8);
        FillMarkers(src);
        Fill(dest, kBackground);
        BlitBitmap(&dest, &src, c.x, c.y, nullptr, 1.0f, BlendCopy);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 10; ++x) {
                const bool inside = x >= c.firstX && x <= c.lastX && y >= c.firstY && y <= c.lastY;
                const Landing l = Traced(dest, x, y);
                if (inside) {
                    EXPECT_EQ(l.sx, c.srcX0 + x - c.firstX) << c.name << " " << x << "," << y;
                    EXPECT_EQ(l.sy, c.srcY0 + y - c.firstY) << c.name << " " << x << "," << y;
                } else {
                    EXPECT_EQ(l.sx, -1) << c.name << " " << x << "," << y;
                }
            }
    }
}

TEST(BlitBitmap, FarOutsideOrEmptyDrawsNothing)
{
    MemoryBitmap src(6, 5), dest(10, 8), empty;
    FillMarkers(src);
    Fill(dest, kBackground);
    const std::vector<PixelWord> before = Pixels(dest);
    BlitBitmap(&dest, &src, 10, 0, nullptr, 1.0f, BlendCopy);
    BlitBitmap(&dest, &src, -6, 0, nullptr, 1.0f, BlendCopy);
    BlitBitmap(&dest, &src, 0, 8, nullptr, 1.0f, BlendCopy);
    BlitBitmap(&dest, &src, INT32_MIN, INT32_MAX, nullptr, 1.0f, BlendCopy);
    BlitBitmapArea(&dest, &src, 0, 0, INT32_MAX - 2, 0, 100, 100, 1.0f, BlendCopy);
    BlitBitmapArea(&dest, &src, 0, 0, 6, 0, 4, 4, 1.0f, BlendCopy);
    BlitBitmapArea(&dest, &src, 0, 0, 0, 0, 0, 4, 1.0f, BlendCopy);
    BlitBitmap(&dest, &empty, 0, 0, nullptr, 1.0f, BlendCopy);
    BlitBitmap(&empty, &src, 0, 0, nullptr, 1.0f, BlendCopy);
    BlitBitmap(nullptr, &src, 0, 0, nullptr, 1.0f, BlendCopy);
    BlitBitmap(&dest, nullptr, 0, 0, nullptr, 1.0f, BlendCopy);
    BlitBitmap(&dest, &src, 0, 0, nullptr, 0.0f, BlendCopy);
    EXPECT_EQ(Pixels(dest), before);
}

TEST(BlitBitmapArea, CopiesTheNamedArea)
{
    MemoryBitmap src(8, 8), dest(5, 5);
    FillMarkers(src);
    Fill(dest, kBackground);
    BlitBitmapArea(&dest, &src, 1, 2, 3, 4, 2, 3, 1.0f, BlendCopy);
    EXPECT_EQ(ReadPixel(&dest, 1, 2), Marker(3, 4));
    EXPECT_EQ(ReadPixel(&dest, 2, 4), Marker(4, 6));
    EXPECT_EQ(ReadPixel(&dest, 3, 2), kBackground);
    EXPECT_EQ(ReadPixel(&dest, 1, 5), 0u);  // outside the destination
}

TEST(BlitBitmap, FlippedSourceAndDestinationKeepImageOrientation)
{
    // Every path (block copy, 0.5 average, combiner loop, channel copy) on every
    // pairing of flipped and unflipped bitmaps must match the unflipped result.
    const struct {
        float opacity;
        BlendMode mode;
    } paths[] = {{1.0f, BlendCopy}, {0.5f, BlendCopy}, {0.7f, BlendAdd}, {1.0f, BlendUseSourceAlpha}, {1.0f, 0xF6u}};
    for (const auto& path : paths) {
        MemoryBitmap plainSrc(4, 3), plainDest(6, 5);
        FillMarkers(plainSrc);
        Fill(plainDest, kBackground);
        BlitBitmapArea(&plainDest, &plainSrc, 1, 1, 1, 0, 3, 3, path.opacity, path.mode);
        const std::vector<PixelWord> expected = Pixels(plainDest);
        for (int flips = 1; flips < 4; ++flips) {
            FlippedBitmap fSrc(4, 3), fDest(6, 5);
            MemoryBitmap uSrc(4, 3), uDest(6, 5);
            Bitmap& src = flips & 1 ? static_cast<Bitmap&>(fSrc) : uSrc;
            Bitmap& dest = flips & 2 ? static_cast<Bitmap&>(fDest) : uDest;
            FillMarkers(src);
            Fill(dest, kBackground);
            BlitBitmapArea(&dest, &src, 1, 1, 1, 0, 3, 3, path.opacity, path.mode);
            EXPECT_EQ(Pixels(dest), expected) << "mode " << path.mode << " flips " << flips;
        }
    }
}

TEST(BlitBitmap, HonoursAWiderRowSpan)
{
    SystemBitmap surface(12, 6);
    Fill(surface, kBackground);
    surface.Resize(5, 4);  // keeps the 12-pixel span
    ASSERT_EQ(surface.GetRowStride(), 12);
    MemoryBitmap src(3, 3);
    FillMarkers(src);
    BlitBitmap(&surface, &src, 3, 2, nullptr, 1.0f, BlendCopy);
    EXPECT_EQ(ReadPixel(&surface, 3, 2), Marker(0, 0));
    EXPECT_EQ(ReadPixel(&surface, 4, 3), Marker(1, 1));
    // Column 5 and row 4 are beyond the logical size: memory there is untouched.
    EXPECT_EQ(surface.GetPixels()[2 * 12 + 5], kBackground);
    EXPECT_EQ(surface.GetPixels()[3 * 12 + 5], kBackground);
}

TEST(CopyBitmap, ResizesAndCopies)
{
    MemoryBitmap src(7, 3), dest(2, 2);
    FillMarkers(src);
    CopyBitmap(&dest, &src);
    EXPECT_EQ(dest.GetWidth(), 7);
    EXPECT_EQ(dest.GetHeight(), 3);
    EXPECT_EQ(Pixels(dest), Pixels(src));
}
