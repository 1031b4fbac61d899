// Finding image bytes stored with the module: Win32 resources on Windows
// (resource_win32.cpp), the embedded table elsewhere (resource_posix.cpp).
#pragma once

#include "bitmap.h"

#include <cstddef>
#include <cstdint>

namespace bitmap_detail {

struct ResourceBytes {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
};

// The resource of this type and integer id, or empty bytes when there is none.
ResourceBytes FindModuleResource(ModuleHandle module, std::uint16_t id, const char* type);

// The process-wide table behind RegisterEmbeddedResource.
ResourceBytes FindEmbeddedResource(std::uint16_t id, const char* type);

}  // namespace bitmap_detail
