#pragma once
// What the stand-in device-control library (libDeviceControlClientStandIn.so)
// delivers, so that tests of its callers can check it. It speaks the interface of
// libs/devicecontrol/DeviceControlClientApi.h.
//
// DCCI_ConnectDevice accepts any device and starts one thread of the library that
// calls the delivery callback kStandInDeliveryCount times and then ends. Delivery n
// (from 0) has sequence n and carries a parameter-value list of one entry:
//   value int32 n, id kStandInFirstParamId + n, empty selector.
// DCCI_DisconnectDevice and DCCI_ReleaseAll stop the deliveries and wait for the
// thread, so none runs after they return. The device list always holds one device,
// the string record of kStandInDeviceName.

#include <cstdint>

namespace StandIn
{

inline constexpr char kLibraryFileName[] = "libDeviceControlClientStandIn.so";
inline constexpr char kStandInDeviceName[] = "Stand-in device";
inline constexpr std::uint32_t kStandInDeliveryCount = 100;
inline constexpr std::int32_t kStandInFirstParamId = 1000;

} // namespace StandIn
