#include "image_file.h"

#include <cctype>
#include <cstring>

namespace bitmap_detail {

bool HasExtension(const char* path, const char* const* extensions, int count)
{
    if (!path) return false;
    const char* tail = nullptr;
    for (const char* p = path; *p; ++p)
        if (*p == '.' || *p == '/' || *p == '\\') tail = p;
    if (!tail) return false;
    for (int i = 0; i < count; ++i) {
        const char* a = tail;
        const char* b = extensions[i];
        while (*a && *b && std::tolower(static_cast<unsigned char>(*a)) == std::tolower(static_cast<unsigned char>(*b)))
            ++a, ++b;
        if (!*a && !*b) return true;
    }
    return false;
}

}  // namespace bitmap_detail
