#pragma once

#include <cstdint>

#include "platform/protools/DAE.h"

struct SConversantInfo;

// The engine's connection calls as the library hands them to the DSP
// side: the first four take the record and a port index.
struct SFicConnectionsAPI {
  int32_t (*mReactivateTalker)(SConversantInfo* info, int32_t index);
  int32_t (*mDeactivateTalker)(SConversantInfo* info, int32_t index);
  int32_t (*mReactivateListener)(SConversantInfo* info, int32_t index);
  int32_t (*mDeactivateListener)(SConversantInfo* info, int32_t index);
  int32_t (*mGestalt)(OSType selector, intptr_t* answer);
  int32_t (*mPrepareForConnections)(int16_t begin);
  int32_t (*mPrepareForConnectionsStatus)();
  int32_t (*mCreatePlugInSpec)(const SConversantInfo* info, SFicPlugInSpec* spec);
};

// The library's table: each passes its arguments to the engine's function
// of that name.
extern const SFicConnectionsAPI kPIFicConnectionsAPI;

// A process as the engine's connection calls see it: the record naming
// its plug-in type and its ids, its instance number, its inputs (listeners) and
// outputs (talkers) as ranges of port indices, the side-chain input, and
// the call table.
struct SConversantInfo {
  virtual ~SConversantInfo() = default;
  // Whether the process's type supports the feature; the answer as a byte.
  virtual uint8_t IsFeatureSupported(int32_t feature) const = 0;

  SFicPlugInSpec mSpec{};
  uint32_t mManufacturerID = 0;
  uint32_t mProductID = 0;
  uint32_t mTypeID = 0;
  int32_t mInstanceNumber = 0;
  int32_t mInputCount = 0;
  int32_t mFirstInput = 0;
  int32_t mOutputCount = 0;
  int32_t mFirstOutput = 0;
  // The side chain: whether there is one, and its port index.
  uint8_t mHasSideChain = 0;
  int32_t mSideChainIndex = 0;
  const SFicConnectionsAPI* mAPI = &kPIFicConnectionsAPI;
  void* mProcess = nullptr;
};

// The DSP side's four connection routines. Each walks its ports in
// ascending order; a port the engine reports as already in that state
// (-7103) counts as done. The first other failure stops the walk, the
// ports already done are put back with the opposite call (in ascending
// order), and the failure is answered.
// Outputs: deactivate (undo: reactivate), reactivate (undo: deactivate).
int32_t DeactivateTalkers(SConversantInfo* info);
int32_t ReactivateTalkers(SConversantInfo* info);
// Inputs, with the side chain after them when there is one. Reactivation
// passes over the inputs the record marks (IsFeatureSupported of the
// index).
int32_t DeactivateListeners(SConversantInfo* info);
int32_t ReactivateListeners(SConversantInfo* info);
