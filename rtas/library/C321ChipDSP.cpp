#include "rtas/library/C321ChipDSP.h"

#include "rtas/library/DsiShims.h"

C321ChipDSP::C321ChipDSP() {
  SetMemoryBase(0x801800);
  SetHostCommandBase(58);
  SetDefaultAddresses(511, 510);
}

int16_t C321ChipDSP::SetHostBit5() { return DSPSetHostBit(GetDSP(), 5, 1); }

int16_t C321ChipDSP::ClearHostBit5() { return DSPSetHostBit(GetDSP(), 5, 0); }

bool C321ChipDSP::IsHostBit5Set() {
  int16_t value = 0;
  return DSPGetHostBit(GetDSP(), 5, &value) == 0 && value != 0;
}

bool C321ChipDSP::IsHostBit7Set() {
  int16_t value = 0;
  return DSPGetHostBit(GetDSP(), 7, &value) == 0 && value != 0;
}
