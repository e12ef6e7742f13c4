// The library's C entry points. It knows one device, the keyboard, present while
// its two MIDI ports exist; it keeps the caller's one connection and answers the
// reserved parameter ids, and carries no preset values (those travel by
// system-exclusive messages through the MIDI ports).

#include "libs/devicecontrol/DeviceControlClientApi.h"

#include "libs/devicecontrol/KeyboardPorts.h"
#include "libs/devicecontrol/VariantRecord.h"

#include <cstddef>
#include <cstring>
#include <mutex>
#include <optional>
#include <string_view>

static_assert(offsetof(DCCI_DeviceInfo, watch) == 252, "callers read the watch flag at byte 252");
static_assert(sizeof(DCCI_DeviceInfo) == 256);

namespace DeviceControl
{
namespace
{

struct Connection
{
    Record::Bytes device;
    DCCI_DeliveryCallback callback = nullptr;
    void* context = nullptr;
};

struct LibraryState
{
    std::mutex lock;
    std::optional<Connection> connection;
};

LibraryState& State()
{
    static LibraryState state;
    return state;
}

const Record::Bytes& KeyboardId()
{
    static const Record::Bytes id = Record::String(DCCI_KEYBOARD_NAME);
    return id;
}

bool IsKeyboard(const DCCI_Value& device)
{
    return Record::Equals(device, KeyboardId());
}

bool IsNoDevice(const DCCI_Value& device)
{
    return Record::Equals(device, Record::Empty());
}

bool FilterTakesKeyboard(const DCCI_Guid* filter, uint32_t filterCount)
{
    if (filterCount == 0)
    {
        return true;
    }
    const DCCI_Guid keyboardClass = DCCI_KEYBOARD_CLASS_GUID_INIT;
    for (uint32_t i = 0; i < filterCount; ++i)
    {
        if (std::memcmp(&filter[i], &keyboardClass, sizeof(DCCI_Guid)) == 0)
        {
            return true;
        }
    }
    return false;
}

// Copies a text into a fixed field, cut at a whole UTF-8 character when too long.
template <std::size_t N>
void CopyText(char (&field)[N], std::string_view text)
{
    std::size_t length = text.size() < N ? text.size() : N - 1;
    if (length < text.size())
    {
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        {
            --length;
        }
    }
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

// Checks the device and each further record argument a call was given.
bool AreWholeRecords(const DCCI_Value* device, std::initializer_list<const DCCI_Value*> others = {})
{
    if (!Record::IsWholeRecord(device))
    {
        return false;
    }
    for (const DCCI_Value* other : others)
    {
        if (!Record::IsWholeRecord(other))
        {
            return false;
        }
    }
    return true;
}

bool IsValidDescriptor(const DCCI_ParamDescriptor* descriptor)
{
    return descriptor != nullptr && Record::IsWholeRecord(&descriptor->selector);
}

} // namespace
} // namespace DeviceControl

namespace Record = DeviceControl::Record;
using DeviceControl::State;

// The entry points keep the C linkage their declarations in the header give them.

DCCI_API int32_t DCCI_FindRemoteDevices(const DCCI_Guid* filter, uint32_t filterCount,
                                        DCCI_ValueBuffer* devices, int32_t fullList)
{
    if (devices == nullptr || (filterCount > 0 && filter == nullptr))
    {
        return DCCI_E_INVALIDARG;
    }
    std::vector<Record::Bytes> found;
    if (DeviceControl::FilterTakesKeyboard(filter, filterCount) && DeviceControl::FindKeyboardPorts())
    {
        found.push_back(DeviceControl::KeyboardId());
    }
    // The ports are listed whole each time, so every list is complete.
    return Record::CopyOut(Record::Array(found), devices, fullList != 0 ? DCCI_LIST_COMPLETE : DCCI_OK);
}

DCCI_API int32_t DCCI_FindDevices(const DCCI_Guid* filter, uint32_t filterCount, DCCI_ValueBuffer* devices)
{
    return DCCI_FindRemoteDevices(filter, filterCount, devices, 1);
}

DCCI_API int32_t DCCI_ConnectDevice(const DCCI_Value* device, DCCI_DeliveryCallback callback, void* context)
{
    if (!DeviceControl::AreWholeRecords(device))
    {
        return DCCI_E_INVALIDARG;
    }
    if (DeviceControl::IsKeyboard(*device))
    {
        if (!DeviceControl::FindKeyboardPorts())
        {
            return DCCI_E_FAIL;
        }
    }
    else if (!DeviceControl::IsNoDevice(*device))
    {
        return DCCI_E_INVALIDARG;
    }
    const std::lock_guard guard(State().lock);
    State().connection = DeviceControl::Connection{Record::Bytes(device->data, device->data + device->size),
                                                   callback, context};
    return DCCI_OK;
}

DCCI_API int32_t DCCI_DisconnectDevice(const DCCI_Value* device)
{
    if (!DeviceControl::AreWholeRecords(device))
    {
        return DCCI_E_INVALIDARG;
    }
    const std::lock_guard guard(State().lock);
    if (!State().connection || !Record::Equals(*device, State().connection->device))
    {
        return DCCI_FALSE;
    }
    State().connection.reset();
    return DCCI_OK;
}

DCCI_API int32_t DCCI_RequestParamRanges(const DCCI_Value* device, const DCCI_Value* ranges)
{
    return DeviceControl::AreWholeRecords(device, {ranges}) ? DCCI_OK : DCCI_E_INVALIDARG;
}

DCCI_API int32_t DCCI_RequestParamValues(const DCCI_Value* device, const DCCI_Value* descriptors)
{
    return DeviceControl::AreWholeRecords(device, {descriptors}) ? DCCI_OK : DCCI_E_INVALIDARG;
}

DCCI_API int32_t DCCI_GetParamRanges(const DCCI_Value* device, const DCCI_Value* request,
                                     DCCI_ValueBuffer* ranges)
{
    if (!DeviceControl::AreWholeRecords(device, {request}) || ranges == nullptr)
    {
        return DCCI_E_INVALIDARG;
    }
    return DCCI_E_NOTIMPL;
}

DCCI_API int32_t DCCI_GetParamValues(const DCCI_Value* device, const DCCI_Value* descriptors,
                                     DCCI_ValueBuffer* values)
{
    if (!DeviceControl::AreWholeRecords(device, {descriptors}) || values == nullptr)
    {
        return DCCI_E_INVALIDARG;
    }
    return DCCI_E_NOTIMPL;
}

DCCI_API int32_t DCCI_GetParamValue(const DCCI_Value* device, const DCCI_ParamDescriptor* descriptor,
                                    DCCI_ValueBuffer* value)
{
    if (!DeviceControl::AreWholeRecords(device) || !DeviceControl::IsValidDescriptor(descriptor) ||
        value == nullptr)
    {
        return DCCI_E_INVALIDARG;
    }
    switch (descriptor->id)
    {
    case DCCI_PARAM_CONNECTED:
        return Record::CopyOut(Record::Bool(DeviceControl::FindKeyboardPorts().has_value()), value);
    case DCCI_PARAM_DEVICE_TEXT:
        return Record::CopyOut(Record::String(DCCI_KEYBOARD_NAME), value);
    case DCCI_PARAM_MAKER:
        return Record::CopyOut(Record::String(DCCI_KEYBOARD_MAKER), value);
    case DCCI_PARAM_PRODUCT:
        return Record::CopyOut(Record::String(DCCI_KEYBOARD_PRODUCT), value);
    default:
        return DCCI_E_NOTIMPL;
    }
}

DCCI_API int32_t DCCI_SetParamValue(const DCCI_Value* device, const DCCI_ParamDescriptor* descriptor,
                                    const DCCI_Value* value)
{
    if (!DeviceControl::AreWholeRecords(device, {value}) || !DeviceControl::IsValidDescriptor(descriptor))
    {
        return DCCI_E_INVALIDARG;
    }
    return DCCI_OK;
}

DCCI_API int32_t DCCI_SetParamValues(const DCCI_Value* device, const DCCI_Value* values)
{
    return DeviceControl::AreWholeRecords(device, {values}) ? DCCI_OK : DCCI_E_INVALIDARG;
}

DCCI_API int32_t DCCI_IsDeviceConnected(const DCCI_Value* device)
{
    if (!DeviceControl::AreWholeRecords(device))
    {
        return DCCI_E_INVALIDARG;
    }
    return DeviceControl::IsKeyboard(*device) && DeviceControl::FindKeyboardPorts() ? DCCI_OK : DCCI_FALSE;
}

DCCI_API int32_t DCCI_GetDeviceInfo(const DCCI_Value* device, DCCI_DeviceInfo* info)
{
    if (info == nullptr || !DeviceControl::AreWholeRecords(device) || !DeviceControl::IsKeyboard(*device))
    {
        return DCCI_E_INVALIDARG;
    }
    std::memset(info, 0, sizeof(*info));
    DeviceControl::CopyText(info->maker, DCCI_KEYBOARD_MAKER);
    DeviceControl::CopyText(info->product, DCCI_KEYBOARD_PRODUCT);
    if (const auto ports = DeviceControl::FindKeyboardPorts())
    {
        info->present = 1;
        DeviceControl::CopyText(info->inputPort, ports->input);
        DeviceControl::CopyText(info->outputPort, ports->output);
    }
    // A USB keyboard comes and goes: its connection is worth watching.
    info->watch = 1;
    return DCCI_OK;
}

DCCI_API int32_t DCCI_ReleaseAll(void)
{
    {
        const std::lock_guard guard(State().lock);
        State().connection.reset();
    }
    return DCCI_OK;
}
