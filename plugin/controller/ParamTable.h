#pragma once

#include "plugin/engine/ParamMirrors.h"

class IPlugBase;

// Defines the plug-in's 138 parameters on a base object made with that many
// blank parameters. Defaults are taken from the mirrors (the "OS Mode"
// default is the oversampling factor halved, so a factor of 1 gives "Off").
// Index 133 is left blank on purpose: it keeps no kind, no name, range 0..1.
void InitParams(IPlugBase& plug, const ParamMirrors& mirrors);

// One parameter that presets carry. Only the index is read at run time; the
// enumerator name, kind (2 switch, 3 enumeration, 4 double) and printf
// format are carried as data for tools that list the preset fields.
struct ParamNameRecord {
  const char* mName;
  int mParamIdx;
  int mKind;
  const char* mFormat;
};

constexpr int kNumParamNameRecords = 86;
// "OS Mode", "Filter Mode" and per band Active, Type, ChMode, Slope, Gain,
// Freq, Q. Solo and the display, analyser and meter parameters are absent:
// loading a preset must not change what the user is looking at or listening to.
extern const ParamNameRecord ParamNameTable[kNumParamNameRecords];

// Clears the flag on every parameter, then sets it on the ParamNameTable
// indices, so that the flagged-only state and preset paths touch exactly those.
void FlagPresetParams(IPlugBase& plug);
