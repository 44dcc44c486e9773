#include "rtas/library/CSetStatistics.h"

namespace {

// Main thread only, like the sets themselves.
int32_t gLiveSets = 0;
int32_t gMaxSets = 0;

}  // namespace

namespace CSetStatistics {

int32_t GetLiveSetCount() { return gLiveSets; }
int32_t GetMaxSetCount() { return gMaxSets; }
const char* GetMaxSetCountName() { return "Maximum # of CSet<T>"; }
void ResetMaxSetCount() { gMaxSets = 0; }

void NoteSetMade() {
  if (++gLiveSets > gMaxSets) gMaxSets = gLiveSets;
}

void NoteSetDestroyed() { --gLiveSets; }

}  // namespace CSetStatistics
