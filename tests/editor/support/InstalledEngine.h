#pragma once
// The real engine on the device model, over the scripted bridge (so it starts connected),
// installed where the panels look for it; its notifications reach a fresh application
// center that the test drains as the idle step would.
//
//     KR::TestSupport::InstalledEngine engine;
//     engine.Bytes(107);            // the block of parameter 107 as the model holds it
//     engine.SetAsLoaded(0, {0x41, 0x42, 0, 0, 0, 0}); editor.Idle();  // as a loaded preset

#include "editor/edit/RootModuleEngineAccess.h"
#include "support/engine/ApplicationCenter.h"
#include "support/engine/ScriptedBridge.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

namespace KR::TestSupport
{

// A block as the model holds it: a byte blob.
inline Variant Blob(const std::vector<int>& bytes)
{
    const std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    Variant value;
    value.SetBlob(data.data(), static_cast<std::uint32_t>(data.size()));
    return value;
}

// Numbers written out as a row, so a table's case fits on one line: Numbers("00 30 7F", 16)
// for a block as the keyboard's tables give it, Numbers("8 60 72") for notes.
inline std::vector<int> Numbers(const std::string& text, int base = 10)
{
    std::istringstream in(text);
    in >> std::setbase(base);
    std::vector<int> numbers;
    for (int number = 0; in >> number;)
    {
        numbers.push_back(number);
    }
    EXPECT_TRUE(in.eof()) << "not a row of numbers: " << text;
    return numbers;
}

class InstalledEngine
{
public:
    static constexpr std::int32_t kParamCount = 131;

    InstalledEngine() : engine(LRootModuleEngine::Create(bridge))
    {
        EXPECT_EQ(engine->Initialize(0), kOk);
        center.Drain();
        center.log->Clear();
        SetRootModuleEngine(engine);
    }
    ~InstalledEngine()
    {
        SetRootModuleEngine(nullptr);
        engine = nullptr;
    }
    InstalledEngine(const InstalledEngine&) = delete;
    InstalledEngine& operator=(const InstalledEngine&) = delete;

    std::vector<int> Bytes(std::int32_t id) const
    {
        Variant value;
        engine->GetParamValue(ParamDescriptor(id), value);
        std::uint32_t count = 0;
        const std::uint8_t* bytes = value.GetBytes(count);
        return bytes ? std::vector<int>(bytes, bytes + count) : std::vector<int>();
    }
    // Every parameter's bytes, in id order.
    std::vector<std::vector<int>> All() const
    {
        std::vector<std::vector<int>> all;
        for (std::int32_t id = 0; id < kParamCount; ++id)
        {
            all.push_back(Bytes(id));
        }
        return all;
    }
    // The preset's data bytes: every block in id order, end to end (1338 of them).
    std::vector<int> DataBytes() const
    {
        std::vector<int> data;
        for (const std::vector<int>& block : All())
        {
            data.insert(data.end(), block.begin(), block.end());
        }
        return data;
    }
    // Sets a block in the model as loading a preset file sets it: through the engine,
    // which posts the change; the editor's idle step then delivers it to the tree.
    Result SetAsLoaded(std::int32_t id, const std::vector<int>& bytes)
    {
        return engine->SetParamValue(ParamDescriptor(engine->GetFirstParamID() + id), Blob(bytes));
    }
    Variant Value(std::int32_t id) const
    {
        Variant value;
        engine->GetParamValue(ParamDescriptor(id), value);
        return value;
    }

    // How many values the engine has written to the device since it started: each edit
    // that reached `LRootModuleEngine::SetParamValue` and was taken.
    int Writes() const { return bridge->sets.load(); }

    support::ApplicationCenter center;
    RCPtr<ScriptedBridge> bridge = ScriptedBridge::Create();
    RCPtr<LRootModuleEngine> engine;
};

} // namespace KR::TestSupport
