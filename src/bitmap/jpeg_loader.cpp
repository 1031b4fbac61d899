// JPEG decoding with libjpeg (interface 62), from module resources and from files.
#include "bitmap.h"
#include "image_file.h"
#include "load_target.h"
#include "pixel_access.h"
#include "resource.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

using namespace bitmap_detail;

namespace {

// Errors jump back into the loader; no message text is ever produced.
struct SilentErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void JumpOnError(j_common_ptr info) { std::longjmp(reinterpret_cast<SilentErrors*>(info->err)->jump, 1); }
void IgnoreMessage(j_common_ptr, int) {}
void IgnoreOutput(j_common_ptr) {}
void IgnoreFormat(j_common_ptr, char*) {}
void ResetErrors(j_common_ptr info)
{
    info->err->num_warnings = 0;
    info->err->msg_code = 0;
}

// A truncated stream ends with an inserted end-of-image marker, as if complete.
const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}
boolean FillInputBuffer(j_decompress_ptr info)
{
    info->src->next_input_byte = kEndOfImage;
    info->src->bytes_in_buffer = 2;
    return TRUE;
}
void SkipInputData(j_decompress_ptr info, long count)
{
    if (count <= 0) return;
    const std::size_t skip = std::size_t(count) < info->src->bytes_in_buffer ? std::size_t(count)
                                                                             : info->src->bytes_in_buffer;
    info->src->next_input_byte += skip;
    info->src->bytes_in_buffer -= skip;
}

struct JpegDecode {
    SilentErrors errors;
    jpeg_decompress_struct info;
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    std::FILE* file = nullptr;
    Bitmap* target = nullptr;
    Bitmap* created = nullptr;
    Bitmap* result = nullptr;
};

void InstallMemorySource(JpegDecode& d)
{
    auto* source = static_cast<jpeg_source_mgr*>(
        (*d.info.mem->alloc_small)(reinterpret_cast<j_common_ptr>(&d.info), JPOOL_PERMANENT, sizeof(jpeg_source_mgr)));
    source->init_source = InitSource;
    source->fill_input_buffer = FillInputBuffer;
    source->skip_input_data = SkipInputData;
    source->resync_to_restart = jpeg_resync_to_restart;
    source->term_source = TermSource;
    source->next_input_byte = d.data;
    source->bytes_in_buffer = d.size;
    d.info.src = source;
}

void StoreRow(const JSAMPLE* samples, int components, PixelWord* row, JDIMENSION width)
{
    if (components == 3) {
        for (JDIMENSION j = 0; j < width; ++j, samples += 3)
            row[j] = MakePixelWord(255, samples[0], samples[1], samples[2]);
    } else if (components == 1) {
        for (JDIMENSION j = 0; j < width; ++j) row[j] = MakePixelWord(255, samples[j], samples[j], samples[j]);
    } else {
        std::memset(row, 0, std::size_t(width) * sizeof(PixelWord));
    }
}

// May leave through a libjpeg error; holds no object with a destructor.
bool DecodeBody(JpegDecode& d)
{
    jpeg_create_decompress(&d.info);
    if (d.file) jpeg_stdio_src(&d.info, d.file);
    else InstallMemorySource(d);
    jpeg_read_header(&d.info, TRUE);
    if (!AcceptableImageSize(d.info.image_width, d.info.image_height)) return false;
    jpeg_start_decompress(&d.info);

    const JDIMENSION width = d.info.output_width;
    const int components = d.info.output_components;
    JSAMPARRAY buffer = (*d.info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d.info), JPOOL_IMAGE,
                                                      width * JDIMENSION(components), 1);
    Bitmap* bitmap = PrepareTarget(d.target, width, d.info.output_height, d.created);
    if (!bitmap) return false;
    PixelView view;
    OpenView(bitmap, view);
    while (d.info.output_scanline < d.info.output_height) {
        PixelWord* row = view.At(0, std::int32_t(d.info.output_scanline));
        if (jpeg_read_scanlines(&d.info, buffer, 1) != 1) return false;
        StoreRow(buffer[0], components, row, width);
    }
    jpeg_finish_decompress(&d.info);
    d.result = bitmap;
    return true;
}

bool RunGuarded(JpegDecode& d)
{
    if (setjmp(d.errors.jump)) return false;
    return DecodeBody(d);
}

Bitmap* DecodeJpeg(JpegDecode& d)
{
    std::memset(&d.errors, 0, sizeof d.errors);
    std::memset(&d.info, 0, sizeof d.info);
    d.info.err = jpeg_std_error(&d.errors.manager);
    d.errors.manager.error_exit = JumpOnError;
    d.errors.manager.emit_message = IgnoreMessage;
    d.errors.manager.output_message = IgnoreOutput;
    d.errors.manager.format_message = IgnoreFormat;
    d.errors.manager.reset_error_mgr = ResetErrors;
    const bool ok = RunGuarded(d);
    jpeg_destroy_decompress(&d.info);
    if (ok) return d.result;
    delete d.created;
    return nullptr;
}

}  // namespace

Bitmap* LoadJpegResource(ModuleHandle module, std::int32_t id, Bitmap* target)
{
    const ResourceBytes bytes = FindModuleResource(module, std::uint16_t(id & 0xFFFF), "JPG");
    if (!bytes.data || bytes.size < 8) return nullptr;
    JpegDecode d;
    d.data = bytes.data;
    d.size = bytes.size;
    d.target = target;
    return DecodeJpeg(d);
}

Bitmap* LoadJpegFile(const char* path, Bitmap* target)
{
    std::FILE* file = OpenImageFile(path);
    if (!file) return nullptr;
    JpegDecode d;
    d.file = file;
    d.target = target;
    Bitmap* result = DecodeJpeg(d);
    std::fclose(file);
    return result;
}

Bitmap* LoadJpegFileWithExtension(const char* path, Bitmap* target, bool testExtension)
{
    static const char* const kExtensions[] = {".jpg", ".jpeg", ".jfif"};
    if (testExtension && !HasExtension(path, kExtensions, 3)) return nullptr;
    return LoadJpegFile(path, target);
}
