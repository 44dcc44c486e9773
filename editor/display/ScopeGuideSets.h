#pragma once

#include "editor/display/CheatSheetSet.h"
#include "framework/containers/WDL_PtrList.h"

// The fourteen frequency-guide sets that "EQ Cheat Sheet" chooses from:
// the piano keyboard first ("Piano Keys" is choice 1, set 0), then the
// thirteen range tables. Appended to sets, which owns them.
void BuildGuideSets(WDL_PtrList<CheatSheetSet>& sets);

// The 108 keys C0 .. B8, octave by octave: the seven white keys, then the
// five black ones.
void AddPianoKeys(CheatSheetSet& set);
