#include "engine/RootModuleEngine.h"

#include "EngineTestSupport.h"
#include "PresetTestSupport.h"

#include <gtest/gtest.h>

namespace
{

// The engine as the program starts it: its own bridge, which loads the device-control
// library from the program's folder. No keyboard is attached here, and none is needed
// to edit a preset.
TEST(EngineWithLibrary, WithoutAKeyboardTheEngineStartsConnectedAndTakesValues)
{
    support::ApplicationCenter app;
    KR::RCPtr<LRootModuleEngine> engine = LRootModuleEngine::Create();
    ASSERT_EQ(engine->Initialize(0), KR::kOk);
    EXPECT_EQ(app.Queued(), 2u);
    app.Drain();
    EXPECT_EQ(app.log->Payloads<LParamValuesWrapper>(kNidParamModuleStateChange).size(), 1u);
    const auto states = app.log->Payloads<LRootModuleEngine::StateHolder>(kNidDeviceConnectionStateChange);
    ASSERT_EQ(states.size(), 1u);
    EXPECT_EQ(states[0]->Get(), LRootModuleEngine::kConnected);

    // The library answers its own parameter, so it was found and loaded.
    KR::Variant text;
    ASSERT_EQ(engine->GetParamValue(KR::ParamDescriptor(-8), text), KR::kOk);
    ASSERT_NE(text.GetString(), nullptr);
    EXPECT_STREQ(text.GetString(), "Tarsil Vantor");

    const KR::Variant fader = support::Blob({0, 0, 7, 1, 2, 0x7F});
    EXPECT_EQ(engine->SetParamValue(KR::ParamDescriptor(61), fader), KR::kOk);
    KR::Variant read;
    ASSERT_EQ(engine->GetParamValue(KR::ParamDescriptor(61), read), KR::kOk);
    EXPECT_EQ(read, fader);
    EXPECT_EQ(engine->GetConnectionState(), LRootModuleEngine::kConnected);
    engine = nullptr;
}

} // namespace
