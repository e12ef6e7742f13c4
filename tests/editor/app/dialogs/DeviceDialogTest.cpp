// The send, retrieve and global settings dialogs in process, made from the editor's skin
// by the application's factory, with the application's MIDI manager talking to the
// simulated keyboard's answers behind fake ports. Every outcome is read from the message
// boxes the application shows and from the messages the keyboard received.

#include "TestPaths.h"
#include "editor/app/GetPresetFromMidiDeviceDlg.h"
#include "editor/app/GlobalSettingsDlg.h"
#include "editor/app/PresetTransferOutcome.h"
#include "editor/app/SendPresetToMidiDeviceDlg.h"
#include "editor/app/dialogs/DialogApplication.h"
#include "editor/support/InProcessEditor.h"
#include "editor/support/SkinFailure.h"
#include "engine/PresetManager.h"
#include "kr/controls/Label.h"
#include "support/Files.h"
#include "support/engine/MidiManagerTestSupport.h"
#include "support/engine/SysExTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{

using KR::RCPtr;
using KR::TestSupport::DialogApplication;
using KR::TestSupport::DialogFolders;
using Strings = std::vector<std::string>;
namespace kp = KeyboardSysEx;

const std::string kSent = "Send Sucess | The preset has been sucessfully sent to the device | 0";
const std::string kSendConnection =
    "Send Preset Error | Error connecting to device. Verify your Quillan Keyboard "
    "is plugged into the USB port and try again. | 0";
const std::string kFirmwareText =
    "The firmware version of your device is not compatible with this version of the "
    "Preset Editor.  Visit https://www.tarsil.example/firmware for the latest "
    "firmware updates.";
const std::string kSendFirmware = "Send Preset Error | " + kFirmwareText + " | 0";
const std::string kRetrieved = "Retrieve Sucessful | The preset has been sucessfully retreived. | 0";
const std::string kRetrieveConnection =
    "Retrieve Preset Error | The Preset has failed to get from the device. "
    "Verify the device is connected to your computer via the USB cable. | 0";
const std::string kRetrieveFirmware = "Retrieve Preset Error | " + kFirmwareText + " | 0";
const std::string kGlobalFailed = "Global Settings Error | Error connecting to device. Verify your Quillan "
                                  "Keyboard is plugged into the USB port and try again. | 0";

bool IsCommand(const std::string& hex, std::uint8_t command)
{
    const std::vector<std::uint8_t> bytes = support::ParseHex(hex);
    return bytes.size() > kp::kCommandAt && bytes[0] == 0xF0 && bytes[1] == 0x00 &&
           bytes[kp::kCommandAt] == command;
}

// The slot byte of every preset dump the keyboard received.
std::vector<int> DumpedSlots(const Strings& messages)
{
    std::vector<int> slots;
    for (const std::string& message : messages)
    {
        if (IsCommand(message, kp::kPresetDump))
        {
            slots.push_back(support::ParseHex(message)[kp::kPresetSlotAt]);
        }
    }
    return slots;
}

// The global names requested ('k') or set ('j', as "NAME=value"), in order.
Strings Globals(const Strings& messages, std::uint8_t command)
{
    Strings globals;
    for (const std::string& message : messages)
    {
        if (!IsCommand(message, command))
        {
            continue;
        }
        const std::vector<std::uint8_t> bytes = support::ParseHex(message);
        std::string name(kp::kGlobalNames[bytes[kp::kGlobalIndexAt]]);
        if (command == kp::kGlobalSet)
        {
            name += "=" + std::to_string(bytes[kp::kGlobalValueAt] * 128 + bytes[kp::kGlobalValueAt + 1]);
        }
        globals.push_back(name);
    }
    return globals;
}

// What a button sends on a click.
void Press(KR::LControl& dialog, const char16_t* button)
{
    dialog.FindChildControl(KR::String(button))->SendNotificationByName(u"NID_LEFT_CLICK");
}

class DeviceDialogs : public ::testing::Test
{
public: // the cases' lambdas reach them
    void SetUp() override { ASSERT_TRUE(app->Start()); }

    template <typename T>
    RCPtr<T> Make(const char16_t* name)
    {
        const RCPtr<T> dialog(app->CreateStandalone(name));
        EXPECT_TRUE(dialog) << KR::String(name).ToUtf8().GetPtr();
        return dialog;
    }
    static KR::LComboBox& Slots(KR::LControl& dialog)
    {
        return *RCPtr<KR::LComboBox>(
            dialog.FindChildControl(KR::String(u"presetSlot"))->FindChildControl(KR::String(u"comboBox")));
    }

    DialogFolders folders;
    const RCPtr<DialogApplication> app{new DialogApplication};
};

TEST_F(DeviceDialogs, SendReportsEveryNegativeResultAsAFailure)
{
    const RCPtr<LSendPresetToMidiDeviceDlg> dialog = Make<LSendPresetToMidiDeviceDlg>(u"dialogSendPreset");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Slots(*dialog).GetItemText(12), u"Preset 12");
    const struct
    {
        const char* what;
        std::int32_t slot;
        std::function<void(DialogApplication&)> fault;
        std::string box;
        std::vector<int> dumped;
    } cases[] = {
        {"RAM", 0, nullptr, kSent, {0}},
        {"Preset 12", 12, nullptr, kSent, {12}},
        {"old firmware", 3, [](DialogApplication& a) { a.sim.SetFirmware("1040"); }, kSendFirmware, {}},
        {"no ports", 3, [](DialogApplication& a) { a.keyboard.inputPresent = false; }, kSendConnection, {}},
        {"output fails", 3, [](DialogApplication& a) { a.FailPiecesFrom(3); }, kSendConnection, {}},
        {"preset refused", 3, [](DialogApplication& a) { a.SpoilModel(); }, kSendConnection, {}},
        {"nothing selected", -1, nullptr, kSendConnection, {}},
    };
    for (const auto& c : cases)
    {
        app->Reset();
        if (c.fault)
        {
            c.fault(*app);
        }
        Slots(*dialog).SetSelectedIndex(c.slot);
        Press(*dialog, u"send");
        EXPECT_EQ(app->boxes, Strings{c.box}) << c.what;
        EXPECT_EQ(DumpedSlots(app->Received()), c.dumped) << c.what;
    }

    app->Reset();
    Slots(*dialog).SetSelectedIndex(7);
    Press(*dialog, u"send");
    Press(*dialog, u"send");
    EXPECT_EQ(app->boxes, (Strings{kSent, kSent})) << "the dialog stays and sends again";
    EXPECT_EQ(DumpedSlots(app->Received()), (std::vector<int>{7, 7}));
    EXPECT_EQ(app->sim.SlotData(7)[0], support::ModelData(*app->GetRootModuleEngine())[0]);
}

TEST(DeviceDialogSkins, ASendWithoutASlotSelectorSendsNothing)
{
    const std::string skin = KR::TestSupport::InProcessEditor::EditedFile(
        KR_EDITOR_SKIN_FILE, "send_without_presetSlot",
        [](std::string& text) {
            KR::TestSupport::InProcessEditor::RenameChildren(text, "Name=\"dialogSendPreset\"", "presetSlot");
        });
    DialogFolders folders;
    const RCPtr<DialogApplication> edited(new DialogApplication(skin));
    ASSERT_TRUE(edited->Start());
    const RCPtr<KR::LControl> dialog = edited->CreateStandalone(u"dialogSendPreset");
    ASSERT_TRUE(dialog);
    Press(*dialog, u"send");
    EXPECT_EQ(edited->boxes, Strings{kSendConnection});
    EXPECT_EQ(edited->Received(), Strings{});
}

TEST(PresetTransferOutcome, AnyNegativeResultIsAFailureAndOnlyMinusTwoNamesTheFirmware)
{
    DialogFolders folders;
    const RCPtr<DialogApplication> app(new DialogApplication);
    ASSERT_TRUE(app->Start());
    const auto shown = [](const PresetTransferTexts& texts)
    { return std::string(texts.caption.ToUtf8().GetPtr()) + " | " + texts.text.ToUtf8().GetPtr() + " | 0"; };
    const struct
    {
        const PresetTransferKeys* keys;
        KR::Result result;
        std::string box;
    } cases[] = {
        {&kSendPresetKeys, 0, kSent},
        {&kSendPresetKeys, 1338, kSent},
        {&kSendPresetKeys, -1, kSendConnection},
        {&kSendPresetKeys, -3, kSendConnection},
        {&kSendPresetKeys, KR::kInvalidArg, kSendConnection},
        {&kSendPresetKeys, KR::kFail, kSendConnection},
        {&kSendPresetKeys, -7, kSendConnection},
        {&kSendPresetKeys, -2, kSendFirmware},
        {&kGetPresetKeys, 0, kRetrieved},
        {&kGetPresetKeys, -1, kRetrieveConnection},
        {&kGetPresetKeys, -3, kRetrieveConnection},
        {&kGetPresetKeys, KR::kFail, kRetrieveConnection},
        {&kGetPresetKeys, KR::kInvalidArg, kRetrieveConnection},
        {&kGetPresetKeys, -2, kRetrieveFirmware},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(shown(PresetTransferOutcome(*c.keys, c.result)), c.box) << c.result;
    }
}

TEST_F(DeviceDialogs, RetrieveWritesTheSlotIntoTheModelOrSaysWhyNot)
{
    const RCPtr<LGetPresetFromMidiDeviceDlg> dialog =
        Make<LGetPresetFromMidiDeviceDlg>(u"dialogRetrievePresetFromHardware");
    ASSERT_TRUE(dialog);
    const struct
    {
        const char* what;
        std::function<void(DialogApplication&)> fault;
        std::string box;
        bool applied;
    } cases[] = {
        {"answered", nullptr, kRetrieved, true},
        {"no preset reply", [](DialogApplication& a) { a.AnswerOnlyTheIdentityRequest(); },
         kRetrieveConnection, false},
        {"silent", [](DialogApplication& a) { a.sim.SetFaults({.silent = true}); }, kRetrieveFirmware, false},
        {"old firmware", [](DialogApplication& a) { a.sim.SetFirmware("1040"); }, kRetrieveFirmware, false},
        {"no ports", [](DialogApplication& a) { a.keyboard.outputPresent = false; }, kRetrieveConnection,
         false},
    };
    for (const auto& c : cases)
    {
        app->Reset();
        if (c.fault)
        {
            c.fault(*app);
        }
        const std::vector<std::uint8_t> before = support::ModelData(*app->GetRootModuleEngine());
        Slots(*dialog).SetSelectedIndex(5);
        Press(*dialog, u"getButton");
        EXPECT_EQ(app->boxes, Strings{c.box}) << c.what;
        const std::vector<std::uint8_t> after = support::ModelData(*app->GetRootModuleEngine());
        const auto slot = app->sim.SlotData(5);
        EXPECT_EQ(after, c.applied ? std::vector<std::uint8_t>(slot.begin(), slot.end()) : before) << c.what;
        if (c.applied)
        {
            EXPECT_NE(after, before) << "the slot differs from the model's defaults";
        }
    }
}

TEST_F(DeviceDialogs, APresetSentAndRetrievedAfterAnotherWasLoadedSavesAsTheFirst)
{
    const RCPtr<KR::LControl> send = Make<KR::LControl>(u"dialogSendPreset");
    const RCPtr<KR::LControl> get = Make<KR::LControl>(u"dialogRetrievePresetFromHardware");
    ASSERT_TRUE(send && get);
    const RCPtr<KR::LPresetManager> presets = KR::LPresetManager::Create(app->GetRootModuleEngine());
    // A folder of the test's own: another run beside this one saves files of these names.
    const KR::TestSupport::TempFolder folder;
    const std::string first = (folder / "first.VantorPresetEditor").string();
    const std::string second = (folder / "second.VantorPresetEditor").string();
    const std::string again = (folder / "again.VantorPresetEditor").string();
    ASSERT_EQ(presets->SavePresetFile(KR::String(first.c_str())), KR::kOk);
    // Another preset, B, in a file of its own: slot 3 of the keyboard by way of the model.
    Slots(*get).SetSelectedIndex(3);
    Press(*get, u"getButton");
    ASSERT_EQ(presets->SavePresetFile(KR::String(second.c_str())), KR::kOk);
    ASSERT_EQ(presets->LoadPresetFile(KR::String(first.c_str())), KR::kOk);

    Press(*send, u"send"); // A into "RAM"
    ASSERT_EQ(presets->LoadPresetFile(KR::String(second.c_str())), KR::kOk);
    Slots(*get).SetSelectedIndex(0);
    Press(*get, u"getButton"); // "RAM" back
    ASSERT_EQ(presets->SavePresetFile(KR::String(again.c_str())), KR::kOk);

    EXPECT_EQ(app->boxes, (Strings{kRetrieved, kSent, kRetrieved}));
    EXPECT_EQ(KR::TestSupport::FileBytes(again), KR::TestSupport::FileBytes(first));
    EXPECT_NE(KR::TestSupport::FileBytes(second), KR::TestSupport::FileBytes(first));
}

class GlobalSettings : public DeviceDialogs
{
public:
    void SetUp() override
    {
        DeviceDialogs::SetUp();
        dialog = Make<LGlobalSettingsDlg>(u"globalEditorControl");
        ASSERT_TRUE(dialog);
    }
    KR::LNumericUpDown& Box(const char16_t* holder)
    {
        return *RCPtr<KR::LNumericUpDown>(
            dialog->FindChildControl(KR::String(holder))->FindChildControl(KR::String(u"numericUpDown")));
    }
    KR::LComboBox& List(const char16_t* holder)
    {
        return *RCPtr<KR::LComboBox>(
            dialog->FindChildControl(KR::String(holder))->FindChildControl(KR::String(u"comboBox")));
    }
    // A reply as the manager hands it on.
    void Receive(const char16_t* name, std::int32_t value)
    {
        app->GetMidiManager()->SendNotification(
            KR::LNotification::Create(KR::kNidMidiManagerParameterRecieved,
                                      KR::LMidiParameterNotification::Create(KR::String(name), value)));
    }

    // Global requests from the `n`-th on (counted from 1) stay unanswered.
    void SilenceGlobalRequestsFrom(int n)
    {
        // The fake copies its responder for each message: the count lives outside it.
        app->keyboard.SetResponder(
            [this, n, seen = std::make_shared<int>(0)](const support::Bytes& message)
            {
                if (message.size() > kp::kCommandAt && message[kp::kCommandAt] == kp::kGlobalRequest &&
                    ++*seen >= n)
                {
                    return std::vector<support::Bytes>{};
                }
                return app->sim.Receive(message);
            });
    }

    RCPtr<LGlobalSettingsDlg> dialog;
};

const Strings kWireOrder = {"Global_Channel",      "MACKIE_HUI_ENABLED", "KEY_OCTAVE",     "KEY_TRANSPOSE",
                            "KEY_SENSITIVITY",     "PAD_OCTAVE",         "PAD_TRANSPOSE",  "PAD_SENSITIVITY",
                            "CURVE_ACCELLERATION", "XY_SENSITIVITY",     "GLOBAL_PROGRAM", "GLOBAL_BANK_MSB",
                            "GLOBAL_BANK_LSB"};

TEST_F(GlobalSettings, OpenWithTheirStartingValuesAndTheGlobalChannelLabel)
{
    const RCPtr<KR::LLabel> label(
        dialog->FindChildControl(KR::String(u"midiChannel"))->FindChildControl(KR::String(u"label")));
    ASSERT_TRUE(label);
    EXPECT_EQ(label->GetText(), u"GLOBAL CHANNEL");
    for (const char16_t* box : {u"keyOctave", u"keyTranspose", u"padOctave", u"padTranspose"})
    {
        EXPECT_EQ(Box(box).InterpolateValue(Box(box).GetValue()), 0.0);
    }
    EXPECT_EQ(app->Received(), Strings{}) << "nothing is asked before Get Settings";
}

int Number(const KR::LNumericUpDown& box)
{
    return static_cast<int>(box.InterpolateValue(box.GetValue()));
}

TEST_F(GlobalSettings, GetAsksForThirteenSettingsAndSendCarriesBackWhatArrived)
{
    Strings reported;
    for (const std::string& name : kWireOrder)
    {
        const auto index = static_cast<std::uint8_t>(
            std::find(kp::kGlobalNames.begin(), kp::kGlobalNames.end(), name) - kp::kGlobalNames.begin());
        reported.push_back(name + "=" + std::to_string(app->sim.GlobalValue(index)));
    }
    Press(*dialog, u"getGlobalSettingsButton");
    const Strings messages = app->Received();
    EXPECT_EQ(Globals(messages, kp::kGlobalRequest), kWireOrder);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "F0 7E 7F 06 01 F7"), 1) << "one firmware check";
    EXPECT_EQ(app->boxes, Strings{});
    Box(u"keyTranspose").SetScaledValue(7.0);
    app->OnIdle(false); // the replies reach the dialog when the queues drain
    EXPECT_EQ(Number(Box(u"keyTranspose")), 0) << "KEY_TRANSPOSE 12 arrived";
    app->Reset();
    Press(*dialog, u"sendGlobalSettingsButton");
    EXPECT_EQ(Globals(app->Received(), kp::kGlobalSet), reported);
    EXPECT_EQ(app->boxes, Strings{});
}

TEST_F(GlobalSettings, AReceivedValueTakesItsControlsRule)
{
    const struct
    {
        const char16_t* name;
        std::int32_t value;
        const char16_t* holder;
        std::string shown; // a list's selected item, or an up/down's number
    } cases[] = {
        {u"Global_Channel", 1, u"midiChannel", "Channel 1"},
        {u"Global_Channel", 16, u"midiChannel", "Channel 16"},
        {u"MACKIE_HUI_ENABLED", 1, u"mackieHUIToggle", "HUI"},
        {u"KEY_OCTAVE", 5, u"keyOctave", "0"},
        {u"KEY_OCTAVE", 2, u"keyOctave", "-3"},
        {u"KEY_TRANSPOSE", 0, u"keyTranspose", "-12"},
        {u"PAD_OCTAVE", 10, u"padOctave", "5"},
        {u"PAD_TRANSPOSE", 25, u"padTranspose", "12"},
        {u"KEY_SENSITIVITY", 6, u"keySensitivity", "F3"},
        {u"PAD_SENSITIVITY", 9, u"padSensitivity", "S4"},
        {u"CURVE_ACCELLERATION", 0, u"controlCurve", "Off"},
        {u"XY_SENSITIVITY", 3, u"xyPadSensitivity", "S2"},
        {u"GLOBAL_PROGRAM", 127, u"program", "127"},
        {u"GLOBAL_BANK_MSB", 64, u"msb", "64"},
        {u"GLOBAL_BANK_LSB", 1, u"lsb", "1"},
        {u"XYPAD_VELOCITY", 3, u"lsb", "1"}, // no control: nothing changes
        {u"NO_SUCH_SETTING", 3, u"lsb", "1"},
    };
    for (const auto& c : cases)
    {
        Receive(c.name, c.value);
        KR::LControl* inner =
            dialog->FindChildControl(KR::String(c.holder))->FindChildControl(KR::String(u"comboBox")).Get();
        const auto* list = dynamic_cast<KR::LComboBox*>(inner);
        const std::string shown =
            list ? KR::TestSupport::InProcessEditor::Selected(*list) : std::to_string(Number(Box(c.holder)));
        EXPECT_EQ(shown, c.shown) << KR::String(c.name).ToUtf8().GetPtr() << " " << c.value;
    }
}

TEST_F(GlobalSettings, OnceClosedTheDialogNoLongerListensToTheKeyboard)
{
    Receive(u"GLOBAL_PROGRAM", 12);
    dialog->Close(KR::LDialog::kCancel);
    Receive(u"GLOBAL_PROGRAM", 99);
    EXPECT_EQ(Number(Box(u"program")), 12);
}

TEST_F(GlobalSettings, EveryValueOfTheNumbersComesBackExactly)
{
    const struct
    {
        const char16_t* name;
        std::int32_t lowest;
        std::int32_t highest;
    } ranges[] = {
        {u"KEY_OCTAVE", 2, 9},        {u"KEY_TRANSPOSE", 0, 24},   {u"PAD_OCTAVE", 0, 10},
        {u"PAD_TRANSPOSE", 0, 24},    {u"GLOBAL_PROGRAM", 0, 127}, {u"GLOBAL_BANK_MSB", 0, 127},
        {u"GLOBAL_BANK_LSB", 0, 127}, {u"Global_Channel", 1, 16},  {u"XY_SENSITIVITY", 0, 9},
    };
    for (const auto& r : ranges)
    {
        for (std::int32_t v = r.lowest; v <= r.highest; ++v)
        {
            ASSERT_TRUE(dialog->ShowDeviceValue(KR::String(r.name), v));
            EXPECT_EQ(dialog->GetDeviceValue(KR::String(r.name)), v) << KR::String(r.name).ToUtf8().GetPtr();
        }
    }
    EXPECT_FALSE(dialog->GetDeviceValue(KR::String(u"XYPAD_REBOUND")));
}

TEST_F(GlobalSettings, TheKeyOctaveStaysWithinWhatTheKeyboardTakes)
{
    KR::LNumericUpDown& octave = Box(u"keyOctave");
    const struct
    {
        double from;
        const char16_t* arrow;
        int now;
    } cases[] = {
        {4, u"buttonUp", 4},
        {-3, u"buttonDown", -3},
        {3, u"buttonUp", 4},
        {-2, u"buttonDown", -3},
    };
    for (const auto& c : cases)
    {
        octave.SetScaledValue(c.from);
        octave.FindChildControl(KR::String(c.arrow))->SendNotificationByName(u"NID_BUTTON_AUTOREPEAT");
        EXPECT_EQ(Number(octave), c.now) << c.from;
    }
    Receive(u"KEY_OCTAVE", 10);
    EXPECT_EQ(Number(octave), 4) << "a value from the keyboard is held too";
}

TEST_F(GlobalSettings, SendTakesEachControlsValueByItsRule)
{
    Box(u"keyOctave").SetScaledValue(-3);
    List(u"midiChannel").SetSelectedIndex(15);
    Box(u"padTranspose").SetScaledValue(-12);
    List(u"xyPadSensitivity").SetSelectedIndex(9);
    Press(*dialog, u"sendGlobalSettingsButton");
    const Strings sets = Globals(app->Received(), kp::kGlobalSet);
    ASSERT_EQ(sets.size(), kWireOrder.size());
    EXPECT_EQ(sets[0], "Global_Channel=16");
    EXPECT_EQ(sets[2], "KEY_OCTAVE=2");
    EXPECT_EQ(sets[6], "PAD_TRANSPOSE=0");
    EXPECT_EQ(sets[9], "XY_SENSITIVITY=9");
}

// The first four requests, then the fifth sent on each of the manager's 10 tries.
Strings FifthTriedTenTimes()
{
    Strings requested(kWireOrder.begin(), kWireOrder.begin() + 4);
    requested.insert(requested.end(), 10, kWireOrder[4]);
    return requested;
}

TEST_F(GlobalSettings, TheFirstFailureShowsOneBoxAndEndsTheTransfer)
{
    const struct
    {
        const char* what;
        const char16_t* button;
        std::function<void(GlobalSettings&)> fault;
        std::string box;
        Strings requested;
        Strings sent;
    } cases[] = {
        {"get, old firmware",
         u"getGlobalSettingsButton",
         [](GlobalSettings& t) { t.app->sim.SetFirmware("1040"); },
         kSendFirmware,
         {},
         {}},
        {"send, old firmware",
         u"sendGlobalSettingsButton",
         [](GlobalSettings& t) { t.app->sim.SetFirmware("1040"); },
         kSendFirmware,
         {},
         {}},
        {"fifth request unanswered",
         u"getGlobalSettingsButton",
         [](GlobalSettings& t) { t.SilenceGlobalRequestsFrom(5); },
         kGlobalFailed,
         FifthTriedTenTimes(),
         {}},
        {"a list without selection",
         u"sendGlobalSettingsButton",
         [](GlobalSettings& t) { t.Receive(u"MACKIE_HUI_ENABLED", 7); },
         kGlobalFailed,
         {},
         {"Global_Channel=1"}},
        // A keyboard that cannot be reached is a connection failure, not old firmware.
        {"send, no ports",
         u"sendGlobalSettingsButton",
         [](GlobalSettings& t) { t.app->keyboard.inputPresent = false; },
         kGlobalFailed,
         {},
         {}},
        {"get, no ports",
         u"getGlobalSettingsButton",
         [](GlobalSettings& t) { t.app->keyboard.outputPresent = false; },
         kGlobalFailed,
         {},
         {}},
        {"get, the firmware check's request does not leave",
         u"getGlobalSettingsButton",
         [](GlobalSettings& t) { t.app->keyboard.stuckFromPiece = t.app->keyboard.PiecesSent(); },
         kGlobalFailed,
         {},
         {}},
        {"send, the firmware check's request does not leave",
         u"sendGlobalSettingsButton",
         [](GlobalSettings& t) { t.app->keyboard.stuckFromPiece = t.app->keyboard.PiecesSent(); },
         kGlobalFailed,
         {},
         {}},
    };
    for (const auto& c : cases)
    {
        app->Reset();
        List(u"midiChannel").SetSelectedIndex(0);
        List(u"mackieHUIToggle").SetSelectedIndex(0);
        c.fault(*this);
        Press(*dialog, c.button);
        EXPECT_EQ(app->boxes, Strings{c.box}) << c.what;
        EXPECT_EQ(Globals(app->Received(), kp::kGlobalRequest), c.requested) << c.what;
        EXPECT_EQ(Globals(app->Received(), kp::kGlobalSet), c.sent) << c.what;
    }
}

TEST(DeviceDialogSkins, AMissingChildStopsTheDialogWithItsText)
{
    const std::string prefix = "Runtime Error : Null Pointer : ";
    const std::string global =
        " : LGlobalSettingsDlg::Initialize : UI\\QuillanCommon\\GlobalSettingsDlg : Line ";
    const struct
    {
        const char* dialog;
        const char* after;
        const char* child;
        std::string text;
    } cases[] = {
        {"dialogSendPreset", "Name=\"dialogSendPreset\"", "send",
         prefix + "Cannot find child send : LSendPresetToMidiDeviceDlg::Initialize : "
                  "UI\\PresetEditorCommon\\SendPresetToMidiDeviceDlg : Line 45"},
        {"dialogRetrievePresetFromHardware", "Name=\"dialogRetrievePresetFromHardware\"", "getButton",
         prefix + "Cannot find child getButton : LGetPresetFromMidiDeviceDlg::Initialize : "
                  "UI\\PresetEditorCommon\\GetPresetFromMidiDeviceDlg : Line 46"},
        {"globalEditorControl", "Name=\"globalEditorControl\"", "controlCurve",
         prefix + "Could not find child ControlCurve" + global + "30"},
        {"globalEditorControl", "Name=\"globalEditorControl\"", "keyOctave",
         prefix + "Could not find child Key Octave" + global + "36"},
        {"globalEditorControl", "Name=\"keySensitivity\"", "comboBox",
         prefix + "Could not find child comboBox" + global + "50"},
        {"globalEditorControl", "Name=\"mackieHUIToggle\"", "comboBox",
         prefix + "Could not find child numericUpDown" + global + "74"},
        {"globalEditorControl", "Name=\"padTranspose\"", "numericUpDown",
         prefix + "Could not find child numericUpDown" + global + "102"},
        {"globalEditorControl", "Name=\"xyPadSensitivity\"", "comboBox",
         prefix + "Could not find child combo box" + global + "114"},
        {"globalEditorControl", "", "getGlobalSettingsButton",
         prefix + "getSettingsButton child not found" + global + "117"},
        {"globalEditorControl", "", "sendGlobalSettingsButton",
         prefix + "sendSettingsButton child not found" + global + "121"},
        // Without the application there is no MIDI manager to listen to.
        {"globalEditorControl", "", "noSuchChild", prefix + "Could not find MidiManager" + global + "126"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(KR::TestSupport::ThrownWithoutChild(KR_EDITOR_SKIN_FILE, c.after, c.child, c.dialog),
                  c.text)
            << c.dialog << " " << c.child;
    }
}

} // namespace
