#pragma once
// The machine's sleep and wake-up, as the windows hear of them: every window gets
// WM_POWERBROADCAST with PBT_APMSUSPEND before the machine sleeps and PBT_APMRESUMEAUTOMATIC
// once it is awake again. The news comes from the login manager on the system bus
// ("PrepareForSleep"); without a system bus or a login manager the windows simply hear
// nothing.
//
//     KR::Platform::InitializeWindowSystem(); // starts listening
//     ... a window procedure:  case WM_POWERBROADCAST: repaint after PBT_APMRESUMEAUTOMATIC
//
// UI thread only.

namespace KR::Platform
{

// Starts listening, once per process; the window system does it when it starts.
void WatchPowerEvents();
// Whether the listener is in place on the bus, so that a sleep announced from now on is
// heard.
bool IsWatchingPowerEvents();

} // namespace KR::Platform
