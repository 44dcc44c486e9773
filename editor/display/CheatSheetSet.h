#pragma once

#include "editor/display/CheatSheetEntry.h"
#include "framework/containers/WDL_PtrList.h"
#include "framework/containers/WDL_String.h"

// A named set of frequency-guide labels, in the order they were added. The
// set owns its entries.
class CheatSheetSet {
 public:
  explicit CheatSheetSet(const char* setName) { name.Set(setName); }
  // Entries go last to first.
  ~CheatSheetSet() { entries.Empty(true); }

  CheatSheetSet(const CheatSheetSet&) = delete;
  CheatSheetSet& operator=(const CheatSheetSet&) = delete;

  void AddPianoKey(const char* keyName, double centreHz, double lowHz, double highHz, double keyLowHz,
                   double keyHighHz, bool isBlackKey);
  void AddGuideRange(const char* rangeName, const char* shortRangeName, double lowHz, double highHz);

  int GetSize() const { return entries.GetSize(); }
  const CheatSheetEntry* Get(int idx) const { return entries.Get(idx); }

  WDL_String name;
  WDL_PtrList<CheatSheetEntry> entries;
};
