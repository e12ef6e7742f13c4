#pragma once
// Loads one of the run-time libraries the way the program does: with dlopen, from
// the folder of the running executable (the build puts tests and libraries there).

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <string>

namespace KRTest
{

inline std::string ExecutableFolder()
{
    char path[PATH_MAX] = {};
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof(path) - 1);
    std::string folder(path, length > 0 ? static_cast<std::size_t>(length) : 0);
    return folder.substr(0, folder.rfind('/'));
}

class RunTimeLibrary
{
public:
    explicit RunTimeLibrary(const std::string& fileName)
        : path_(ExecutableFolder() + "/" + fileName), handle_(::dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL))
    {
        if (handle_ == nullptr)
        {
            const char* error = ::dlerror();
            error_ = error != nullptr ? error : "dlopen failed";
        }
    }
    ~RunTimeLibrary()
    {
        if (handle_ != nullptr)
        {
            ::dlclose(handle_);
        }
    }
    RunTimeLibrary(const RunTimeLibrary&) = delete;
    RunTimeLibrary& operator=(const RunTimeLibrary&) = delete;

    bool IsLoaded() const { return handle_ != nullptr; }
    const std::string& Path() const { return path_; }
    const std::string& Error() const { return error_; }

    template <typename Function>
    Function Resolve(const char* name) const
    {
        return handle_ == nullptr ? nullptr : reinterpret_cast<Function>(::dlsym(handle_, name));
    }

private:
    std::string path_;
    std::string error_;
    void* handle_;
};

} // namespace KRTest
