#include "platform/window/ModalBoxes.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace KR::Platform
{
namespace
{

struct Boxes
{
    std::vector<const std::function<void()>*> running;
    bool refused = false;

    static Boxes& Get()
    {
        static Boxes boxes;
        return boxes;
    }
};

} // namespace

ModalBoxScope::ModalBoxScope(std::function<void()> cancel) : mCancel(std::move(cancel))
{
    Boxes::Get().running.push_back(&mCancel);
}

ModalBoxScope::~ModalBoxScope()
{
    std::vector<const std::function<void()>*>& running = Boxes::Get().running;
    running.erase(std::remove(running.begin(), running.end(), &mCancel), running.end());
}

void CancelModalBoxes()
{
    Boxes& boxes = Boxes::Get();
    boxes.refused = true;
    // A cancel does not run its box's loop, so none of them leaves the list meanwhile; a copy
    // all the same, in case one that did would.
    const std::vector<const std::function<void()>*> running = boxes.running;
    for (auto box = running.rbegin(); box != running.rend(); ++box)
    {
        if (std::find(boxes.running.begin(), boxes.running.end(), *box) != boxes.running.end() && **box)
        {
            (**box)();
        }
    }
}

bool AreModalBoxesRefused()
{
    return Boxes::Get().refused;
}

void AllowModalBoxes()
{
    Boxes::Get().refused = false;
}

} // namespace KR::Platform
