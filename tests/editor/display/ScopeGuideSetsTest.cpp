#include "editor/display/ScopeGuideSets.h"

#include <cmath>
#include <memory>
#include <string>

#include <gtest/gtest.h>

namespace {

// Equal temperament from A4 = 440 Hz; C0 is semitone 0, A4 semitone 57.
double NoteHz(int semitone) { return 440.0 * std::pow(2.0, (semitone - 57) / 12.0); }
const double kQuarterTone = std::pow(2.0, 1.0 / 24.0);
// The table keeps hundredths and derives the edges from the printed
// centres, so it strays from the exact values by a few of them.
constexpr double kCentreTolerance = 0.0051;
constexpr double kEdgeTolerance = 0.011;
constexpr double kKeyTolerance = 0.016;

struct GuideSets : ::testing::Test {
  GuideSets() { BuildGuideSets(sets); }
  ~GuideSets() override { sets.Empty(true); }
  const CheatSheetSet& Set(int i) const { return *sets.Get(i); }

  WDL_PtrList<CheatSheetSet> sets;
};

TEST_F(GuideSets, FourteenSetsInTheOrderOfTheCheatSheetChoices) {
  const char* const names[] = {"PianoKeys",       "General 1", "General 2", "Octaves",     "Vocal",
                               "Bass Guitar",     "Electric Guitar", "Acoustic Guitar", "Piano", "Strings",
                               "Drums:Bass",      "Drums:Snare", "Drums:Tom", "Drums:HiHat Cymbals"};
  ASSERT_EQ(sets.GetSize(), 14);
  for (int i = 0; i < 14; ++i) EXPECT_STREQ(Set(i).name.Get(), names[i]);
}

TEST_F(GuideSets, PianoKeysWhiteThenBlackInEachOctave) {
  const CheatSheetSet& keys = Set(0);
  ASSERT_EQ(keys.GetSize(), 108);
  const char* const names[12] = {"C", "D", "E", "F", "G", "A", "B", "C#/Db", "D#/Eb", "F#/Gb", "G#/Ab", "A#/Bb"};
  const int semitones[12] = {0, 2, 4, 5, 7, 9, 11, 1, 3, 6, 8, 10};
  for (int octave = 0; octave < 9; ++octave) {
    for (int k = 0; k < 12; ++k) {
      const CheatSheetEntry& e = *keys.Get(12 * octave + k);
      const std::string digit = std::to_string(octave);
      const std::string name = k < 7 ? names[k] + digit
                                     : std::string(names[k], 2) + digit + "/" + std::string(names[k] + 3, 2) + digit;
      EXPECT_EQ(e.name.Get(), name);
      EXPECT_STREQ(e.shortName.Get(), "");
      EXPECT_TRUE(e.isKey && e.visible);
      EXPECT_EQ(e.isBlackKey, k >= 7) << name;
      const double centre = NoteHz(12 * octave + semitones[k]);
      EXPECT_NEAR(e.centreHz, centre, kCentreTolerance) << name;
      EXPECT_NEAR(e.lowHz, centre / kQuarterTone, kEdgeTolerance) << name;
      EXPECT_NEAR(e.highHz, centre * kQuarterTone, kEdgeTolerance) << name;
    }
  }
}

TEST_F(GuideSets, KeysTileTheOctaveAndBlackKeysStraddleTheirBoundary) {
  const CheatSheetSet& keys = Set(0);
  for (int octave = 0; octave < 9; ++octave) {
    const CheatSheetEntry& c = *keys.Get(12 * octave);
    const CheatSheetEntry& b = *keys.Get(12 * octave + 6);
    // Seven white keys of equal width on the log scale from C's low edge to B's high one.
    const double lowHz = NoteHz(12 * octave) / kQuarterTone;
    const double q = std::pow(NoteHz(12 * octave + 11) * kQuarterTone / lowHz, 1.0 / 7.0);
    EXPECT_NEAR(c.keyLowHz, lowHz, kKeyTolerance);
    EXPECT_NEAR(b.keyHighHz, 2.0 * lowHz, 2 * kKeyTolerance);
    for (int k = 0; k < 7; ++k) {
      const CheatSheetEntry& white = *keys.Get(12 * octave + k);
      EXPECT_NEAR(white.keyLowHz, lowHz * std::pow(q, k), kKeyTolerance) << white.name.Get();
      EXPECT_NEAR(white.keyHighHz, lowHz * std::pow(q, k + 1), kKeyTolerance) << white.name.Get();
    }
    // C#, D#, F#, G#, A# sit on the right edges of C, D, F, G and A.
    const int leftWhite[5] = {0, 1, 3, 4, 5};
    for (int k = 0; k < 5; ++k) {
      const CheatSheetEntry& black = *keys.Get(12 * octave + 7 + k);
      const double boundary = lowHz * std::pow(q, leftWhite[k] + 1);
      EXPECT_NEAR(black.keyLowHz, boundary / std::sqrt(q), kKeyTolerance) << black.name.Get();
      EXPECT_NEAR(black.keyHighHz, boundary * std::sqrt(q), kKeyTolerance) << black.name.Get();
    }
  }
}

TEST_F(GuideSets, TellingPianoRows) {
  const struct {
    int index;
    const char* name;
    double centre, low, high, keyLow, keyHigh;
  } rows[] = {
      {0, "C0", 16.35, 15.88, 16.83, 15.88, 17.54},
      {7, "C#0/Db0", 17.32, 16.83, 17.83, 16.69, 18.43},
      {12 * 4 + 5, "A4", 440.00, 427.47, 452.89, 417.03, 460.44},
      {12 * 8 + 6, "B8", 7902.13, 7677.17, 8133.68, 7366.87, 8133.68},
      {12 * 8 + 11, "A#8/Bb8", 7458.62, 7246.29, 7677.17, 7011.02, 7740.79},
  };
  for (const auto& r : rows) {
    const CheatSheetEntry& e = *Set(0).Get(r.index);
    EXPECT_STREQ(e.name.Get(), r.name);
    EXPECT_NEAR(e.centreHz, r.centre, 0.01) << r.name;
    EXPECT_NEAR(e.lowHz, r.low, 0.01) << r.name;
    EXPECT_NEAR(e.highHz, r.high, 0.01) << r.name;
    EXPECT_NEAR(e.keyLowHz, r.keyLow, 0.01) << r.name;
    EXPECT_NEAR(e.keyHighHz, r.keyHigh, 0.01) << r.name;
  }
}

TEST_F(GuideSets, RangeTablesWithTheirFirstAndLastRows) {
  struct Row {
    const char* name;
    const char* shortName;
    double low, high;
  };
  const struct {
    int set;
    int count;
    Row first, last;
  } tables[] = {
      {1, 8, {"SUB BASS", "SB", 0, 40}, {"ULTRA HIGH", "UH", 10000, 20000}},
      {2, 9, {"RUMBLE", "RU", 0, 60}, {"AIR", "AI", 10000, 20000}},
      {3, 9, {"0", "0", 16.35, 32.7}, {"8", "8", 4186.01, 8372.02}},
      {4, 6, {"RUMBLE", "RU", 0, 100}, {"AIR", "AI", 10000, 16000}},
      {5, 6, {"RUMBLE", "RU", 0, 70}, {"STRING NOISE", "ST", 2000, 5000}},
      {6, 5, {"RUMBLE", "RU", 0, 120}, {"PRESENCE", "PR", 3000, 10000}},
      {7, 5, {"RUMBLE", "RU", 0, 70}, {"AIR", "AI", 7000, 10000}},
      {8, 7, {"LOW END", "LE", 0, 50}, {"SHARP", "SH", 10000, 15000}},
      {9, 5, {"LOW END", "LE", 0, 50}, {"SPARKLE", "SP", 7000, 12000}},
      {10, 5, {"LOW END", "LE", 0, 40}, {"CLICK", "CL", 4000, 8000}},
      {11, 5, {"LOW END", "LE", 0, 120}, {"DEFINITION", "DE", 6000, 10000}},
      {12, 4, {"LOW END", "LE", 0, 100}, {"PRESENCE", "PR", 5000, 12000}},
      {13, 3, {"LOW END", "LE", 0, 200}, {"AIR", "AI", 6000, 15000}},
  };
  for (const auto& t : tables) {
    const CheatSheetSet& set = Set(t.set);
    ASSERT_EQ(set.GetSize(), t.count) << set.name.Get();
    for (const auto& [row, idx] : {std::pair<Row, int>{t.first, 0}, std::pair<Row, int>{t.last, t.count - 1}}) {
      const CheatSheetEntry& e = *set.Get(idx);
      EXPECT_STREQ(e.name.Get(), row.name);
      EXPECT_STREQ(e.shortName.Get(), row.shortName);
      EXPECT_EQ(e.lowHz, row.low);
      EXPECT_EQ(e.highHz, row.high);
    }
    for (int i = 0; i < set.GetSize(); ++i) {
      const CheatSheetEntry& e = *set.Get(i);
      EXPECT_TRUE(e.visible);
      EXPECT_FALSE(e.isKey || e.isBlackKey);
      EXPECT_EQ(e.centreHz, 0.0);
      EXPECT_EQ(e.keyLowHz, 0.0);
      EXPECT_EQ(e.keyHighHz, 0.0);
    }
  }
  // A gap is part of the data: "Vocal" jumps from 100 to 200 Hz.
  EXPECT_EQ(Set(4).Get(0)->highHz, 100.0);
  EXPECT_EQ(Set(4).Get(1)->lowHz, 200.0);
}

}  // namespace
