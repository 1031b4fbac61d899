// Resources compiled into the module by windres; the embedded table is the
// fallback so that bytes registered at run time are found in every build.
#include "resource.h"

#include <windows.h>

namespace bitmap_detail {

ResourceBytes FindModuleResource(ModuleHandle module, std::uint16_t id, const char* type)
{
    if (HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), type)) {
        const DWORD size = SizeofResource(module, info);
        HGLOBAL handle = LoadResource(module, info);
        const void* data = handle ? LockResource(handle) : nullptr;
        if (!data || size == 0) return {};
        return {static_cast<const unsigned char*>(data), std::size_t(size)};
    }
    return FindEmbeddedResource(id, type);
}

}  // namespace bitmap_detail
