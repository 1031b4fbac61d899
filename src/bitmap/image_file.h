// Opening image files by a path in the system's multibyte form
// (image_file_win32.cpp tries UTF-8 first, image_file_posix.cpp opens it as is).
#pragma once

#include <cstdio>

namespace bitmap_detail {

// The file opened for binary reading, or none.
std::FILE* OpenImageFile(const char* path);

// True when the name's tail from its last dot, slash or backslash equals one of
// the extensions (each with its dot), compared without regard to case.
bool HasExtension(const char* path, const char* const* extensions, int count);

}  // namespace bitmap_detail
