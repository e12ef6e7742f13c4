#include "kr/system/IniFileManagerProxy.h"

#include "platform/system/DynamicLibrary.h"
#include "platform/system/FileSystem.h"

#include <memory>
#include <string>

using KR::kFail;
using KR::kNothingDone;
using KR::kOk;
using KR::String;

namespace
{

// Zero-terminated UTF-8 for the library; lives until the end of the full expression.
KR::Utf8String Utf8(const String& text)
{
    return text.ToUtf8();
}

// Sets text from size bytes of UTF-8 (up to the first zero), leniently: a value typed
// by hand in another encoding reads as the text before its first byte that is not
// UTF-8, never as the caller's default, which would hide that the setting is there.
KR::Result AssignFromLibrary(const char* bytes, std::uint32_t size, String& text)
{
    text.AssignUtf8(bytes, size);
    return kOk;
}

} // namespace

CIniFileManagerProxy::~CIniFileManagerProxy()
{
    UnloadLibrary();
}

template <typename Call>
KR::Result CIniFileManagerProxy::GetText(Call call, String& text)
{
    char buffer[kFirstBufferBytes] = {};
    std::uint32_t needed = 0;
    const Result first = call(buffer, kFirstBufferBytes, &needed);
    if (first == INIFM_OK)
    {
        buffer[kFirstBufferBytes - 1] = '\0';
        return AssignFromLibrary(buffer, kFirstBufferBytes, text);
    }
    if (first != INIFM_BUFFER_TOO_SMALL)
    {
        return first;
    }
    // A size that the first buffer already had, or one no settings text can need, is a
    // library fault; acting on it would loop, read garbage or exhaust memory.
    if (needed <= kFirstBufferBytes || needed > kMaxTextBytes)
    {
        return kFail;
    }
    const std::unique_ptr<char[]> large(new char[needed]);
    large[0] = '\0';
    std::uint32_t neededAgain = 0;
    const Result second = call(large.get(), needed, &neededAgain);
    if (second != INIFM_OK)
    {
        return second;
    }
    large[needed - 1] = '\0';
    return AssignFromLibrary(large.get(), needed, text);
}

void CIniFileManagerProxy::ClearEntryPoints()
{
#define KR_INIFM_CLEAR_ENTRY(name) m##name = nullptr;
    INIFM_FOR_EACH_ENTRY_POINT(KR_INIFM_CLEAR_ENTRY)
#undef KR_INIFM_CLEAR_ENTRY
}

KR::Result CIniFileManagerProxy::LoadLibrary(const String& folder)
{
    if (mLibrary != nullptr)
    {
        return kNothingDone;
    }
    std::string path =
        folder.IsEmpty() ? KR::Platform::ExecutableFolder() : std::string(Utf8(folder).GetView());
    if (!path.empty() && path.back() != '/')
    {
        path += '/';
    }
    path += INIFM_LIBRARY_FILE_NAME;
    mLibrary = KR::Platform::OpenLibrary(path);
    if (mLibrary == nullptr)
    {
        return kFail;
    }
    bool all = true;
#define KR_INIFM_FIND_ENTRY(name)                                                                            \
    m##name = reinterpret_cast<PFN_##name>(KR::Platform::FindSymbol(mLibrary, #name));                       \
    all = all && m##name != nullptr;
    INIFM_FOR_EACH_ENTRY_POINT(KR_INIFM_FIND_ENTRY)
#undef KR_INIFM_FIND_ENTRY
    return all ? kOk : kFail;
}

KR::Result CIniFileManagerProxy::UnloadLibrary()
{
    if (mLibrary == nullptr)
    {
        return kNothingDone;
    }
    const bool closed = KR::Platform::CloseLibrary(mLibrary);
    mLibrary = nullptr;
    ClearEntryPoints();
    return closed ? kOk : kFail;
}

void CIniFileManagerProxy::Detach()
{
    mLibrary = nullptr;
    ClearEntryPoints();
}

KR::Result CIniFileManagerProxy::OpenIniFile(const String& path, const String& settingsVersion,
                                             const String& productName, std::int32_t& handle)
{
    handle = 0;
    if (mOpenIniFile == nullptr)
    {
        return kFail;
    }
    return mOpenIniFile(Utf8(path).GetPtr(), Utf8(settingsVersion).GetPtr(), Utf8(productName).GetPtr(),
                        &handle);
}

KR::Result CIniFileManagerProxy::WriteIniFile(std::int32_t handle)
{
    return mWriteIniFile == nullptr ? kFail : mWriteIniFile(handle);
}

bool CIniFileManagerProxy::DoesNodeExist(std::int32_t handle, const String& node)
{
    return mDoesNodeExist != nullptr && mDoesNodeExist(handle, Utf8(node).GetPtr()) != 0;
}

KR::Result CIniFileManagerProxy::CloseIniFile(std::int32_t handle, std::int32_t save)
{
    return mCloseIniFile == nullptr ? kFail : mCloseIniFile(handle, save);
}

KR::Result CIniFileManagerProxy::GetIniValueInt(std::int32_t handle, const String& node,
                                                std::int32_t defaultValue, std::int32_t& value)
{
    value = defaultValue;
    if (mGetIniValueInt == nullptr)
    {
        return kFail;
    }
    return mGetIniValueInt(handle, Utf8(node).GetPtr(), defaultValue, &value);
}

KR::Result CIniFileManagerProxy::SetIniValueInt(std::int32_t handle, const String& node, std::int32_t value)
{
    return mSetIniValueInt == nullptr ? kFail : mSetIniValueInt(handle, Utf8(node).GetPtr(), value);
}

KR::Result CIniFileManagerProxy::GetIniValueStr(std::int32_t handle, const String& node,
                                                const String& defaultValue, String& value)
{
    value = defaultValue;
    if (mGetIniValueStr == nullptr)
    {
        return kFail;
    }
    const KR::Utf8String nodeText = Utf8(node);
    const KR::Utf8String defaultText = Utf8(defaultValue);
    return GetText(
        [&](char* buffer, std::uint32_t size, std::uint32_t* needed)
        { return mGetIniValueStr(handle, nodeText.GetPtr(), defaultText.GetPtr(), buffer, size, needed); },
        value);
}

KR::Result CIniFileManagerProxy::SetIniValueStr(std::int32_t handle, const String& node, const String& value)
{
    return mSetIniValueStr == nullptr ? kFail
                                      : mSetIniValueStr(handle, Utf8(node).GetPtr(), Utf8(value).GetPtr());
}

KR::Result CIniFileManagerProxy::GetKeyCount(std::int32_t handle, const String& node, std::int32_t& count)
{
    count = 0;
    return mGetKeyCount == nullptr ? kFail : mGetKeyCount(handle, Utf8(node).GetPtr(), &count);
}

KR::Result CIniFileManagerProxy::GetKeyNameAt(std::int32_t handle, const String& node, std::int32_t index,
                                              String& name)
{
    if (mGetKeyNameAt == nullptr)
    {
        return kFail;
    }
    const KR::Utf8String nodeText = Utf8(node);
    return GetText([&](char* buffer, std::uint32_t size, std::uint32_t* needed)
                   { return mGetKeyNameAt(handle, nodeText.GetPtr(), index, buffer, size, needed); },
                   name);
}

KR::Result CIniFileManagerProxy::GetArrayCount(std::int32_t handle, const String& node, std::int32_t& count)
{
    count = 0;
    return mGetArrayCount == nullptr ? kFail : mGetArrayCount(handle, Utf8(node).GetPtr(), &count);
}

KR::Result CIniFileManagerProxy::SetArrayCount(std::int32_t handle, const String& node, std::int32_t count)
{
    return mSetArrayCount == nullptr ? kFail : mSetArrayCount(handle, Utf8(node).GetPtr(), count);
}

KR::Result CIniFileManagerProxy::GetArrayItemAt(std::int32_t handle, const String& node, std::int32_t index,
                                                String& item)
{
    if (mGetArrayItemAt == nullptr)
    {
        return kFail;
    }
    const KR::Utf8String nodeText = Utf8(node);
    return GetText([&](char* buffer, std::uint32_t size, std::uint32_t* needed)
                   { return mGetArrayItemAt(handle, nodeText.GetPtr(), index, buffer, size, needed); },
                   item);
}

KR::Result CIniFileManagerProxy::SetArrayItemAt(std::int32_t handle, const String& node, std::int32_t index,
                                                const String& value)
{
    return mSetArrayItemAt == nullptr
               ? kFail
               : mSetArrayItemAt(handle, Utf8(node).GetPtr(), index, Utf8(value).GetPtr());
}

KR::Result CIniFileManagerProxy::RemoveArrayItemAt(std::int32_t handle, const String& node,
                                                   std::int32_t index)
{
    return mRemoveArrayItemAt == nullptr ? kFail : mRemoveArrayItemAt(handle, Utf8(node).GetPtr(), index);
}
