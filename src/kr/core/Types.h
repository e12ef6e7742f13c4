#pragma once
// Basic types shared by every part of the framework.

#include <cstdint>

namespace KR
{

// Operations return 32-bit result codes: 0 for success, negative for failure.
using Result = std::int32_t;

inline constexpr Result kOk = 0;
// Nothing was done (nobody listens, already registered, not registered).
inline constexpr Result kNothingDone = 1;
inline constexpr Result kFail = static_cast<Result>(0x80004005u);
inline constexpr Result kInvalidArg = static_cast<Result>(0x80070057u);

inline constexpr bool Succeeded(Result r) { return r >= 0; }
inline constexpr bool Failed(Result r) { return r < 0; }

// Interned notification ids are pointer-sized so they can travel wherever a
// pointer-sized value does.
using NotificationID = std::intptr_t;

// Waits take milliseconds; this value waits forever.
inline constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;
inline constexpr std::uint32_t kWaitObject0 = 0;
inline constexpr std::uint32_t kWaitTimeout = 258;
inline constexpr std::uint32_t kWaitFailed = 0xFFFFFFFFu;

} // namespace KR
