// Reproduces the documented edge cases of bitmaps, compositing and drawing
// primitives through the public header alone. Prints one line per case and
// exits non-zero when any case fails.
#include "bitmap.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace {

int passed = 0, failed = 0;

void Check(const char* name, bool ok)
{
    std::printf("%s  %s\n", ok ? "PASS" : "FAIL", name);
    (ok ? passed : failed)++;
}

void Fill(Bitmap& b, PixelWord v)
{
    for (int y = 0; y < b.GetHeight(); ++y)
        for (int x = 0; x < b.GetWidth(); ++x) b.GetPixels()[y * b.GetRowStride() + x] = v;
}

PixelWord One(PixelWord dest, PixelWord source, float opacity, BlendMode mode)
{
    MemoryBitmap d(1, 1), s(1, 1);
    Fill(d, dest);
    Fill(s, source);
    BlitBitmap(&d, &s, 0, 0, nullptr, opacity, mode);
    return ReadPixel(&d, 0, 0);
}

std::vector<PixelWord> All(const Bitmap& b)
{
    std::vector<PixelWord> out;
    for (int y = 0; y < b.GetHeight(); ++y)
        for (int x = 0; x < b.GetWidth(); ++x) out.push_back(ReadPixel(&b, x, y));
    return out;
}

std::set<std::pair<int, int>> Touched(const Bitmap& b)
{
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < b.GetHeight(); ++y)
        for (int x = 0; x < b.GetWidth(); ++x)
            if (ReadPixel(&b, x, y) != 0) out.insert({x, y});
    return out;
}

std::set<std::pair<int, int>> Line(int x1, int y1, int x2, int y2)
{
    MemoryBitmap b(12, 12);
    Fill(b, 0);
    DrawLine(&b, x1, y1, x2, y2, 0xFFFFFFFFu, 1.0f, BlendCopy, false);
    return Touched(b);
}

void Bitmaps()
{
    MemoryBitmap empty(0, 5);
    Check("MemoryBitmap(0, 5) is 0 x 0 without pixels",
          empty.GetWidth() == 0 && empty.GetHeight() == 0 && !empty.GetPixels());

    MemoryBitmap grow(10, 10);
    const bool grew = grow.Resize(12, 12) && grow.GetCapacity() == 720;
    const bool back = grow.Resize(10, 10) && grow.GetCapacity() == 720;
    Check("MemoryBitmap 10x10 -> 12x12 grows to 720 bytes, back keeps 720 (true), again false",
          grew && back && !grow.Resize(10, 10));

    SystemBitmap surface(100, 100);
    surface.Resize(50, 50);
    const bool kept = surface.GetRowStride() == 100 && surface.GetWidth() == 50;
    surface.Resize(120, 50);
    Check("SystemBitmap 100x100 -> 50x50 keeps span 100; -> 120x50 has span 120",
          kept && surface.GetRowStride() == 120);
    Check("SystemBitmap -> 0x10 returns false and drops the pixels", !surface.Resize(0, 10) && !surface.GetPixels());

    MemoryBitmap red(4, 3);
    Fill(red, 0xFFFF0000u);
    Check("ReadPixel at x = width or y = -1 is 0", ReadPixel(&red, 4, 0) == 0 && ReadPixel(&red, 0, -1) == 0);
    Check("ReadPixel of opaque red is 0xFFFF0000", ReadPixel(&red, 1, 1) == MakePixelWord(255, 255, 0, 0));
}

void Compositing()
{
    MemoryBitmap src(20, 10), dest(20, 10);
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 10; ++y) src.GetPixels()[y * 20 + x] = MakePixelWord(255, 0, x, 1);
    Fill(dest, 0);
    const BitmapRect rect{-3, 0, 10, 10};
    BlitBitmap(&dest, &src, 5, 0, &rect, 1.0f, BlendCopy);
    bool columns = true;
    for (int x = 0; x < 20; ++x) {
        const PixelWord p = ReadPixel(&dest, x, 3);
        columns &= (x >= 8 && x <= 17) ? p == MakePixelWord(255, 0, x - 8, 1) : p == 0;
    }
    Check("srcRect (-3, 0, 10, 10) at x = 5 puts source columns 0..9 on 8..17", columns);

    Check("alpha 255 in mode 0x10000: source colour, alpha 0", One(0x80102030u, 0xFF405060u, 1.0f, 0x10000) == 0x00405060u);
    Check("alpha 128, channel 200 over 0 in mode 0x10000: 101, alpha 66",
          One(0, 0x80C8C8C8u, 1.0f, 0x10000) == MakePixelWord(66, 101, 101, 101));
    Check("mode 0, opacity 0.5, white on white: 254", One(~0u, ~0u, 0.5f, BlendCopy) == 0xFEFEFEFEu);
    Check("opacity 0.004 (w = 1) draws", One(0, ~0u, 0.004f, BlendCopy) == 0x01010101u);
    Check("opacity 0.003 (w = 0) draws nothing", One(0, ~0u, 0.003f, BlendCopy) == 0);

    MemoryBitmap s4(4, 4), d4(4, 4);
    Fill(s4, 0xFFFFFFFFu);
    Fill(d4, 0x12345678u);
    BlitBitmap(&d4, &s4, 0, 0, nullptr, 1.0f, 6);
    ScaleBlitBitmap(&d4, &s4, 0, 0, 4, 4, 0.0f, 0.0f, 2.0f, 2.0f, 1.0f, 6);
    RotateBlitBitmap(&d4, &s4, 0, 0, 4, 4, 0.0f, 0.0f, 4.0f, 4.0f, 0.5f, false, 1.0f, 6, 0.0f, 0.0f);
    PlotPixel(&d4, 1, 1, ~0u, 1.0f, 6);
    FillRectangle(&d4, 0, 0, 4, 4, ~0u, 1.0f, 6);
    DrawLine(&d4, 0, 0, 3, 2, ~0u, 1.0f, 6, true);
    DrawCircle(&d4, 2.0f, 2.0f, 1.5f, ~0u, 1.0f, 6, false);
    DrawArc(&d4, 2.0f, 2.0f, 1.5f, 0.0f, 3.0f, ~0u, 1.0f, 6, false);
    Check("mode 6 draws nothing in any operation", All(d4) == std::vector<PixelWord>(16, 0x12345678u));
    Check("mode 0xF3 copies source alpha into destination blue only",
          One(0x11223344u, 0xAABBCCDDu, 1.0f, 0xF3) == 0x112233AAu);

    MemoryBitmap picture(5, 5), viaScale(5, 5), viaBlit(5, 5);
    for (int i = 0; i < 25; ++i) picture.GetPixels()[i] = MakePixelWord(100 + i, i * 9, 255 - i * 7, i * 3);
    Fill(viaScale, 0x20202020u);
    Fill(viaBlit, 0x20202020u);
    ScaleBlitBitmap(&viaScale, &picture, 1, 1, 3, 3, 1.0f, 2.0f, 3.0f, 3.0f, 0.7f, 0x10100);
    BlitBitmapArea(&viaBlit, &picture, 1, 1, 1, 2, 3, 3, 0.7f, 0x10100);
    Check("ScaleBlitBitmap unscaled at an integral position with filter 0x100 equals BlitBitmap",
          All(viaScale) == All(viaBlit));
    MemoryBitmap row(3, 1), half(2, 1);
    for (int x = 0; x < 3; ++x) row.GetPixels()[x] = MakePixelWord(255, 0, 0, x * 100);
    Fill(half, 0);
    ScaleBlitBitmap(&half, &row, 0, 0, 2, 1, 0.5f, 0.0f, 2.0f, 1.0f, 1.0f, 0x100);
    Check("ScaleBlitBitmap with srcX = 0.5 interpolates (50, 150)",
          ReadPixel(&half, 0, 0) == 0xFF000032u && ReadPixel(&half, 1, 0) == 0xFF000096u);

    MemoryBitmap box(4, 4), boxed(2, 2);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) box.GetPixels()[y * 4 + x] = MakePixelWord(255, 0, 0, 10 * x + 40 * y);
    ScaleBlitBitmap(&boxed, &box, 0, 0, 2, 2, 0.0f, 0.0f, 4.0f, 4.0f, 1.0f, 0x100);
    Check("halving 4x4 with filter 0x100: (0,0) averages rows/columns 0..1, (1,1) rows/columns 1..3",
          PixelBlue(ReadPixel(&boxed, 0, 0)) == 25 && PixelBlue(ReadPixel(&boxed, 1, 1)) == 100);

    MemoryBitmap turned(5, 5);
    Fill(turned, 0);
    RotateBlitBitmap(&turned, &picture, 0, 0, 5, 5, 0.0f, 0.0f, 5.0f, 5.0f, 0.0f, false, 1.0f, BlendCopy, 0.0f, 0.0f);
    Check("RotateBlitBitmap at angle 0 copies the source", All(turned) == All(picture));

    Check("HSV adjust with source alpha over alpha 0 converts and sets alpha 0",
          One(0xC8643200u, 0x00808080u, 1.0f, 0x10005) == 0x00643000u);
    Check("add with source alpha over alpha 0 leaves the pixel", One(0xC8643200u, 0x00FFFFFFu, 1.0f, 0x10001) == 0xC8643200u);

    MemoryBitmap mirrored(4, 1), straight(4, 1);
    for (int x = 0; x < 4; ++x) straight.GetPixels()[x] = MakePixelWord(255, x, x, x);
    Fill(mirrored, 0);
    ScaleBlitBitmap(&mirrored, &straight, 4, 0, -4, 1, 0.0f, 0.0f, 4.0f, 1.0f, 1.0f, BlendCopy);
    bool reversed = true;
    for (int x = 0; x < 4; ++x) reversed &= ReadPixel(&mirrored, x, 0) == ReadPixel(&straight, 3 - x, 0);
    Check("negative dstW mirrors into dstX + dstW .. dstX", reversed);
}

void Primitives()
{
    MemoryBitmap p(1, 1);
    Fill(p, 0);
    PlotPixel(&p, 0, 0, 0xFFFFFFFFu, 0.5f, BlendCopy);
    Check("PlotPixel 0.5 white over black: 127 in every byte", ReadPixel(&p, 0, 0) == 0x7F7F7F7Fu);

    MemoryBitmap line(3, 1), point(1, 1);
    Fill(line, 0x01010101u);
    Fill(point, 0x01010101u);
    DrawLine(&line, 0, 0, 2, 0, 0x01010101u, 0.502f, BlendCopy, false);
    PlotPixel(&point, 0, 0, 0x01010101u, 0.502f, BlendCopy);
    Check("DrawLine 0.502: byte 1 over 1 stays 1; PlotPixel's shortcut gives 0",
          ReadPixel(&line, 1, 0) == 0x01010101u && ReadPixel(&point, 0, 0) == 0);

    MemoryBitmap r(8, 8);
    Fill(r, 0);
    FillRectangle(&r, 2, 2, 0, 3, ~0u, 1.0f, BlendCopy);
    FillRectangle(&r, -20, 2, 10, 3, ~0u, 1.0f, BlendCopy);
    Check("FillRectangle with width 0 or entirely left draws nothing", Touched(r).empty());
    FillRectangle(&r, -5, -5, 10, 10, ~0u, 1.0f, BlendCopy);
    std::set<std::pair<int, int>> square;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) square.insert({x, y});
    Check("FillRectangle from (-5, -5) of 10 x 10 fills (0, 0)-(4, 4)", Touched(r) == square);

    MemoryBitmap a(2, 2), b(2, 2);
    Fill(a, 0x10204080u);
    Fill(b, 0x10204080u);
    FillRectangle(&a, 0, 0, 2, 2, 0x00FFFFFFu, 1.0f, 0x10000);
    Check("FillRectangle mode 0x10000 with alpha 0 draws nothing", ReadPixel(&a, 1, 1) == 0x10204080u);
    FillRectangle(&a, 0, 0, 2, 2, 0xFF808080u, 0.7f, 0x10000);
    FillRectangle(&b, 0, 0, 2, 2, 0xFF808080u, 0.7f, BlendCopy);
    Check("FillRectangle mode 0x10000 with alpha 255 behaves like mode 0", All(a) == All(b));

    std::set<std::pair<int, int>> ten, diagonal;
    for (int x = 0; x < 10; ++x) ten.insert({x, 0});
    for (int i = 0; i < 5; ++i) diagonal.insert({i, i});
    Check("DrawLine (0,0)-(9,0) sets exactly ten pixels", Line(0, 0, 9, 0) == ten);
    Check("DrawLine (-10,5)-(-1,5) draws nothing", Line(-10, 5, -1, 5).empty());
    Check("DrawLine (0,0)-(4,4) sets the five diagonal pixels", Line(0, 0, 4, 4) == diagonal);
    const auto forward = Line(0, 0, 9, 3), backward = Line(9, 3, 0, 0);
    std::set<int> columns;
    for (auto [x, y] : forward) columns.insert(x);
    Check("DrawLine (0,0)-(9,3): one pixel in each column 0..9, same set either way",
          forward.size() == 10 && columns.size() == 10 && forward == backward);

    MemoryBitmap c(12, 12);
    Fill(c, 0);
    DrawCircle(&c, 5.0f, 5.0f, 3.0f, ~0u, 1.0f, BlendCopy, true);
    const CircleStamp* stamp = FindCircleStamp(3.0f);
    bool isStamp = stamp != nullptr;
    for (int y = 0; isStamp && y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool in = x >= 2 && x < 9 && y >= 2 && y < 9;
            isStamp &= ReadPixel(&c, x, y) == 0x01010101u * (in ? stamp->antialiased[(y - 2) * 7 + x - 2] : 0);
        }
    Check("DrawCircle radius 3 antialiased draws exactly the 7 x 7 stamp", isStamp);
    MemoryBitmap g(12, 12);
    Fill(g, 0);
    DrawCircle(&g, 5.0f, 5.0f, 3.01f, ~0u, 1.0f, BlendCopy, true);
    Check("DrawCircle radius 3.01 uses the general method", !FindCircleStamp(3.01f) && All(g) != All(c));

    MemoryBitmap arc(21, 21), circle(21, 21);
    Fill(arc, 0);
    Fill(circle, 0);
    DrawArc(&arc, 10.0f, 10.0f, 6.0f, 0.0f, 2.0f * 3.14159265f, ~0u, 1.0f, BlendCopy, true);
    DrawCircle(&circle, 10.0f, 10.0f, 6.0f, ~0u, 1.0f, BlendCopy, true);
    Check("DrawArc from 0 to 2 pi draws the full circle", All(arc) == All(circle) && !Touched(arc).empty());
}

}  // namespace

int main()
{
    Bitmaps();
    Compositing();
    Primitives();
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
