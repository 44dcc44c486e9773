#pragma once

// The musical note nearest to f with its octave (equal temperament, A4 =
// 440 Hz, octave numbers changing at C) and the deviation in cents:
// note "A 4", "C#5"; cents " +0C", " -7C", "+49C", "-50C". Outside
// 10..20000 Hz both texts are "---" and the octave 0. Both buffers hold at
// least kNoteNameSize characters. Returns note.
constexpr int kNoteNameSize = 10;

const char* FrequencyToNoteName(char* note, char* cents, int* octave, double f);
