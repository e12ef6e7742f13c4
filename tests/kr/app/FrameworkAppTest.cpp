#include "kr/app/FrameworkApp.h"
#include "kr/render/Font.h"
#include "kr/render/FrameworkTexts.h"
#include "kr/render/Renderer.h"

#include "kr/system/CursorNames.h"
#include "kr/ui/ControlTestSupport.h"
#include "kr/ui/GlobalHotKeyManager.h"
#include "kr/ui/OSWindow.h"
#include "support/Files.h"
#include "support/FrameworkAppStandIn.h"

#include <gtest/gtest.h>

namespace
{

using KR::IFrameworkApp;
using KR::LFrameworkApp;
using KR::RCPtr;
using KR::UiTest::Recorder;
using Log = std::vector<std::string>;

// Writes its name into the log the center's listener writes into.
class IdleWindow : public KR::UiTest::FakeRootWindow
{
public:
    IdleWindow(Log& log, std::string name) : log(log), name(std::move(name)) {}
    bool OnIdle(bool) override
    {
        log.push_back(name);
        return false;
    }
    Log& log;
    std::string name;
};

TEST(FrameworkApp, IdleDrainsTheApplicationCenterFirstThenAsksTheWindowsLastToFirst)
{
    LFrameworkApp app(u"Test");
    const RCPtr<Recorder> listener = Recorder::Create();
    listener->RegisterForNotification(LFrameworkApp::GetNotificationCenter(), u"NID_TEST_POSTED");
    const RCPtr<KR::IRootWindowServices> main(new IdleWindow(listener->received, "main"));
    const RCPtr<KR::IRootWindowServices> dialog(new IdleWindow(listener->received, "dialog"));
    EXPECT_EQ(app.AddRootWindow(main), 0);
    EXPECT_EQ(app.AddRootWindow(dialog), 1);
    EXPECT_EQ(app.AddRootWindow(main), 0); // listed already: its index, one entry kept
    EXPECT_EQ(app.GetRootWindowCount(), 2u);
    EXPECT_EQ(app.GetMainWindow(), main);

    LFrameworkApp::GetNotificationCenter()->PostNotificationByName(u"NID_TEST_POSTED");
    EXPECT_TRUE(listener->received.empty());
    EXPECT_FALSE(app.OnIdle(false));
    EXPECT_EQ(listener->received, (Log{"?:NID_TEST_POSTED", "dialog", "main"}));

    app.SetActiveRootWindow(dialog);
    EXPECT_EQ(app.RemoveRootWindow(dialog), KR::kOk);
    EXPECT_FALSE(app.GetActiveRootWindow());
    EXPECT_EQ(app.RemoveRootWindow(dialog), -1);
    listener->UnregisterForAllNotifications();
}

TEST(FrameworkApp, AHotKeyHandedToTheApplicationArrivesAtTheNextIdleStep)
{
    LFrameworkApp app(u"Test");
    const RCPtr<Recorder> listener = Recorder::Create();
    listener->RegisterForNotification(LFrameworkApp::GetNotificationCenter(), u"NID_EDIT_COPY_REQ");
    const KR::KeyCode key = KR::KeyCode::FromVirtualKey(0x43, true, 0, KR::ModifierFlag::kCtrl);
    app.GetGlobalHotKeyManager()->GetHotKeyMap().AddHotKey(key, u"NID_EDIT_COPY_REQ");
    EXPECT_EQ(IFrameworkApp::GetInstance().GetGlobalHotKeyManager()->HandleKey(key), KR::kOk);
    EXPECT_TRUE(listener->received.empty());
    app.OnIdle(true);
    EXPECT_EQ(listener->received, (Log{"?:NID_EDIT_COPY_REQ"}));
    listener->UnregisterForAllNotifications();
}

TEST(FrameworkApp, OneApplicationPerProcessInstalledWhileItLives)
{
    KR::TestSupport::LStandInFrameworkApp standIn;
    {
        LFrameworkApp app(u"Test");
        EXPECT_EQ(&IFrameworkApp::GetInstance(), &app);
        EXPECT_THROW(LFrameworkApp second(u"Second"), std::logic_error);
        EXPECT_EQ(&IFrameworkApp::GetInstance(), &app);
        EXPECT_TRUE(app.GetControlFactory());
        EXPECT_TRUE(app.GetClipboard());
        EXPECT_NE(KR::GetBitmapSource(), nullptr);
    }
    EXPECT_EQ(KR::GetBitmapSource(), nullptr);
    EXPECT_EQ(&IFrameworkApp::GetInstance(), &standIn);
    LFrameworkApp again(u"Again");
    EXPECT_EQ(&IFrameworkApp::GetInstance(), &again);
}

} // namespace

namespace
{

class PaintedWindow : public KR::UiTest::FakeRootWindow
{
public:
    RCPtr<KR::LRenderer> GetRenderer() const override { return renderer; }
    RCPtr<KR::LRenderer> renderer;
};

TEST(FrameworkApp, WindowsGetTheTwoDRendererAndTheMainOneMeasuresText)
{
    LFrameworkApp app(u"Test");
    EXPECT_EQ(app.GetRendererKind(), 1);
    const RCPtr<KR::LRenderer> renderer = KR::LRenderer::Create(app.GetRendererKind(), {}, nullptr);
    EXPECT_EQ(renderer->GetKind(), 1);
    EXPECT_EQ(KR::LRenderer::Create(2, {}, nullptr)->GetKind(), 2);

    const RCPtr<KR::LFont> font = KR::LFont::GetFont(KR::String(u"DejaVu Sans"), 12.0f, 0);
    EXPECT_EQ(font->GetLineHeight(), 0) << "no window yet";
    const RCPtr<PaintedWindow> main(new PaintedWindow);
    const RCPtr<PaintedWindow> dialog(new PaintedWindow);
    dialog->renderer = KR::LRenderer::Create(2, {}, nullptr);
    app.AddRootWindow(main);
    app.AddRootWindow(dialog);
    EXPECT_EQ(font->GetLineHeight(), 0) << "the main window has no renderer yet";
    main->renderer = renderer;
    EXPECT_EQ(font->GetLineHeight(), 19);
}

} // namespace

namespace
{

TEST(FrameworkApp, CursorNamesGiveTheWindowLayersCursorsAndNoKeyIsDownBeforeAnyEvent)
{
    KR::LFrameworkApp app(u"Test");
    EXPECT_EQ(app.LoadCursorByName(KR::kCursorArrow), 0u) << "0 is the arrow";
    EXPECT_EQ(KR::CursorShapeFromHandle(app.LoadCursorByName(KR::kCursorIBeam)), KR::CursorShape::kIBeam);
    EXPECT_EQ(KR::CursorShapeFromHandle(app.LoadCursorByName(u"UI_CURSOR_UNKNOWN")), KR::CursorShape::kArrow);
    EXPECT_FALSE(app.GetKeyState(0x11));
    EXPECT_FALSE(app.GetKeyState(0x1234)) << "outside the virtual keys";
}

} // namespace

namespace
{

// The renderers' error boxes read their texts from the application's framework table.
TEST(FrameworkApp, FrameworkTextsComeFromTheFrameworkStringTableWhileTheAppLives)
{
    KR::TestSupport::TempFolder folder;
    const auto framework = folder / "FRAMEWORK_STRINGS.xml";
    const auto application = folder / "APP_STRINGS.xml";
    const std::string text =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><Tables><StringTable ID=\"Framework\">"
        "<String ID=\"GL_ERROR_CAPTION\"><Locale LCID=\"9\">Erreur \xC3\xA9</Locale></String>"
        "</StringTable></Tables>";
    KR::TestSupport::WriteBytes(framework, std::vector<std::uint8_t>(text.begin(), text.end()));
    const std::string none = "<?xml version=\"1.0\" encoding=\"utf-8\"?><Tables/>";
    KR::TestSupport::WriteBytes(application, std::vector<std::uint8_t>(none.begin(), none.end()));
    {
        LFrameworkApp app(u"Test");
        ASSERT_EQ(app.GetControlFactory()->LoadStringTables(KR::TestSupport::WidePath(framework),
                                                            KR::TestSupport::WidePath(application), 0x0409),
                  KR::kOk);
        EXPECT_EQ(KR::GetFrameworkText("GL_ERROR_CAPTION"), "Erreur \xC3\xA9");
        EXPECT_EQ(KR::GetFrameworkText("GL_ERROR_UPDATE_DRIVER"), "");
    }
    EXPECT_EQ(KR::GetFrameworkText("GL_ERROR_CAPTION"), "");
}

// The renderers' error boxes are the application's own, logged and owned as every box is.
TEST(FrameworkApp, TheRenderersErrorBoxesAreTheApplicationsWhileItLives)
{
    struct BoxApp : LFrameworkApp
    {
        BoxApp() : LFrameworkApp(u"Test") {}
        std::int32_t ShowMessageBox(const KR::String& text, const KR::String& caption,
                                    std::uint32_t style) override
        {
            boxes.push_back(std::string(caption.ToUtf8().GetPtr()) + " | " + text.ToUtf8().GetPtr() + " | " +
                            std::to_string(style));
            return 1;
        }
        std::vector<std::string> boxes;
    };
    {
        BoxApp app;
        EXPECT_TRUE(KR::ShowFrameworkMessageBox("Pilote \xC3\xA0 jour", "Erreur", 0x30));
        EXPECT_EQ(app.boxes, std::vector<std::string>{"Erreur | Pilote \xC3\xA0 jour | 48"});
    }
    EXPECT_FALSE(KR::ShowFrameworkMessageBox("text", "caption", 0x30));
}

} // namespace
