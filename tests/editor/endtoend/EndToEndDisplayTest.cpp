// The editor end to end: PresetEditor started as a user starts it, with the simulated keyboard
// on the JACK server, driven only by the pointer and the keyboard on the X server at the frames
// its tree dump gives; what it shows read from the dump and from the window's pixels, what it
// keeps read from its preset files and from what the keyboard received.

#include "platform/png/PngCodec.h"
#include "platform/window/Window.h"
#include "platform/window_display/DisplayFixture.h"
#include "support/Files.h"
#include "support/Wait.h"
#include "support/editor/DumpedTree.h"
#include "support/editor/EditorProcess.h"
#include "support/simkeyboard/PrivateJackServer.h"
#include "support/simkeyboard/SimKeyboardProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{

namespace P = KR::Platform;
using KR::TestSupport::DumpedControl;
using KR::TestSupport::DumpedTree;
using KR::TestSupport::EditorFolders;
using KR::TestSupport::EditorProcess;
using KR::TestSupport::SimKeyboardProcess;
using KR::TestSupport::WaitUntil;
using Bytes = std::vector<std::uint8_t>;

const std::string kView = "mainControl/viewDevice/";
// The groups of the picture and the name: what a preset shows.
const char* const kPictureParts[] = {
    "presetNameEditPanel/", "pads/",    "encoders/", "faders/", "wheels/", "pedals/",
    "keybedZones/",         "buttons/", "xyPad/"};

// The window as the X server has it; written to a PNG under `name` for a reviewer.
struct Picture
{
    std::vector<std::uint32_t> pixels;
    std::int32_t width = 0, height = 0;

    std::uint32_t At(int x, int y) const
    {
        return pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFFu;
    }
    // Pixels inside the control's frame that differ from `other`'s.
    int ChangedWithin(const Picture& other, const DumpedControl& frame) const
    {
        int changed = 0;
        for (int y = frame.y; y < frame.y + frame.height && y < height && y < other.height; ++y)
        {
            for (int x = frame.x; x < frame.x + frame.width && x < width && x < other.width; ++x)
            {
                changed += At(x, y) != other.At(x, y) ? 1 : 0;
            }
        }
        return changed;
    }
};

std::uint32_t Word(const Bytes& bytes, std::size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// The preset's data bytes in a preset file: each chunk's value after its 24-byte head, in
// parameter order; empty when the file is not whole.
Bytes DataOfFile(const Bytes& file)
{
    Bytes data;
    std::size_t at = 12;
    while (at + 24 <= file.size())
    {
        const std::uint32_t length = Word(file, at);
        if (length < 24 || at + length > file.size())
        {
            return {};
        }
        data.insert(data.end(), file.begin() + static_cast<std::ptrdiff_t>(at + 24),
                    file.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    }
    return at == file.size() ? data : Bytes{};
}

// The data bytes of the last preset dump for `slot` in the keyboard's log (hex lines).
Bytes DataOfLastDump(const std::vector<std::string>& log, int slot)
{
    char head[48];
    std::snprintf(head, sizeof head, "F0 00 01 05 7F 31 05 61 0A 3B %02X ", slot);
    Bytes data;
    for (const std::string& line : log)
    {
        if (line.starts_with(head))
        {
            data.clear();
            for (std::size_t at = std::string(head).size(); at + 2 <= line.size(); at += 3)
            {
                data.push_back(
                    static_cast<std::uint8_t>(std::strtoul(line.substr(at, 2).c_str(), nullptr, 16)));
            }
            if (!data.empty() && data.back() == 0xF7)
            {
                data.pop_back();
            }
        }
    }
    return data;
}

class EndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY") || !std::getenv("JACK_DEFAULT_SERVER") ||
            std::system("command -v xdotool >/dev/null 2>&1") != 0)
        {
            GTEST_SKIP() << "needs the test X server, the JACK server and xdotool";
        }
        if (const std::string why = P::Test::ScreenTooSmallForTheMainWindow(); !why.empty())
        {
            GTEST_SKIP() << why;
        }
        ASSERT_TRUE(P::InitializeWindowSystem());
        std::string why;
        keyboard = SimKeyboardProcess::Start({}, &why);
        ASSERT_TRUE(keyboard) << why;
        StartEditor();
    }

    void StartEditor()
    {
        editor = std::make_unique<EditorProcess>(folders);
        editor->SetEnvironment("KR_TEST_TREE_DUMP", dumpFile);
        ASSERT_TRUE(editor->Start({"-debug_console"}));
        window = editor->FindWindow();
        ASSERT_NE(window, 0u);
        // The first dump comes from an idle pass, so the picture is built and laid out by then.
        ASSERT_FALSE(Dump().controls.empty());
    }

    void StopEditor()
    {
        ASSERT_TRUE(EditorProcess::SendDeleteRequest(window));
        ASSERT_TRUE(editor->WaitForExit().has_value());
    }

    DumpedTree Dump() { return KR::TestSupport::RequestTreeDump(*editor, dumpFile); }

    // The first shown control whose path starts with `prefix` and ends with `tail`, once a
    // dump has one (pages of a tab control lie on top of each other; only one is shown).
    DumpedControl WaitForShown(const std::string& prefix, const std::string& tail = "",
                               const std::string& text = "", bool fail = true)
    {
        DumpedControl found;
        WaitUntil(
            [&]
            {
                const DumpedTree tree = Dump();
                for (const DumpedControl* control : tree.Under(prefix))
                {
                    if (control->shown && control->path.ends_with(tail) &&
                        (text.empty() || control->text == text))
                    {
                        found = *control;
                        return true;
                    }
                }
                return false;
            });
        EXPECT_TRUE(!fail || !found.path.empty())
            << "nothing shown ends with " << tail << " below " << prefix;
        return found;
    }
    DumpedControl Shown(const std::string& path) { return WaitForShown(kView + path, ""); }

    void Click(const DumpedControl& control, std::uint64_t in = 0)
    {
        ASSERT_TRUE(P::Test::MovePointer(in ? in : window, control.CentreX(), control.CentreY()))
            << control.path;
        ASSERT_EQ(P::Test::Xdo("click 1"), 0) << control.path;
    }

    // Clicks into a text box, replaces what it holds by `text` and confirms with Return.
    void TypeInto(const DumpedControl& box, const std::string& text)
    {
        Click(box);
        ASSERT_EQ(P::Test::Xdo("key --delay 30 End shift+Home BackSpace"), 0);
        ASSERT_EQ(P::Test::Xdo("type --delay 30 '" + text + "'"), 0);
        ASSERT_EQ(P::Test::Xdo("key Return"), 0);
    }

    // Opens the combo box and clicks the row showing `item`.
    void Pick(const DumpedControl& combo, const std::string& item, std::uint64_t in = 0)
    {
        Click(combo, in);
        const DumpedControl row = WaitForShown(combo.path + "/listBox/", "", item);
        ASSERT_FALSE(row.path.empty()) << item;
        Click(row, in);
    }

    // Waits until the control of that path shows `text`.
    bool ShowsText(const std::string& path, const std::string& text)
    {
        std::string last;
        const bool shown = WaitUntil(
            [&]
            {
                const DumpedTree tree = Dump();
                const DumpedControl* control = tree.Find(path);
                last = control ? control->text : "<none>";
                return last == text;
            });
        EXPECT_TRUE(shown) << path << " shows \"" << last << "\", not \"" << text << "\"";
        return shown;
    }

    // What the picture and the name show, by path.
    std::map<std::string, std::string> PictureTexts()
    {
        std::map<std::string, std::string> texts;
        const DumpedTree tree = Dump();
        for (const char* part : kPictureParts)
        {
            for (const DumpedControl* control : tree.Under(kView + part))
            {
                texts[control->path] = control->text;
            }
        }
        return texts;
    }

    Picture Capture(const std::string& name)
    {
        Picture picture;
        EXPECT_TRUE(P::CaptureNativeWindow(window, picture.pixels, picture.width, picture.height));
        if (picture.width > 0)
        {
            P::WritePngFile(::testing::TempDir() + name, picture.width, picture.height,
                            picture.pixels.data());
        }
        return picture;
    }

    // The mapped window of this editor titled exactly `title`; 0 when none maps in time.
    std::uint64_t Titled(const std::string& title)
    {
        const std::uint64_t found = editor->FindTitled(title);
        EXPECT_NE(found, 0u) << title;
        return found;
    }

    void Focus(std::uint64_t id) { ASSERT_EQ(P::Test::Xdo("windowfocus --sync " + std::to_string(id)), 0); }

    bool Gone(std::uint64_t id)
    {
        return WaitUntil(
            [&]
            {
                return P::Test::Capture("xwininfo -id " + std::to_string(id) + " 2>/dev/null")
                           .find("IsViewable") == std::string::npos;
            });
    }

    // Ctrl+S or Ctrl+O in the main window, the path typed into GTK's chooser of that title. A
    // path in the editor's home is typed from "~": typed through the shared /tmp, it makes the
    // chooser list and complete thousands of names while it is typed, which under load had not
    // reached the chooser when the test gave up.
    void ChooseFile(const char* keys, const char* title, const std::string& path)
    {
        const std::string home = folders.Home() + "/";
        const std::string typed = path.starts_with(home) ? "~/" + path.substr(home.size()) : path;
        Focus(window);
        ASSERT_EQ(P::Test::Xdo(std::string("key --clearmodifiers ") + keys), 0);
        const std::uint64_t chooser = Titled(title);
        ASSERT_NE(chooser, 0u);
        Focus(chooser);
        ASSERT_EQ(P::Test::Xdo("key ctrl+a"), 0);
        ASSERT_EQ(P::Test::Xdo("type --delay 15 '" + typed + "'"), 0);
        ASSERT_EQ(P::Test::Xdo("key Return"), 0);
        ASSERT_TRUE(Gone(chooser));
    }

    std::vector<std::string> Boxes() const { return editor->MessageBoxes(); }

    // Waits for the next message box, closes it with Return and gives its log line.
    std::string AnswerBox(std::size_t before)
    {
        std::vector<std::string> boxes;
        if (!WaitUntil([&] { return (boxes = Boxes()).size() > before; }))
        {
            ADD_FAILURE() << "no message box";
            return {};
        }
        const std::string line = boxes[before];
        const std::string caption = line.substr(12, line.find(" | ") - 12);
        const std::uint64_t box = Titled(caption);
        if (box != 0)
        {
            Focus(box);
            EXPECT_EQ(P::Test::Xdo("key Return"), 0);
            EXPECT_TRUE(Gone(box)) << caption;
        }
        return line;
    }

    // File > `item`, then in the dialog `name` (titled `title`) the slot picked, `press`
    // pressed and its box answered, the dialog closed; the box's log line.
    std::string DeviceDialog(const char* item, const std::string& name, const char* title, const char* slot,
                             const char* press)
    {
        Click(WaitForShown("mainControl/mainMenu/File"));
        Click(WaitForShown("mainControl/mainMenu/File/popupMenu/", "", item));
        const std::uint64_t dialog = Titled(title);
        if (dialog == 0)
        {
            return {};
        }
        Pick(WaitForShown(name + "/presetSlot/comboBox"), slot, dialog);
        EXPECT_TRUE(ShowsText(name + "/presetSlot/comboBox", slot));
        const std::size_t before = Boxes().size();
        Click(WaitForShown(name + "/" + press), dialog);
        const std::string box = AnswerBox(before);
        // The box took the focus; a window takes the pointer only while it is active.
        Focus(dialog);
        Click(WaitForShown(name + "/buttonClose"), dialog);
        EXPECT_TRUE(Gone(dialog));
        return box;
    }

    // The debug log holds no failure, thrown or reported.
    void ExpectNoFailureLogged() const
    {
        for (const std::string& line : editor->Lines())
        {
            for (const char* failure :
                 {"Failed Result", "Runtime Error", "xception", "Left the message loop"})
            {
                EXPECT_EQ(line.find(failure), std::string::npos) << line;
            }
        }
    }

    Bytes Save(const std::string& name)
    {
        const std::string path = folders.Home() + "/" + name + ".VantorPresetEditor";
        ChooseFile("ctrl+s", "Select Save Location", path);
        Bytes bytes;
        EXPECT_TRUE(WaitUntil([&] { return (bytes = KR::TestSupport::FileBytes(path)).size() == 4494; }))
            << path;
        return bytes;
    }

    EditorFolders folders;
    const std::string dumpFile = folders.Home() + "/tree.txt";
    std::unique_ptr<SimKeyboardProcess> keyboard;
    std::unique_ptr<EditorProcess> editor;
    std::uint64_t window = 0;
};

// One edit of every kind, each made where a user makes it: the control clicked on the
// picture (after its bank), the edit panel's page chosen, then a value typed or picked; and
// what the picture shows of it once the model has it.
struct Edit
{
    const char* what;
    std::vector<std::string> clicks; // on the picture, in order
    const char* panel;               // the edit panel they show
    const char* tab;                 // a page's tab clicked first, or null
    const char* field;               // the end of the path of the control edited, or null
    const char* value;               // typed into the field, or picked from its list
    const char* readOut;             // a read-out of the picture, or null
    const char* shows;               // and its text after the edit
};

const Edit kEdits[] = {
    {"the name", {}, "presetNameEditPanel", nullptr, "/textBox", "E2E OK", nullptr, nullptr},
    {"zone 3's first key",
     {"keybedZones/zone3/button"},
     "zoneEditPanel",
     nullptr,
     "/startNote/noteSelector/numericUpDown/textBox",
     "13",
     "keybedZones/zone3/infoLabel",
     "First: Db (2) | Last C (5)"},
    {"the mod wheel's controller",
     {"wheels/modWheel/button"},
     "wheelEditPanel",
     nullptr,
     "/ccSelector/numericUpDown/textBox",
     "20",
     "wheels/modWheel/viewPanel/infoLabel",
     "CC:\n20"},
    {"the volume pedal's maximum",
     {"pedals/volumePedal/button"},
     "volumePedalEditPanel",
     nullptr,
     "/max/numericUpDown/textBox",
     "100",
     nullptr,
     nullptr},
    {"the sustain pedal's mode",
     {"pedals/sustainPedal/button"},
     "sustainEditPage",
     "/buttonHolder/notePage",
     nullptr,
     nullptr,
     nullptr,
     nullptr},
    {"pad 3's colour 1",
     {"pads/pad3/button"},
     "padEditPanel",
     "/buttonHolder/colorPage",
     "/color1/comboBox",
     "Violet",
     nullptr,
     nullptr},
    {"button 5 of bank 2's key",
     {"groupBankPanel/bank2", "buttons/buttonBank2/button5/button"},
     "buttonEditPanel",
     "/buttonHolder/asciiPage",
     "/key/comboBox",
     "5",
     nullptr,
     nullptr},
    {"encoder 3 of bank 2's maximum",
     {"encoders/encoderBank2/encoder3/button"},
     "knobEditPanel",
     nullptr,
     "/max/numericUpDown/textBox",
     "100",
     nullptr,
     nullptr},
    {"fader 4's channel",
     {"groupBankPanel/bank1", "faders/faderBank1/fader4/button"},
     "faderEditPanel",
     nullptr,
     "/midiChannel/comboBox",
     "Channel 5",
     "faders/faderBank1/fader4/viewPanel/midiChannel/label",
     "CH:5"},
    {"the x axis' scale",
     {"xyPad/xAxis/button"},
     "xyPadEditPanel",
     "/buttonHolder/noteModePage",
     "/noteScaleType/comboBox",
     "Minor",
     nullptr,
     nullptr},
};

TEST_F(EndToEnd, TheNameTypedIntoItsBoxIsShownAndDrawn)
{
    const Picture before = Capture("endtoend-start.png");
    const DumpedControl box = Shown("presetNameEditPanel/textBox");
    TypeInto(box, "E2E OK");
    ASSERT_TRUE(ShowsText(box.path, "E2E OK"));
    EXPECT_GT(Capture("endtoend-named.png").ChangedWithin(before, box), 20) << "the typed name is not drawn";
}

// A continuous control, a pad and the sustain pedal edited where a user edits them: each
// edit panel opens on the clicked control, the pad's on/off pair follows its latching, the
// picture follows the sustain pedal's MMC command, and the saved file holds the three blocks.
TEST_F(EndToEnd, AnEncoderAPadAndTheSustainPedalEditedOnThePictureAreSaved)
{
    Click(Shown("groupBankPanel/bank2"));
    Click(Shown("encoders/encoderBank2/encoder3/button"));
    EXPECT_FALSE(WaitForShown(kView + "knobEditPanel", "", "ENCODER 3").path.empty());
    TypeInto(WaitForShown(kView + "knobEditPanel", "/max/numericUpDown/textBox"), "100");

    Click(Shown("pads/pad3/button"));
    Click(WaitForShown(kView + "padEditPanel", "/notePage/latching/button"));
    EXPECT_FALSE(WaitForShown(kView + "padEditPanel", "/notePage/onOffSelectors").path.empty())
        << "a latching pad shows its on/off pair";

    Click(Shown("pedals/sustainPedal/button"));
    Click(WaitForShown(kView + "sustainEditPage", "/buttonHolder/mmcPage"));
    Pick(WaitForShown(kView + "sustainEditPage", "/mmcPage/mmc/comboBox"), "Eject");
    EXPECT_TRUE(ShowsText(kView + "pedals/sustainPedal/viewPanel/infoLabel", "EJECT"));
    Capture("endtoend-three-panels.png");

    const Bytes data = DataOfFile(Save("three"));
    ASSERT_EQ(data.size(), 1338u);
    EXPECT_EQ(Bytes(data.begin() + 1176, data.begin() + 1182), (Bytes{0x00, 0x00, 0x32, 0x00, 0x00, 0x64}));
    EXPECT_EQ(data[98], 0x14) << "pad 3 latching";
    EXPECT_EQ(Bytes(data.begin() + 58, data.begin() + 64), (Bytes{0x00, 0x01, 0x15, 0x00, 0x0A, 0x00}));
}

TEST_F(EndToEnd, OneEditOfEveryKindIsSavedLoadedSentAndRetrieved)
{
    const Bytes defaults = DataOfFile(Save("defaults"));
    ASSERT_EQ(defaults.size(), 1338u);

    const Picture before = Capture("endtoend-start.png");
    for (const Edit& edit : kEdits)
    {
        SCOPED_TRACE(edit.what);
        for (const std::string& click : edit.clicks)
        {
            Click(Shown(click));
        }
        if (edit.tab)
        {
            Click(WaitForShown(kView + edit.panel, edit.tab));
        }
        if (edit.field)
        {
            const DumpedControl field = WaitForShown(kView + edit.panel, edit.field);
            if (field.className == "Framework.ComboBox")
            {
                Pick(field, edit.value);
            }
            else
            {
                TypeInto(field, edit.value);
            }
            EXPECT_TRUE(ShowsText(field.path, edit.value));
        }
        if (edit.readOut)
        {
            EXPECT_TRUE(ShowsText(kView + edit.readOut, edit.shows));
        }
    }
    const Picture after = Capture("endtoend-edited.png");
    for (const char* drawn :
         {"presetNameEditPanel/textBox", "pads/pad3/color", "keybedZones/zone3/infoLabel"})
    {
        EXPECT_GT(after.ChangedWithin(before, Shown(drawn)), 0) << drawn << " is drawn as before";
    }

    // Saved: the edits and nothing else in the file's data.
    const Bytes file = Save("edited");
    const Bytes data = DataOfFile(file);
    ASSERT_EQ(data.size(), 1338u);
    std::map<std::size_t, int> changed;
    for (std::size_t i = 0; i < data.size(); ++i)
    {
        if (data[i] != defaults[i])
        {
            changed[i] = data[i];
        }
    }
    // Offsets in the preset's data: the name's six bytes, then each control's block in turn.
    const std::map<std::size_t, int> edited = {
        {0, 'E'},    {1, '2'},   {3, '"'},
        {4, 'O'},    {5, 'K'},               // "PRESET" to "E2E OK", a blank stored as '"'
        {29, 13},                            // zone 3's first key
        {49, 20},                            // the mod wheel's controller
        {57, 100},                           // the volume pedal's maximum
        {59, 1},     {60, 19},   {63, 0},    // the sustain pedal's note mode, as its page holds it
        {93, 7},                             // pad 3's colour 1
        {524, 5},                            // button 5 of bank 2's key
        {918, 5},                            // fader 4's channel
        {1181, 100},                         // encoder 3 of bank 2's maximum
        {1318, 63},  {1321, 68}, {1322, 70}, // the x axis' notes in the minor scale
    };
    EXPECT_EQ(changed, edited);
    const std::map<std::string, std::string> shown = PictureTexts();

    // Loaded into a fresh editor: the picture as it was, and saved again byte for byte.
    EXPECT_EQ(Boxes(), std::vector<std::string>{});
    ExpectNoFailureLogged();
    StopEditor();
    StartEditor();
    ChooseFile("ctrl+o", "Select Preset File", folders.Home() + "/edited.VantorPresetEditor");
    ASSERT_TRUE(ShowsText(kView + "presetNameEditPanel/textBox", "E2E OK"));
    EXPECT_EQ(PictureTexts(), shown);
    EXPECT_EQ(Save("again"), file);

    // Sent to "Preset 3": the keyboard holds the file's data.
    EXPECT_EQ(DeviceDialog("Send Preset", "dialogSendPreset", "Send Preset", "Preset 3", "send"),
              "MessageBox: Send Sucess | The preset has been sucessfully sent to the device | 0");
    // The box comes once the dump has gone to the server; the keyboard logs it when it has
    // taken it in, on a thread of its own, which may be later.
    WaitUntil([&] { return DataOfLastDump(keyboard->LogLines(), 3) == data; });
    EXPECT_EQ(DataOfLastDump(keyboard->LogLines(), 3), data);

    // A change on the picture, then "Preset 3" retrieved: everything back as saved.
    TypeInto(Shown("presetNameEditPanel/textBox"), "OTHER");
    ASSERT_TRUE(ShowsText(kView + "presetNameEditPanel/textBox", "OTHER"));
    EXPECT_EQ(DeviceDialog("Retrieve Preset", "dialogRetrievePresetFromHardware", "Retrieve Preset",
                           "Preset 3", "getButton"),
              "MessageBox: Retrieve Sucessful | The preset has been sucessfully retreived. | 0");
    EXPECT_TRUE(ShowsText(kView + "presetNameEditPanel/textBox", "E2E OK"));
    EXPECT_EQ(PictureTexts(), shown);
    Capture("endtoend-retrieved.png");

    // No box but the two successes.
    EXPECT_EQ(Boxes().size(), 2u);
    ExpectNoFailureLogged();
}

// The editor on a JACK server of the test's own, which the test may stop (SIGSTOP) as a
// hung server stops answering: the server the scripts start serves every other test.
class OwnServer : public EndToEnd
{
protected:
    static constexpr std::uint32_t kStatusFace = 0x1B1D21;

    void SetUp() override
    {
        if (!std::getenv("DISPLAY") || std::system("command -v xdotool jackd >/dev/null 2>&1") != 0)
        {
            GTEST_SKIP() << "needs the test X server, jackd and xdotool";
        }
        if (const std::string why = P::Test::ScreenTooSmallForTheMainWindow(); !why.empty())
        {
            GTEST_SKIP() << why;
        }
        ASSERT_TRUE(server.Ready());
        ASSERT_TRUE(P::InitializeWindowSystem());
        std::string why;
        keyboard = SimKeyboardProcess::Start({}, &why);
        ASSERT_TRUE(keyboard) << why;
    }

    // The programs end before their server does.
    void TearDown() override
    {
        editor.reset();
        keyboard.reset();
    }

    // The colour of the window at (x, y) as the X server has it now.
    std::uint32_t PixelAt(int x, int y) const
    {
        Picture picture;
        P::CaptureNativeWindow(window, picture.pixels, picture.width, picture.height);
        return x < picture.width && y < picture.height ? picture.At(x, y) : 0xFFFFFFFFu;
    }

    std::uint64_t SendDialogByHotKey()
    {
        Focus(window);
        EXPECT_EQ(P::Test::Xdo("key --clearmodifiers ctrl+shift+s"), 0);
        return Titled("Send Preset");
    }

    void CloseDialog(std::uint64_t dialog)
    {
        Focus(dialog);
        Click(WaitForShown("dialogSendPreset/buttonClose"), dialog);
        EXPECT_TRUE(Gone(dialog));
    }

    // The editor's ports the server lists.
    std::vector<std::string> EditorPorts() const
    {
        std::vector<std::string> ports;
        for (const std::string& port : server.Ports())
        {
            if (port.find(" " + std::to_string(editor->Pid()) + ":") != std::string::npos)
            {
                ports.push_back(port);
            }
        }
        return ports;
    }

    KR::TestSupport::PrivateJackServer server;
};

const std::string kSentLine =
    "MessageBox: Send Sucess | The preset has been sucessfully sent to the device | 0";

TEST_F(OwnServer, AStoppedServerKeepsNeitherTheWindowNorASendWaiting)
{
    // Started while the server does not answer, the editor maps its window and answers a dump.
    server.Pause();
    const auto started = std::chrono::steady_clock::now();
    StartEditor();
    RecordProperty("window_after_ms", static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                           std::chrono::steady_clock::now() - started)
                                                           .count()));
    ASSERT_TRUE(server.IsPaused());

    // The send dialog by its hot key (the menu offers it once discovery has found the
    // keyboard), and a window of the test's own over the status bar.
    const std::uint64_t dialog = SendDialogByHotKey();
    ASSERT_NE(dialog, 0u);
    const std::string geometry = P::Test::Capture("xwininfo -id " + std::to_string(window));
    const auto absolute = [&](const std::string& key)
    { return std::atoi(geometry.c_str() + geometry.find(key) + key.size()); };
    P::Test::CoverWindow cover(
        {absolute("Absolute upper-left X:") + 700, absolute("Absolute upper-left Y:") + 725, 400, 25}, false);
    ASSERT_TRUE(P::Test::PumpUntil([&] { return PixelAt(800, 740) != kStatusFace; }));

    // Sent while the server does not answer: what the cover hid is drawn again before the
    // send ends, and it ends with the connection box.
    const std::size_t before = Boxes().size();
    Focus(dialog);
    Click(WaitForShown("dialogSendPreset/send"), dialog);
    const auto clicked = std::chrono::steady_clock::now();
    cover.Remove();
    EXPECT_TRUE(P::Test::PumpUntil([&] { return PixelAt(800, 740) == kStatusFace; }, 20.0));
    EXPECT_EQ(Boxes().size(), before) << "drawn only once the send had ended";
    ASSERT_TRUE(WaitUntil([&] { return Boxes().size() > before; }));
    RecordProperty("box_after_ms", static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                        std::chrono::steady_clock::now() - clicked)
                                                        .count()));
    EXPECT_EQ(AnswerBox(before),
              "MessageBox: Send Preset Error | Error connecting to device. Verify your Quillan "
              "Keyboard is plugged into the USB port and try again. | 0");
    EXPECT_TRUE(server.IsPaused());
    CloseDialog(dialog);

    // Once it answers again, a send reaches the keyboard.
    server.Resume();
    const std::uint64_t again = SendDialogByHotKey();
    ASSERT_NE(again, 0u);
    Pick(WaitForShown("dialogSendPreset/presetSlot/comboBox"), "Preset 3", again);
    const std::size_t sent = Boxes().size();
    Focus(again);
    Click(WaitForShown("dialogSendPreset/send"), again);
    EXPECT_EQ(AnswerBox(sent), kSentLine);
    // Logged by the keyboard when it has taken the dump in, which may be after the box.
    EXPECT_TRUE(WaitUntil([&] { return !DataOfLastDump(keyboard->LogLines(), 3).empty(); }));
    CloseDialog(again);
    ExpectNoFailureLogged();
}

TEST_F(OwnServer, SigtermWithTheKeyboardConnectedEndsAsTheCloseRequestAndLeavesNoClient)
{
    StartEditor();
    EXPECT_EQ(DeviceDialog("Send Preset", "dialogSendPreset", "Send Preset", "RAM", "send"), kSentLine);
    ASSERT_FALSE(EditorPorts().empty()) << ::testing::PrintToString(server.Ports());
    std::filesystem::remove(folders.UserSettingsPath());

    editor->Kill(SIGTERM);
    EXPECT_EQ(editor->WaitForExit(), 1);
    EXPECT_NE(folders.UserSettingsText().find("WP"), std::string::npos);
    // Its clients closed on the way out: a synchronous server is not left waiting for them.
    EXPECT_EQ(EditorPorts(), std::vector<std::string>{});
    ExpectNoFailureLogged();
}

} // namespace
