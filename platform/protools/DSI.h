#pragma once

#include <cstdint>

#include "platform/protools/HostWords.h"

// The host's DSP-card interface (DSI) as the library calls it. A DSI either
// hands out references that only its accessor functions read, or plain
// records that the library reads itself; the records below are the plain
// kind. On the 32-bit host their fields sat at fixed byte offsets
// (DSP: next 0, client 6, client value 10, card 14, number 18, shell 38,
// information 50, core type 130; card: next 0, type 14, legacy word 58;
// shell: ID 12, standard flag 276, code 278, handler 282, maximum location
// 286). Here they are plain structures in that order, with the pointer
// fields pointer-sized.
extern "C" {

struct SDsiCardRecord {
  SDsiCardRecord* mNext;
  int16_t mCardType;
  uint32_t mLegacyWord;
};

struct SDsiShellRecord {
  uint32_t mShellID;
  uint8_t mIsStandard;
  HostWord mDSPCode;             // a handle to the code resource
  HostWord mHostCommandHandler;  // a code address
  uint32_t mMaxLocation;
};

constexpr int kDsiInfoRecordBytes = 78;
// Bit 9 of the core-type word marks a DSP of the 321 kind.
constexpr uint32_t kDsiCoreType321 = 0x200;

struct SDsiDSPRecord {
  SDsiDSPRecord* mNext;
  HostWord mClient;
  HostWord mClientValue;  // the library keeps its DSP object here
  SDsiCardRecord* mCard;
  int16_t mDSPNumber;
  SDsiShellRecord* mShell;
  uint8_t mInfo[kDsiInfoRecordBytes];
  uint32_t mCoreType;
};

typedef SDsiDSPRecord* DsiDSP;
typedef SDsiCardRecord* DsiCard;
typedef SDsiShellRecord* DsiShell;

typedef int32_t (*InitSADriverProc)(void);
typedef int32_t (*UnInitSADriverProc)(void);
typedef int32_t (*GetShellListProc)(DsiShell* head);
typedef int32_t (*GetCardListProc)(DsiCard* head);
typedef int32_t (*GetDSPListProc)(DsiDSP* head);
typedef int32_t (*ResetDSPProc)(DsiDSP dsp);
typedef int32_t (*DsiLoadShellProc)(DsiDSP dsp, DsiShell shell, HostWord clientValue);
typedef int32_t (*SGetXWordProc)(DsiDSP dsp, int32_t address, int32_t* word);
typedef int32_t (*SGetYWordProc)(DsiDSP dsp, int32_t address, int32_t* word);
typedef int32_t (*SGetPWordProc)(DsiDSP dsp, int32_t address, int32_t* word);
typedef int32_t (*SChangeXBitsProc)(DsiDSP dsp, int32_t address, int32_t mask, int32_t bits);
typedef int32_t (*SChangeYBitsProc)(DsiDSP dsp, int32_t address, int32_t mask, int32_t bits);
typedef int32_t (*SChangePBitsProc)(DsiDSP dsp, int32_t address, int32_t mask, int32_t bits);
typedef int32_t (*SExecuteProc)(DsiDSP dsp, int16_t address);
typedef int32_t (*SSetLeftRightBitProc)(DsiDSP dsp, int32_t value);
typedef int32_t (*SGetControlLatchProc)(DsiDSP dsp, int32_t value);
typedef int32_t (*SSetControlLatchProc)(DsiDSP dsp, int32_t value);
typedef int32_t (*SInitShellProc)(DsiDSP dsp);
typedef int32_t (*SStartShellProc)(DsiDSP dsp);
typedef int32_t (*SPauseShellProc)(DsiDSP dsp);
typedef int32_t (*SResumeShellProc)(DsiDSP dsp);
typedef int32_t (*SSetInputDelayProc)(DsiDSP dsp, int32_t delay);
typedef int32_t (*SSetOutputDelayProc)(DsiDSP dsp, int32_t delay);
typedef int32_t (*SUpdateDSPPeripheralProc)(DsiDSP dsp);
typedef int32_t (*SGetDSPCodeInfoProc)(DsiDSP dsp, int16_t selector, int32_t* value);
typedef int32_t (*DsiSendLo24of32Proc)(DsiDSP dsp, int32_t value, int32_t timeout);
typedef int32_t (*DsiGetLo24ofS32Proc)(DsiDSP dsp, int32_t* value, int32_t timeout);
typedef int32_t (*DsiSendLo24of32CheckProc)(DsiDSP dsp, const int32_t* words, int32_t count, int32_t timeout);
typedef int32_t (*DsiGetLo24ofS32CheckProc)(DsiDSP dsp, int32_t* words, int32_t count, int32_t timeout);
typedef int32_t (*DsiDoHostCommandProc)(DsiDSP dsp, int16_t command, int32_t timeout);
typedef int32_t (*DsiSetHostBitProc)(DsiDSP dsp, int16_t bit, int16_t value);
typedef int32_t (*DsiGetHostBitProc)(DsiDSP dsp, int16_t bit, int16_t* value);
typedef int32_t (*DsiWaitHostBitProc)(DsiDSP dsp, int16_t bit, uint8_t wanted, int32_t timeout);
typedef int32_t (*DsiGetNextCardProc)(DsiCard card, DsiCard* next);
typedef int32_t (*DsiGetCardTypeProc)(DsiCard card, int32_t* type);
typedef int32_t (*DsiIsDSP321Proc)(DsiDSP dsp, uint8_t* answer);
typedef int32_t (*DsiIsPrestoProc)(DsiDSP dsp, uint8_t* answer);
typedef int32_t (*DsiIsTDM2Proc)(DsiDSP dsp, uint8_t* answer);
typedef int32_t (*DsiGetCardTypeFromDSPProc)(DsiDSP dsp, int32_t* type);
typedef int32_t (*DsiDSPToDriverTypeProc)(DsiDSP dsp, int32_t* driverType);
typedef int32_t (*DsiGetNextDSPProc)(DsiDSP dsp, DsiDSP* next);
typedef int32_t (*DsiGetDSPClientProc)(DsiDSP dsp, HostWord* client);
typedef int32_t (*DsiGetDSPClientValProc)(DsiDSP dsp, HostWord* value);
typedef int32_t (*DsiSetDSPClientValProc)(DsiDSP dsp, HostWord value);
typedef int32_t (*DsiGetDSPShellProc)(DsiDSP dsp, DsiShell* shell);
typedef int32_t (*DsiGetDSPInfoRecordProc)(DsiDSP dsp, uint8_t* info);
typedef int32_t (*DsiGetDSPCoreTypeProc)(DsiDSP dsp, uint32_t* coreType);
typedef int32_t (*DsiCreateShellProc)(DsiShell* shell);
typedef int32_t (*DsiDestroyShellProc)(DsiShell shell);
typedef int32_t (*DsiSetShellIDProc)(DsiShell shell, uint32_t id);
typedef int32_t (*DsiSetShellIsStandardProc)(DsiShell shell, uint8_t isStandard);
typedef int32_t (*DsiSetShellMaxLocationProc)(DsiShell shell, uint32_t maxLocation);
typedef int32_t (*DsiSetShellDSPCodeProc)(DsiShell shell, HostWord code);
typedef int32_t (*DsiSetShellHostCodeHandlerProc)(DsiShell shell, HostWord handler);
typedef int32_t (*DsiDoHostCommandOnEmptyHostPortProc)(DsiDSP dsp, int32_t command, int32_t timeout);
typedef int32_t (*DsiDoHostCommandWithDataListProc)(DsiDSP dsp, int32_t command, uint8_t sendFirst,
                                                    int32_t receiveCount, int32_t* receive, int32_t sendCount,
                                                    const int32_t* send);

}  // extern "C"

#define BRIMLOW_DSI_EXPORTS(X)                                                                                  \
  X(InitSADriver) X(UnInitSADriver) X(GetShellList) X(GetCardList) X(GetDSPList) X(ResetDSP) X(DsiLoadShell)   \
  X(SGetXWord) X(SGetYWord) X(SGetPWord) X(SChangeXBits) X(SChangeYBits) X(SChangePBits) X(SExecute)          \
  X(SSetLeftRightBit) X(SGetControlLatch) X(SSetControlLatch) X(SInitShell) X(SStartShell) X(SPauseShell)      \
  X(SResumeShell) X(SSetInputDelay) X(SSetOutputDelay) X(SUpdateDSPPeripheral) X(SGetDSPCodeInfo)             \
  X(DsiSendLo24of32) X(DsiGetLo24ofS32) X(DsiSendLo24of32Check) X(DsiGetLo24ofS32Check) X(DsiDoHostCommand)   \
  X(DsiSetHostBit) X(DsiGetHostBit) X(DsiWaitHostBit) X(DsiGetNextCard) X(DsiGetCardType) X(DsiIsDSP321)       \
  X(DsiIsPresto) X(DsiIsTDM2) X(DsiGetCardTypeFromDSP) X(DsiDSPToDriverType) X(DsiGetNextDSP)                 \
  X(DsiGetDSPClient) X(DsiGetDSPClientVal) X(DsiSetDSPClientVal) X(DsiGetDSPShell) X(DsiGetDSPInfoRecord)      \
  X(DsiGetDSPCoreType) X(DsiCreateShell) X(DsiDestroyShell) X(DsiSetShellID) X(DsiSetShellIsStandard)          \
  X(DsiSetShellMaxLocation) X(DsiSetShellDSPCode) X(DsiSetShellHostCodeHandler)                               \
  X(DsiDoHostCommandOnEmptyHostPort) X(DsiDoHostCommandWithDataList)
