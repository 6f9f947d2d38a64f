#pragma once
// Waiting while the window stays alive: a nested event loop that lets pending window events,
// timers and received MIDI messages run, and returns when the condition holds, the time-out
// passes, or the program is closing. Never a busy spin: it sleeps in the event loop between
// events and re-tests the condition after each one.

#include <functional>

namespace plat {

enum class WaitResult { Done, TimedOut, Closing };

// timeoutMs < 0: no time-out; 0: test the condition once. The time-out is used as given: reply
// time-outs pass ScaledTimeout(ms). The condition is tested once more before a time-out counts.
// The condition runs on the waiting thread; an exception it throws ends the wait and is rethrown.
WaitResult WaitUntil(const std::function<bool()>& condition, int timeoutMs = -1);

// Every running and future wait ends with Closing once this is called (the main window's close).
void RequestWaitsEnd();
bool WaitsEnding();
void ResetWaitsEnding();  // a new program object in tests

// Test hook: every reply time-out the program arms is multiplied by this factor (default 1.0;
// TAVORO_TIMEOUT_SCALE sets it at start). Tests use e.g. 0.01 so 5000 ms becomes 50 ms.
double TimeoutScale();
void SetTimeoutScale(double factor);
int ScaledTimeout(int ms);

}  // namespace plat
