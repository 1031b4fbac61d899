// Every PixelCombiner rule, composited with BlitBitmap onto one pixel. Each
// expected word was worked out by hand from the rules; see the comments for
// the channel arithmetic of the first rows.
#include "bitmap.h"
#include "bitmap_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace bitmap_test;

namespace {

// Destination A 200, R 100, G 50, B 0; source A 128, R 200, G 20, B 255.
constexpr PixelWord kDest = 0xC8643200u;
constexpr PixelWord kSource = 0x80C814FFu;

// Opacities that give exact weights without the plain-copy shortcuts of 1.0 and 0.5.
constexpr float kFull = 1.0f;          // w = 256
constexpr float kHalf = 0.501f;        // w = 128
constexpr float kOdd = 77.0f / 256.0f; // w = 77

struct CombinerCase {
    const char* name;
    BlendMode mode;
    float opacity;
    PixelWord expected;
};

PixelWord Composite(PixelWord dest, PixelWord source, float opacity, BlendMode mode)
{
    MemoryBitmap d(1, 1), s(1, 1);
    Fill(d, dest);
    Fill(s, source);
    BlitBitmap(&d, &s, 0, 0, nullptr, opacity, mode);
    return ReadPixel(&d, 0, 0);
}

// With source alpha 128 the weight becomes w x 129 / 256: 129, 64 and 38.
const CombinerCase kCases[] = {
    // copy: 256 stores the word; w < 256: D = S + (D - S)(256 - w)/256,
    // e.g. blue at 128: 255 + (-255 x 128)/256 = 255 - 127 = 128.
    {"copy 256", BlendCopy, kFull, 0x80C814FFu},
    {"copy 128", BlendCopy, kHalf, 0xA4962380u},
    {"copy 77", BlendCopy, kOdd, 0xB283284Du},
    {"copy at exactly 0.5 averages bytes", BlendCopy, 0.5f, 0xA496237Fu},
    // add: clamp(D + S w / 256); red 100 + 200 clamps to 255.
    {"add 256", BlendAdd, kFull, 0xFFFF46FFu},
    {"add 128", BlendAdd, kHalf, 0xFFC83C7Fu},
    {"add 77", BlendAdd, kOdd, 0xEEA0384Cu},
    // dodge: s = S w / 256; s > 254 turns D into 0 or 255, else D x 256 / (256 - s);
    // green at 256: 50 x 256 / 236 = 54.
    {"dodge 256", BlendDodge, kFull, 0xFFFF3600u},
    {"dodge 128", BlendDodge, kHalf, 0xFFA43400u},
    {"dodge 77", BlendDodge, kOdd, 0xEA823300u},
    // multiply: (S w + (256 - w) 256) D / 65536; at 256 it is S D / 256.
    {"multiply 256", BlendMultiply, kFull, 0x644E0300u},
    {"multiply 128", BlendMultiply, kHalf, 0x96591A00u},
    {"multiply 77", BlendMultiply, kOdd, 0xA95D2400u},
    // overlay: m = (256 - w) 128, clamp(((32768 - S w - m) D / 256 + S w + m) D / 32768);
    // alpha (S = 128) is unchanged at every weight.
    {"overlay 256", BlendOverlay, kFull, 0xC8861000u},
    {"overlay 128", BlendOverlay, kHalf, 0xC8752100u},
    {"overlay 77", BlendOverlay, kOdd, 0xC86E2700u},
    // HSV: the destination is hue 31, saturation 255, value 100; at 256 the
    // source moves it to hue 139, saturation 147, value 227.
    {"hsv 256", BlendHSVAdjust, kFull, 0x8060E377u},
    {"hsv 128", BlendHSVAdjust, kHalf, 0x8079A323u},
    {"hsv 77", BlendHSVAdjust, kOdd, 0x808A8811u},

    // copy with source alpha at 256: k = 127, colour S + (D - S) 127 / 256,
    // alpha 129 + (200 - 129) 127 / 256 = 164.
    {"copy+alpha 256", BlendUseSourceAlpha | BlendCopy, kFull, 0xA4972281u},
    {"copy+alpha 128", BlendUseSourceAlpha | BlendCopy, kHalf, 0xB67D2A40u},
    {"copy+alpha 77", BlendUseSourceAlpha | BlendCopy, kOdd, 0xBD732D26u},
    {"add+alpha 256", BlendUseSourceAlpha | BlendAdd, kFull, 0xFFC83C80u},
    {"add+alpha 128", BlendUseSourceAlpha | BlendAdd, kHalf, 0xE896373Fu},
    {"add+alpha 77", BlendUseSourceAlpha | BlendAdd, kOdd, 0xDB813425u},
    {"dodge+alpha 256", BlendUseSourceAlpha | BlendDodge, kFull, 0xFFA43400u},
    {"dodge+alpha 128", BlendUseSourceAlpha | BlendDodge, kHalf, 0xE47C3200u},
    {"dodge+alpha 77", BlendUseSourceAlpha | BlendDodge, kOdd, 0xD8703200u},
    {"multiply+alpha 256", BlendUseSourceAlpha | BlendMultiply, kFull, 0x95581A00u},
    {"multiply+alpha 128", BlendUseSourceAlpha | BlendMultiply, kHalf, 0xAF5E2600u},
    {"multiply+alpha 77", BlendUseSourceAlpha | BlendMultiply, kOdd, 0xB9602B00u},
    {"overlay+alpha 256", BlendUseSourceAlpha | BlendOverlay, kFull, 0xC8752000u},
    {"overlay+alpha 128", BlendUseSourceAlpha | BlendOverlay, kHalf, 0xC86C2900u},
    {"overlay+alpha 77", BlendUseSourceAlpha | BlendOverlay, kOdd, 0xC8692C00u},
    {"hsv+alpha 256", BlendUseSourceAlpha | BlendHSVAdjust, kFull, 0x8079A323u},
    {"hsv+alpha 128", BlendUseSourceAlpha | BlendHSVAdjust, kHalf, 0x8083780Eu},
    {"hsv+alpha 77", BlendUseSourceAlpha | BlendHSVAdjust, kOdd, 0x80765807u},
};

}  // namespace

TEST(PixelCombiner, HandComputedTable)
{
    for (const CombinerCase& c : kCases) {
        char got[16];
        std::snprintf(got, sizeof got, "%08X", Composite(kDest, kSource, c.opacity, c.mode));
        char want[16];
        std::snprintf(want, sizeof want, "%08X", c.expected);
        EXPECT_STREQ(got, want) << c.name;
    }
}

TEST(PixelCombiner, CopyWithSourceAlphaEdgeCases)
{
    // Opaque source at full weight: its colour, and alpha 0.
    EXPECT_EQ(Composite(0x80102030u, 0xFF405060u, 1.0f, BlendUseSourceAlpha), 0x00405060u);
    // Alpha 128, channel 200 over zero: 200 + (-200 x 127)/256 = 101; alpha 129 + (-129 x 127)/256 = 66.
    EXPECT_EQ(Composite(0x00000000u, 0x80C8C8C8u, 1.0f, BlendUseSourceAlpha), 0x42656565u);
    // A transparent source leaves copy, add and multiply alone.
    for (BlendMode mode : {BlendCopy, BlendAdd, BlendMultiply})
        for (float opacity : {1.0f, kHalf})
            EXPECT_EQ(Composite(kDest, 0x00FFFFFFu, opacity, BlendUseSourceAlpha | mode), kDest) << mode;
    // Dodge at w' = 1 changes nothing either.
    EXPECT_EQ(Composite(kDest, 0x00FFFFFFu, 1.0f, BlendUseSourceAlpha | BlendDodge), kDest);
}

TEST(PixelCombiner, TransparentSourceStillAltersUnderHsvAndOverlay)
{
    // HSV with w' = 1: hue 31, saturation 255 and value 100 stay, but the
    // conversion back gives green (16384 - 33 x 255) x 100 / 16384 = 48, and alpha 0.
    EXPECT_EQ(Composite(kDest, 0x00808080u, 1.0f, BlendUseSourceAlpha | BlendHSVAdjust), 0x00643000u);
    // Overlay with w' = 1 (m = 32640) over S = 0: green ((128 x 50 / 256) + 32640) x 50 / 32768 = 49,
    // red 99, alpha 199.
    EXPECT_EQ(Composite(kDest, 0x00000000u, 1.0f, BlendUseSourceAlpha | BlendOverlay), 0xC7633100u);
}

TEST(PixelCombiner, WeightEdges)
{
    // White on white at exactly 0.5: 127 + 127.
    EXPECT_EQ(Composite(0xFFFFFFFFu, 0xFFFFFFFFu, 0.5f, BlendCopy), 0xFEFEFEFEu);
    // 0.004 gives w = 1 and still draws (255 + (-255 x 255)/256 = 1); 0.003 gives w = 0.
    EXPECT_EQ(Composite(0x00000000u, 0xFFFFFFFFu, 0.004f, BlendCopy), 0x01010101u);
    EXPECT_EQ(Composite(0x00000000u, 0xFFFFFFFFu, 0.003f, BlendCopy), 0x00000000u);
    EXPECT_NE(Composite(0x20406080u, 0x00000000u, 0.004f, BlendHSVAdjust), 0x20406080u);
    EXPECT_EQ(Composite(0x20406080u, 0x00000000u, 0.003f, BlendHSVAdjust), 0x20406080u);
    EXPECT_EQ(Composite(0x20406080u, 0x00000000u, -0.5f, BlendCopy), 0x20406080u);
}

TEST(PixelCombiner, HsvAdjustThroughEverySextantAndTheHueWrap)
{
    // Neutral sources (128, 128, 128) round-trip the colour through each
    // sextant; red 0 and 255 turn the hue by -192 and +190 across the wrap.
    const struct {
        PixelWord dest, source, expected;
    } cases[] = {
        {0x10C80000u, 0x4D008080u, 0x4D01C8C8u},  // red: hue 0 - 192 + 384 = 192
        {0x100000C8u, 0x4DFF8080u, 0x4DC8C101u},  // blue: hue 256 + 190 - 384 = 62
        {0x10C80064u, 0xFF808080u, 0xFFC80164u},  // red to magenta: base 383, hue 352
        {0x1032C864u, 0xFF808080u, 0xFF32C863u},  // green above blue: hue 149
        {0x100A64C8u, 0xFF808080u, 0xFF0B63C8u},  // blue above green: hue 226
        {0x106400C8u, 0xFF808080u, 0xFF6101C8u},  // blue above red: hue 287
        {0x1096C800u, 0xFF808080u, 0xFF93C801u},  // green above red: hue 81
    };
    for (const auto& c : cases)
        EXPECT_EQ(Composite(c.dest, c.source, 1.0f, BlendHSVAdjust), c.expected) << std::hex << c.dest;
}

TEST(PixelCombiner, CombinerOutsideTheTableDrawsNothing)
{
    for (BlendMode mode : {6u, 7u, 0x10006u, 0xEFu})
        EXPECT_EQ(Composite(kDest, kSource, 1.0f, mode), kDest) << mode;
}

TEST(PixelCombiner, ChannelCopyMovesOneByte)
{
    // 0xF3: source byte 3 (alpha) into destination byte 0 (blue), nothing else.
    EXPECT_EQ(Composite(0x11223344u, 0xAABBCCDDu, 1.0f, 0xF3u), 0x112233AAu);
    EXPECT_EQ(Composite(0x11223344u, 0xAABBCCDDu, 0.2f, ChannelCopyMode(3, 1)), 0xCC223344u);
    EXPECT_EQ(Composite(0x11223344u, 0xAABBCCDDu, 0.0f, 0xF3u), 0x11223344u);
}
