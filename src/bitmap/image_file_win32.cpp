// On Windows NT the path is taken as UTF-8 and opened wide; on older Windows,
// or when that fails, it is opened in the ANSI code page.
#include "image_file.h"

#include <windows.h>

namespace bitmap_detail {

std::FILE* OpenImageFile(const char* path)
{
    if (!path) return nullptr;
    if ((GetVersion() & 0x80000000u) == 0) {
        wchar_t wide[2048];
        if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wide, 2048) > 0)
            if (std::FILE* file = _wfopen(wide, L"rb")) return file;
    }
    return std::fopen(path, "rb");
}

}  // namespace bitmap_detail
