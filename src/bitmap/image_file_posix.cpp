#include "image_file.h"

namespace bitmap_detail {

std::FILE* OpenImageFile(const char* path) { return path ? std::fopen(path, "rb") : nullptr; }

}  // namespace bitmap_detail
