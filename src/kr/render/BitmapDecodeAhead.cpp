#include "kr/render/BitmapDecodeAhead.h"

#include "platform/system/Resources.h"

#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>

namespace KR::BitmapDecodeAhead
{
namespace
{

constexpr char kResourceType[] = "GDIPLUS";

bool IsResourceName(const String& name)
{
    return name.GetView().starts_with(u"::");
}

// "::Session Skin 1C.png" -> "SESSION_SKIN_1C_PNG".
std::string ResourceName(const String& name)
{
    String resource = name.SubString(2).ToUpper();
    std::u16string units(resource.GetView());
    std::replace_if(
        units.begin(), units.end(), [](char16_t c) { return c == u'.' || c == u' '; }, u'_');
    return String(std::u16string_view(units)).ToUtf8().GetPtr();
}

struct Entry
{
    bool begun = false;
    bool done = false;
    Platform::DecodedImage decoded;
    std::string error;
};

struct Waiting
{
    std::mutex mutex;
    std::condition_variable decoded;
    std::map<String, Entry> entries;
};

// Never destroyed: a decoding thread may still finish while static objects go.
Waiting& Shared()
{
    static auto* waiting = new Waiting();
    return *waiting;
}

} // namespace

void DecodeResourceImage(const String& name, Platform::DecodedImage& decoded, std::string& error)
{
    const auto bytes = Platform::FindResource(kResourceType, ResourceName(name));
    error = "no such resource";
    if (!bytes.empty())
    {
        Platform::DecodePng(bytes.data(), bytes.size(), decoded, error);
    }
}

void Decode(const std::vector<String>& names)
{
    Waiting& waiting = Shared();
    std::vector<String> queued;
    {
        const std::lock_guard lock(waiting.mutex);
        for (const String& name : names)
        {
            if (IsResourceName(name) && waiting.entries.try_emplace(name.ToUpper()).second)
            {
                queued.push_back(name);
            }
        }
    }
    for (const String& name : queued)
    {
        const String key = name.ToUpper();
        {
            const std::lock_guard lock(waiting.mutex);
            const auto found = waiting.entries.find(key);
            if (found == waiting.entries.end() || found->second.begun)
            {
                continue;
            }
            found->second.begun = true;
        }
        Entry result;
        DecodeResourceImage(name, result.decoded, result.error);
        {
            const std::lock_guard lock(waiting.mutex);
            // Begun, the entry stays until it is taken.
            Entry& entry = waiting.entries.at(key);
            entry.decoded = std::move(result.decoded);
            entry.error = std::move(result.error);
            entry.done = true;
        }
        waiting.decoded.notify_all();
    }
}

bool Take(const String& key, Platform::DecodedImage& decoded, std::string& error)
{
    Waiting& waiting = Shared();
    std::unique_lock lock(waiting.mutex);
    auto found = waiting.entries.find(key);
    if (found == waiting.entries.end())
    {
        return false;
    }
    if (!found->second.begun)
    {
        waiting.entries.erase(found);
        return false;
    }
    Entry& entry = found->second;
    waiting.decoded.wait(lock, [&] { return entry.done; });
    decoded = std::move(entry.decoded);
    error = std::move(entry.error);
    waiting.entries.erase(found);
    return true;
}

} // namespace KR::BitmapDecodeAhead
