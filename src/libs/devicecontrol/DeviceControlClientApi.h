#pragma once
/*
 * C interface of the device-control library, libDeviceControlClient.so.
 *
 * The program loads the library at run time (dlopen) from its own folder and looks
 * up the 14 entry points by name (DCCI_FOR_EACH_ENTRY_POINT). This header is shared
 * by the library and its caller, and by any library that stands in for it.
 *
 * The keyboard
 *   The library knows one device, the keyboard. It is present exactly while both a
 *   MIDI input port and a MIDI output port go by DCCI_KEYBOARD_INPUT_PORT and
 *   DCCI_KEYBOARD_OUTPUT_PORT, letter case ignored: a port whose name contains the
 *   name, or else the keyboard's fourth port of that direction by its Linux names (the
 *   fourth port whose name contains "Vantor").
 *   Ports are looked up on ALSA, or on JACK when the environment holds
 *   KR_MIDI_API=jack. Nothing attached is not a failure: the device list is then
 *   empty and the result still DCCI_OK.
 *
 * Parameter values
 *   Presets travel between the editor and the keyboard as system-exclusive messages
 *   through the MIDI ports, not through this library. It never delivers parameter
 *   values, so the delivery callback given to DCCI_ConnectDevice is not called.
 *   Parameter writes and requests are accepted and dropped (DCCI_OK), so that the
 *   editor works alike with and without a keyboard; reads answer only the reserved
 *   ids below and DCCI_E_NOTIMPL for every other id.
 *     DCCI_PARAM_CONNECTED (-2)  bool: the keyboard is present now
 *     DCCI_PARAM_DEVICE_TEXT (-8) string: DCCI_KEYBOARD_NAME
 *     DCCI_PARAM_MAKER (-9)      string: DCCI_KEYBOARD_MAKER
 *     DCCI_PARAM_PRODUCT (-10)   string: DCCI_KEYBOARD_PRODUCT
 *
 * Values
 *   Values, device identities and lists cross this interface in the serialised
 *   record form of the program's variant: little-endian u32 total length (12 + L),
 *   u32 0, u32 type code (0 empty, 1 bool, 2 int32, 3 int64, 4 float, 5 double,
 *   8 bytes, 9 zero-terminated UTF-8 string, 10 array), then L payload bytes; an
 *   array's payload is its element records end to end. A device is identified by
 *   a record; the keyboard's is the string record of DCCI_KEYBOARD_NAME. A device
 *   list is an array record with one device record per element.
 *
 *   Inputs are DCCI_Value (bytes and their count, one whole record). Outputs go into
 *   the caller's DCCI_ValueBuffer: on return `size` holds the record's length; when
 *   that exceeds `capacity` the result is DCCI_BUFFER_TOO_SMALL and the caller asks
 *   again with a larger buffer.
 *
 * Threads
 *   Every entry point may be called from any thread. A delivery callback runs on a
 *   thread of the library; none runs any more once DCCI_DisconnectDevice or
 *   DCCI_ReleaseAll has returned, so a callback must not call either of them.
 */

#include <stdint.h>

#ifdef __cplusplus
extern "C"
{
#endif

#if defined(DCCI_BUILDING_LIBRARY)
#define DCCI_API __attribute__((visibility("default")))
#else
#define DCCI_API
#endif

/* The file name under which the program finds the library in its own folder. */
#define DCCI_LIBRARY_FILE_NAME "libDeviceControlClient.so"

#define DCCI_KEYBOARD_INPUT_PORT "MIDIIN4 (Vantor)"
#define DCCI_KEYBOARD_OUTPUT_PORT "MIDIOUT4 (Vantor)"
#define DCCI_KEYBOARD_MAKER "Tarsil"
#define DCCI_KEYBOARD_PRODUCT "Vantor"
#define DCCI_KEYBOARD_NAME "Tarsil Vantor"
/* The keyboard's device class, for the filters of the device searches. */
#define DCCI_KEYBOARD_CLASS_GUID_INIT                                                                        \
    {                                                                                                        \
        0x56414E54u, 0x4F52u, 0x0004u,                                                                       \
        {                                                                                                    \
            0x4B, 0x52, 0x4D, 0x49, 0x44, 0x49, 0x00, 0x01                                                   \
        }                                                                                                    \
    }

#define DCCI_PARAM_CONNECTED (-2)
#define DCCI_PARAM_DEVICE_TEXT (-8)
#define DCCI_PARAM_MAKER (-9)
#define DCCI_PARAM_PRODUCT (-10)

#define DCCI_OK 0
/* DCCI_IsDeviceConnected: the device is not connected. */
#define DCCI_FALSE 1
/* DCCI_FindRemoteDevices with fullList 1: the list holds every device there is. */
#define DCCI_LIST_COMPLETE 1
#define DCCI_BUFFER_TOO_SMALL (-2)
#define DCCI_E_NOTIMPL ((int32_t)0x80004001)
#define DCCI_E_FAIL ((int32_t)0x80004005)
#define DCCI_E_INVALIDARG ((int32_t)0x80070057)

/* Variant record types used by the library. */
#define DCCI_TYPE_EMPTY 0u
#define DCCI_TYPE_BOOL 1u
#define DCCI_TYPE_INT32 2u
#define DCCI_TYPE_STRING 9u
#define DCCI_TYPE_ARRAY 10u
#define DCCI_RECORD_HEADER_SIZE 12u

    typedef struct DCCI_Value
    {
        const uint8_t* data;
        uint32_t size;
    } DCCI_Value;

    typedef struct DCCI_ValueBuffer
    {
        uint8_t* data;
        uint32_t capacity;
        uint32_t size;
    } DCCI_ValueBuffer;

    typedef struct DCCI_Guid
    {
        uint32_t data1;
        uint16_t data2;
        uint16_t data3;
        uint8_t data4[8];
    } DCCI_Guid;

    /* A parameter id and the part of the parameter meant (an empty record: all of it). */
    typedef struct DCCI_ParamDescriptor
    {
        int32_t id;
        DCCI_Value selector;
    } DCCI_ParamDescriptor;

    /* What DCCI_GetDeviceInfo fills in: 256 bytes, texts zero-terminated UTF-8. */
    typedef struct DCCI_DeviceInfo
    {
        char maker[64];      /* offset 0 */
        char product[64];    /* offset 64 */
        char inputPort[60];  /* offset 128: the keyboard's input port, when present */
        char outputPort[60]; /* offset 188: its output port, when present */
        uint8_t present;     /* offset 248: non-zero while both ports exist */
        uint8_t reserved1[3];
        uint8_t watch; /* offset 252: non-zero: watch this device's connection */
        uint8_t reserved2[3];
    } DCCI_DeviceInfo;

    /* context as given to DCCI_ConnectDevice; sequence counts the connection's
     * deliveries from 0; values is a parameter-value list record, valid during the call. */
    typedef void (*DCCI_DeliveryCallback)(void* context, uint32_t sequence, const DCCI_Value* values);

    /* Every device; the same as DCCI_FindRemoteDevices with fullList 1. */
    DCCI_API int32_t DCCI_FindDevices(const DCCI_Guid* filter, uint32_t filterCount,
                                      DCCI_ValueBuffer* devices);
    /* The devices of the classes in filter (all classes when filterCount is 0), as a
     * list record. DCCI_OK, or DCCI_LIST_COMPLETE when fullList is 1. */
    DCCI_API int32_t DCCI_FindRemoteDevices(const DCCI_Guid* filter, uint32_t filterCount,
                                            DCCI_ValueBuffer* devices, int32_t fullList);
    /* Opens a connection to the device (the keyboard, present; or the empty record,
     * a connection to no device) and keeps the callback for its deliveries. A new
     * connection ends the previous one. */
    DCCI_API int32_t DCCI_ConnectDevice(const DCCI_Value* device, DCCI_DeliveryCallback callback,
                                        void* context);
    DCCI_API int32_t DCCI_RequestParamRanges(const DCCI_Value* device, const DCCI_Value* ranges);
    DCCI_API int32_t DCCI_RequestParamValues(const DCCI_Value* device, const DCCI_Value* descriptors);
    DCCI_API int32_t DCCI_GetParamRanges(const DCCI_Value* device, const DCCI_Value* request,
                                         DCCI_ValueBuffer* ranges);
    DCCI_API int32_t DCCI_GetParamValues(const DCCI_Value* device, const DCCI_Value* descriptors,
                                         DCCI_ValueBuffer* values);
    DCCI_API int32_t DCCI_GetParamValue(const DCCI_Value* device, const DCCI_ParamDescriptor* descriptor,
                                        DCCI_ValueBuffer* value);
    DCCI_API int32_t DCCI_SetParamValue(const DCCI_Value* device, const DCCI_ParamDescriptor* descriptor,
                                        const DCCI_Value* value);
    DCCI_API int32_t DCCI_SetParamValues(const DCCI_Value* device, const DCCI_Value* values);
    /* DCCI_OK when the device is the keyboard and it is present, else DCCI_FALSE. */
    DCCI_API int32_t DCCI_IsDeviceConnected(const DCCI_Value* device);
    /* Ends the connection to the device: DCCI_OK, or DCCI_FALSE when it had none. */
    DCCI_API int32_t DCCI_DisconnectDevice(const DCCI_Value* device);
    /* Fills the record for the keyboard; DCCI_E_INVALIDARG for any other device. */
    DCCI_API int32_t DCCI_GetDeviceInfo(const DCCI_Value* device, DCCI_DeviceInfo* info);
    /* Ends every connection and lets go of the MIDI system; called before unloading. */
    DCCI_API int32_t DCCI_ReleaseAll(void);

    typedef int32_t (*PFN_DCCI_FindDevices)(const DCCI_Guid*, uint32_t, DCCI_ValueBuffer*);
    typedef int32_t (*PFN_DCCI_FindRemoteDevices)(const DCCI_Guid*, uint32_t, DCCI_ValueBuffer*, int32_t);
    typedef int32_t (*PFN_DCCI_ConnectDevice)(const DCCI_Value*, DCCI_DeliveryCallback, void*);
    typedef int32_t (*PFN_DCCI_RequestParamRanges)(const DCCI_Value*, const DCCI_Value*);
    typedef int32_t (*PFN_DCCI_RequestParamValues)(const DCCI_Value*, const DCCI_Value*);
    typedef int32_t (*PFN_DCCI_GetParamRanges)(const DCCI_Value*, const DCCI_Value*, DCCI_ValueBuffer*);
    typedef int32_t (*PFN_DCCI_GetParamValues)(const DCCI_Value*, const DCCI_Value*, DCCI_ValueBuffer*);
    typedef int32_t (*PFN_DCCI_GetParamValue)(const DCCI_Value*, const DCCI_ParamDescriptor*,
                                              DCCI_ValueBuffer*);
    typedef int32_t (*PFN_DCCI_SetParamValue)(const DCCI_Value*, const DCCI_ParamDescriptor*,
                                              const DCCI_Value*);
    typedef int32_t (*PFN_DCCI_SetParamValues)(const DCCI_Value*, const DCCI_Value*);
    typedef int32_t (*PFN_DCCI_IsDeviceConnected)(const DCCI_Value*);
    typedef int32_t (*PFN_DCCI_DisconnectDevice)(const DCCI_Value*);
    typedef int32_t (*PFN_DCCI_GetDeviceInfo)(const DCCI_Value*, DCCI_DeviceInfo*);
    typedef int32_t (*PFN_DCCI_ReleaseAll)(void);

/* The 14 entry points, in the order of the caller's wrapper slots, DCCI_ReleaseAll
 * (called on unloading) last. */
#define DCCI_FOR_EACH_ENTRY_POINT(X)                                                                         \
    X(DCCI_FindDevices)                                                                                      \
    X(DCCI_FindRemoteDevices)                                                                                \
    X(DCCI_ConnectDevice)                                                                                    \
    X(DCCI_RequestParamRanges)                                                                               \
    X(DCCI_RequestParamValues)                                                                               \
    X(DCCI_GetParamRanges)                                                                                   \
    X(DCCI_GetParamValues)                                                                                   \
    X(DCCI_GetParamValue)                                                                                    \
    X(DCCI_SetParamValue)                                                                                    \
    X(DCCI_SetParamValues)                                                                                   \
    X(DCCI_IsDeviceConnected)                                                                                \
    X(DCCI_DisconnectDevice)                                                                                 \
    X(DCCI_GetDeviceInfo)                                                                                    \
    X(DCCI_ReleaseAll)

#ifdef __cplusplus
}
#endif
