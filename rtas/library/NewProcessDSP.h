#pragma once

#include "platform/protools/DSI.h"

class CProcessDSP;

// The chip object for a DSP, by its kind: card type 18 a CProcessDSP,
// card type 21 a COnyxChipDSP, a Presto DSP a CPrestoChipDSP, a DSP of the
// 321 kind a C321ChipDSP, asked in that order. Any other DSP throws
// std::runtime_error. The caller owns the object.
CProcessDSP* GetNewCProcessDSP(DsiDSP dsp);
