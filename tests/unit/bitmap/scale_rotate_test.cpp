// ScaleBlitBitmap and RotateBlitBitmap: which path runs, and the sampled values.
#include "bitmap.h"
#include "bitmap_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numbers>

using namespace bitmap_test;

namespace {

constexpr PixelWord kBackground = 0x01020304u;

// An opaque row of pixels whose blue channels are the given values.
std::unique_ptr<MemoryBitmap> BlueRow(std::initializer_list<int> blues)
{
    auto row = std::make_unique<MemoryBitmap>(int(blues.size()), 1);
    int x = 0;
    for (int b : blues) Put(*row, x++, 0, MakePixelWord(255, 0, 0, b));
    return row;
}

std::vector<int> Blues(const Bitmap& bitmap, int y)
{
    std::vector<int> out;
    for (int x = 0; x < bitmap.GetWidth(); ++x) out.push_back(PixelBlue(ReadPixel(&bitmap, x, y)));
    return out;
}

}  // namespace

TEST(ScaleBlitBitmap, UnscaledIntegralPositionIsExactlyBlitBitmap)
{
    MemoryBitmap src(5, 4), viaScale(6, 6), viaBlit(6, 6);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) Put(src, x, y, MakePixelWord(40 * x + 30, 10 * y, 200 - 9 * x, 60 * y));
    for (BlendMode mode : {BlendMode(BlendCopy | BlendFilterBilinear), BlendMode(BlendUseSourceAlpha | BlendFilterBilinear), BlendMode(BlendAdd)}) {
        Fill(viaScale, kBackground);
        Fill(viaBlit, kBackground);
        ScaleBlitBitmap(&viaScale, &src, 1, 2, 3, 3, 1.0f, 0.98f, 3.0f, 3.0f, 0.8f, mode);
        BlitBitmapArea(&viaBlit, &src, 1, 2, 1, 1, 3, 3, 0.8f, mode);
        EXPECT_EQ(Pixels(viaScale), Pixels(viaBlit)) << mode;
    }
}

TEST(ScaleBlitBitmap, HalfPixelOffsetTakesTheBilinearPath)
{
    // Positions 0.5 and 1.5 on the last row interpolate along x only:
    // (0 x 32768 + 100 x 32768) >> 16 = 50 and (100 + 200) / 2 = 150.
    auto src = BlueRow({0, 100, 200});
    MemoryBitmap dest(2, 1);
    Fill(dest, kBackground);
    ScaleBlitBitmap(&dest, src.get(), 0, 0, 2, 1, 0.5f, 0.0f, 2.0f, 1.0f, 1.0f, BlendFilterBilinear);
    EXPECT_EQ(ReadPixel(&dest, 0, 0), 0xFF000032u);
    EXPECT_EQ(ReadPixel(&dest, 1, 0), 0xFF000096u);
}

TEST(ScaleBlitBitmap, BilinearEnlargementAndDestinationClipping)
{
    // Steps of 0.5: 0, 0.5 (halfway, 100), then the last column (200) twice.
    auto src = BlueRow({0, 200});
    MemoryBitmap dest(4, 1);
    Fill(dest, kBackground);
    ScaleBlitBitmap(&dest, src.get(), 0, 0, 4, 1, 0.0f, 0.0f, 2.0f, 1.0f, 1.0f, BlendFilterBilinear);
    EXPECT_EQ(Blues(dest, 0), (std::vector<int>{0, 100, 200, 200}));
    // Starting one pixel left of the destination moves the source by one step.
    Fill(dest, kBackground);
    ScaleBlitBitmap(&dest, src.get(), -1, 0, 4, 1, 0.0f, 0.0f, 2.0f, 1.0f, 1.0f, BlendFilterBilinear);
    EXPECT_EQ(Blues(dest, 0), (std::vector<int>{100, 200, 200, PixelBlue(kBackground)}));
}

TEST(ScaleBlitBitmap, TrimsWalksThatRunPastTheSource)
{
    // From 1.5 onwards four steps would end at 4.5, past the 4-pixel source, so
    // the run is cut to (4 x 65536 - 1.5 x 65536 - 65536) / 65536 = 1 pixel:
    // halfway between 100 and 200.
    auto src = BlueRow({0, 100, 200, 250});
    MemoryBitmap dest(4, 1);
    Fill(dest, kBackground);
    ScaleBlitBitmap(&dest, src.get(), 0, 0, 4, 1, 1.5f, 0.0f, 4.0f, 1.0f, 1.0f, BlendFilterBilinear);
    EXPECT_EQ(Pixels(dest), (std::vector<PixelWord>{0xFF000096u, kBackground, kBackground, kBackground}));
    // A start left of the source skips (65536 + 98304 - 1) / 65536 = 2 leading
    // pixels instead; the rest sample 0.5 and 1.5.
    Fill(dest, kBackground);
    ScaleBlitBitmap(&dest, src.get(), 0, 0, 4, 1, -1.5f, 0.0f, 4.0f, 1.0f, 1.0f, BlendFilterBilinear);
    EXPECT_EQ(Pixels(dest), (std::vector<PixelWord>{kBackground, kBackground, 0xFF000032u, 0xFF000096u}));
}

TEST(ScaleBlitBitmap, HalvingUsesTheThreeByThreeBox)
{
    // Source blue = 10 x + 40 y. Taps outside the source are left out.
    MemoryBitmap src(4, 4), dest(2, 2);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) Put(src, x, y, MakePixelWord(255, 0, 0, 10 * x + 40 * y));
    Fill(dest, kBackground);
    ScaleBlitBitmap(&dest, &src, 0, 0, 2, 2, 0.0f, 0.0f, 4.0f, 4.0f, 1.0f, BlendFilterBilinear);
    EXPECT_EQ(ReadPixel(&dest, 0, 0), 0xFF000000u + 25);   // (0 + 10 + 40 + 50) / 4
    EXPECT_EQ(ReadPixel(&dest, 1, 0), 0xFF000000u + 40);   // columns 1..3, rows 0..1
    EXPECT_EQ(ReadPixel(&dest, 0, 1), 0xFF000000u + 85);   // columns 0..1, rows 1..3
    EXPECT_EQ(ReadPixel(&dest, 1, 1), 0xFF000000u + 100);  // columns 1..3, rows 1..3
}

TEST(ScaleBlitBitmap, NearestEnlargementAndTheHalfWeightShortcut)
{
    MemoryBitmap src(2, 2), dest(4, 4);
    FillMarkers(src);
    Fill(dest, kBackground);
    ScaleBlitBitmap(&dest, &src, 0, 0, 4, 4, 0.0f, 0.0f, 2.0f, 2.0f, 1.0f, BlendCopy);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(ReadPixel(&dest, x, y), Marker(x / 2, y / 2));
    Fill(dest, 0xFFFFFFFFu);
    ScaleBlitBitmap(&dest, &src, 0, 0, 4, 4, 0.0f, 0.0f, 2.0f, 2.0f, 0.5f, BlendCopy);
    // (destination byte >> 1) + (source byte >> 1): alpha 127 + 127, red 127 + (y >> 1) ...
    EXPECT_EQ(ReadPixel(&dest, 3, 3), MakePixelWord(254, 127, 127, 127 + 3));
}

TEST(ScaleBlitBitmap, ClipsAtEveryBorder)
{
    MemoryBitmap src(2, 2), dest(4, 4);
    FillMarkers(src);
    const struct {
        int x, y;
        std::vector<std::string> shape;
        int sx, sy;  // source pixel at the first drawn destination pixel
    } cases[] = {
        {2, 2, {"....", "....", "..##", "..##"}, 0, 0},
        {-2, -2, {"##..", "##..", "....", "...."}, 1, 1},
        {-3, 1, {"....", "#...", "#...", "#..."}, 1, 0},
        {3, -3, {"...#", "....", "....", "...."}, 0, 1},
    };
    for (const auto& c : cases) {
        Fill(dest, kBackground);
        ScaleBlitBitmap(&dest, &src, c.x, c.y, 4, 4, 0.0f, 0.0f, 2.0f, 2.0f, 0.6f, BlendCopy);
        EXPECT_EQ(Shape(dest, kBackground), c.shape) << c.x << "," << c.y;
        const int fx = std::max(c.x, 0), fy = std::max(c.y, 0);
        MemoryBitmap expected(1, 1);
        Fill(expected, kBackground);
        BlitBitmapArea(&expected, &src, 0, 0, c.sx, c.sy, 1, 1, 0.6f, BlendCopy);
        EXPECT_EQ(ReadPixel(&dest, fx, fy), ReadPixel(&expected, 0, 0)) << c.x << "," << c.y;
    }
}

TEST(ScaleBlitBitmap, NegativeSizesMirrorIntoTheRectangle)
{
    MemoryBitmap src(4, 3), mirrored(4, 3);
    FillMarkers(src);
    for (BlendMode mode : {BlendMode(BlendCopy), BlendMode(BlendAdd | BlendFilterBilinear)}) {
        Fill(mirrored, 0);
        ScaleBlitBitmap(&mirrored, &src, 4, 0, -4, 3, 0.0f, 0.0f, 4.0f, 3.0f, 1.0f, mode);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) EXPECT_EQ(ReadPixel(&mirrored, x, y), Marker(3 - x, y)) << x << "," << y;
        Fill(mirrored, 0);
        ScaleBlitBitmap(&mirrored, &src, 0, 3, 4, -3, 0.0f, 0.0f, 4.0f, 3.0f, 1.0f, mode);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) EXPECT_EQ(ReadPixel(&mirrored, x, y), Marker(x, 2 - y)) << x << "," << y;
    }
}

TEST(ScaleBlitBitmap, FlippedSourceSamplesImageRows)
{
    FlippedBitmap flipped(2, 2);
    MemoryBitmap plain(2, 2), fromFlipped(4, 4), fromPlain(4, 4);
    FillMarkers(flipped);
    FillMarkers(plain);
    for (BlendMode mode : {BlendCopy, BlendFilterBilinear, BlendAdd}) {
        Fill(fromFlipped, kBackground);
        Fill(fromPlain, kBackground);
        ScaleBlitBitmap(&fromFlipped, &flipped, 0, 0, 4, 4, 0.0f, 0.0f, 2.0f, 2.0f, 0.7f, mode);
        ScaleBlitBitmap(&fromPlain, &plain, 0, 0, 4, 4, 0.0f, 0.0f, 2.0f, 2.0f, 0.7f, mode);
        EXPECT_EQ(Pixels(fromFlipped), Pixels(fromPlain)) << mode;
    }
}

TEST(ScaleBlitBitmap, NothingForEmptyOrOutsideInput)
{
    MemoryBitmap src(4, 4), dest(4, 4), empty;
    FillMarkers(src);
    Fill(dest, kBackground);
    ScaleBlitBitmap(&dest, &src, 0, 0, 0, 4, 0.0f, 0.0f, 4.0f, 4.0f, 1.0f, BlendCopy);
    ScaleBlitBitmap(&dest, &src, 0, 0, 4, 4, 0.0f, 0.0f, 2.0f, 2.0f, 0.0f, BlendCopy);
    ScaleBlitBitmap(&dest, &src, 0, 0, 4, 4, 0.0f, 0.0f, 2.0f, 2.0f, 1.0f, 6);
    ScaleBlitBitmap(&dest, &src, 5, 0, 4, 4, 0.0f, 0.0f, 2.0f, 2.0f, 1.0f, BlendCopy);
    ScaleBlitBitmap(&dest, &src, 0, 0, 4, 4, 10.0f, 0.0f, 2.0f, 2.0f, 1.0f, BlendCopy);
    ScaleBlitBitmap(&dest, &src, 0, 0, 4, 4, -1e30f, 0.0f, 1e30f, 2.0f, 1.0f, BlendFilterBilinear);
    ScaleBlitBitmap(&dest, &empty, 0, 0, 4, 4, 0.0f, 0.0f, 2.0f, 2.0f, 1.0f, BlendCopy);
    ScaleBlitBitmap(nullptr, &src, 0, 0, 4, 4, 0.0f, 0.0f, 2.0f, 2.0f, 1.0f, BlendCopy);
    EXPECT_EQ(Shape(dest, kBackground), (std::vector<std::string>{"....", "....", "....", "...."}));
}

TEST(RotateBlitBitmap, ZeroAngleCopies)
{
    MemoryBitmap src(5, 4), dest(5, 4);
    FillMarkers(src);
    Fill(dest, kBackground);
    RotateBlitBitmap(&dest, &src, 0, 0, 5, 4, 0.0f, 0.0f, 5.0f, 4.0f, 0.0f, false, 1.0f, BlendCopy, 0.0f, 0.0f);
    EXPECT_EQ(Pixels(dest), Pixels(src));
}

TEST(RotateBlitBitmap, ClipsAtTheDestinationBorders)
{
    MemoryBitmap src(4, 4), dest(4, 4);
    FillMarkers(src);
    Fill(dest, kBackground);
    RotateBlitBitmap(&dest, &src, -1, -2, 4, 4, 0.0f, 0.0f, 4.0f, 4.0f, 0.0f, false, 1.0f, BlendCopy, 0.0f, 0.0f);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(ReadPixel(&dest, x, y), x < 3 && y < 2 ? Marker(x + 1, y + 2) : kBackground) << x << "," << y;
    Fill(dest, kBackground);
    RotateBlitBitmap(&dest, &src, 3, 1, 4, 4, 0.0f, 0.0f, 4.0f, 4.0f, 0.0f, false, 1.0f, BlendCopy, 0.0f, 0.0f);
    EXPECT_EQ(Shape(dest, kBackground), (std::vector<std::string>{"....", "...#", "...#", "...#"}));
    EXPECT_EQ(ReadPixel(&dest, 3, 3), Marker(0, 2));
}

TEST(RotateBlitBitmap, ClipToSourceLimitsTheSampledArea)
{
    MemoryBitmap src(4, 4), dest(4, 4);
    FillMarkers(src);
    Fill(dest, kBackground);
    // A 2 x 2 source window at (1, 1) drawn at double size with nearest sampling.
    RotateBlitBitmap(&dest, &src, 0, 0, 4, 4, 1.0f, 1.0f, 2.0f, 2.0f, 0.0f, true, 1.0f, BlendCopy, 0.0f, 0.0f);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(ReadPixel(&dest, x, y), Marker(1 + x / 2, 1 + y / 2));
    // Offsetting the centre by a pixel samples outside the window: those pixels stay.
    Fill(dest, kBackground);
    RotateBlitBitmap(&dest, &src, 0, 0, 4, 4, 1.0f, 1.0f, 2.0f, 2.0f, 0.0f, true, 1.0f, BlendCopy, 1.0f, 0.0f);
    EXPECT_EQ(Shape(dest, kBackground), (std::vector<std::string>{"##..", "##..", "##..", "##.."}));
}

TEST(RotateBlitBitmap, BilinearHalfPixelMatchesTheScaledWalk)
{
    auto src = BlueRow({0, 100, 200});
    MemoryBitmap dest(2, 1);
    Fill(dest, kBackground);
    RotateBlitBitmap(&dest, src.get(), 0, 0, 2, 1, 0.5f, 0.0f, 2.0f, 1.0f, 0.0f, false, 1.0f, BlendFilterBilinear, 0.0f,
                     0.0f);
    EXPECT_EQ(Blues(dest, 0), (std::vector<int>{50, 150}));
}

TEST(RotateBlitBitmap, QuarterTurnTurnsClockwiseOnScreen)
{
    // Column c of the source becomes row c of the result read right to left,
    // one pixel further on (the walk samples cell corners).
    MemoryBitmap src(3, 3), dest(3, 3);
    FillMarkers(src);
    Fill(dest, kBackground);
    RotateBlitBitmap(&dest, &src, 0, 0, 3, 3, 0.0f, 0.0f, 3.0f, 3.0f, std::numbers::pi_v<float> / 2, false, 1.0f,
                     BlendCopy, 0.0f, 0.0f);
    for (int y = 0; y < 3; ++y)
        for (int x = 1; x < 3; ++x) EXPECT_EQ(ReadPixel(&dest, x, y), Marker(y, 3 - x)) << x << "," << y;
    for (int y = 0; y < 3; ++y) EXPECT_EQ(ReadPixel(&dest, 0, y), kBackground);
}

TEST(RotateBlitBitmap, NothingForEmptyInputOrZeroWeight)
{
    MemoryBitmap src(4, 4), dest(4, 4);
    FillMarkers(src);
    Fill(dest, kBackground);
    RotateBlitBitmap(&dest, &src, 0, 0, 0, 4, 0.0f, 0.0f, 4.0f, 4.0f, 0.3f, false, 1.0f, BlendCopy, 0.0f, 0.0f);
    RotateBlitBitmap(&dest, &src, 0, 0, 4, 4, 0.0f, 0.0f, 4.0f, 4.0f, 0.3f, false, 0.003f, BlendCopy, 0.0f, 0.0f);
    RotateBlitBitmap(&dest, &src, 0, 0, 4, 4, 0.0f, 0.0f, 4.0f, 4.0f, 0.3f, false, 1.0f, 6, 0.0f, 0.0f);
    RotateBlitBitmap(&dest, &src, 4, 4, 4, 4, 0.0f, 0.0f, 4.0f, 4.0f, 0.3f, false, 1.0f, BlendCopy, 0.0f, 0.0f);
    RotateBlitBitmap(&dest, &src, 0, 0, 4, 4, 0.0f, 0.0f, 4.0f, 4.0f, 1e30f, false, 1.0f, BlendCopy, 1e30f, 0.0f);
    EXPECT_EQ(Shape(dest, kBackground), (std::vector<std::string>{"....", "....", "....", "...."}));
}
