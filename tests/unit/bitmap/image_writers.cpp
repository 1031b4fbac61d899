#include "image_writers.h"

#include "bitmap.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <string>

#include <unistd.h>

#include <jpeglib.h>

namespace bitmap_test {

namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t size)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}
void NoFlush(png_structp) {}

bool WritePng(png_structp png, png_infop info, const PngImage& image, Bytes& out)
{
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, &out, AppendBytes, NoFlush);
    png_set_IHDR(png, info, png_uint_32(image.width), png_uint_32(image.height), image.bitDepth, image.colourType,
                 image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (std::size_t i = 0; i + 2 < image.palette.size(); i += 3)
        palette.push_back({image.palette[i], image.palette[i + 1], image.palette[i + 2]});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), int(palette.size()));
    png_color_16 key{};
    if (!image.paletteAlpha.empty()) {
        png_set_tRNS(png, info, image.paletteAlpha.data(), int(image.paletteAlpha.size()), nullptr);
    } else if (!image.transparentColour.empty()) {
        if (image.transparentColour.size() == 1) key.gray = png_uint_16(image.transparentColour[0]);
        else
            key.red = png_uint_16(image.transparentColour[0]), key.green = png_uint_16(image.transparentColour[1]),
            key.blue = png_uint_16(image.transparentColour[2]);
        png_set_tRNS(png, info, nullptr, 0, &key);
    }
    std::vector<png_bytep> rows;
    for (const Bytes& row : image.rows) rows.push_back(const_cast<png_bytep>(row.data()));
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    return true;
}

struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};
void JpegJump(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1); }

bool WriteJpeg(jpeg_compress_struct& info, JpegErrors& errors, int width, int height, int components,
               const Bytes& samples, int quality, bool progressive, unsigned char** buffer,
               unsigned long* size)
{
    if (setjmp(errors.jump)) return false;
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, buffer, size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + std::size_t(info.next_scanline) * width * components);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

}  // namespace

Bytes EncodePng(const PngImage& image)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool ok = png && info && WritePng(png, info, image, out);
    png_destroy_write_struct(&png, &info);
    if (!ok) throw std::runtime_error("PNG encoding failed");
    return out;
}

Bytes EncodeJpeg(int width, int height, int components, const Bytes& samples, int quality, bool progressive)
{
    jpeg_compress_struct info{};
    JpegErrors errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JpegJump;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = WriteJpeg(info, errors, width, height, components, samples, quality, progressive, &buffer, &size);
    jpeg_destroy_compress(&info);
    Bytes out;
    if (ok && buffer) out.assign(buffer, buffer + size);
    std::free(buffer);
    if (!ok) throw std::runtime_error("JPEG encoding failed");
    return out;
}

void RegisterTestResource(const char* type, int id, const Bytes& bytes)
{
    static std::mutex lock;
    static std::deque<Bytes> kept;  // a deque never moves what it holds
    std::lock_guard<std::mutex> guard(lock);
    kept.push_back(bytes);
    const Bytes& stored = kept.back();
    RegisterEmbeddedResource(type, id, stored.empty() ? nullptr : stored.data(), stored.size());
}

std::string WriteTempFile(const std::string& name, const Bytes& bytes)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("ostrabel-bitmap-tests-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::filesystem::path path = dir / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path.string();
}

}  // namespace bitmap_test
