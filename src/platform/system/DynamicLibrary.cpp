#include "platform/system/DynamicLibrary.h"

#include <dlfcn.h>

namespace KR::Platform
{

void* OpenLibrary(const std::string& path, std::string* error)
{
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr && error != nullptr)
    {
        const char* reason = ::dlerror();
        *error = reason != nullptr ? reason : "dlopen failed";
    }
    return library;
}

void* FindSymbol(void* library, const char* name)
{
    return library == nullptr ? nullptr : ::dlsym(library, name);
}

bool CloseLibrary(void* library)
{
    return ::dlclose(library) == 0;
}

} // namespace KR::Platform
