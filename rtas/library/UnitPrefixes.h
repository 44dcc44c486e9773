#pragma once

// A unit prefix a continuous control may show and read: "k" for 1e3.
struct SPrefixRecord {
  const char* mText;
  double mScale;
};

// The library's twelve prefixes, ascending: "f" 1e-15 to "E" 1e18, the
// empty prefix (scale 1) in the middle.
constexpr int kUnitPrefixCount = 12;
extern const SPrefixRecord kUnitPrefixes[kUnitPrefixCount];

// The record of the prefix text, or null.
const SPrefixRecord* FindUnitPrefix(const char* text);
