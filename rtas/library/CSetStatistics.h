#pragma once

#include <cstdint>

// Two process-wide figures over every CSet, whatever it holds: how many
// are alive, and the most that were alive at one time. The mark is only
// recorded; nothing limits the number of sets.
namespace CSetStatistics {

int32_t GetLiveSetCount();
int32_t GetMaxSetCount();
// "Maximum # of CSet<T>"
const char* GetMaxSetCountName();
// When the bundle is unloaded.
void ResetMaxSetCount();

void NoteSetMade();
void NoteSetDestroyed();

}  // namespace CSetStatistics
