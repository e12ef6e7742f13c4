#include "kr/system/IniFileManager.h"

#include "kr/system/IniFileManagerProxy.h"

namespace KR
{

LIniFileManager::LIniFileManager() : mProxy(std::make_unique<CIniFileManagerProxy>())
{
}

LIniFileManager::~LIniFileManager()
{
    mProxy->Detach();
}

Result LIniFileManager::LoadLibrary(const String& folder)
{
    return mProxy->LoadLibrary(folder);
}

Result LIniFileManager::UnloadLibrary()
{
    return mProxy->UnloadLibrary();
}

Result LIniFileManager::OpenIniFile(const String& path, const String& settingsVersion,
                                    const String& productName, std::int32_t& handle)
{
    return mProxy->OpenIniFile(path, settingsVersion, productName, handle);
}

Result LIniFileManager::WriteIniFile(std::int32_t handle)
{
    return mProxy->WriteIniFile(handle);
}

bool LIniFileManager::DoesNodeExist(std::int32_t handle, const String& node)
{
    return mProxy->DoesNodeExist(handle, node);
}

Result LIniFileManager::CloseIniFile(std::int32_t handle, std::int32_t save)
{
    return mProxy->CloseIniFile(handle, save);
}

Result LIniFileManager::GetIniValueInt(std::int32_t handle, const String& node, std::int32_t defaultValue,
                                       std::int32_t& value)
{
    return mProxy->GetIniValueInt(handle, node, defaultValue, value);
}

Result LIniFileManager::SetIniValueInt(std::int32_t handle, const String& node, std::int32_t value)
{
    return mProxy->SetIniValueInt(handle, node, value);
}

Result LIniFileManager::GetIniValueStr(std::int32_t handle, const String& node, const String& defaultValue,
                                       String& value)
{
    return mProxy->GetIniValueStr(handle, node, defaultValue, value);
}

Result LIniFileManager::SetIniValueStr(std::int32_t handle, const String& node, const String& value)
{
    return mProxy->SetIniValueStr(handle, node, value);
}

Result LIniFileManager::GetKeyCount(std::int32_t handle, const String& node, std::int32_t& count)
{
    return mProxy->GetKeyCount(handle, node, count);
}

Result LIniFileManager::GetKeyNameAt(std::int32_t handle, const String& node, std::int32_t index,
                                     String& name)
{
    return mProxy->GetKeyNameAt(handle, node, index, name);
}

Result LIniFileManager::GetArrayCount(std::int32_t handle, const String& node, std::int32_t& count)
{
    return mProxy->GetArrayCount(handle, node, count);
}

Result LIniFileManager::SetArrayCount(std::int32_t handle, const String& node, std::int32_t count)
{
    return mProxy->SetArrayCount(handle, node, count);
}

Result LIniFileManager::GetArrayItemAt(std::int32_t handle, const String& node, std::int32_t index,
                                       String& item)
{
    return mProxy->GetArrayItemAt(handle, node, index, item);
}

Result LIniFileManager::SetArrayItemAt(std::int32_t handle, const String& node, std::int32_t index,
                                       const String& value)
{
    return mProxy->SetArrayItemAt(handle, node, index, value);
}

Result LIniFileManager::RemoveArrayItemAt(std::int32_t handle, const String& node, std::int32_t index)
{
    return mProxy->RemoveArrayItemAt(handle, node, index);
}

} // namespace KR
