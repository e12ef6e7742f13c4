#pragma once
// An environment variable set (or, with null, removed) for a scope; its old value comes
// back at the end. Tests of folders and languages change HOME, XDG_* and LANG this way.

#include <stdlib.h>

#include <optional>
#include <string>

namespace KR::TestSupport
{

class ScopedVariable
{
public:
    ScopedVariable(const char* name, const char* value) : mName(name)
    {
        if (const char* old = ::getenv(name))
        {
            mOld = old;
        }
        value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedVariable() { mOld ? ::setenv(mName, mOld->c_str(), 1) : ::unsetenv(mName); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* mName;
    std::optional<std::string> mOld;
};

} // namespace KR::TestSupport
