#pragma once
// Shared by the value-control tests (slider, knob, combo slider): a listener that writes
// down what a control sends, and key presses (the combo box's and up-down's tests too).

#include "kr/core/Holder.h"
#include "kr/notify/NotificationClient.h"
#include "kr/notify/NotificationID.h"
#include "kr/ui/Control.h"
#include "kr/ui/NotificationParams.h"

#include <string>
#include <utility>
#include <vector>

namespace KR::SliderTest
{

// What a value control sends, in order: "value 0.5000", "capture 1", "key down", "key up 1"
// (1: with a payload).
class Listener : public LNotificationClient
{
public:
    static RCPtr<Listener> On(const RCPtr<LControl>& control)
    {
        RCPtr<Listener> listener(new Listener());
        for (const char16_t* name : {u"NID_VALUE_CHANGE", u"NID_VALUE_CHANGE_CAPTURE",
                                     u"NID_VALUE_CHANGE_KEY_DOWN", u"NID_VALUE_CHANGE_KEY_UP"})
        {
            listener->RegisterForNotification(control, name);
        }
        return listener;
    }
    Result Receive(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>& n) override
    {
        const std::string name = GetNotificationName(n->GetID()).ToUtf8().GetPtr();
        if (const RCPtr<LValueParam> value = n->GetDataAs<LValueParam>())
        {
            received.push_back("value " + std::to_string(value->normalized).substr(0, 6));
        }
        else if (const RCPtr<LHolder<bool>> flag = n->GetDataAs<LHolder<bool>>())
        {
            received.push_back(std::string("capture ") + (flag->Get() ? "1" : "0"));
        }
        else
        {
            received.push_back(name == "NID_VALUE_CHANGE_KEY_DOWN"
                                   ? "key down"
                                   : std::string("key up ") + (n->GetData() ? "1" : "0"));
        }
        return kOk;
    }
    std::vector<std::string> Take() { return std::exchange(received, {}); }

    std::vector<std::string> received;
};

inline RCPtr<LKeyParam> Key(std::uint32_t code, std::uint8_t repeat = 0)
{
    KeyCode key;
    key.code = code;
    key.repeat = repeat;
    return LKeyParam::Create(key, false);
}

} // namespace KR::SliderTest
