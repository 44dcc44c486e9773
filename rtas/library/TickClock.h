#pragma once

#include <cstdint>

// The system tick count (1/60 s) the library stamps, waits and polls
// with. Classes that wait on it take a clock of their own so a test can
// step time instead of sleeping.
using TickClock = uint32_t (*)();

// Ticks of a steady clock; wraps after about 2.3 years.
uint32_t SystemTickCount();

// Whether `now` has reached `deadline`, across a wrap of the counter.
inline bool TickReached(uint32_t now, uint32_t deadline) { return static_cast<int32_t>(now - deadline) >= 0; }
