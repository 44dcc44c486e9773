#include "editor/display/ScopeGuideSets.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr double kA4Hz = 440.0;
constexpr int kA4Semitone = 57;  // semitones above C0
constexpr int kOctaves = 9;

double NoteHz(int semitone) { return kA4Hz * std::pow(2.0, (semitone - kA4Semitone) / 12.0); }

// The keyboard is laid out from its note frequencies as printed, to the
// hundredth of a hertz: each key's edges derive from the printed centre
// (the octave's from its C), and every value is kept to the hundredth.
double Centihertz(double hz) { return std::floor(hz * 100.0 + 0.5) / 100.0; }

struct WhiteKey {
  const char* letter;
  int semitone;
};
constexpr WhiteKey kWhiteKeys[7] = {{"C", 0}, {"D", 2}, {"E", 4}, {"F", 5}, {"G", 7}, {"A", 9}, {"B", 11}};

struct BlackKey {
  const char* sharp;
  const char* flat;
  int semitone;
  int leftWhiteKey;  // the white key whose right edge the black key straddles
};
constexpr BlackKey kBlackKeys[5] = {
    {"C#", "Db", 1, 0}, {"D#", "Eb", 3, 1}, {"F#", "Gb", 6, 3}, {"G#", "Ab", 8, 4}, {"A#", "Bb", 10, 5}};

struct GuideRange {
  const char* name;
  const char* shortName;
  double lowHz, highHz;
};

struct GuideTable {
  const char* name;
  const GuideRange* ranges;
  int count;
};

constexpr GuideRange kGeneral1[] = {
    {"SUB BASS", "SB", 0, 40},        {"BASS", "B", 40, 160},         {"UPPER BASS", "UB", 160, 300},
    {"LOWER MID", "LM", 300, 800},    {"MID", "M", 800, 2500},        {"UPPER MID", "UM", 2500, 5000},
    {"HIGH", "H", 5000, 10000},       {"ULTRA HIGH", "UH", 10000, 20000}};
constexpr GuideRange kGeneral2[] = {
    {"RUMBLE", "RU", 0, 60},          {"BOTTOM", "BO", 60, 100},      {"WARMTH", "WA", 100, 450},
    {"HONK", "HO", 450, 1000},        {"TINNY", "TI", 1000, 2000},    {"CRUNCH", "CR", 2000, 4000},
    {"PRESENCE", "PR", 4000, 6000},   {"DEFINITION", "DE", 6000, 10000}, {"AIR", "AI", 10000, 20000}};
constexpr GuideRange kOctaveRanges[] = {
    {"0", "0", 16.35, 32.7},          {"1", "1", 32.7, 65.41},        {"2", "2", 65.41, 130.81},
    {"3", "3", 130.81, 261.63},       {"4", "4", 261.63, 523.25},     {"5", "5", 523.25, 1046.5},
    {"6", "6", 1046.5, 2093},         {"7", "7", 2093, 4186.01},      {"8", "8", 4186.01, 8372.02}};
constexpr GuideRange kVocal[] = {
    {"RUMBLE", "RU", 0, 100},         {"MUD", "MU", 200, 500},        {"WORD CLARITY", "WO", 800, 1500},
    {"PRESENCE", "PR", 2500, 4500},   {"SIBILANTS", "SI", 5000, 10000}, {"AIR", "AI", 10000, 16000}};
constexpr GuideRange kBassGuitar[] = {
    {"RUMBLE", "RU", 0, 70},          {"BODY", "BO", 80, 200},        {"MUD", "MU", 250, 500},
    {"DEFINITION", "DE", 500, 800},   {"ATTACK", "AT", 1200, 1500},   {"STRING NOISE", "ST", 2000, 5000}};
constexpr GuideRange kElectricGuitar[] = {
    {"RUMBLE", "RU", 0, 120},         {"BODY", "BO", 150, 300},       {"CHARACTER", "CH", 300, 1000},
    {"HONK", "HO", 1000, 2000},       {"PRESENCE", "PR", 3000, 10000}};
constexpr GuideRange kAcousticGuitar[] = {
    {"RUMBLE", "RU", 0, 70},          {"WOOD", "WO", 200, 400},       {"WARMTH", "WA", 500, 1000},
    {"DEFINITION", "DE", 1500, 2500}, {"AIR", "AI", 7000, 10000}};
constexpr GuideRange kPiano[] = {
    {"LOW END", "LE", 0, 50},         {"WARMTH", "WA", 50, 250},      {"BODY", "BO", 250, 3000},
    {"PRESENCE", "PR", 3000, 5000},   {"ATTACK", "AT", 5000, 6000},   {"CLARITY", "CL", 7000, 9000},
    {"SHARP", "SH", 10000, 15000}};
constexpr GuideRange kStrings[] = {
    {"LOW END", "LE", 0, 50},         {"WEIGHT", "WE", 80, 300},      {"ATTACK", "AT", 500, 1000},
    {"NOISES", "NO", 2000, 5000},     {"SPARKLE", "SP", 7000, 12000}};
constexpr GuideRange kDrumsBass[] = {
    {"LOW END", "LE", 0, 40},         {"BODY", "BO", 90, 145},        {"MUD", "MU", 250, 600},
    {"KNOCK", "KN", 2000, 4000},      {"CLICK", "CL", 4000, 8000}};
constexpr GuideRange kDrumsSnare[] = {
    {"LOW END", "LE", 0, 120},        {"BODY", "BO", 200, 400},       {"RING", "RI", 400, 600},
    {"SMACK", "SM", 2000, 4000},      {"DEFINITION", "DE", 6000, 10000}};
constexpr GuideRange kDrumsTom[] = {
    {"LOW END", "LE", 0, 100},        {"BODY", "BO", 100, 300},       {"ATTACK", "AT", 3000, 5000},
    {"PRESENCE", "PR", 5000, 12000}};
constexpr GuideRange kDrumsHiHat[] = {
    {"LOW END", "LE", 0, 200},        {"CLANK", "CL", 200, 400},      {"AIR", "AI", 6000, 15000}};

template <int N>
constexpr GuideTable Table(const char* name, const GuideRange (&ranges)[N]) {
  return GuideTable{name, ranges, N};
}

// Gaps between ranges, touching ends and ranges from 0 Hz are as the
// guides were drawn up.
const GuideTable kGuideTables[] = {
    Table("General 1", kGeneral1),       Table("General 2", kGeneral2),
    Table("Octaves", kOctaveRanges),     Table("Vocal", kVocal),
    Table("Bass Guitar", kBassGuitar),   Table("Electric Guitar", kElectricGuitar),
    Table("Acoustic Guitar", kAcousticGuitar), Table("Piano", kPiano),
    Table("Strings", kStrings),          Table("Drums:Bass", kDrumsBass),
    Table("Drums:Snare", kDrumsSnare),   Table("Drums:Tom", kDrumsTom),
    Table("Drums:HiHat Cymbals", kDrumsHiHat),
};

}  // namespace

void AddPianoKeys(CheatSheetSet& set) {
  const double quarterTone = std::pow(2.0, 1.0 / 24.0);
  // Seven equal white keys per octave on the log scale.
  const double q = std::pow(2.0, 1.0 / 7.0);
  const double halfKey = std::sqrt(q);
  char name[16];
  for (int octave = 0; octave < kOctaves; ++octave) {
    const double octaveLowHz = Centihertz(NoteHz(12 * octave)) / quarterTone;
    for (int k = 0; k < 7; ++k) {
      const double centreHz = Centihertz(NoteHz(12 * octave + kWhiteKeys[k].semitone));
      std::snprintf(name, sizeof name, "%s%d", kWhiteKeys[k].letter, octave);
      set.AddPianoKey(name, centreHz, Centihertz(centreHz / quarterTone), Centihertz(centreHz * quarterTone),
                      Centihertz(octaveLowHz * std::pow(q, k)), Centihertz(octaveLowHz * std::pow(q, k + 1)), false);
    }
    for (const BlackKey& key : kBlackKeys) {
      const double centreHz = Centihertz(NoteHz(12 * octave + key.semitone));
      const double boundaryHz = octaveLowHz * std::pow(q, key.leftWhiteKey + 1);
      std::snprintf(name, sizeof name, "%s%d/%s%d", key.sharp, octave, key.flat, octave);
      set.AddPianoKey(name, centreHz, Centihertz(centreHz / quarterTone), Centihertz(centreHz * quarterTone),
                      Centihertz(boundaryHz / halfKey), Centihertz(boundaryHz * halfKey), true);
    }
  }
}

void BuildGuideSets(WDL_PtrList<CheatSheetSet>& sets) {
  // Each set joins the list empty and is filled in place.
  CheatSheetSet* keys = new CheatSheetSet("PianoKeys");
  if (!sets.Add(keys)) {
    delete keys;
    return;
  }
  AddPianoKeys(*keys);
  for (const GuideTable& table : kGuideTables) {
    CheatSheetSet* set = new CheatSheetSet(table.name);
    if (!sets.Add(set)) {
      delete set;
      return;
    }
    for (int i = 0; i < table.count; ++i) {
      const GuideRange& r = table.ranges[i];
      set->AddGuideRange(r.name, r.shortName, r.lowHz, r.highHz);
    }
  }
}
