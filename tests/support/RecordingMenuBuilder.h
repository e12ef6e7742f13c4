#pragma once
// A menu builder for tests of the controls: it records the entries every menu was built
// from and answers with a descriptor the test chose. Installed for its lifetime.

#include "kr/render/MenuDescriptor.h"

#include <string>
#include <utility>
#include <vector>

namespace KR::Test
{

class RecordingMenuBuilder : public IMenuBuilder
{
public:
    using Entries = std::vector<std::pair<std::u16string, std::u16string>>;

    RecordingMenuBuilder() : mPrevious(SetMenuBuilder(this)) {}
    ~RecordingMenuBuilder() override { SetMenuBuilder(mPrevious); }
    RecordingMenuBuilder(const RecordingMenuBuilder&) = delete;
    RecordingMenuBuilder& operator=(const RecordingMenuBuilder&) = delete;

    void Build(RCPtr<LMenuDescriptor>& out, const MenuStringPairs& pairs) override
    {
        Entries& call = calls.emplace_back();
        for (const auto& [id, text] : pairs)
        {
            call.emplace_back(id.GetView(), text.GetView());
        }
        out = reply;
    }

    // One list of (id, text) per build, in call order.
    std::vector<Entries> calls;
    RCPtr<LMenuDescriptor> reply;

private:
    IMenuBuilder* mPrevious;
};

} // namespace KR::Test
