#pragma once

#include "framework/containers/WDL_String.h"

// One label of a frequency guide: a piano key (with the key's drawn edges)
// or a named range of an instrument or of the audio band.
struct CheatSheetEntry {
  WDL_String name;       // "C#0/Db0", or "SUB BASS"
  WDL_String shortName;  // empty for keys; "SB" for a range
  double lowHz = 0.0;    // a key: a quarter tone below its centre
  double highHz = 0.0;   // a key: a quarter tone above its centre
  bool visible = true;
  double centreHz = 0.0;  // the note's frequency; 0 for a range
  bool isKey = false;
  bool isBlackKey = false;
  // The key as drawn: white keys share their octave equally on the log
  // scale, black keys straddle the boundary of their white neighbours.
  double keyLowHz = 0.0;
  double keyHighHz = 0.0;
};
