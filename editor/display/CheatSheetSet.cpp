#include "editor/display/CheatSheetSet.h"

void CheatSheetSet::AddPianoKey(const char* keyName, double centreHz, double lowHz, double highHz, double keyLowHz,
                                double keyHighHz, bool isBlackKey) {
  CheatSheetEntry* entry = new CheatSheetEntry;
  entry->name.Set(keyName);
  entry->lowHz = lowHz;
  entry->highHz = highHz;
  entry->centreHz = centreHz;
  entry->isKey = true;
  entry->isBlackKey = isBlackKey;
  entry->keyLowHz = keyLowHz;
  entry->keyHighHz = keyHighHz;
  if (!entries.Add(entry)) delete entry;
}

void CheatSheetSet::AddGuideRange(const char* rangeName, const char* shortRangeName, double lowHz, double highHz) {
  CheatSheetEntry* entry = new CheatSheetEntry;
  entry->name.Set(rangeName);
  entry->shortName.Set(shortRangeName);
  entry->lowHz = lowHz;
  entry->highHz = highHz;
  if (!entries.Add(entry)) delete entry;
}
