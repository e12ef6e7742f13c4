#include "libs/inifile/IniFileManagerApi.h"

#include "FakeIniFileManager.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace
{

struct Script
{
    int32_t firstResult = INIFM_OK;
    uint32_t neededSize = 0;
    int32_t secondResult = INIFM_OK;
    std::string text;
    int32_t textCalls = 0;
    int32_t calls = 0;
};

Script gScript;

int32_t AnswerText(char* buffer, uint32_t bufferSize, uint32_t* neededSize)
{
    ++gScript.calls;
    const bool first = gScript.textCalls++ == 0;
    if (first && gScript.firstResult == INIFM_BUFFER_TOO_SMALL)
    {
        *neededSize = gScript.neededSize;
        return INIFM_BUFFER_TOO_SMALL;
    }
    if (bufferSize > 0)
    {
        const std::size_t length = std::min<std::size_t>(gScript.text.size(), bufferSize - 1);
        std::memcpy(buffer, gScript.text.data(), length);
        buffer[length] = '\0';
    }
    return first ? gScript.firstResult : gScript.secondResult;
}

int32_t Count()
{
    ++gScript.calls;
    return INIFM_OK;
}

} // namespace

extern "C"
{

    INIFM_API void FakeIni_Script(int32_t firstResult, uint32_t neededSize, int32_t secondResult,
                                  const char* text)
    {
        gScript = Script{firstResult, neededSize, secondResult, text ? text : "", 0, 0};
    }

    INIFM_API int32_t FakeIni_CallCount()
    {
        return gScript.calls;
    }

    INIFM_API int32_t OpenIniFile(const char*, const char*, const char*, int32_t* handle)
    {
        *handle = 7;
        return Count();
    }

    INIFM_API int32_t WriteIniFile(int32_t)
    {
        return Count();
    }

    INIFM_API int32_t CloseIniFile(int32_t, int32_t)
    {
        return Count();
    }

    INIFM_API uint8_t DoesNodeExist(int32_t, const char*)
    {
        Count();
        return 1;
    }

    INIFM_API int32_t GetIniValueInt(int32_t, const char*, int32_t, int32_t* value)
    {
        *value = 42;
        return Count();
    }

    INIFM_API int32_t SetIniValueInt(int32_t, const char*, int32_t)
    {
        return Count();
    }

    INIFM_API int32_t GetIniValueStr(int32_t, const char*, const char*, char* buffer, uint32_t bufferSize,
                                     uint32_t* neededSize)
    {
        return AnswerText(buffer, bufferSize, neededSize);
    }

    INIFM_API int32_t SetIniValueStr(int32_t, const char*, const char*)
    {
        return Count();
    }

    INIFM_API int32_t GetKeyCount(int32_t, const char*, int32_t* count)
    {
        *count = 3;
        return Count();
    }

    INIFM_API int32_t GetKeyNameAt(int32_t, const char*, int32_t, char* buffer, uint32_t bufferSize,
                                   uint32_t* neededSize)
    {
        return AnswerText(buffer, bufferSize, neededSize);
    }

    INIFM_API int32_t GetArrayCount(int32_t, const char*, int32_t* count)
    {
        *count = 2;
        return Count();
    }

    INIFM_API int32_t SetArrayCount(int32_t, const char*, int32_t)
    {
        return Count();
    }

    INIFM_API int32_t GetArrayItemAt(int32_t, const char*, int32_t, char* buffer, uint32_t bufferSize,
                                     uint32_t* neededSize)
    {
        return AnswerText(buffer, bufferSize, neededSize);
    }

    INIFM_API int32_t SetArrayItemAt(int32_t, const char*, int32_t, const char*)
    {
        return Count();
    }

    // RemoveArrayItemAt is missing on purpose.

} // extern "C"
