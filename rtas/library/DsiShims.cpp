#include "rtas/library/DsiShims.h"

#include <cstring>

#include "rtas/library/CDAEError.h"
#include "rtas/library/DSIFunctions.h"
#include "rtas/library/HostFrameworkAccess.h"

namespace {

bool gUsesAccessors = false;

// A host list that loops back on itself would never end the walks below.
constexpr int kLongestList = 65536;

int16_t CardTypeOf(DsiDSP dsp, int32_t* cardType) {
  if (!dsp) return paramErr;
  *cardType = dsp->mCard ? dsp->mCard->mCardType : 0;
  return noErr;
}

int32_t CardTypeOrZero(DsiDSP dsp) {
  int32_t cardType = 0;
  GetCardTypeFromDSP(dsp, &cardType);
  return cardType;
}

// The DSI's byte answer; false when it fails (the byte then stays 0).
template <class Query>
bool ByteAnswer(Query query, DsiDSP dsp) {
  uint8_t answer = 0;
  return query(dsp, &answer) == noErr && answer != 0;
}

bool IsTDM2CardType(int32_t cardType) {
  return cardType == 25 || cardType == 26 || cardType == 28 || cardType == 30 || cardType == 31;
}

template <class Test>
bool AnyDSP(Test test) {
  DsiDSP dsp = nullptr;
  GetDSPList(&dsp);
  for (int steps = 0; dsp && steps < kLongestList; ++steps) {
    if (test(dsp)) return true;
    DsiDSP next = nullptr;
    if (GetNextDSP(dsp, &next) != noErr) return false;
    dsp = next;
  }
  return false;
}

}  // namespace

bool UsesDsiAccessors() { return gUsesAccessors; }

OSErr DetectDsiAccessors() {
  DsiDSP first = nullptr;
  GetDSPList(&first);
  try {
    if (IsCardTypePresent(18)) return noErr;
  } catch (const CDAEError&) {
    return noErr;  // no DSI: the records stay plain
  }
  if (!first) return noErr;
  DsiShell shell = nullptr;
  if (DsiGetDSPShell(first, &shell) == noErr) gUsesAccessors = true;
  return noErr;
}

void ResetDsiAccessors() { gUsesAccessors = false; }

int16_t GetDSPInfoRecord(DsiDSP dsp, uint8_t info[kDsiInfoRecordBytes]) {
  if (gUsesAccessors) return DsiGetDSPInfoRecord(dsp, info);
  if (!dsp || !info) return paramErr;
  std::memcpy(info, dsp->mInfo, kDsiInfoRecordBytes);
  return noErr;
}

int16_t GetDSPClientVal(DsiDSP dsp, HostWord* value) {
  if (gUsesAccessors) return DsiGetDSPClientVal(dsp, value);
  if (!dsp || !value) return paramErr;
  *value = dsp->mClientValue;
  return noErr;
}

int16_t SetDSPClientVal(DsiDSP dsp, HostWord value) {
  if (gUsesAccessors) return DsiSetDSPClientVal(dsp, value);
  if (!dsp) return paramErr;
  dsp->mClientValue = value;
  return noErr;
}

int16_t GetDSPClient(DsiDSP dsp, HostWord* client) {
  if (gUsesAccessors) return DsiGetDSPClient(dsp, client);
  if (!dsp || !client) return paramErr;
  *client = dsp->mClient;
  return noErr;
}

int16_t GetCardTypeFromDSP(DsiDSP dsp, int32_t* cardType) {
  if (gUsesAccessors) return DsiGetCardTypeFromDSP(dsp, cardType);
  return cardType ? CardTypeOf(dsp, cardType) : static_cast<int16_t>(paramErr);
}

int16_t GetNextDSP(DsiDSP dsp, DsiDSP* next) {
  if (gUsesAccessors) return DsiGetNextDSP(dsp, next);
  if (!dsp || !next) return paramErr;
  *next = dsp->mNext;
  return noErr;
}

int16_t GetDSPShell(DsiDSP dsp, DsiShell* shell) {
  if (gUsesAccessors) return DsiGetDSPShell(dsp, shell);
  if (!dsp || !shell) return paramErr;
  *shell = dsp->mShell;
  return noErr;
}

int16_t GetDSPCoreType(DsiDSP dsp, uint32_t* coreType) {
  if (gUsesAccessors) return DsiGetDSPCoreType(dsp, coreType);
  if (!dsp || !coreType) return paramErr;
  *coreType = dsp->mCoreType;
  return noErr;
}

int16_t DSPToDriverType(DsiDSP dsp, int32_t* driverType) {
  if (gUsesAccessors) return DsiDSPToDriverType(dsp, driverType);
  int32_t cardType = 0;
  if (!driverType || CardTypeOf(dsp, &cardType) != noErr) return paramErr;
  switch (cardType) {
    case 10: *driverType = 0x430; break;
    case 18: *driverType = 0xEE20; break;
    case 20: *driverType = 0xEE80; break;
    case 21: *driverType = 0xEE90; break;
    case 25: case 26: case 28: case 29: case 31: *driverType = 0xEEC0; break;
    default: *driverType = -1; break;
  }
  return noErr;
}

int16_t SetShellID(DsiShell shell, uint32_t id) {
  if (gUsesAccessors) return DsiSetShellID(shell, id);
  if (!shell) return paramErr;
  shell->mShellID = id;
  return noErr;
}

int16_t SetShellIsStandard(DsiShell shell, uint8_t isStandard) {
  if (gUsesAccessors) return DsiSetShellIsStandard(shell, isStandard);
  if (!shell) return paramErr;
  shell->mIsStandard = isStandard;
  return noErr;
}

int16_t SetShellMaxLocation(DsiShell shell, uint32_t maxLocation) {
  if (gUsesAccessors) return DsiSetShellMaxLocation(shell, maxLocation);
  if (!shell) return paramErr;
  shell->mMaxLocation = maxLocation;
  return noErr;
}

int16_t SetShellDSPCode(DsiShell shell, HostWord code) {
  if (gUsesAccessors) return DsiSetShellDSPCode(shell, code);
  if (!shell) return paramErr;
  shell->mDSPCode = code;
  return noErr;
}

int16_t SetShellHostCodeHandler(DsiShell shell, HostWord handler) {
  if (gUsesAccessors) return DsiSetShellHostCodeHandler(shell, handler);
  if (!shell) return paramErr;
  shell->mHostCommandHandler = handler;
  return noErr;
}

int16_t GetLegacyCardWord(DsiDSP dsp, uint32_t* value) {
  if (!value) return noErr;
  *value = !gUsesAccessors && dsp && dsp->mCard ? dsp->mCard->mLegacyWord : 0;
  return noErr;
}

DsiShell NewDSPShell() {
  if (gUsesAccessors) {
    DsiShell shell = nullptr;
    DsiCreateShell(&shell);
    return shell;
  }
  return new SDsiShellRecord();
}

void DisposeDSPShell(DsiShell shell) {
  if (gUsesAccessors) {
    DsiDestroyShell(shell);
  } else {
    delete shell;
  }
}

bool IsDSP321(DsiDSP dsp) {
  if (gUsesAccessors) {
    return ByteAnswer(DsiIsDSP321, dsp);
  }
  uint32_t coreType = 0;
  return GetDSPCoreType(dsp, &coreType) == noErr && (coreType & kDsiCoreType321) != 0;
}

bool IsPrestoDSP(DsiDSP dsp) {
  if (gUsesAccessors) {
    return ByteAnswer(DsiIsPresto, dsp);
  }
  if (!dsp) return false;
  switch (CardTypeOrZero(dsp)) {
    case 31: return dsp->mDSPNumber <= 3;
    case 28: return dsp->mDSPNumber <= 2;
    case 26: return true;
    default: return false;
  }
}

bool IsCardType21DSP(DsiDSP dsp) { return CardTypeOrZero(dsp) == 21; }

bool IsCardType18DSP(DsiDSP dsp) { return CardTypeOrZero(dsp) == 18; }

bool IsDSP321Present() {
  return AnyDSP([](DsiDSP dsp) { return IsDSP321(dsp); });
}

bool IsTDM2Present() {
  return AnyDSP([](DsiDSP dsp) {
    if (gUsesAccessors) {
      return ByteAnswer(DsiIsTDM2, dsp);
    }
    return IsTDM2CardType(CardTypeOrZero(dsp));
  });
}

bool IsCardTypePresent(int16_t cardType) {
  if (const OSErr status = StartDSI()) throw CDAEError(status);
  DsiCard card = nullptr;
  GetCardList(&card);
  if (cardType == 29) return IsTDM2Present();
  for (int steps = 0; card && steps < kLongestList; ++steps) {
    int32_t type = 0;
    DsiCard next = nullptr;
    if (gUsesAccessors) {
      if (DsiGetCardType(card, &type) == noErr && type == cardType) return true;
      if (DsiGetNextCard(card, &next) != noErr) return false;
    } else {
      if (card->mCardType == cardType) return true;
      next = card->mNext;
    }
    card = next;
  }
  return false;
}

int16_t DSPDoHostCommand(DsiDSP dsp, int16_t command, int32_t timeout) {
  return DsiDoHostCommand(dsp, command, timeout);
}

int16_t DSPDoHostCommandOnEmptyHostPort(DsiDSP dsp, int32_t command, int32_t timeout) {
  return DsiDoHostCommandOnEmptyHostPort(dsp, command, timeout);
}

int16_t DSPDoHostCommandWithDataList(DsiDSP dsp, int32_t command, uint8_t sendFirst, int32_t receiveCount,
                                     int32_t* receive, int32_t sendCount, const int32_t* send) {
  return DsiDoHostCommandWithDataList(dsp, command, sendFirst, receiveCount, receive, sendCount, send);
}

int16_t DSPSendLo24of32(DsiDSP dsp, int32_t value, int32_t timeout) { return DsiSendLo24of32(dsp, value, timeout); }

int16_t DSPGetLo24ofS32(DsiDSP dsp, int32_t* value, int32_t timeout) { return DsiGetLo24ofS32(dsp, value, timeout); }

int16_t DSPSendLo24of32Check(DsiDSP dsp, const int32_t* words, int32_t count, int32_t timeout) {
  return DsiSendLo24of32Check(dsp, words, count, timeout);
}

int16_t DSPGetLo24ofS32Check(DsiDSP dsp, int32_t* words, int32_t count, int32_t timeout) {
  return DsiGetLo24ofS32Check(dsp, words, count, timeout);
}

int16_t DSPSetHostBit(DsiDSP dsp, int16_t bit, int16_t value) { return DsiSetHostBit(dsp, bit, value); }

int16_t DSPGetHostBit(DsiDSP dsp, int16_t bit, int16_t* value) { return DsiGetHostBit(dsp, bit, value); }

int16_t DSPWaitHostFlag(DsiDSP dsp, int32_t flagMask) {
  int16_t bit;
  switch (flagMask) {
    case 1: bit = 2; break;
    case 2: bit = 1; break;
    case 4: bit = 0; break;
    case 8: bit = 7; break;
    case 16: bit = 8; break;
    case 32: bit = 9; break;
    default: return -1;
  }
  return DsiWaitHostBit(dsp, bit, 1, kDsiStepTimeout);
}
