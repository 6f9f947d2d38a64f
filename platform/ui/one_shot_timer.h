#pragma once
// One-shot timers with numeric identifiers, standing in for the multimedia timers the lamp code
// was written for: SetEvent arms a timer and returns its id (never 0), KillEvent cancels one
// (unknown or fired ids are ignored). The callback always runs on the UI thread.

#include <cstdint>
#include <functional>

namespace plat {

std::uint32_t TimeSetEvent(int delayMs, std::function<void(std::uint32_t id)> callback);
void TimeKillEvent(std::uint32_t id);

}  // namespace plat
