// The loaders with their file-dialog filters. The list is linked on first use:
// a static library drops objects nobody references, so a static initialiser in
// this file could never be relied on to run.
#include "bitmap.h"

namespace {

const char* PngFilter() { return "PNG files (*.PNG)\0*.PNG\0"; }
const char* JpegFilter() { return "JPEG files (*.JPG;*.JPEG;*.JFIF)\0*.JPG;*.JPEG;*.JFIF\0"; }

const ImageLoaderEntry* LinkLoaders()
{
    static const ImageLoaderEntry jpeg = {LoadJpegFileWithExtension, JpegFilter, nullptr};
    static const ImageLoaderEntry png = {LoadPngFileWithExtension, PngFilter, &jpeg};
    return &png;
}

}  // namespace

const ImageLoaderEntry* ImageLoaderRegistry()
{
    static const ImageLoaderEntry* const head = LinkLoaders();
    return head;
}

Bitmap* LoadImageFile(const char* path, Bitmap* target)
{
    for (const ImageLoaderEntry* entry = ImageLoaderRegistry(); entry; entry = entry->next)
        if (Bitmap* bitmap = entry->load(path, target, true)) return bitmap;
    return nullptr;
}
