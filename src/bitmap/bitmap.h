// The bitmap library: 32-bit straight-alpha bitmaps, compositing with blend
// modes, drawing primitives and PNG/JPEG loading. Knows nothing of plug-ins.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// ---------------------------------------------------------------------------
// Pixels

// One pixel, 0xAARRGGBB with straight alpha; in memory: blue, green, red, alpha.
using PixelWord = std::uint32_t;

// Packs four channels (each taken modulo 256) into a PixelWord.
constexpr PixelWord MakePixelWord(int alpha, int red, int green, int blue)
{
    return (PixelWord(alpha & 0xFF) << 24) | (PixelWord(red & 0xFF) << 16) |
           (PixelWord(green & 0xFF) << 8) | PixelWord(blue & 0xFF);
}
constexpr int PixelAlpha(PixelWord p) { return int(p >> 24); }
constexpr int PixelRed(PixelWord p) { return int((p >> 16) & 0xFF); }
constexpr int PixelGreen(PixelWord p) { return int((p >> 8) & 0xFF); }
constexpr int PixelBlue(PixelWord p) { return int(p & 0xFF); }

#ifdef _WIN32
struct HDC__;
struct HINSTANCE__;
using NativeDeviceContext = HDC__*;  // HDC
using ModuleHandle = HINSTANCE__*;   // HMODULE / HINSTANCE
#else
using NativeDeviceContext = void*;
using ModuleHandle = void*;
#endif

// ---------------------------------------------------------------------------
// Bitmaps

// Every operation reaches pixels only through these answers.
class Bitmap {
public:
    virtual ~Bitmap() = default;
    // First pixel of memory row 0, or none without storage.
    virtual PixelWord* GetPixels() const = 0;
    virtual std::int32_t GetWidth() const = 0;
    virtual std::int32_t GetHeight() const = 0;
    // Distance between memory rows, in pixels.
    virtual std::int32_t GetRowStride() const = 0;
    // True when image row y is memory row height - 1 - y.
    virtual bool IsBottomUp() const { return false; }
    // True when the size changed; compare GetWidth/GetHeight to learn whether storage was obtained.
    virtual bool Resize(std::int32_t width, std::int32_t height) = 0;
    virtual NativeDeviceContext GetDeviceContext() const { return nullptr; }

protected:
    Bitmap() = default;
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
};

// Pixels in a heap block that grows by a quarter beyond the need and never shrinks.
class MemoryBitmap : public Bitmap {
public:
    MemoryBitmap() = default;
    MemoryBitmap(std::int32_t width, std::int32_t height);
    ~MemoryBitmap() override;

    PixelWord* GetPixels() const override { return pixels_; }
    std::int32_t GetWidth() const override { return width_; }
    std::int32_t GetHeight() const override { return height_; }
    std::int32_t GetRowStride() const override { return width_; }
    bool Resize(std::int32_t width, std::int32_t height) override;

    // Size of the heap block in bytes.
    std::int32_t GetCapacity() const { return capacity_; }

private:
    PixelWord* pixels_ = nullptr;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::int32_t capacity_ = 0;
};

// The drawing surface: a top-down DIB section in a memory device context on
// Windows, heap pixels elsewhere. Keeps a larger allocation when shrinking.
class SystemBitmap : public Bitmap {
public:
    SystemBitmap(std::int32_t width, std::int32_t height);
    ~SystemBitmap() override;

    PixelWord* GetPixels() const override { return pixels_; }
    std::int32_t GetWidth() const override { return width_; }
    std::int32_t GetHeight() const override { return height_; }
    std::int32_t GetRowStride() const override { return allocatedWidth_; }
    bool Resize(std::int32_t width, std::int32_t height) override;
    NativeDeviceContext GetDeviceContext() const override { return deviceContext_; }

private:
    void ReleasePixels();

    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    NativeDeviceContext deviceContext_ = nullptr;
    bool hasContext_ = false;
    PixelWord* pixels_ = nullptr;
    std::int32_t allocatedWidth_ = 0;
    std::int32_t allocatedHeight_ = 0;
    void* dib_ = nullptr;       // HBITMAP on Windows, the heap block elsewhere
    void* previous_ = nullptr;  // object the DIB replaced in the device context
};

// The pixel at image row y, column x; 0 outside the bitmap or without one.
PixelWord ReadPixel(const Bitmap* bitmap, std::int32_t x, std::int32_t y);

// ---------------------------------------------------------------------------
// Blend modes

using BlendMode = std::uint32_t;

enum : BlendMode {
    BlendCopy = 0,
    BlendAdd = 1,
    BlendDodge = 2,
    BlendMultiply = 3,
    BlendOverlay = 4,
    BlendHSVAdjust = 5,
    BlendChannelCopy = 0xF0,        // 0xF0 | destByte << 2 | sourceByte, BlitBitmap only
    BlendFilterBilinear = 0x100,
    BlendUseSourceAlpha = 0x10000,
};

// Channel byte numbers: 0 blue, 1 green, 2 red, 3 alpha.
constexpr BlendMode ChannelCopyMode(int destByte, int sourceByte)
{
    return BlendChannelCopy | BlendMode((destByte & 3) << 2) | BlendMode(sourceByte & 3);
}

// entry 0 = 0, entry i = 65536 / i - 1.
extern const std::array<std::uint16_t, 256> ReciprocalTable;

// ---------------------------------------------------------------------------
// Blitting and compositing

// Integer rectangle; right and bottom exclusive.
struct BitmapRect {
    std::int32_t left, top, right, bottom;
};

// Source pixel (srcRect.left, srcRect.top) lands on (x, y); no srcRect means the whole source.
void BlitBitmap(Bitmap* dest, const Bitmap* src, std::int32_t x, std::int32_t y, const BitmapRect* srcRect,
                float opacity, BlendMode mode);
void BlitBitmapArea(Bitmap* dest, const Bitmap* src, std::int32_t dstX, std::int32_t dstY, std::int32_t srcX,
                    std::int32_t srcY, std::int32_t width, std::int32_t height, float opacity, BlendMode mode);
// Negative destination sizes mirror.
void ScaleBlitBitmap(Bitmap* dest, const Bitmap* src, std::int32_t dstX, std::int32_t dstY, std::int32_t dstW,
                     std::int32_t dstH, float srcX, float srcY, float srcW, float srcH, float opacity,
                     BlendMode mode);
// Turns the source rectangle by angle (radians) about the destination centre.
void RotateBlitBitmap(Bitmap* dest, const Bitmap* src, std::int32_t dstX, std::int32_t dstY, std::int32_t dstW,
                      std::int32_t dstH, float srcX, float srcY, float srcW, float srcH, float angle,
                      bool clipToSource, float opacity, BlendMode mode, float centreOffsetX, float centreOffsetY);
// Resizes dest to the source and copies it.
void CopyBitmap(Bitmap* dest, const Bitmap* src);

// ---------------------------------------------------------------------------
// Drawing primitives (only the combiner byte of the mode counts, except in FillRectangle)

void PlotPixel(Bitmap* bitmap, std::int32_t x, std::int32_t y, PixelWord colour, float opacity, BlendMode mode);
void FillRectangle(Bitmap* bitmap, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                   PixelWord colour, float opacity, BlendMode mode);
// Every pixel of the clipped rectangle becomes (pixel & andMask) | orValue.
void MaskFillRectangle(Bitmap* bitmap, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                       PixelWord andMask, PixelWord orValue);
// mask: maskWidth x maskHeight coverage bytes, row after row; its top-left lands on (x, y).
void DrawCoverageMask(Bitmap* bitmap, std::int32_t x, std::int32_t y, PixelWord colour, const std::uint8_t* mask,
                      std::int32_t maskWidth, std::int32_t maskHeight, float opacity, BlendMode mode);
// Both end points included.
void DrawLine(Bitmap* bitmap, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, PixelWord colour,
              float opacity, BlendMode mode, bool antialias);
void DrawCircle(Bitmap* bitmap, float cx, float cy, float radius, PixelWord colour, float opacity, BlendMode mode,
                bool antialias);
// Angles in radians, 0 pointing up, growing clockwise.
void DrawArc(Bitmap* bitmap, float cx, float cy, float radius, float startAngle, float endAngle, PixelWord colour,
             float opacity, BlendMode mode, bool antialias);

// Coverage masks for the exact radii 2, 2.5, 3, 3.5 and 4.
struct CircleStamp {
    float radius;
    std::int32_t size;  // the mask is size x size bytes
    const std::uint8_t* antialiased;
    const std::uint8_t* plain;
};
// The stamp for exactly this radius, or none.
const CircleStamp* FindCircleStamp(float radius);

// ---------------------------------------------------------------------------
// Image loading. Each loader returns the bitmap holding the image: the target
// when one is passed, else a new MemoryBitmap owned by the caller; none on any
// failure (a created bitmap is then released).

// Resources of type "PNG" / "JPG"; only the low 16 bits of id are used.
Bitmap* LoadPngResource(ModuleHandle module, std::int32_t id, Bitmap* target);
Bitmap* LoadJpegResource(ModuleHandle module, std::int32_t id, Bitmap* target);

// Paths in the system's multibyte form (UTF-8 tried first on Windows).
Bitmap* LoadPngFile(const char* path, Bitmap* target);
Bitmap* LoadJpegFile(const char* path, Bitmap* target);
// With testExtension set, a name not ending in the format's extension gives none without opening it.
Bitmap* LoadPngFileWithExtension(const char* path, Bitmap* target, bool testExtension);
Bitmap* LoadJpegFileWithExtension(const char* path, Bitmap* target, bool testExtension);

struct ImageLoaderEntry {
    Bitmap* (*load)(const char* path, Bitmap* target, bool testExtension);
    const char* (*filterText)();  // a file-dialog filter pair ending in an empty string
    const ImageLoaderEntry* next;
};
// Head of the loader list: the PNG entry, then the JPEG entry.
const ImageLoaderEntry* ImageLoaderRegistry();
// Tries each registered loader by extension; none when no loader takes the file.
Bitmap* LoadImageFile(const char* path, Bitmap* target);

// Outside Windows, resources live in a process-wide table that code fills at
// static-initialisation time. data must stay valid for the life of the process.
// The type is compared without regard to case, id by its low 16 bits; a later
// registration of the same type and id replaces the earlier one.
bool RegisterEmbeddedResource(const char* type, std::int32_t id, const void* data, std::size_t size);
