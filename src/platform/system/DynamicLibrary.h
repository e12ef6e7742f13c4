#pragma once
// Run-time-loaded libraries (dlopen): the two libraries the program finds in its own
// folder.

#include <string>

namespace KR::Platform
{

// Loads the library at path with every symbol resolved now; null on failure, with the
// loader's reason in *error when error is given.
void* OpenLibrary(const std::string& path, std::string* error = nullptr);

// The address of an exported symbol, or null.
void* FindSymbol(void* library, const char* name);

// False when the loader reports a failure.
bool CloseLibrary(void* library);

} // namespace KR::Platform
