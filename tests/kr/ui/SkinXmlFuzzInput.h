#pragma once
// One fuzz input run through the skin and string-table reader, with the invariants that
// must hold whatever the bytes. Shared by the seeded GoogleTest loop and the libFuzzer
// target. Memory faults are the sanitizers' to catch; a broken invariant comes back as a
// text naming it.

#include "kr/ui/SkinXmlReader.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace KRTest
{

// The first byte picks the mode (even: a skin document; odd: a string-table document read
// through a whole locale fallback chain), the rest is the document.
inline const char* ExerciseSkinXmlBytes(const std::uint8_t* data, std::size_t size)
{
    // Length 0 would mean "up to the first zero byte", which these bytes need not have.
    if (size < 2)
    {
        return nullptr;
    }
    const bool skin = data[0] % 2 == 0;
    const char* doc = reinterpret_cast<const char*>(data + 1);
    const std::size_t length = size - 1;
    KR::SkinXmlReader reader(KR::String(u"App"));
    const KR::Result result = skin ? reader.ReadSkins(doc, length)
                                   : reader.ReadStringTableDocument(doc, length, {0x0C04, 0x7C04, 9});
    if (KR::Failed(result) && reader.GetParseErrorCode() == 0 && reader.GetHandlerErrorText().empty())
    {
        return "a document failed without a kept reason";
    }
    // Whatever was read stays reachable and linked both ways. A walk of our own, as the
    // nesting is as deep as the bytes make it.
    std::vector<const KR::LControlDescriptor*> pending;
    for (std::uint32_t r = 0; r < reader.GetSkinRoots().GetCount(); ++r)
    {
        pending.push_back(reader.GetSkinRoots().GetAt(r).Get());
    }
    while (!pending.empty())
    {
        const KR::LControlDescriptor* descriptor = pending.back();
        pending.pop_back();
        const KR::LControlDescriptor::Children& children = descriptor->GetChildren();
        for (std::uint32_t i = 0; i < children.GetCount(); ++i)
        {
            const KR::LControlDescriptor* child = children.GetAt(i).Get();
            if (!child || child->GetParent() != descriptor || !child->GetLayout())
            {
                return "a child descriptor is null, has no layout or names another parent";
            }
            pending.push_back(child);
        }
    }
    if (auto table = reader.GetStringTable(KR::String(u"Framework")))
    {
        KR::String text;
        table->GetString(KR::String(u"A"), text);
    }
    return nullptr;
}

} // namespace KRTest
