#include "editor/display/NoteName.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

// A frequency so many cents away from the note with this many semitones
// above (or below) A4 = 440 Hz.
double Hz(int semitonesFromA4, double cents = 0.0) {
  return 440.0 * std::pow(2.0, (semitonesFromA4 * 100.0 + cents) / 1200.0);
}

TEST(FrequencyToNoteName, NearestNoteOctaveAndCents) {
  const struct {
    double f;
    const char* note;
    int octave;
    const char* cents;
  } rows[] = {
      {440.0, "A 4", 4, " +0C"},
      {261.6, "C 4", 4, " +0C"},      // octave numbers change at C
      {1000.0, "B 5", 5, "+21C"},     // 1200 log2(1000 / 987.77) = 21.3 cents
      {Hz(-1), "G#4", 4, " +0C"},     // the G# just below A4
      {Hz(2), "B 4", 4, " +0C"},
      {Hz(3), "C 5", 5, " +0C"},
      {Hz(1), "A#4", 4, " +0C"},
      {Hz(0, 49.0), "A 4", 4, "+49C"},
      {Hz(0, 50.0), "A#4", 4, "-50C"},  // half-way rounds up to the next note
      {Hz(0, 7.0), "A 4", 4, " +7C"},
      {Hz(0, -5.0), "A 4", 4, " -5C"},
      {Hz(0, -40.0), "A 4", 4, "-40C"},  // 1160 cents above A3
      {Hz(4, 10.0), "C#5", 5, "+10C"},
      {Hz(-12 * 4 - 9, 0.0), "C 0", 0, " +0C"},
      {10.0, "D#-1", -1, "+49C"},  // 48.7 cents above D#-1 = 13.75 Hz / sqrt(2)
      {20000.0, "D#10", 10, " +8C"},  // D#10 = 440 * 2^5.5 Hz
  };
  for (const auto& r : rows) {
    char note[kNoteNameSize], cents[kNoteNameSize];
    int octave = 99;
    EXPECT_EQ(FrequencyToNoteName(note, cents, &octave, r.f), note);
    EXPECT_STREQ(note, r.note) << r.f;
    EXPECT_STREQ(cents, r.cents) << r.f;
    EXPECT_EQ(octave, r.octave) << r.f;
  }
}

TEST(FrequencyToNoteName, OutsideTheAudioBandGivesDashes) {
  for (double f : {9.99, 20000.5, 0.0, -440.0, std::nan("")}) {
    char note[kNoteNameSize], cents[kNoteNameSize];
    int octave = 7;
    FrequencyToNoteName(note, cents, &octave, f);
    EXPECT_STREQ(note, "---") << f;
    EXPECT_STREQ(cents, "---") << f;
    EXPECT_EQ(octave, 0) << f;
  }
}

}  // namespace
