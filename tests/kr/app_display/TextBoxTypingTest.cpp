#include "kr/app/FrameworkApp.h"
#include "kr/controls/TextBox.h"
#include "kr/ui/Clipboard.h"
#include "kr/ui/GlobalHotKeyManager.h"
#include "kr/ui/RootWindow.h"
#include "platform/window_display/DisplayFixture.h"
#include "support/ShownWindow.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace KR
{
namespace
{

namespace P = Platform;

// A text box in a real window: letters typed on the display's keyboard, an accented one
// among them, are inserted; Shift+Home selects them and Ctrl+C hands them to another client.
TEST(TextBoxTyping, TypedTextIsShownSelectedAndCopiedForAnotherClient)
{
    if (!std::getenv("DISPLAY") || std::system("command -v xclip >/dev/null 2>&1") != 0)
    {
        GTEST_SKIP() << "no display or no xclip";
    }
    LFrameworkApp app(u"Test");
    app.RunApplicationStartup();
    ASSERT_TRUE(app.GetClipboard()->IsInitialized());
    app.GetGlobalHotKeyManager()->GetHotKeyMap().AddHotKey(
        KeyCode::FromVirtualKey('C', true, 0, ModifierFlag::kCtrl), u"NID_EDIT_COPY_REQ");

    const RCPtr<LTextBox> box(new LTextBox(RCPtr<LControl>(), String(u"box")));
    box->SetFrame(PointD{}, PointD{160, 30});
    TestSupport::ShownWindow shown(app);
    ASSERT_NO_FATAL_FAILURE(shown.Show(box));
    box->SetNotFocusable(false);
    box->SetFocus(true);
    ASSERT_EQ(shown.root->GetFocusControl().Get(), box.Get());
    ASSERT_NO_FATAL_FAILURE(shown.Focus());

    // A layout with é on a key of its own: a key xdotool maps for the moment and takes back
    // may be read after it is gone.
    if (std::system("setxkbmap fr >/dev/null 2>&1") != 0)
    {
        GTEST_SKIP() << "no French layout to type é with";
    }
    struct Layout
    {
        ~Layout() { std::system("setxkbmap us >/dev/null 2>&1"); }
    } layout;
    ASSERT_EQ(P::Test::Xdo("type --delay 30 héllo"), 0);
    EXPECT_TRUE(shown.Pump([&] { return box->GetText() == String(u"héllo"); }))
        << box->GetText().ToUtf8().GetPtr();

    ASSERT_EQ(P::Test::Xdo("key shift+Home"), 0);
    ASSERT_TRUE(shown.Pump([&] { return box->GetSelectionLength() == 5; }));
    ASSERT_EQ(P::Test::Xdo("key ctrl+c"), 0);
    ASSERT_TRUE(shown.Pump(
        [&]
        {
            const auto* held =
                dynamic_cast<const LClipboard::TextHolder*>(app.GetClipboard()->GetStoredContent().Get());
            return held && held->GetValue() == String(u"héllo");
        }));

    // xclip asks while our loop runs to answer it.
    char pattern[] = "/tmp/krtextXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string out = std::string(pattern) + "/out";
    std::system(("(xclip -o -selection clipboard > " + out + ".part 2>/dev/null; mv " + out + ".part " + out +
                 ") >/dev/null 2>&1 &")
                    .c_str());
    // Generous: the other client is started by a shell and answered from our loop, and a loaded
    // machine running the sanitizer build has been seen to need more than ten seconds for it.
    EXPECT_TRUE(shown.Pump([&] { return access(out.c_str(), F_OK) == 0; }, 60.0));
    std::ifstream in(out, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "héllo");
    std::system((std::string("rm -rf ") + pattern).c_str());
    app.GetClipboard()->UnregisterForAllNotifications();
}

} // namespace
} // namespace KR
