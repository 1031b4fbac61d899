// DrawLine, DrawCircle and DrawArc: the pixel sets and antialiasing weights.
#include "bitmap.h"
#include "bitmap_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <set>
#include <tuple>
#include <utility>

using namespace bitmap_test;

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
using PixelSet = std::set<std::pair<int, int>>;

PixelSet Touched(const Bitmap& bitmap, PixelWord background)
{
    PixelSet set;
    for (int y = 0; y < bitmap.GetHeight(); ++y)
        for (int x = 0; x < bitmap.GetWidth(); ++x)
            if (ReadPixel(&bitmap, x, y) != background) set.insert({x, y});
    return set;
}

PixelSet LinePixels(int w, int h, int x1, int y1, int x2, int y2)
{
    MemoryBitmap bitmap(w, h);
    Fill(bitmap, 0);
    DrawLine(&bitmap, x1, y1, x2, y2, ~0u, 1.0f, BlendCopy, false);
    return Touched(bitmap, 0);
}

// The midpoint circle of radius 5 about (10, 10).
PixelSet RadiusFiveRing()
{
    PixelSet set;
    const int offsets[][2] = {{0, 5}, {5, 0}, {1, 5}, {5, 1}, {2, 5}, {5, 2}, {3, 4}, {4, 3}};
    for (auto [dx, dy] : offsets)
        for (int sx : {-1, 1})
            for (int sy : {-1, 1}) set.insert({10 + sx * dx, 10 + sy * dy});
    return set;
}

}  // namespace

TEST(DrawLine, StraightDiagonalAndRejectedLines)
{
    PixelSet row;
    for (int x = 0; x < 10; ++x) row.insert({x, 0});
    EXPECT_EQ(LinePixels(12, 6, 0, 0, 9, 0), row);
    EXPECT_EQ(LinePixels(12, 6, 9, 0, 0, 0), row);
    EXPECT_TRUE(LinePixels(12, 6, -10, 5, -1, 5).empty());
    EXPECT_TRUE(LinePixels(12, 6, 3, -4, 9, -1).empty());
    EXPECT_EQ(LinePixels(12, 6, 0, 0, 4, 4), (PixelSet{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}));
    EXPECT_EQ(LinePixels(12, 6, 2, 1, 2, 3), (PixelSet{{2, 1}, {2, 2}, {2, 3}}));
    EXPECT_EQ(LinePixels(12, 6, 7, 2, 7, 2), (PixelSet{{7, 2}}));
}

TEST(DrawLine, ShallowLineHasOnePixelPerColumnFromEitherEnd)
{
    const PixelSet expected{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 2}, {6, 2}, {7, 2}, {8, 3}, {9, 3}};
    EXPECT_EQ(LinePixels(10, 4, 0, 0, 9, 3), expected);
    EXPECT_EQ(LinePixels(10, 4, 9, 3, 0, 0), expected);
    // Steep lines are the same walk along y.
    PixelSet steep;
    for (auto [x, y] : expected) steep.insert({y, x});
    EXPECT_EQ(LinePixels(4, 10, 0, 0, 3, 9), steep);
    EXPECT_EQ(LinePixels(4, 10, 3, 9, 0, 0), steep);
}

TEST(DrawLine, ClippedAtEveryBorder)
{
    PixelSet diagonal;
    for (int i = 0; i < 10; ++i) diagonal.insert({i, i});
    EXPECT_EQ(LinePixels(10, 10, -5, -5, 14, 14), diagonal);
    EXPECT_EQ(LinePixels(10, 10, 14, 14, -5, -5), diagonal);
    // Every pixel stays inside whatever the ends.
    for (auto [x1, y1, x2, y2] : {std::tuple{-100, 3, 200, 7}, {4, -50, 6, 80}, {-3000, -1925, 4000, 2575},
                                  {INT32_MIN, 0, INT32_MAX, 9}, {5, INT32_MIN, 5, INT32_MAX}}) {
        const PixelSet set = LinePixels(10, 10, x1, y1, x2, y2);
        EXPECT_FALSE(set.empty()) << x1 << "," << y1;
        for (auto [x, y] : set) EXPECT_TRUE(x >= 0 && x < 10 && y >= 0 && y < 10);
    }
}

TEST(DrawLine, WeightShortcutsDifferFromPlotPixel)
{
    MemoryBitmap line(3, 1), point(1, 1);
    Fill(line, 0x01010101u);
    Fill(point, 0x01010101u);
    DrawLine(&line, 0, 0, 2, 0, 0x01010101u, 0.502f, BlendCopy, false);
    PlotPixel(&point, 0, 0, 0x01010101u, 0.502f, BlendCopy);
    EXPECT_EQ(ReadPixel(&line, 1, 0), 0x01010101u);  // (1 + 1) >> 1
    EXPECT_EQ(ReadPixel(&point, 0, 0), 0u);          // (1 >> 1) + (1 >> 1)
    Fill(line, 0x01010101u);
    DrawLine(&line, 0, 0, 2, 0, 0x01010101u, 0.5f, BlendCopy, false);
    EXPECT_EQ(ReadPixel(&line, 1, 0), 0u);
    Fill(line, 0);
    DrawLine(&line, 0, 0, 2, 0, ~0u, 0.75f, BlendCopy, false);
    EXPECT_EQ(ReadPixel(&line, 2, 0), 0xBEBEBEBEu);  // 127 + 63 + 0
}

TEST(DrawLine, AntialiasedDiagonalFillsTheCorners)
{
    MemoryBitmap bitmap(4, 4);
    Fill(bitmap, 0);
    DrawLine(&bitmap, 0, 0, 2, 2, ~0u, 1.0f, BlendCopy, true);
    // Line pixels: (colour >> 1) + (colour >> 2) + (pixel >> 2) = 190; corners 63.
    const PixelWord line = 0xBEBEBEBEu, corner = 0x3F3F3F3Fu;
    const PixelWord expected[4][4] = {
        {line, corner, 0, 0}, {corner, line, corner, 0}, {0, corner, line, 0}, {0, 0, 0, 0}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(ReadPixel(&bitmap, x, y), expected[y][x]) << x << "," << y;
}

TEST(DrawLine, AntialiasedShallowLineSplitsEachColumn)
{
    // (0,0)-(4,1): slope 16384; the ends are stored, columns 1 and 3 split
    // 191/64 and the middle column 127/128 (copy rule towards white).
    MemoryBitmap bitmap(5, 2);
    Fill(bitmap, 0);
    DrawLine(&bitmap, 0, 0, 4, 1, ~0u, 1.0f, BlendCopy, true);
    const int expected[2][5] = {{255, 191, 127, 64, 0}, {0, 64, 128, 191, 255}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(ReadPixel(&bitmap, x, y), 0x01010101u * expected[y][x]) << x << "," << y;
}

TEST(DrawLine, FlippedBitmapMirrorsTheEnds)
{
    FlippedBitmap flipped(10, 4);
    MemoryBitmap plain(10, 4);
    Fill(flipped, 0);
    Fill(plain, 0);
    DrawLine(&flipped, 0, 0, 9, 3, ~0u, 0.7f, BlendAdd, true);
    DrawLine(&plain, 0, 3, 9, 0, ~0u, 0.7f, BlendAdd, true);
    EXPECT_TRUE(std::equal(flipped.GetPixels(), flipped.GetPixels() + 40, plain.GetPixels()));
}

TEST(DrawCircle, ExactRadiusDrawsItsStamp)
{
    const CircleStamp* stamp = FindCircleStamp(3.0f);
    ASSERT_NE(stamp, nullptr);
    ASSERT_EQ(stamp->size, 7);
    MemoryBitmap bitmap(12, 12);
    Fill(bitmap, 0);
    DrawCircle(&bitmap, 5.0f, 5.0f, 3.0f, ~0u, 1.0f, BlendCopy, true);
    // White over black at full weight reproduces each coverage byte exactly.
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inStamp = x >= 2 && x < 9 && y >= 2 && y < 9;
            const int coverage = inStamp ? stamp->antialiased[(y - 2) * 7 + (x - 2)] : 0;
            EXPECT_EQ(ReadPixel(&bitmap, x, y), 0x01010101u * coverage) << x << "," << y;
        }
    for (float r : {2.0f, 2.5f, 3.5f, 4.0f}) EXPECT_NE(FindCircleStamp(r), nullptr);
    EXPECT_EQ(FindCircleStamp(3.01f), nullptr);

    MemoryBitmap general(12, 12);
    Fill(general, 0);
    DrawCircle(&general, 5.0f, 5.0f, 3.01f, ~0u, 1.0f, BlendCopy, true);
    EXPECT_NE(Pixels(general), Pixels(bitmap));
}

TEST(DrawCircle, MidpointRingOfRadiusFive)
{
    MemoryBitmap bitmap(21, 21);
    Fill(bitmap, 0);
    DrawCircle(&bitmap, 10.0f, 10.0f, 5.0f, ~0u, 1.0f, BlendCopy, false);
    EXPECT_EQ(Touched(bitmap, 0), RadiusFiveRing());
    EXPECT_EQ(ReadPixel(&bitmap, 15, 10), ~0u);
}

TEST(DrawCircle, AntialiasedIntegralRadiusIsTheRingAtFullWeight)
{
    // With an integral radius the first and last steps land on whole pixels;
    // every touched pixel lies within a pixel of the true circle.
    MemoryBitmap bitmap(21, 21);
    Fill(bitmap, 0);
    DrawCircle(&bitmap, 10.0f, 10.0f, 5.0f, ~0u, 1.0f, BlendCopy, true);
    EXPECT_EQ(ReadPixel(&bitmap, 10, 5), ~0u);
    EXPECT_EQ(ReadPixel(&bitmap, 15, 10), ~0u);
    for (auto [x, y] : Touched(bitmap, 0)) {
        const double d = std::hypot(x - 10.0, y - 10.0);
        EXPECT_TRUE(d > 3.9 && d < 6.5) << x << "," << y;
    }
}

TEST(DrawCircle, ClipsAtTheBorderAndHandlesFlippedBitmaps)
{
    MemoryBitmap small(8, 8);
    Fill(small, 0);
    DrawCircle(&small, 1.0f, 1.0f, 5.0f, ~0u, 1.0f, BlendCopy, true);
    DrawCircle(&small, -100.0f, 3.0f, 1e9f, ~0u, 1.0f, BlendCopy, false);
    DrawCircle(&small, 3.0f, 3.0f, std::numeric_limits<float>::quiet_NaN(), ~0u, 1.0f, BlendCopy, false);

    FlippedBitmap flipped(21, 21);
    MemoryBitmap plain(21, 21);
    Fill(flipped, 0);
    Fill(plain, 0);
    DrawCircle(&flipped, 10.0f, 8.0f, 5.0f, ~0u, 1.0f, BlendCopy, false);
    DrawCircle(&plain, 10.0f, 12.0f, 5.0f, ~0u, 1.0f, BlendCopy, false);
    EXPECT_TRUE(std::equal(flipped.GetPixels(), flipped.GetPixels() + 21 * 21, plain.GetPixels()));
}

TEST(Primitives, NeverWriteBeyondTheLogicalWidthOfAWideSpan)
{
    // A shrunk surface keeps its wider rows: the pixels past the logical width
    // are inside the allocation, so only this check (not the sanitizer) sees a stray write.
    SystemBitmap surface(12, 8);
    Fill(surface, 0);
    surface.Resize(6, 6);
    ASSERT_EQ(surface.GetRowStride(), 12);
    DrawLine(&surface, 0, 1, 100, 4, ~0u, 1.0f, BlendCopy, true);
    DrawLine(&surface, 5, 0, 40, 40, ~0u, 0.7f, BlendCopy, true);
    DrawCircle(&surface, 5.0f, 3.0f, 2.7f, ~0u, 1.0f, BlendCopy, true);
    DrawCircle(&surface, 4.0f, 4.0f, 4.0f, ~0u, 1.0f, BlendCopy, true);  // stamp
    DrawArc(&surface, 5.5f, 2.5f, 3.3f, -1.0f, 2.5f, ~0u, 1.0f, BlendAdd, true);
    FillRectangle(&surface, 4, 4, 10, 10, ~0u, 0.3f, BlendCopy);
    int drawn = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x) {
            if (x >= 6 || y >= 6) EXPECT_EQ(surface.GetPixels()[y * 12 + x], 0u) << x << "," << y;
            else drawn += surface.GetPixels()[y * 12 + x] != 0;
        }
    EXPECT_GT(drawn, 12);
}

TEST(DrawArc, FullTurnIsTheWholeCircle)
{
    MemoryBitmap arc(21, 21), circle(21, 21);
    Fill(arc, 0);
    Fill(circle, 0);
    DrawArc(&arc, 10.0f, 10.0f, 5.0f, 0.0f, 2.0f * kPi, ~0u, 1.0f, BlendCopy, false);
    DrawCircle(&circle, 10.0f, 10.0f, 5.0f, ~0u, 1.0f, BlendCopy, false);
    EXPECT_EQ(Pixels(arc), Pixels(circle));
}

TEST(DrawArc, QuarterFromTheTopClockwise)
{
    MemoryBitmap bitmap(21, 21);
    Fill(bitmap, 0);
    DrawArc(&bitmap, 10.0f, 10.0f, 5.0f, 0.0f, kPi / 2, ~0u, 1.0f, BlendCopy, false);
    EXPECT_EQ(Touched(bitmap, 0), (PixelSet{{10, 5}, {11, 5}, {12, 5}, {13, 6}, {14, 7}, {15, 8}, {15, 9}}));
}

TEST(DrawArc, LongArcsAreCutIntoHalfTurns)
{
    // Three quarters from the top: everything but the top-left quadrant.
    MemoryBitmap bitmap(21, 21);
    Fill(bitmap, 0);
    DrawArc(&bitmap, 10.0f, 10.0f, 5.0f, 0.0f, 1.5f * kPi, ~0u, 1.0f, BlendCopy, false);
    PixelSet expected;
    for (auto [x, y] : RadiusFiveRing())
        if (!(x < 10 && y < 10)) expected.insert({x, y});
    EXPECT_EQ(Touched(bitmap, 0), expected);

    // Starts beyond half a turn or below minus half a turn still finish and
    // draw only ring pixels.
    for (auto [start, end] : {std::pair{3.5f, 7.0f}, {-4.0f, 0.5f}, {10.0f, 13.0f}, {-20.0f, -16.5f}}) {
        Fill(bitmap, 0);
        DrawArc(&bitmap, 10.0f, 10.0f, 5.0f, start, end, ~0u, 1.0f, BlendCopy, false);
        const PixelSet drawn = Touched(bitmap, 0);
        EXPECT_FALSE(drawn.empty()) << start;
        for (const auto& p : drawn) EXPECT_TRUE(RadiusFiveRing().count(p)) << start;
    }
}

TEST(DrawArc, DrawsOnlyBetweenItsAngles)
{
    // Every touched pixel's angle (0 up, clockwise) lies within the arc, give
    // or take the half-pixel of truncation at the ends.
    for (auto [start, end] : {std::pair{0.0f, 4.5f}, {3.3f, 4.4f}, {-2.0f, 0.3f}, {1.0f, 2.0f}, {4.0f, 7.0f}}) {
        for (bool antialias : {false, true}) {
            MemoryBitmap bitmap(41, 41);
            Fill(bitmap, 0);
            DrawArc(&bitmap, 20.0f, 20.0f, 15.0f, start, end, ~0u, 1.0f, BlendCopy, antialias);
            const PixelSet drawn = Touched(bitmap, 0);
            EXPECT_GT(drawn.size(), std::size_t(10 * (end - start))) << start << " " << antialias;  // about 13 pixels a radian
            for (auto [x, y] : drawn) {
                const double dx = x + 0.5 - 20.0, dy = 20.0 - (y + 0.5);
                double t = std::atan2(dx, dy);  // 0 up, clockwise
                while (t < start - 0.2) t += 2 * std::numbers::pi;
                EXPECT_LE(t, end + 0.2) << start << ".." << end << " at " << x << "," << y;
            }
        }
    }
    MemoryBitmap bitmap(41, 41);
    Fill(bitmap, 0);
    DrawArc(&bitmap, 20.0f, 20.0f, 15.0f, 2.0f, 1.0f, ~0u, 1.0f, BlendCopy, false);
    EXPECT_TRUE(Touched(bitmap, 0).empty());
}

TEST(DrawArc, FlippedBitmapShowsTheMirroredArc)
{
    FlippedBitmap flipped(21, 21);
    MemoryBitmap plain(21, 21);
    Fill(flipped, 0);
    Fill(plain, 0);
    DrawArc(&flipped, 10.0f, 10.0f, 5.0f, 0.0f, kPi / 2, ~0u, 1.0f, BlendCopy, false);
    DrawArc(&plain, 10.0f, 10.0f, 5.0f, kPi / 2, kPi, ~0u, 1.0f, BlendCopy, false);
    // The top-right quarter seen in a flipped bitmap sits, in memory, where an
    // unflipped bitmap keeps its bottom-right quarter.
    EXPECT_TRUE(std::equal(flipped.GetPixels(), flipped.GetPixels() + 21 * 21, plain.GetPixels()));
}
