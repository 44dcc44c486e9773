#include "rtas/library/TickClock.h"

#include <chrono>

uint32_t SystemTickCount() {
  using Ticks = std::chrono::duration<int64_t, std::ratio<1, 60>>;
  return static_cast<uint32_t>(
      std::chrono::duration_cast<Ticks>(std::chrono::steady_clock::now().time_since_epoch()).count());
}
