#include "rtas/library/UnitPrefixes.h"

#include <cstring>

const SPrefixRecord kUnitPrefixes[kUnitPrefixCount] = {
    {"f", 1e-15}, {"p", 1e-12}, {"n", 1e-9}, {"u", 1e-6}, {"m", 1e-3}, {"", 1.0},
    {"k", 1e3},   {"M", 1e6},   {"G", 1e9},  {"T", 1e12}, {"P", 1e15}, {"E", 1e18},
};

const SPrefixRecord* FindUnitPrefix(const char* text) {
  if (!text) return nullptr;
  for (const SPrefixRecord& record : kUnitPrefixes) {
    if (std::strcmp(record.mText, text) == 0) return &record;
  }
  return nullptr;
}
