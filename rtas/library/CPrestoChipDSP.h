#pragma once

#include "rtas/library/COnyxChipDSP.h"

// A Presto chip: the Onyx host port with its own constants.
class CPrestoChipDSP : public COnyxChipDSP {
 public:
  CPrestoChipDSP() {
    SetMemoryBase(0x801800);
    SetOnyxHostCommandBase(74);
    SetDefaultAddresses(511, 510);
  }
};
