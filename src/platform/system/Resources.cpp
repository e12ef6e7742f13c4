#include "platform/system/Resources.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>

namespace KR::Platform
{

namespace
{

struct ResourceIndex
{
    std::mutex mutex;
    // Keyed by (type, name); the views point into the static tables.
    std::map<std::pair<std::string_view, std::string_view>, const EmbeddedResource*, std::less<>> entries;
};

// Tables register before main from other translation units, so the index must exist on
// first use rather than at its own turn of static initialisation.
ResourceIndex& Index()
{
    static ResourceIndex index;
    return index;
}

} // namespace

void RegisterResources(const EmbeddedResource* table, std::size_t count)
{
    ResourceIndex& index = Index();
    const std::lock_guard<std::mutex> lock(index.mutex);
    for (std::size_t i = 0; i < count; ++i)
    {
        index.entries.try_emplace({table[i].type, table[i].name}, &table[i]);
    }
}

std::span<const unsigned char> FindResource(std::string_view type, std::string_view name)
{
    ResourceIndex& index = Index();
    const std::lock_guard<std::mutex> lock(index.mutex);
    const auto found = index.entries.find(std::make_pair(type, name));
    if (found == index.entries.end())
    {
        return {};
    }
    return {found->second->data, found->second->size};
}

} // namespace KR::Platform
