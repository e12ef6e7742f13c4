// The main window and the dialogs made from the embedded skin on a window that shows
// nothing: every control the reference's rectangle table lists, and the window shows,
// stands exactly on its row's rectangle.

#include "SkinFixture.h"
#include "TestPaths.h"
#include "kr/render/Font.h"
#include "kr/ui/RootWindow.h"
#include "support/FakeWindowServices.h"
#include "support/FrameworkAppStandIn.h"
#include "support/RecordingRenderer.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <sstream>

namespace KR::SkinTest
{
namespace
{

// "path,class,x,y,w,h,note" with quoted fields that may hold commas.
std::vector<std::vector<std::string>> ReadCsv(const char* file)
{
    std::ifstream in(file);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    std::getline(in, line); // the header
    while (std::getline(in, line))
    {
        std::vector<std::string> fields(1);
        bool quoted = false;
        for (std::size_t i = 0; i < line.size(); ++i)
        {
            const char c = line[i];
            if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"')
            {
                fields.back() += '"';
                ++i;
            }
            else if (c == '"')
            {
                quoted = !quoted;
            }
            else if (c == ',' && !quoted)
            {
                fields.emplace_back();
            }
            else
            {
                fields.back() += c;
            }
        }
        rows.push_back(fields);
    }
    return rows;
}

// Whole-number arithmetic over K and N, where "a(b)" means a * (b): "62(K-1)", "88((K-1)%4)".
class Expression
{
public:
    Expression(const std::string& text, int n, int k) : mText(text), mN(n), mK(k) {}
    int Value()
    {
        const int v = Sum();
        if (mAt != mText.size())
        {
            throw std::runtime_error("bad figure: " + mText);
        }
        return v;
    }

private:
    int Sum()
    {
        int v = Product();
        while (mAt < mText.size() && (mText[mAt] == '+' || mText[mAt] == '-'))
        {
            const char op = mText[mAt++];
            const int r = Product();
            v = op == '+' ? v + r : v - r;
        }
        return v;
    }
    int Product()
    {
        int v = Factor();
        while (mAt < mText.size() &&
               (mText[mAt] == '*' || mText[mAt] == '/' || mText[mAt] == '%' || mText[mAt] == '('))
        {
            const char op = mText[mAt] == '(' ? '*' : mText[mAt++];
            const int r = Factor();
            v = op == '*' ? v * r : op == '/' ? v / r : v % r;
        }
        return v;
    }
    int Factor()
    {
        if (mText[mAt] == '(')
        {
            ++mAt;
            const int v = Sum();
            ++mAt; // ')'
            return v;
        }
        if (mText[mAt] == 'K' || mText[mAt] == 'N')
        {
            return mText[mAt++] == 'K' ? mK : mN;
        }
        std::size_t end = mAt;
        while (end < mText.size() && std::isdigit(static_cast<unsigned char>(mText[end])))
        {
            ++end;
        }
        const int v = std::stoi(mText.substr(mAt, end - mAt));
        mAt = end;
        return v;
    }

    std::string mText;
    std::size_t mAt = 0;
    int mN, mK;
};

struct Rect
{
    int x, y, w, h;
    bool operator==(const Rect&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rect& r)
{
    return out << r.x << "," << r.y << "," << r.w << "," << r.h;
}

// The table's rows with "N" and "K" spelled out, by path (relative to the parent).
std::map<std::string, Rect> ExpandRows(const std::vector<std::vector<std::string>>& rows,
                                       const std::string& prefix)
{
    std::map<std::string, Rect> out;
    for (const auto& row : rows)
    {
        if (row.size() < 7 || row[0].rfind(prefix, 0) != 0)
        {
            continue;
        }
        std::map<char, int> upTo{{'N', 1}, {'K', 1}};
        // "K=1..16": how far a letter counts.
        for (std::size_t at = row[6].find("=1.."); at != std::string::npos; at = row[6].find("=1..", at + 1))
        {
            if (at > 0 && (row[6][at - 1] == 'N' || row[6][at - 1] == 'K'))
            {
                upTo[row[6][at - 1]] = std::stoi(row[6].substr(at + 4));
            }
        }
        for (int n = 1; n <= upTo['N']; ++n)
        {
            for (int k = 1; k <= upTo['K']; ++k)
            {
                // "encoderBankN/encoderK": a segment ending in a capital after a small letter.
                std::string path;
                std::stringstream segments(row[0]);
                for (std::string segment; std::getline(segments, segment, '/');)
                {
                    const std::size_t last = segment.size() - 1;
                    if (segment.size() > 1 && std::islower(static_cast<unsigned char>(segment[last - 1])) &&
                        (segment[last] == 'N' || segment[last] == 'K'))
                    {
                        segment = segment.substr(0, last) + std::to_string(segment[last] == 'N' ? n : k);
                    }
                    path += (path.empty() ? "" : "/") + segment;
                }
                out[path] = Rect{Expression(row[2], n, k).Value(), Expression(row[3], n, k).Value(),
                                 Expression(row[4], n, k).Value(), Expression(row[5], n, k).Value()};
            }
        }
    }
    return out;
}

Rect WindowRect(const LControl& control)
{
    const PointD at = control.GetAbsolutePosition();
    return Rect{static_cast<int>(at.x), static_cast<int>(at.y), static_cast<int>(control.GetSize().x),
                static_cast<int>(control.GetSize().y)};
}

const LControl* FindPath(const LControl& root, const std::string& path)
{
    const LControl* at = &root;
    std::size_t start = path.find('/');
    while (at && start != std::string::npos)
    {
        const std::size_t end = path.find('/', start + 1);
        at = at->FindChildControl(String(path.substr(start + 1, end - start - 1).c_str())).Get();
        start = end;
    }
    return at;
}

class SkinLayout : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(skin.loaded, kOk);
        app.factory = skin.factory;
        app.defaultFont = LFont::GetFont(String(u"Arial"), 8.25f, 0);
        os->clientSize = PointI{1200, 750};
        window = RCPtr<LRootWindow>(new LRootWindow(renderer, os.Get()));
        app.activeRootWindow = window;
        rows = ReadCsv(KR_LAYOUT_CSV);
        ASSERT_GT(rows.size(), 100u) << KR_LAYOUT_CSV;
    }
    void TearDown() override
    {
        for (const RCPtr<LControl>& control : made)
        {
            control->Detach();
        }
        window->ReleaseInternalReferences();
    }
    RCPtr<LControl> Make(const char16_t* name)
    {
        RCPtr<LControl> control = skin.factory->CreateControlByName(String(name), window);
        if (control)
        {
            made.push_back(control);
        }
        return control;
    }

    EditorSkin skin;
    TestSupport::LStandInFrameworkApp app;
    RCPtr<TestSupport::LFakeWindowServices> os{new TestSupport::LFakeWindowServices};
    RCPtr<LRenderer> renderer{new TestSupport::LRecordingRenderer};
    RCPtr<LRootWindow> window;
    std::vector<std::vector<std::string>> rows;
    std::vector<RCPtr<LControl>> made;
};

// The expected window rectangle of a path: its row moved by every ancestor's row.
Rect Expected(const std::map<std::string, Rect>& table, const std::string& path)
{
    Rect r = table.at(path);
    for (std::size_t slash = path.rfind('/'); slash != std::string::npos && slash > 0;
         slash = path.rfind('/', slash - 1))
    {
        const auto parent = table.find(path.substr(0, slash));
        if (parent != table.end())
        {
            r.x += parent->second.x;
            r.y += parent->second.y;
        }
    }
    return r;
}

TEST_F(SkinLayout, TheMainWindowsShownControlsStandOnTheirRows)
{
    const RCPtr<LControl> main = Make(u"mainControl");
    ASSERT_TRUE(main);
    ASSERT_EQ(window->SetRootControl(main), kOk);
    const std::map<std::string, Rect> table = ExpandRows(rows, "mainControl");
    int checked = 0;
    for (const auto& [path, rect] : table)
    {
        const LControl* control = FindPath(*main, path);
        if (path.find("templateMenu") != std::string::npos)
        {
            continue; // the menu bar makes its titles from the menu tree at run time
        }
        ASSERT_TRUE(control) << path;
        if (!control->IsShown(true))
        {
            continue;
        }
        EXPECT_EQ(WindowRect(*control), Expected(table, path)) << path;
        ++checked;
    }
    EXPECT_GT(checked, 75);

    // The cells' own parts, in every shown cell of their kind.
    const std::pair<const char*, const char*> cells[] = {
        {"encoder", "mainControl/viewDevice/encoders/encoderBank1/encoder{1-8}"},
        {"fader", "mainControl/viewDevice/faders/faderBank1/fader{1-9}"},
        {"button", "mainControl/viewDevice/buttons/buttonBank1/button{1-9}"},
        {"pad", "mainControl/viewDevice/pads/pad{1-16}"},
        {"wheel", "mainControl/viewDevice/wheels/pitchWheel"},
        {"wheel", "mainControl/viewDevice/wheels/modWheel"},
        {"pedal", "mainControl/viewDevice/pedals/sustainPedal"},
        {"pedal", "mainControl/viewDevice/pedals/volumePedal"},
        {"axis", "mainControl/viewDevice/xyPad/xAxis"},
        {"axis", "mainControl/viewDevice/xyPad/yAxis"},
        {"zone", "mainControl/viewDevice/keybedZones/zone{1-4}"},
    };
    int cellParts = 0;
    for (const auto& [kind, pattern] : cells)
    {
        const std::map<std::string, Rect> parts = ExpandRows(rows, std::string("cell:") + kind + "/");
        for (const std::string& cellPath : Expand(pattern))
        {
            const LControl* cell = FindPath(*main, cellPath);
            ASSERT_TRUE(cell) << cellPath;
            const Rect at = WindowRect(*cell);
            for (const auto& [partPath, rect] : parts)
            {
                const std::string name = partPath.substr(partPath.find('/') + 1);
                const LControl* part = FindPath(*cell, "x/" + name);
                ASSERT_TRUE(part) << cellPath << "/" << name;
                EXPECT_EQ(WindowRect(*part), (Rect{at.x + rect.x, at.y + rect.y, rect.w, rect.h}))
                    << cellPath << "/" << name;
                ++cellParts;
            }
        }
    }
    EXPECT_GT(cellParts, 150);
}

TEST_F(SkinLayout, TheDialogsMadeByNameHaveTheirRowsSizesAndTheirChildrenTheirPlaces)
{
    const std::pair<const char16_t*, const char*> dialogs[] = {
        {u"dialogSendPreset", "dialogSendPreset"},
        {u"dialogRetrievePresetFromHardware", "dialogSendPreset"}, // its twin, with "getButton"
        {u"globalEditorControl", "globalEditorControl"},
        {u"dialogAbout", "dialogAbout"},
    };
    for (const auto& [name, rowsOf] : dialogs)
    {
        const RCPtr<LControl> dialog = Make(name);
        ASSERT_TRUE(dialog) << rowsOf;
        const std::map<std::string, Rect> table = ExpandRows(rows, rowsOf);
        const Rect at = WindowRect(*dialog);
        for (const auto& [path, rect] : table)
        {
            if (path == rowsOf)
            {
                EXPECT_EQ(dialog->GetSize().x, rect.w) << path;
                EXPECT_EQ(dialog->GetSize().y, rect.h) << path;
                continue;
            }
            std::string own = path;
            if (Utf8(dialog->GetName()) == "dialogRetrievePresetFromHardware" && own.ends_with("/send"))
            {
                own.replace(own.size() - 4, 4, "getButton");
            }
            const LControl* control = FindPath(*dialog, own);
            ASSERT_TRUE(control) << own;
            Rect expected = Expected(table, path);
            expected.x += at.x;
            expected.y += at.y;
            EXPECT_EQ(WindowRect(*control), expected) << Utf8(dialog->GetName()) << ": " << own;
        }
        dialog->Detach();
    }
}

// Rows relative to a part of each edit panel: "editPanel:", "tab:" and "page:" rows.
Rect Row(const std::vector<std::vector<std::string>>& rows, const std::string& key)
{
    for (const auto& row : rows)
    {
        if (row[0] == key)
        {
            return Rect{Expression(row[2], 1, 1).Value(), Expression(row[3], 1, 1).Value(),
                        Expression(row[4], 1, 1).Value(), Expression(row[5], 1, 1).Value()};
        }
    }
    throw std::runtime_error("no row " + key);
}

TEST_F(SkinLayout, EachEditPanelShownStandsOnItsRowsWithItsTabsAndFields)
{
    const RCPtr<LControl> main = Make(u"mainControl");
    ASSERT_TRUE(main);
    ASSERT_EQ(window->SetRootControl(main), kOk);
    const RCPtr<LControl>& device = main->FindChildControl(String(u"viewDevice"));
    const Rect area = Expected(ExpandRows(rows, "mainControl"), "mainControl/viewDevice/padEditPanel");
    const Rect title = Row(rows, "editPanel:title (padName, knobName, ...)");
    const Rect content = Row(rows, "editPanel:content (moveableTypePanel, buttonTypePanel)");
    const struct
    {
        const char* panel;
        const char* title;
        bool bank, midiLabel, tabs;
        const char* editor; // the mode editor below the panel, "" for none
        bool buttonModes;
    } panels[] = {
        {"padEditPanel", "padName", false, false, true, "viewTabControl/pageHolder/midiPage", true},
        {"knobEditPanel", "knobName", true, true, false, "moveableTypePanel", false},
        {"faderEditPanel", "faderName", true, true, false, "moveableTypePanel", false},
        {"xyPadEditPanel", "axisName", false, false, true, "viewTabControl/pageHolder/midiPage", false},
        {"volumePedalEditPanel", "controlNameLabel", false, true, false, "moveableTypePanel", false},
        {"wheelEditPanel", "wheelName", false, true, false, "", false},
        {"sustainEditPage", "sustainName", false, true, false, "buttonTypePanel", true},
        {"zoneEditPanel", "zoneName", false, true, false, "", false},
        {"buttonEditPanel", "buttonName", true, false, true, "viewTabControl/pageHolder/midiPage", true},
    };
    const char* const buttonPages[] = {"notePage",    "ccAbsolutePage",    "ccIncDecPage",     "ccCyclePage",
                                       "programPage", "programIncDecPage", "programCyclePage", "mmcPage",
                                       "nrpnRpnPage", "otherPage"};
    const char* const movementPages[] = {"ccAbsolutePage", "ccRelativePage", "nrpnRpnPage", "otherPage"};
    for (const auto& p : panels)
    {
        LControl* panel = device->FindChildControl(String(p.panel)).Get();
        ASSERT_TRUE(panel) << p.panel;
        panel->SetVisible(true);
        const std::string name = p.panel;
        auto expect = [&](const std::string& path, Rect rect, Rect origin)
        {
            const LControl* control = FindPath(*panel, "x/" + path);
            ASSERT_TRUE(control) << name << "/" << path;
            EXPECT_EQ(WindowRect(*control), (Rect{origin.x + rect.x, origin.y + rect.y, rect.w, rect.h}))
                << name << "/" << path;
        };
        EXPECT_EQ(WindowRect(*panel), area) << name;
        expect(p.title, title, area);
        if (p.bank)
        {
            expect("bankName", Row(rows, "editPanel:bankName"), area);
        }
        if (p.midiLabel)
        {
            expect("midiLabel", Row(rows, "editPanel:midiLabel / controlNameLabel(MIDI)"), area);
        }
        if (p.tabs)
        {
            expect("viewTabControl", Row(rows, "editPanel:viewTabControl"), area);
            expect("viewTabControl/buttonHolder", Row(rows, "editPanel:viewTabControl/buttonHolder"), area);
            expect("viewTabControl/pageHolder", Row(rows, "editPanel:viewTabControl/pageHolder"), area);
        }
        if (*p.editor == 0)
        {
            panel->SetVisible(false);
            continue;
        }
        expect(p.editor, content, area);
        const Rect editor{area.x + content.x, area.y + content.y, content.w, content.h};
        expect(std::string(p.editor) + "/tabControl/buttonHolder",
               Row(rows, "editPanel:mode editor/tabControl/buttonHolder"), editor);
        expect(std::string(p.editor) + "/tabControl/pageHolder",
               Row(rows, "editPanel:mode editor/tabControl/pageHolder"), editor);
        const Rect tabs = Row(rows, "editPanel:mode editor/tabControl/buttonHolder");
        const Rect pages = Row(rows, "editPanel:mode editor/tabControl/pageHolder");
        const Rect tabOrigin{editor.x + tabs.x, editor.y + tabs.y, 0, 0};
        const Rect pageOrigin{editor.x + pages.x, editor.y + pages.y, 0, 0};
        const Rect channel = Row(rows, "page:button modes/every page/midiChannel \"CHAN\"");
        const std::string prefix = p.buttonModes ? "tab:button modes/" : "tab:movement/";
        for (const char* page :
             p.buttonModes ? std::vector<const char*>(std::begin(buttonPages), std::end(buttonPages))
                           : std::vector<const char*>(std::begin(movementPages), std::end(movementPages)))
        {
            expect(std::string(p.editor) + "/tabControl/buttonHolder/" + page, Row(rows, prefix + page),
                   tabOrigin);
            expect(std::string(p.editor) + "/tabControl/pageHolder/" + page + "/midiChannel", channel,
                   pageOrigin);
        }
        // The parts of a field: a number, a note and a controller selector.
        const std::string fields = std::string(p.editor) + "/tabControl/pageHolder/";
        const LControl* cc = FindPath(*panel, "x/" + fields + "ccAbsolutePage/cc");
        ASSERT_TRUE(cc) << name;
        const Rect ccAt = WindowRect(*cc);
        expect(fields + "ccAbsolutePage/cc/ccSelector", Row(rows, "page:ccSelector"), ccAt);
        const LControl* minimum =
            FindPath(*panel, "x/" + fields + (p.buttonModes ? "ccIncDecPage" : "ccAbsolutePage") +
                                 "/minMaxSelectors/min");
        ASSERT_TRUE(minimum) << name;
        expect(fields + (p.buttonModes ? "ccIncDecPage" : "ccAbsolutePage") +
                   "/minMaxSelectors/min/numericUpDown",
               Row(rows, "page:numericUpDown"), WindowRect(*minimum));
        if (p.buttonModes)
        {
            const LControl* note = FindPath(*panel, "x/" + fields + "notePage/note");
            ASSERT_TRUE(note) << name;
            expect(fields + "notePage/note/noteSelector", Row(rows, "page:noteSelector"), WindowRect(*note));
            expect(fields + "notePage/note", Row(rows, "page:button modes/notePage/note (noteSelector)"),
                   pageOrigin);
        }
        panel->SetVisible(false);
    }
}

} // namespace
} // namespace KR::SkinTest
