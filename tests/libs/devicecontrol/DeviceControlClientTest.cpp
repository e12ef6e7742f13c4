#include "DeviceControlApi.h"

#include "support/Wait.h"

#include <gtest/gtest.h>
#include <jack/jack.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace
{

using KRTest::AsValue;
namespace Record = DeviceControl::Record;

using JackClient = std::unique_ptr<jack_client_t, int (*)(jack_client_t*)>;

// A JACK client that owns MIDI ports with the given names, as the keyboard's driver
// would: an output port is a MIDI source (the editor's input), an input port a sink.
JackClient FakeKeyboard(const char* sourceName, const char* sinkName)
{
    jack_status_t status{};
    JackClient client(::jack_client_open("kr-fake-keyboard", JackNoStartServer, &status),
                      ::jack_client_close);
    const bool ok = client != nullptr &&
                    ::jack_port_register(client.get(), sourceName, JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput,
                                         0) != nullptr &&
                    (*sinkName == 0 || ::jack_port_register(client.get(), sinkName, JACK_DEFAULT_MIDI_TYPE,
                                                            JackPortIsInput, 0) != nullptr) &&
                    ::jack_activate(client.get()) == 0;
    return ok ? std::move(client) : JackClient(nullptr, ::jack_client_close);
}

class DeviceControlClientTest : public ::testing::Test
{
protected:
    static void TearDownTestSuite() { api_.DCCI_ReleaseAll(); }
    void SetUp() override
    {
        ASSERT_TRUE(library_.IsLoaded()) << library_.Error();
        ASSERT_EQ(api_.missing, "");
    }

    // The whole answer of a full list, or the result when it is a failure.
    static Record::Bytes FindDevices()
    {
        std::vector<std::uint8_t> bytes(4096);
        DCCI_ValueBuffer buffer{bytes.data(), static_cast<std::uint32_t>(bytes.size()), 0};
        const std::int32_t result = api_.DCCI_FindRemoteDevices(nullptr, 0, &buffer, 1);
        return result == DCCI_LIST_COMPLETE ? KRTest::Filled(buffer) : Record::Int32(result);
    }

    // Port changes reach the MIDI system's other clients through its server.
    static bool WaitForDevices(const Record::Bytes& expected)
    {
        return KR::TestSupport::WaitUntil([&] { return FindDevices() == expected; });
    }

    static inline const KRTest::RunTimeLibrary library_{DCCI_LIBRARY_FILE_NAME};
    static inline const KRTest::DeviceControlApi api_{library_};
    const Record::Bytes none_ = Record::Array({});
    const Record::Bytes keyboard_ = Record::String(DCCI_KEYBOARD_NAME);
    const Record::Bytes listed_ = Record::Array({keyboard_});
    const Record::Bytes other_ = Record::String("another device");
    const Record::Bytes empty_ = Record::Empty();
    const DCCI_Value keyboardValue_ = AsValue(keyboard_), otherValue_ = AsValue(other_),
                     emptyValue_ = AsValue(empty_);
};

TEST_F(DeviceControlClientTest, KeyboardIsListedAndServedExactlyWhileBothOfItsPortsExist)
{
    // No MIDI system to reach gives an empty list, not a failure.
    api_.DCCI_ReleaseAll();
    const char* server = std::getenv("JACK_DEFAULT_SERVER");
    const std::string saved = server != nullptr ? server : "";
    ::setenv("JACK_DEFAULT_SERVER", "kr-no-such-server", 1);
    EXPECT_EQ(FindDevices(), none_);
    // The probes were made against the missing server: let them go before going on.
    api_.DCCI_ReleaseAll();
    server != nullptr ? ::setenv("JACK_DEFAULT_SERVER", saved.c_str(), 1) : ::unsetenv("JACK_DEFAULT_SERVER");

    ASSERT_TRUE(WaitForDevices(none_));
    EXPECT_EQ(api_.DCCI_ConnectDevice(&keyboardValue_, nullptr, nullptr), DCCI_E_FAIL);
    EXPECT_EQ(api_.DCCI_ConnectDevice(&otherValue_, nullptr, nullptr), DCCI_E_INVALIDARG);
    EXPECT_EQ(api_.DCCI_ConnectDevice(&emptyValue_, nullptr, nullptr), DCCI_OK) << "no device";
    EXPECT_EQ(api_.DCCI_DisconnectDevice(&keyboardValue_), DCCI_FALSE);
    EXPECT_EQ(api_.DCCI_DisconnectDevice(&emptyValue_), DCCI_OK);
    EXPECT_EQ(api_.DCCI_DisconnectDevice(&emptyValue_), DCCI_FALSE);
    {
        const JackClient halfKeyboard = FakeKeyboard("MIDIIN4 (Vantor)", "");
        ASSERT_NE(halfKeyboard, nullptr);
        EXPECT_EQ(FindDevices(), none_) << "one port alone is not the keyboard";
    }

    // The driver may spell the names in any case.
    JackClient keyboard = FakeKeyboard("Port 1: midiin4 (vantor)", "Port 2: MIDIOUT4 (VANTOR)");
    ASSERT_NE(keyboard, nullptr);
    ASSERT_TRUE(WaitForDevices(listed_));
    EXPECT_EQ(api_.DCCI_IsDeviceConnected(&keyboardValue_), DCCI_OK);
    EXPECT_EQ(api_.DCCI_ConnectDevice(&keyboardValue_, nullptr, nullptr), DCCI_OK);
    EXPECT_EQ(api_.DCCI_DisconnectDevice(&keyboardValue_), DCCI_OK);

    DCCI_DeviceInfo info{};
    ASSERT_EQ(api_.DCCI_GetDeviceInfo(&keyboardValue_, &info), DCCI_OK);
    EXPECT_STREQ(info.maker, DCCI_KEYBOARD_MAKER);
    EXPECT_STREQ(info.product, DCCI_KEYBOARD_PRODUCT);
    EXPECT_NE(std::string(info.inputPort).find("midiin4 (vantor)"), std::string::npos) << info.inputPort;
    EXPECT_NE(std::string(info.outputPort).find("MIDIOUT4 (VANTOR)"), std::string::npos) << info.outputPort;
    EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(&info)[252], 1) << "the watch flag";
    EXPECT_EQ(api_.DCCI_GetDeviceInfo(&keyboardValue_, nullptr), DCCI_E_INVALIDARG);

    std::vector<std::uint8_t> bytes(256);
    DCCI_ValueBuffer buffer{bytes.data(), static_cast<std::uint32_t>(bytes.size()), 0};
    const DCCI_Guid keyboardClass = DCCI_KEYBOARD_CLASS_GUID_INIT;
    const DCCI_Guid classes[] = {{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}}, keyboardClass};
    ASSERT_EQ(api_.DCCI_FindRemoteDevices(classes, 1, &buffer, 1), DCCI_LIST_COMPLETE);
    EXPECT_EQ(KRTest::Filled(buffer), none_) << "a filter of another class";
    ASSERT_EQ(api_.DCCI_FindRemoteDevices(classes, 2, &buffer, 0), DCCI_OK);
    EXPECT_EQ(KRTest::Filled(buffer), listed_);

    // Lists from several threads at once share the probes.
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads(4);
    for (std::thread& thread : threads)
    {
        thread = std::thread(
            [&]
            {
                for (int i = 0; i < 50; ++i)
                {
                    wrong += FindDevices() != listed_ ? 1 : 0;
                }
            });
    }
    for (std::thread& thread : threads)
    {
        thread.join();
    }
    EXPECT_EQ(wrong, 0);

    keyboard.reset();
    EXPECT_TRUE(WaitForDevices(none_));
    EXPECT_EQ(api_.DCCI_IsDeviceConnected(&keyboardValue_), DCCI_FALSE);
}

TEST_F(DeviceControlClientTest, AnswersReservedIdsAndRefusesRecordsThatAreNotOneWholeVariant)
{
    std::vector<std::uint8_t> bytes(256);
    DCCI_ValueBuffer out{bytes.data(), static_cast<std::uint32_t>(bytes.size()), 0};
    const std::pair<std::int32_t, Record::Bytes> reserved[] = {
        {DCCI_PARAM_MAKER, Record::String(DCCI_KEYBOARD_MAKER)},
        {DCCI_PARAM_PRODUCT, Record::String(DCCI_KEYBOARD_PRODUCT)},
        {DCCI_PARAM_DEVICE_TEXT, keyboard_},
        {5, Record::Int32(DCCI_E_NOTIMPL)}};
    for (const auto& [id, expected] : reserved)
    {
        const DCCI_ParamDescriptor descriptor{id, emptyValue_};
        const std::int32_t result = api_.DCCI_GetParamValue(&keyboardValue_, &descriptor, &out);
        EXPECT_EQ(result == DCCI_OK ? KRTest::Filled(out) : Record::Int32(result), expected) << "id " << id;
    }
    const DCCI_ParamDescriptor connected{DCCI_PARAM_CONNECTED, emptyValue_};
    ASSERT_EQ(api_.DCCI_GetParamValue(&keyboardValue_, &connected, &out), DCCI_OK);
    EXPECT_EQ(bytes[8], DCCI_TYPE_BOOL);
    // Too small a buffer tells the size it needs.
    DCCI_ValueBuffer small{bytes.data(), 4, 0};
    const DCCI_ParamDescriptor maker{DCCI_PARAM_MAKER, emptyValue_};
    EXPECT_EQ(api_.DCCI_GetParamValue(&keyboardValue_, &maker, &small), DCCI_BUFFER_TOO_SMALL);
    EXPECT_EQ(small.size, Record::String(DCCI_KEYBOARD_MAKER).size());

    // Writes and requests are dropped without a failure, so editing works alike
    // with and without a keyboard.
    const Record::Bytes seven = Record::Int32(7);
    const DCCI_Value value = AsValue(seven);
    const DCCI_ParamDescriptor pad{9, emptyValue_};
    EXPECT_EQ(api_.DCCI_SetParamValue(&keyboardValue_, &pad, &value), DCCI_OK);
    EXPECT_EQ(api_.DCCI_SetParamValues(&keyboardValue_, &value), DCCI_OK);
    EXPECT_EQ(api_.DCCI_RequestParamRanges(&keyboardValue_, &value), DCCI_OK);
    EXPECT_EQ(api_.DCCI_RequestParamValues(&keyboardValue_, &value), DCCI_OK);
    EXPECT_EQ(api_.DCCI_GetParamValues(&keyboardValue_, &value, &out), DCCI_E_NOTIMPL);
    EXPECT_EQ(api_.DCCI_GetParamRanges(&keyboardValue_, &value, &out), DCCI_E_NOTIMPL);

    const std::vector<std::pair<const char*, Record::Bytes>> bad = {
        {"too short", {8, 0, 0, 0, 0, 0, 0, 0}},
        {"length beyond the bytes", {40, 0, 0, 0, 0, 0, 0, 0, 9, 0, 0, 0, 'a', 0}},
        {"length short of the bytes", {12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
        {"reserved word set", {12, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}},
        {"unknown type", {12, 0, 0, 0, 0, 0, 0, 0, 11, 0, 0, 0}},
    };
    DCCI_DeviceInfo info{};
    for (const auto& [what, record] : bad)
    {
        const DCCI_Value device = AsValue(record);
        EXPECT_EQ(api_.DCCI_ConnectDevice(&device, nullptr, nullptr), DCCI_E_INVALIDARG) << what;
        EXPECT_EQ(api_.DCCI_DisconnectDevice(&device), DCCI_E_INVALIDARG) << what;
        EXPECT_EQ(api_.DCCI_GetDeviceInfo(&device, &info), DCCI_E_INVALIDARG) << what;
        EXPECT_EQ(api_.DCCI_SetParamValues(&device, &device), DCCI_E_INVALIDARG) << what;
    }
    const DCCI_Value noData{nullptr, 12};
    EXPECT_EQ(api_.DCCI_IsDeviceConnected(&noData), DCCI_E_INVALIDARG);
    EXPECT_EQ(api_.DCCI_IsDeviceConnected(nullptr), DCCI_E_INVALIDARG);
    EXPECT_EQ(api_.DCCI_FindRemoteDevices(nullptr, 1, nullptr, 1), DCCI_E_INVALIDARG);
}

} // namespace
