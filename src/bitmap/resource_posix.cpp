// Outside Windows the module's resources are the embedded table.
#include "resource.h"

namespace bitmap_detail {

ResourceBytes FindModuleResource(ModuleHandle, std::uint16_t id, const char* type)
{
    return FindEmbeddedResource(id, type);
}

}  // namespace bitmap_detail
