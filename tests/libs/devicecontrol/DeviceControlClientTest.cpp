#include "DeviceControlApi.h"

#include "libs/devicecontrol/VariantRecord.h"

#include <gtest/gtest.h>
#include <jack/jack.h>
#include <jack/midiport.h>

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace
{

using KRTest::DeviceControlApi;
using KRTest::RunTimeLibrary;
namespace Record = DeviceControl::Record;

DCCI_Value AsValue(const Record::Bytes& record)
{
    return {record.data(), static_cast<std::uint32_t>(record.size())};
}

// A JACK client that owns MIDI ports with the given names, as the keyboard's driver
// would: an output port is a MIDI source (the editor's input), an input port a sink.
class FakeKeyboard
{
public:
    FakeKeyboard(const std::string& sourceName, const std::string& sinkName)
    {
        jack_status_t status{};
        client_ = ::jack_client_open("kr-fake-keyboard", JackNoStartServer, &status);
        if (client_ == nullptr)
        {
            return;
        }
        ok_ = (sourceName.empty() || ::jack_port_register(client_, sourceName.c_str(), JACK_DEFAULT_MIDI_TYPE,
                                                          JackPortIsOutput, 0) != nullptr) &&
              (sinkName.empty() || ::jack_port_register(client_, sinkName.c_str(), JACK_DEFAULT_MIDI_TYPE,
                                                        JackPortIsInput, 0) != nullptr) &&
              ::jack_activate(client_) == 0;
    }
    ~FakeKeyboard() { Leave(); }
    FakeKeyboard(const FakeKeyboard&) = delete;
    FakeKeyboard& operator=(const FakeKeyboard&) = delete;

    bool IsReady() const { return ok_; }
    // True once the server lists the port for every client.
    bool IsListed(const std::string& portName) const
    {
        if (client_ == nullptr)
        {
            return false;
        }
        const std::string fullName = std::string(::jack_get_client_name(client_)) + ":" + portName;
        return ::jack_port_by_name(client_, fullName.c_str()) != nullptr;
    }
    void Leave()
    {
        if (client_ != nullptr)
        {
            ::jack_client_close(client_);
            client_ = nullptr;
        }
    }

private:
    jack_client_t* client_ = nullptr;
    bool ok_ = false;
};

class DeviceControlClientTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        library_ = std::make_unique<RunTimeLibrary>(DCCI_LIBRARY_FILE_NAME);
        api_ = std::make_unique<DeviceControlApi>(*library_);
    }
    static void TearDownTestSuite()
    {
        if (api_->DCCI_ReleaseAll != nullptr)
        {
            api_->DCCI_ReleaseAll();
        }
        api_.reset();
        library_.reset();
    }
    void SetUp() override
    {
        ASSERT_TRUE(library_->IsLoaded()) << library_->Error();
        ASSERT_TRUE(api_->MissingEntryPoints().empty()) << api_->MissingEntryPoints().front();
    }

    struct DeviceList
    {
        std::int32_t result = 0;
        std::vector<KRTest::ReadRecord> devices;
        std::uint32_t listType = 0;
    };

    static DeviceList FindDevices(std::int32_t fullList = 1)
    {
        std::vector<std::uint8_t> bytes(4096);
        DCCI_ValueBuffer buffer{bytes.data(), static_cast<std::uint32_t>(bytes.size()), 0};
        DeviceList list;
        list.result = api_->DCCI_FindRemoteDevices(nullptr, 0, &buffer, fullList);
        if (list.result >= 0)
        {
            const KRTest::ReadRecord whole = KRTest::ReadWhole(bytes.data(), buffer.size);
            list.listType = whole.type;
            list.devices = KRTest::SplitRecords(whole.payload);
        }
        return list;
    }

    // Port changes reach the MIDI system's other clients through its server: wait,
    // within a bound, for the list to show the expected number of devices.
    static DeviceList WaitForDeviceCount(std::size_t count)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        DeviceList list = FindDevices();
        while ((list.result < 0 || list.devices.size() != count) &&
               std::chrono::steady_clock::now() < deadline)
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            list = FindDevices();
        }
        return list;
    }

    static const Record::Bytes& Keyboard()
    {
        static const Record::Bytes id = Record::String(DCCI_KEYBOARD_NAME);
        return id;
    }

    static inline std::unique_ptr<RunTimeLibrary> library_;
    static inline std::unique_ptr<DeviceControlApi> api_;
};

TEST_F(DeviceControlClientTest, ExportsExactlyTheFourteenEntryPoints)
{
    const std::string command = std::string(KR_TEST_NM) + " -D --defined-only '" + library_->Path() + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> exported;
    char line[512];
    while (std::fgets(line, sizeof(line), pipe) != nullptr)
    {
        std::istringstream fields(line);
        std::string address, kind, name;
        if (fields >> address >> kind >> name && kind == "T")
        {
            exported.insert(name);
        }
    }
    ASSERT_EQ(::pclose(pipe), 0);

    std::set<std::string> expected;
#define KR_NAME_ENTRY(name) expected.insert(#name);
    DCCI_FOR_EACH_ENTRY_POINT(KR_NAME_ENTRY)
#undef KR_NAME_ENTRY
    EXPECT_EQ(expected.size(), 14u);
    EXPECT_EQ(exported, expected);
}

TEST_F(DeviceControlClientTest, KeyboardIsListedExactlyWhileBothOfItsPortsExist)
{
    DeviceList list = WaitForDeviceCount(0);
    EXPECT_EQ(list.result, DCCI_LIST_COMPLETE);
    EXPECT_EQ(list.listType, DCCI_TYPE_ARRAY);
    EXPECT_TRUE(list.devices.empty());

    {
        FakeKeyboard halfKeyboard("MIDIIN4 (Vantor)", "");
        ASSERT_TRUE(halfKeyboard.IsReady());
        ASSERT_TRUE(halfKeyboard.IsListed("MIDIIN4 (Vantor)"));
        EXPECT_TRUE(FindDevices().devices.empty()) << "one port alone is not the keyboard";
    }

    // The driver may spell the names in any case.
    FakeKeyboard keyboard("Port 1: midiin4 (vantor)", "Port 2: MIDIOUT4 (VANTOR)");
    ASSERT_TRUE(keyboard.IsReady());
    list = WaitForDeviceCount(1);
    ASSERT_EQ(list.devices.size(), 1u);
    EXPECT_EQ(KRTest::ReadString(list.devices[0]), DCCI_KEYBOARD_NAME);
    EXPECT_EQ(FindDevices(0).result, DCCI_OK);

    const DCCI_Value device = AsValue(Keyboard());
    EXPECT_EQ(api_->DCCI_IsDeviceConnected(&device), DCCI_OK);

    keyboard.Leave();
    list = WaitForDeviceCount(0);
    EXPECT_GE(list.result, 0);
    EXPECT_TRUE(list.devices.empty());
    EXPECT_EQ(api_->DCCI_IsDeviceConnected(&device), DCCI_FALSE);
}

TEST_F(DeviceControlClientTest, DeviceInfoNamesThePortsAndAsksForWatchingAtByte252)
{
    FakeKeyboard keyboard("MIDIIN4 (Vantor)", "MIDIOUT4 (Vantor)");
    ASSERT_TRUE(keyboard.IsReady());
    ASSERT_EQ(WaitForDeviceCount(1).devices.size(), 1u);

    DCCI_DeviceInfo info;
    std::memset(&info, 0xAB, sizeof(info));
    const DCCI_Value device = AsValue(Keyboard());
    ASSERT_EQ(api_->DCCI_GetDeviceInfo(&device, &info), DCCI_OK);
    EXPECT_STREQ(info.maker, DCCI_KEYBOARD_MAKER);
    EXPECT_STREQ(info.product, DCCI_KEYBOARD_PRODUCT);
    EXPECT_NE(std::string(info.inputPort).find("MIDIIN4 (Vantor)"), std::string::npos) << info.inputPort;
    EXPECT_NE(std::string(info.outputPort).find("MIDIOUT4 (Vantor)"), std::string::npos) << info.outputPort;
    EXPECT_EQ(info.present, 1);
    EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(&info)[252], 1);

    const Record::Bytes other = Record::String("another device");
    const DCCI_Value otherDevice = AsValue(other);
    EXPECT_EQ(api_->DCCI_GetDeviceInfo(&otherDevice, &info), DCCI_E_INVALIDARG);
    EXPECT_EQ(api_->DCCI_GetDeviceInfo(&device, nullptr), DCCI_E_INVALIDARG);
}

TEST_F(DeviceControlClientTest, DeviceListIsEmptyNotAFailureWhenTheMidiSystemCannotBeReached)
{
    api_->DCCI_ReleaseAll();
    const char* server = std::getenv("JACK_DEFAULT_SERVER");
    const std::string saved = server != nullptr ? server : "";
    ::setenv("JACK_DEFAULT_SERVER", "kr-no-such-server", 1);
    const DeviceList list = FindDevices();
    // The probes were made against the missing server: let them go before going on.
    api_->DCCI_ReleaseAll();
    if (server != nullptr)
    {
        ::setenv("JACK_DEFAULT_SERVER", saved.c_str(), 1);
    }
    else
    {
        ::unsetenv("JACK_DEFAULT_SERVER");
    }
    EXPECT_EQ(list.result, DCCI_LIST_COMPLETE);
    EXPECT_TRUE(list.devices.empty());
}

TEST_F(DeviceControlClientTest, ConnectsOnlyToThePresentKeyboardOrToNoDevice)
{
    const Record::Bytes none = Record::Empty();
    const DCCI_Value noDevice = AsValue(none);
    const DCCI_Value keyboardDevice = AsValue(Keyboard());
    const Record::Bytes other = Record::String("another device");
    const DCCI_Value otherDevice = AsValue(other);

    ASSERT_EQ(WaitForDeviceCount(0).devices.size(), 0u);
    EXPECT_EQ(api_->DCCI_ConnectDevice(&keyboardDevice, nullptr, nullptr), DCCI_E_FAIL);
    EXPECT_EQ(api_->DCCI_ConnectDevice(&otherDevice, nullptr, nullptr), DCCI_E_INVALIDARG);
    EXPECT_EQ(api_->DCCI_ConnectDevice(&noDevice, nullptr, nullptr), DCCI_OK);
    EXPECT_EQ(api_->DCCI_DisconnectDevice(&keyboardDevice), DCCI_FALSE);
    EXPECT_EQ(api_->DCCI_DisconnectDevice(&noDevice), DCCI_OK);
    EXPECT_EQ(api_->DCCI_DisconnectDevice(&noDevice), DCCI_FALSE);

    FakeKeyboard keyboard("MIDIIN4 (Vantor)", "MIDIOUT4 (Vantor)");
    ASSERT_TRUE(keyboard.IsReady());
    ASSERT_EQ(WaitForDeviceCount(1).devices.size(), 1u);
    EXPECT_EQ(api_->DCCI_ConnectDevice(&keyboardDevice, nullptr, nullptr), DCCI_OK);
    EXPECT_EQ(api_->DCCI_DisconnectDevice(&keyboardDevice), DCCI_OK);
}

TEST_F(DeviceControlClientTest, AnswersReservedIdsAndAcceptsButCarriesNoPresetValues)
{
    const DCCI_Value device = AsValue(Keyboard());
    const Record::Bytes empty = Record::Empty();
    std::vector<std::uint8_t> bytes(256);
    DCCI_ValueBuffer out{bytes.data(), static_cast<std::uint32_t>(bytes.size()), 0};

    auto get = [&](std::int32_t id)
    {
        const DCCI_ParamDescriptor descriptor{id, AsValue(empty)};
        const std::int32_t result = api_->DCCI_GetParamValue(&device, &descriptor, &out);
        return std::make_pair(result, result == DCCI_OK ? KRTest::ReadWhole(bytes.data(), out.size)
                                                        : KRTest::ReadRecord{});
    };
    EXPECT_EQ(KRTest::ReadString(get(DCCI_PARAM_MAKER).second), DCCI_KEYBOARD_MAKER);
    EXPECT_EQ(KRTest::ReadString(get(DCCI_PARAM_PRODUCT).second), DCCI_KEYBOARD_PRODUCT);
    EXPECT_EQ(KRTest::ReadString(get(DCCI_PARAM_DEVICE_TEXT).second), DCCI_KEYBOARD_NAME);
    const auto connected = get(DCCI_PARAM_CONNECTED);
    EXPECT_EQ(connected.first, DCCI_OK);
    EXPECT_EQ(connected.second.type, DCCI_TYPE_BOOL);
    EXPECT_EQ(get(5).first, DCCI_E_NOTIMPL);

    // Too small a buffer tells the size it needs.
    DCCI_ValueBuffer small{bytes.data(), 4, 0};
    const DCCI_ParamDescriptor maker{DCCI_PARAM_MAKER, AsValue(empty)};
    EXPECT_EQ(api_->DCCI_GetParamValue(&device, &maker, &small), DCCI_BUFFER_TOO_SMALL);
    EXPECT_EQ(small.size, Record::String(DCCI_KEYBOARD_MAKER).size());

    // Writes and requests are dropped without a failure, so editing works alike
    // with and without a keyboard.
    const Record::Bytes value = Record::Int32(7);
    const DCCI_Value valueRecord = AsValue(value);
    const DCCI_ParamDescriptor pad{9, AsValue(empty)};
    EXPECT_EQ(api_->DCCI_SetParamValue(&device, &pad, &valueRecord), DCCI_OK);
    EXPECT_EQ(api_->DCCI_SetParamValues(&device, &valueRecord), DCCI_OK);
    EXPECT_EQ(api_->DCCI_RequestParamRanges(&device, &valueRecord), DCCI_OK);
    EXPECT_EQ(api_->DCCI_RequestParamValues(&device, &valueRecord), DCCI_OK);
    EXPECT_EQ(api_->DCCI_GetParamValues(&device, &valueRecord, &out), DCCI_E_NOTIMPL);
    EXPECT_EQ(api_->DCCI_GetParamRanges(&device, &valueRecord, &out), DCCI_E_NOTIMPL);
}

TEST_F(DeviceControlClientTest, RefusesRecordsThatAreNotOneWholeVariant)
{
    const std::vector<std::pair<const char*, Record::Bytes>> bad = {
        {"too short", {8, 0, 0, 0, 0, 0, 0, 0}},
        {"length beyond the bytes", {40, 0, 0, 0, 0, 0, 0, 0, 9, 0, 0, 0, 'a', 0}},
        {"length short of the bytes", {12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
        {"reserved word set", {12, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}},
        {"unknown type", {12, 0, 0, 0, 0, 0, 0, 0, 11, 0, 0, 0}},
    };
    DCCI_DeviceInfo info{};
    for (const auto& [what, bytes] : bad)
    {
        const DCCI_Value device = AsValue(bytes);
        EXPECT_EQ(api_->DCCI_ConnectDevice(&device, nullptr, nullptr), DCCI_E_INVALIDARG) << what;
        EXPECT_EQ(api_->DCCI_DisconnectDevice(&device), DCCI_E_INVALIDARG) << what;
        EXPECT_EQ(api_->DCCI_GetDeviceInfo(&device, &info), DCCI_E_INVALIDARG) << what;
        EXPECT_EQ(api_->DCCI_SetParamValues(&device, &device), DCCI_E_INVALIDARG) << what;
    }
    const DCCI_Value noData{nullptr, 12};
    EXPECT_EQ(api_->DCCI_IsDeviceConnected(&noData), DCCI_E_INVALIDARG);
    EXPECT_EQ(api_->DCCI_IsDeviceConnected(nullptr), DCCI_E_INVALIDARG);
    EXPECT_EQ(api_->DCCI_FindRemoteDevices(nullptr, 1, nullptr, 1), DCCI_E_INVALIDARG);
}

TEST_F(DeviceControlClientTest, FilterOfAnotherDeviceClassFindsNothing)
{
    FakeKeyboard keyboard("MIDIIN4 (Vantor)", "MIDIOUT4 (Vantor)");
    ASSERT_TRUE(keyboard.IsReady());
    ASSERT_EQ(WaitForDeviceCount(1).devices.size(), 1u);

    std::vector<std::uint8_t> bytes(256);
    DCCI_ValueBuffer buffer{bytes.data(), static_cast<std::uint32_t>(bytes.size()), 0};
    const DCCI_Guid keyboardClass = DCCI_KEYBOARD_CLASS_GUID_INIT;
    const DCCI_Guid otherClass{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    const DCCI_Guid both[] = {otherClass, keyboardClass};

    ASSERT_EQ(api_->DCCI_FindRemoteDevices(&otherClass, 1, &buffer, 1), DCCI_LIST_COMPLETE);
    EXPECT_EQ(buffer.size, DCCI_RECORD_HEADER_SIZE);
    ASSERT_EQ(api_->DCCI_FindRemoteDevices(both, 2, &buffer, 1), DCCI_LIST_COMPLETE);
    EXPECT_EQ(KRTest::SplitRecords(KRTest::ReadWhole(bytes.data(), buffer.size).payload).size(), 1u);
    ASSERT_EQ(api_->DCCI_FindDevices(&keyboardClass, 1, &buffer), DCCI_LIST_COMPLETE);
    EXPECT_EQ(KRTest::SplitRecords(KRTest::ReadWhole(bytes.data(), buffer.size).payload).size(), 1u);
}

TEST_F(DeviceControlClientTest, ListsFromSeveralThreadsAtOnceShareTheProbes)
{
    FakeKeyboard keyboard("MIDIIN4 (Vantor)", "MIDIOUT4 (Vantor)");
    ASSERT_TRUE(keyboard.IsReady());
    ASSERT_EQ(WaitForDeviceCount(1).devices.size(), 1u);

    std::vector<std::thread> threads;
    std::vector<int> wrong(4, 0);
    for (std::size_t t = 0; t < wrong.size(); ++t)
    {
        threads.emplace_back(
            [t, &wrong]
            {
                for (int i = 0; i < 50; ++i)
                {
                    const DeviceList list = FindDevices();
                    wrong[t] += list.result != DCCI_LIST_COMPLETE || list.devices.size() != 1 ? 1 : 0;
                }
            });
    }
    for (std::thread& thread : threads)
    {
        thread.join();
    }
    EXPECT_EQ(wrong, std::vector<int>(4, 0));
}

} // namespace
