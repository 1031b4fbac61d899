// PlotPixel, FillRectangle, MaskFillRectangle and DrawCoverageMask.
#include "bitmap.h"
#include "bitmap_test_support.h"

#include <gtest/gtest.h>

using namespace bitmap_test;

namespace {

// Colour A 255, R 128, G 64, B 32 over pixel A 16, R 32, G 64, B 128.
constexpr PixelWord kColour = 0xFF804020u;
constexpr PixelWord kPixel = 0x10204080u;

PixelWord Plotted(float opacity, BlendMode mode)
{
    MemoryBitmap bitmap(1, 1);
    Fill(bitmap, kPixel);
    PlotPixel(&bitmap, 0, 0, kColour, opacity, mode);
    return ReadPixel(&bitmap, 0, 0);
}

PixelWord Filled(float opacity, BlendMode mode, PixelWord colour = kColour)
{
    MemoryBitmap bitmap(3, 2);
    Fill(bitmap, kPixel);
    FillRectangle(&bitmap, 0, 0, 3, 2, colour, opacity, mode);
    const PixelWord corner = ReadPixel(&bitmap, 2, 1);
    EXPECT_EQ(ReadPixel(&bitmap, 0, 0), corner);
    return corner;
}

}  // namespace

TEST(PlotPixel, HandComputedWeights)
{
    struct Case {
        float opacity;
        BlendMode mode;
        PixelWord expected;
    } const cases[] = {
        {1.0f, BlendCopy, kColour},
        // per byte (colour >> 1) + (pixel >> 1)
        {0.5f, BlendCopy, 0x87504050u},
        {0.502f, BlendCopy, 0x87504050u},
        // (pixel >> 1) + (pixel >> 2) + (colour >> 2): alpha 8 + 4 + 63
        {0.25f, BlendCopy, 0x4B384068u},
        // (colour >> 2) + (pixel >> 2) + (colour >> 1): alpha 63 + 4 + 127
        {0.75f, BlendCopy, 0xC2684038u},
        // copy rule at 77: alpha 255 + (-239 x 179) / 256 = 88
        {77.0f / 256.0f, BlendCopy, 0x583D4063u},
        // add at 128 with the colour's own alpha: alpha 16 + 127
        {0.5f, BlendAdd, 0x8F606090u},
        {0.003f, BlendCopy, kPixel},
        {0.003f, BlendAdd, kPixel},
        {1.0f, 6, kPixel},
    };
    for (const Case& c : cases) EXPECT_EQ(Plotted(c.opacity, c.mode), c.expected) << c.opacity << " " << c.mode;
}

TEST(PlotPixel, WhiteOverBlackAtHalfGives127Everywhere)
{
    MemoryBitmap bitmap(1, 1);
    Fill(bitmap, 0);
    PlotPixel(&bitmap, 0, 0, 0xFFFFFFFFu, 0.5f, BlendCopy);
    EXPECT_EQ(ReadPixel(&bitmap, 0, 0), 0x7F7F7F7Fu);
}

TEST(PlotPixel, OutsideAndFlipped)
{
    FlippedBitmap bitmap(2, 2);
    Fill(bitmap, 0);
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {2, 0}, {0, 2}}) PlotPixel(&bitmap, x, y, ~0u, 1.0f, BlendCopy);
    EXPECT_EQ(Pixels(bitmap), (std::vector<PixelWord>{0, 0, 0, 0}));
    PlotPixel(&bitmap, 1, 0, 0xABCDEF01u, 1.0f, BlendCopy);
    EXPECT_EQ(bitmap.GetPixels()[2 + 1], 0xABCDEF01u);  // image row 0 is memory row 1
    PlotPixel(nullptr, 0, 0, ~0u, 1.0f, BlendCopy);
}

TEST(FillRectangle, HandComputedWeights)
{
    // Plain copy at 77: colour channels as PlotPixel, alpha towards the weight:
    // 77 + (16 - 77) x 179 / 256 = 35.
    EXPECT_EQ(Filled(77.0f / 256.0f, BlendCopy), 0x233D4063u);
    EXPECT_EQ(Filled(1.0f, BlendCopy), kColour);
    EXPECT_EQ(Filled(0.5f, BlendCopy), 0x87504050u);
    EXPECT_EQ(Filled(0.25f, BlendCopy), 0x4B384068u);
    // Add at 128 with the weight as source alpha: alpha 16 + 128 x 128 / 256 = 80.
    EXPECT_EQ(Filled(0.5f, BlendAdd), 0x50606090u);
    EXPECT_EQ(Filled(1.0f, 9), kPixel);
}

TEST(FillRectangle, SourceAlphaScalesTheOpacity)
{
    EXPECT_EQ(Filled(1.0f, BlendUseSourceAlpha, 0x00804020u), kPixel);
    EXPECT_EQ(Filled(1.0f, BlendUseSourceAlpha, 0xFF804020u), Filled(1.0f, BlendCopy, 0xFF804020u));
    // Alpha 128 scales 1.0 to 0.50196: w = 128, the half shortcut.
    EXPECT_EQ(Filled(1.0f, BlendUseSourceAlpha, 0x80804020u), 0x48504050u);  // 0x40402010 + 0x08102040
}

TEST(FillRectangle, ClipsToTheBitmap)
{
    MemoryBitmap bitmap(8, 8);
    Fill(bitmap, 0);
    FillRectangle(&bitmap, -5, -5, 10, 10, ~0u, 1.0f, BlendCopy);
    FillRectangle(&bitmap, 6, 7, 10, 10, ~0u, 1.0f, BlendCopy);
    FillRectangle(&bitmap, 2, 6, 0, 5, ~0u, 1.0f, BlendCopy);     // width 0
    FillRectangle(&bitmap, -20, 6, 10, 2, ~0u, 1.0f, BlendCopy);  // entirely left
    FillRectangle(&bitmap, 0, 8, 3, 3, ~0u, 1.0f, BlendCopy);     // below
    EXPECT_EQ(Shape(bitmap, 0), (std::vector<std::string>{"#####...", "#####...", "#####...", "#####...",
                                                          "#####...", "........", "........", "......##"}));
}

TEST(FillRectangle, FlippedAndWideSpanBitmaps)
{
    FlippedBitmap flipped(3, 3);
    Fill(flipped, 0);
    FillRectangle(&flipped, 1, 0, 2, 1, ~0u, 1.0f, BlendCopy);
    EXPECT_EQ(Shape(flipped, 0), (std::vector<std::string>{".##", "...", "..."}));
    EXPECT_EQ(flipped.GetPixels()[2 * 3 + 1], ~0u);

    SystemBitmap surface(6, 4);
    Fill(surface, 0);
    surface.Resize(3, 3);
    FillRectangle(&surface, 0, 0, 10, 10, ~0u, 1.0f, BlendCopy);
    EXPECT_EQ(Shape(surface, 0), (std::vector<std::string>{"###", "###", "###"}));
    EXPECT_EQ(surface.GetPixels()[3], 0u);  // beyond the logical width
}

TEST(MaskFillRectangle, AndsAndOrsTheClippedRectangle)
{
    MemoryBitmap bitmap(4, 3);
    Fill(bitmap, 0xFF112233u);
    MaskFillRectangle(&bitmap, 2, -1, 5, 3, 0x00FFFFFFu, 0);
    MaskFillRectangle(&bitmap, 0, 2, 1, 1, 0, 0x12345678u);
    EXPECT_EQ(ReadPixel(&bitmap, 2, 0), 0x00112233u);
    EXPECT_EQ(ReadPixel(&bitmap, 3, 1), 0x00112233u);
    EXPECT_EQ(ReadPixel(&bitmap, 3, 2), 0xFF112233u);
    EXPECT_EQ(ReadPixel(&bitmap, 1, 0), 0xFF112233u);
    EXPECT_EQ(ReadPixel(&bitmap, 0, 2), 0x12345678u);
}

TEST(DrawCoverageMask, WeightsByCoverageAndClips)
{
    const std::uint8_t mask[] = {0, 128, 255, 1, 2, 3};  // 3 x 2
    MemoryBitmap bitmap(3, 3);
    Fill(bitmap, kPixel);
    DrawCoverageMask(&bitmap, 1, 2, kColour, mask, 3, 2, 1.0f, BlendCopy);
    // Only mask columns 0..1 of row 0 land (at (1,2) and (2,2)).
    EXPECT_EQ(ReadPixel(&bitmap, 1, 2), kPixel);  // coverage 0
    // Coverage 128: D = C + (D - C) x 128 / 256; alpha 255 + (-239 x 128) / 256 = 136.
    EXPECT_EQ(ReadPixel(&bitmap, 2, 2), 0x88504050u);
    EXPECT_EQ(ReadPixel(&bitmap, 0, 0), kPixel);

    Fill(bitmap, kPixel);
    DrawCoverageMask(&bitmap, -2, -1, kColour, mask, 3, 2, 1.0f, BlendCopy);
    // Mask (2, 1) = 3 lands on (0, 0): k = 256 - 3 = 253, alpha 255 + (-239 x 253) / 256 = 19.
    EXPECT_EQ(PixelAlpha(ReadPixel(&bitmap, 0, 0)), 19);
    EXPECT_EQ(ReadPixel(&bitmap, 1, 0), kPixel);

    Fill(bitmap, kPixel);
    DrawCoverageMask(&bitmap, 0, 0, kColour, mask, 3, 2, 0.5f, BlendAdd);
    // Add at 128 x 255 / 256 = 127: alpha 16 + 255 x 127 / 256 = 142.
    EXPECT_EQ(PixelAlpha(ReadPixel(&bitmap, 2, 0)), 142);
    DrawCoverageMask(&bitmap, 0, 0, kColour, nullptr, 3, 2, 1.0f, BlendCopy);
    DrawCoverageMask(&bitmap, 3, 0, kColour, mask, 3, 2, 1.0f, BlendCopy);
    DrawCoverageMask(&bitmap, 0, -2, kColour, mask, 3, 2, 1.0f, BlendCopy);
}
