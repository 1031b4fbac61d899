// PNG decoding with libpng, from module resources and from files. Every colour
// type comes out as straight-alpha 0xAARRGGBB, alpha from tRNS or 255.
#include "bitmap.h"
#include "image_file.h"
#include "load_target.h"
#include "pixel_access.h"
#include "resource.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace bitmap_detail;

namespace {

// Reads past the end come back as zero bytes, which libpng rejects as a bad chunk.
struct MemoryReader {
    const unsigned char* next;
    std::size_t left;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count)
{
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    std::memset(out, 0, count);
    const std::size_t take = std::min<std::size_t>(count, reader->left);
    std::memcpy(out, reader->next, take);
    reader->next += take;
    reader->left -= take;
}

// No text reaches the host's standard error stream.
void IgnoreWarning(png_structp, png_const_charp) {}
void JumpOnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Everything a decode creates, kept outside the frame that arms the jump so that
// it survives a libpng error and can be released.
struct PngDecode {
    png_structp png = nullptr;
    png_infop info = nullptr;
    MemoryReader reader{};
    std::FILE* file = nullptr;
    Bitmap* target = nullptr;
    Bitmap* created = nullptr;
    Bitmap* result = nullptr;
    png_bytep* rows = nullptr;
};

// Asks libpng for four bytes A, R, G, B per pixel whatever the colour type.
void RequestArgb(png_structp png, png_infop info, int colourType, int bitDepth)
{
    const bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_expand(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand(png);
    if (transparency) png_set_tRNS_to_alpha(png);
    if (bitDepth == 16) png_set_strip_16(png);
    if (bitDepth < 8) png_set_packing(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    if ((colourType & PNG_COLOR_MASK_ALPHA) || transparency) png_set_swap_alpha(png);
    else png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

// May leave through a libpng error; holds no object with a destructor.
bool DecodeBody(PngDecode& d)
{
    if (d.file) png_init_io(d.png, d.file);
    else png_set_read_fn(d.png, &d.reader, ReadFromMemory);
    png_read_info(d.png, d.info);
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colourType = 0, interlace = 0, compression = 0, filter = 0;
    png_get_IHDR(d.png, d.info, &width, &height, &bitDepth, &colourType, &interlace, &compression, &filter);
    if (!AcceptableImageSize(width, height)) return false;
    RequestArgb(d.png, d.info, colourType, bitDepth);
    if (png_get_rowbytes(d.png, d.info) != png_size_t(width) * 4) return false;

    Bitmap* bitmap = PrepareTarget(d.target, width, height, d.created);
    if (!bitmap) return false;
    PixelView view;
    OpenView(bitmap, view);
    d.rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
    if (!d.rows) return false;
    for (png_uint_32 i = 0; i < height; ++i) d.rows[i] = reinterpret_cast<png_bytep>(view.At(0, std::int32_t(i)));
    png_read_image(d.png, d.rows);

    // Bytes A, R, G, B become the word 0xAARRGGBB (stored B, G, R, A).
    for (png_uint_32 i = 0; i < height; ++i) {
        PixelWord* row = view.At(0, std::int32_t(i));
        for (png_uint_32 j = 0; j < width; ++j) {
            const unsigned char* b = reinterpret_cast<const unsigned char*>(row + j);
            row[j] = PixelWord(b[0]) << 24 | PixelWord(b[1]) << 16 | PixelWord(b[2]) << 8 | PixelWord(b[3]);
        }
    }
    d.result = bitmap;
    return true;
}

bool RunGuarded(PngDecode& d)
{
    if (setjmp(png_jmpbuf(d.png))) return false;
    return DecodeBody(d);
}

Bitmap* DecodePng(PngDecode& d)
{
    d.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOnError, IgnoreWarning);
    if (d.png) d.info = png_create_info_struct(d.png);
    const bool ok = d.png && d.info && RunGuarded(d);
    if (d.png) png_destroy_read_struct(&d.png, d.info ? &d.info : nullptr, nullptr);
    std::free(d.rows);
    if (ok) return d.result;
    delete d.created;
    return nullptr;
}

}  // namespace

Bitmap* LoadPngResource(ModuleHandle module, std::int32_t id, Bitmap* target)
{
    const ResourceBytes bytes = FindModuleResource(module, std::uint16_t(id & 0xFFFF), "PNG");
    if (!bytes.data || bytes.size < 8) return nullptr;
    if (png_sig_cmp(bytes.data, 0, 8) != 0) return nullptr;
    PngDecode d;
    d.reader = {bytes.data, bytes.size};
    d.target = target;
    return DecodePng(d);
}

Bitmap* LoadPngFile(const char* path, Bitmap* target)
{
    std::FILE* file = OpenImageFile(path);
    if (!file) return nullptr;
    PngDecode d;
    d.file = file;
    d.target = target;
    Bitmap* result = DecodePng(d);
    std::fclose(file);
    return result;
}

Bitmap* LoadPngFileWithExtension(const char* path, Bitmap* target, bool testExtension)
{
    static const char* const kExtensions[] = {".png"};
    if (testExtension && !HasExtension(path, kExtensions, 1)) return nullptr;
    return LoadPngFile(path, target);
}
