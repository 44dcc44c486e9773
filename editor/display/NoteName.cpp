#include "editor/display/NoteName.h"

#include <cmath>
#include <cstdio>

#include "framework/Utilities.h"

namespace {

// By semitones above A; each takes the octave digit.
const char* const kNoteFormats[12] = {"A %d", "A#%d", "B %d", "C %d", "C#%d", "D %d",
                                      "D#%d", "E %d", "F %d", "F#%d", "G %d", "G#%d"};

constexpr double kLog10Of440 = 2.6434526764861874;
constexpr double kLog10Of2 = 0.3010299956639812;

}  // namespace

const char* FrequencyToNoteName(char* note, char* cents, int* octave, double f) {
  CopyText(note, kNoteNameSize, "---");
  CopyText(cents, kNoteNameSize, "---");
  *octave = 0;
  if (!(f >= 10.0 && f <= 20000.0)) return note;

  // Octaves above the A of octave 0, and cents above the A below f.
  const double x = (std::log10(f) - kLog10Of440) / kLog10Of2 + 4.0;
  const int o = static_cast<int>(std::floor(x));
  const double c = (x - o) * 1200.0;
  int semitone = 0;
  double deviation = c;
  int noteOctave = o;
  if (c >= 1150.0) {
    noteOctave = o + 1;
    deviation = c - 1200.0;
  } else if (c >= 50.0) {
    semitone = static_cast<int>(std::floor(c / 100.0 + 0.5));
    deviation = c - 100.0 * semitone;
    // A# and B belong to the A's octave; C and above to the next.
    if (semitone >= 3) noteOctave = o + 1;
  }
  // Formatted wide, then cut to the caller's buffers (octaves stay below 11).
  char text[32];
  std::snprintf(text, sizeof text, kNoteFormats[semitone], noteOctave);
  CopyText(note, kNoteNameSize, text);
  *octave = noteOctave;

  // Deviations below ten cents keep a blank in place of a second digit.
  const int r = static_cast<int>(std::floor(deviation + 0.5));
  if (r < 0 && r > -10) std::snprintf(text, sizeof text, " %dC", r);
  else if (r <= -10) std::snprintf(text, sizeof text, "%dC", r);
  else if (r == 0) std::snprintf(text, sizeof text, " +0C");
  else if (r < 10) std::snprintf(text, sizeof text, " +%dC", r);
  else std::snprintf(text, sizeof text, "+%dC", r);
  CopyText(cents, kNoteNameSize, text);
  return note;
}
