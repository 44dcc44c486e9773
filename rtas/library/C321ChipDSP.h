#pragma once

#include "rtas/library/CGenericDSP.h"

// A chip of the 321 kind: the byte-register host port with its own
// constants, and two host bits (5 to set, 7 to read) through the DSI.
class C321ChipDSP : public CGenericDSP {
 public:
  C321ChipDSP();

  // 80 to 83
  virtual int16_t SetHostBit5();
  virtual bool IsHostBit7Set();
  virtual int16_t ClearHostBit5();
  virtual bool IsHostBit5Set();
};
