#include "kr/notify/ApplicationCenter.h"
#include "kr/ui/Clipboard.h"
#include "kr/ui/OSWindow.h"
#include "platform/window_display/DisplayFixture.h"
#include "support/FrameworkAppStandIn.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace KR
{
namespace
{

namespace P = Platform;
using P::Test::PumpUntil;

// Copies its text to the clipboard when asked to.
class CopyBox : public LControl
{
public:
    using LControl::LControl;
    bool IsEditTarget() override { return true; }
    bool CanPerformEdit(std::int32_t operation) override { return operation == EditOperation::kCopy; }
    Result PerformEdit(std::int32_t operation) override
    {
        performed.push_back(operation);
        return IFrameworkApp::GetInstance().GetClipboard()->SetText(LClipboard::TextHolder::Create(text));
    }
    String text;
    std::vector<std::int32_t> performed;
};

// The clipboard with another X client, xclip, on the other side. Our side answers the
// other client only while the message loop runs, so xclip reads in the background.
class ClipboardDisplay : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY") || std::system("command -v xclip >/dev/null 2>&1") != 0)
        {
            GTEST_SKIP() << "no display or no xclip";
        }
        char pattern[] = "/tmp/krclipXXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        app.clipboard = clipboard;
        // The main window: what the clipboard names as its owner, told when another
        // client replaces the content.
        ASSERT_EQ(window->Create(u"Main", RectI{100, 100, 120, 80}, 0), kOk);
        ASSERT_EQ(window->CreateRenderer(1), kOk);
        ASSERT_EQ(app.GetMainWindow().Get(), window->GetRootWindow().Get());
    }
    void TearDown() override
    {
        if (window->GetWindowHandle() != 0)
        {
            window->EndModal(0);
        }
        if (!folder.empty())
        {
            std::system(("rm -rf " + folder).c_str());
        }
    }

    // What xclip reads from the clipboard (for a target, when given).
    std::string ReadWithXclip(const std::string& target = "")
    {
        const std::string out = folder + "/out" + std::to_string(++reads);
        const std::string command = "(xclip -o -selection clipboard " +
                                    (target.empty() ? "" : "-t " + target) + " > " + out +
                                    ".part 2>/dev/null; mv " + out + ".part " + out + ") >/dev/null 2>&1 &";
        std::system(command.c_str());
        EXPECT_TRUE(PumpUntil([&] { return access(out.c_str(), F_OK) == 0; })) << "xclip read nothing";
        std::ifstream in(out, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // xclip takes the clipboard with the bytes (as the target, when given).
    void WriteWithXclip(const std::string& bytes, const std::string& target = "")
    {
        const std::string in = folder + "/in";
        std::ofstream(in, std::ios::binary) << bytes;
        const std::string command = "xclip -i -selection clipboard " +
                                    (target.empty() ? "" : "-t " + target) + " < " + in + " >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    // The text the clipboard hands out once it is not `before` any more.
    RCPtr<LRefCountedObject> NextContent(const RCPtr<LRefCountedObject>& before)
    {
        RCPtr<LRefCountedObject> content = before;
        EXPECT_TRUE(PumpUntil(
            [&]
            {
                clipboard->GetText(content);
                return content != before;
            }));
        return content;
    }
    // The content's text as UTF-8.
    static std::string TextOf(const RCPtr<LRefCountedObject>& content)
    {
        const auto* text = dynamic_cast<const LClipboard::TextHolder*>(content.Get());
        return text ? text->GetValue().ToUtf8().GetPtr() : "<not text>";
    }

    TestSupport::LStandInFrameworkApp app;
    RCPtr<LClipboard> clipboard = LClipboard::Create();
    RCPtr<OSWindow> window = new OSWindow;
    std::string folder;
    int reads = 0;
};

TEST_F(ClipboardDisplay, ACopyRequestPutsTheTextOutForAnotherClientAndTheTextsOfEachSideRoundTrip)
{
    clipboard->Initialize();
    const RCPtr<CopyBox> box(new CopyBox(RCPtr<LControl>(), String(u"box")));
    box->text = String(u"abc");
    window->GetRootWindow()->SetRootControl(box);
    window->GetRootWindow()->SetFocusControl(box);
    app.activeRootWindow = window->GetRootWindow();

    GetApplicationNotificationCenter()->SendNotificationByName(u"NID_EDIT_COPY_REQ");
    ASSERT_EQ(box->performed, (std::vector<std::int32_t>{EditOperation::kCopy}));
    EXPECT_EQ(ReadWithXclip(), "abc");
    RCPtr<LRefCountedObject> ours;
    clipboard->GetText(ours);
    EXPECT_EQ(ours, clipboard->GetStoredContent()) << "our own copy is not read back";
    EXPECT_EQ(TextOf(ours), "abc");

    ASSERT_EQ(
        clipboard->SetText(LClipboard::TextHolder::Create(String(u"Gr\u00FC\u00DFe \u20AC \U0001F600"))),
        kOk);
    EXPECT_EQ(ReadWithXclip(), "Gr\xC3\xBC\xC3\x9F"
                               "e \xE2\x82\xAC \xF0\x9F\x98\x80");
    clipboard->GetText(ours);
    WriteWithXclip("\xC3\x9Cnic\xC3\xB6"
                   "de \xE2\x9C\x93");
    const RCPtr<LRefCountedObject> theirs = NextContent(ours);
    EXPECT_EQ(TextOf(theirs), "\xC3\x9Cnic\xC3\xB6"
                              "de \xE2\x9C\x93")
        << "a new holder with the other client's text";
    RCPtr<LRefCountedObject> again;
    clipboard->GetText(again);
    EXPECT_EQ(again, theirs) << "read once";
    clipboard->UnregisterForAllNotifications();
    box->Detach();
}

TEST_F(ClipboardDisplay, AnImageAloneIsNoTextAndAnObjectOfOursStaysUntilAnotherClientWrites)
{
    RCPtr<LRefCountedObject> content = LClipboard::TextHolder::Create(String(u"before"));
    ASSERT_EQ(clipboard->SetText(content), kOk);
    WriteWithXclip("\x89PNG\r\n\x1A\n not really an image", "image/png");
    EXPECT_FALSE(NextContent(content)) << "no text";

    const RCPtr<LRefCountedObject> object(new LRefCountedObject);
    ASSERT_EQ(clipboard->SetText(object), kOk);
    EXPECT_NE(ReadWithXclip("TARGETS").find("application/x-krframework-private"), std::string::npos);
    clipboard->GetText(content);
    EXPECT_EQ(content, object) << "only the mark went out; the object itself stays here";

    WriteWithXclip("other");
    ASSERT_TRUE(PumpUntil([&] { return !clipboard->GetStoredContent(); })) << "replaced, so dropped";
    EXPECT_EQ(TextOf(NextContent(nullptr)), "other");

    ASSERT_EQ(clipboard->SetText(LClipboard::TextHolder::Create(String(u"again"))), kOk);
    EXPECT_EQ(ReadWithXclip(), "again") << "the next copy works";
}

TEST_F(ClipboardDisplay, ALongTextComesInWholeAndABrokenOneWithoutAFault)
{
    std::string longText(1 << 20, 'x');
    longText.back() = 'y';
    RCPtr<LRefCountedObject> before;
    clipboard->GetText(before);
    WriteWithXclip(longText);
    const RCPtr<LRefCountedObject> first = NextContent(before);
    EXPECT_EQ(TextOf(first), longText);

    WriteWithXclip("ab\xFF\xFE"
                   "cd");
    EXPECT_EQ(TextOf(NextContent(first)), "ab") << "converted up to the broken sequence";
}

} // namespace
} // namespace KR
