// The process-wide table of embedded resources. Registration happens during
// static initialisation in any order, so the table is built on first use.
#include "bitmap.h"
#include "resource.h"

#include <cctype>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

using namespace bitmap_detail;

namespace {

struct EmbeddedResource {
    std::string type;  // upper case, as resource type names compare without regard to case
    std::uint16_t id;
    ResourceBytes bytes;
};

struct EmbeddedTable {
    std::mutex lock;
    std::vector<EmbeddedResource> entries;
};

EmbeddedTable& Table()
{
    static EmbeddedTable table;
    return table;
}

std::string UpperType(const char* type)
{
    std::string upper(type);
    for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

}  // namespace

bool RegisterEmbeddedResource(const char* type, std::int32_t id, const void* data, std::size_t size)
{
    if (!type || !*type || !data || size == 0) return false;
    const std::string key = UpperType(type);
    const ResourceBytes bytes{static_cast<const unsigned char*>(data), size};
    EmbeddedTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    for (EmbeddedResource& entry : table.entries)
        if (entry.id == std::uint16_t(id) && entry.type == key) {
            entry.bytes = bytes;
            return true;
        }
    table.entries.push_back({key, std::uint16_t(id), bytes});
    return true;
}

namespace bitmap_detail {

ResourceBytes FindEmbeddedResource(std::uint16_t id, const char* type)
{
    if (!type) return {};
    const std::string key = UpperType(type);
    EmbeddedTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    for (const EmbeddedResource& entry : table.entries)
        if (entry.id == id && entry.type == key) return entry.bytes;
    return {};
}

}  // namespace bitmap_detail
