#pragma once
// Files the build embeds into the program (skin and string-table documents, images),
// found at run time by type and name as the program's own resources. The build
// generates one table per embedded folder (kr_add_resources in cmake/KR.cmake); each
// table registers itself before main.

#include <cstddef>
#include <span>
#include <string_view>

namespace KR::Platform
{

struct EmbeddedResource
{
    const char* type;
    const char* name;
    // Followed by a zero byte that `size` does not count, so a text resource can also be
    // read as a terminated string.
    const unsigned char* data;
    std::size_t size;
};

// Adds a generated table. The table must outlive every lookup (the generated ones are
// static). Where two tables give one type and name, the first registered stays.
void RegisterResources(const EmbeddedResource* table, std::size_t count);

// The bytes of the resource of that type and name, compared exactly; an empty span when
// the program has none. An empty resource is an empty span too, as nothing can be read
// from it.
std::span<const unsigned char> FindResource(std::string_view type, std::string_view name);

// What the generated code defines at namespace scope to register its table.
struct ResourceRegistration
{
    ResourceRegistration(const EmbeddedResource* table, std::size_t count)
    {
        RegisterResources(table, count);
    }
};

} // namespace KR::Platform
