#pragma once
// Looks for tests. While a LookStandIns object lives, LLook::Create hands out
// LStandInLook objects, whose client rectangle and colour at every point the test sets;
// the object keeps every look it made, in order.
//
//     KR::TestSupport::LookStandIns looks;
//     ... the control applies its skin ...
//     looks.made[0]->clientRect = KR::RectI{2, 2, 20, 10};

#include "kr/ui/Look.h"

#include <optional>
#include <vector>

namespace KR::TestSupport
{

class LStandInLook : public LLook
{
public:
    using LLook::LLook;

    RectI GetClientRect() const override { return clientRect ? *clientRect : LLook::GetClientRect(); }
    std::uint32_t GetColorAtPoint(const PointI&) const override { return color; }

    // Unset: the rectangle the look places.
    std::optional<RectI> clientRect;
    std::uint32_t color = 0x00FFFFFF;
};

class LookStandIns
{
public:
    LookStandIns()
    {
        LLook::SetLookMaker(
            [this](const ConstRCPtr<LLookDescriptor>& descriptor, bool wrap)
            {
                RCPtr<LStandInLook> look(new LStandInLook(descriptor, wrap));
                look->color = mColor;
                made.push_back(look);
                return RCPtr<LLook>(look);
            });
    }
    ~LookStandIns() { LLook::SetLookMaker(nullptr); }
    LookStandIns(const LookStandIns&) = delete;
    LookStandIns& operator=(const LookStandIns&) = delete;

    // The colour of every look made so far and of those made later (controls make a
    // look when it is first shown or asked for).
    void SetColor(std::uint32_t color)
    {
        mColor = color;
        for (const RCPtr<LStandInLook>& look : made)
        {
            look->color = color;
        }
    }

    std::vector<RCPtr<LStandInLook>> made;

private:
    std::uint32_t mColor = 0x00FFFFFF;
};

} // namespace KR::TestSupport
