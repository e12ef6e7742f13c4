// Whatever a preset holds, looking at it changes nothing: with arbitrary blocks loaded, every
// control of the picture opened in turn through the window (each bank, a Shift-click for
// the colour previews too) leaves the model exactly as it was loaded, and nothing falls over.
// The edit panels show corrected or normalised forms of some blocks; those must stay on
// screen and never reach the preset unasked.

#include "GroupsFixture.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace
{

using namespace KR::TestSupport;

class ArbitraryPreset : public Groups
{
protected:
    // The controls the user can click while `bank` is chosen; those outside the banks once.
    static std::vector<std::string> ControlsOf(int bank)
    {
        const std::string b = std::to_string(bank);
        std::vector<std::string> controls;
        for (int k = 1; k <= 9; ++k)
        {
            const std::string n = std::to_string(k);
            controls.push_back("buttons/buttonBank" + b + "/button" + n);
            controls.push_back("faders/faderBank" + b + "/fader" + n);
            if (k <= 8)
            {
                controls.push_back("encoders/encoderBank" + b + "/encoder" + n);
            }
        }
        if (bank == 1)
        {
            for (int k = 1; k <= 16; ++k)
            {
                controls.push_back("pads/pad" + std::to_string(k));
            }
            for (int k = 1; k <= 4; ++k)
            {
                controls.push_back("keybedZones/zone" + std::to_string(k));
            }
            for (const char* other : {"wheels/pitchWheel", "wheels/modWheel", "pedals/sustainPedal",
                                      "pedals/volumePedal", "xyPad/xAxis", "xyPad/yAxis"})
            {
                controls.emplace_back(other);
            }
        }
        return controls;
    }

    // Loads blocks of random bytes from 0 to `highest` into every parameter.
    void LoadRandomBlocks(std::mt19937& random, unsigned highest)
    {
        for (std::int32_t id = 0; id < InstalledEngine::kParamCount; ++id)
        {
            std::vector<int> bytes = engine.Bytes(id);
            for (int& byte : bytes)
            {
                byte = static_cast<int>(random() % (highest + 1));
            }
            ASSERT_EQ(engine.SetAsLoaded(id, bytes), KR::kOk) << id;
        }
        editor.Idle();
    }

    // The first parameter whose block differs from `loaded`, or -1.
    std::int32_t FirstChanged(const std::vector<std::vector<int>>& loaded) const
    {
        const std::vector<std::vector<int>> now = engine.All();
        for (std::int32_t id = 0; id < InstalledEngine::kParamCount; ++id)
        {
            if (now[static_cast<std::size_t>(id)] != loaded[static_cast<std::size_t>(id)])
            {
                return id;
            }
        }
        return -1;
    }
};

TEST_F(ArbitraryPreset, LookingAtEveryControlLeavesThePresetAsLoaded)
{
    std::mt19937 random(20261207);
    // Seven-bit bytes as a file or the keyboard carries them; then any byte, as a damaged
    // file may.
    for (const unsigned highest : {127u, 255u})
    {
        LoadRandomBlocks(random, highest);
        const std::vector<std::vector<int>> loaded = engine.All();
        for (int bank = 1; bank <= 4; ++bank)
        {
            Click("groupBankPanel/bank" + std::to_string(bank));
            for (const std::string& control : ControlsOf(bank))
            {
                ASSERT_TRUE(At(control)) << control;
                Click(control + "/button");
                editor.Idle();
                ASSERT_EQ(Shown().size(), 1u) << control; // the click reached the control
                Click(control + "/button", KR::ModifierFlag::kShift);
                editor.Idle();
                ASSERT_EQ(FirstChanged(loaded), -1) << control << ", bytes up to " << highest;
            }
        }
    }
}

// A byte the list cannot show (a channel past the list, a colour or key past it) is built
// back as it came when the user changes something else on the panel: the preset stays
// savable and sendable, which it would not be with a byte of 0x80 or more in it.
TEST_F(ArbitraryPreset, AChoiceOnAnyOpenedControlKeepsThePresetSevenBit)
{
    std::mt19937 random(1207);
    LoadRandomBlocks(random, 127);
    for (int bank = 1; bank <= 4; ++bank)
    {
        Click("groupBankPanel/bank" + std::to_string(bank));
        for (const std::string& control : ControlsOf(bank))
        {
            Click(control + "/button");
            editor.Idle();
            ASSERT_EQ(Shown().size(), 1u) << control;
            KR::RCPtrArray<KR::LControl> found;
            At(Shown().front())->FindDescendantControls(KR::String(u"comboBox"), found);
            for (std::uint32_t i = 0; i < found.GetCount(); ++i)
            {
                auto* const list = dynamic_cast<KR::LComboBox*>(found[i].Get());
                if (!list || !list->IsShown(true) || list->GetItemCount() < 2)
                {
                    continue;
                }
                list->SetSelectedIndex(list->GetSelectedIndex() == 1 ? 0 : 1);
                editor.Idle();
                const std::vector<int> data = engine.DataBytes();
                const auto high = std::find_if(data.begin(), data.end(), [](int byte) { return byte > 127; });
                ASSERT_EQ(high, data.end())
                    << control << ", list " << i << ": byte " << (high - data.begin()) << " = " << *high;
            }
        }
    }
}

} // namespace
