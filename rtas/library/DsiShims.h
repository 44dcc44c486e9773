#pragma once

#include <cstdint>

#include "platform/carboncore/MacTypes.h"
#include "platform/protools/DSI.h"

// Between the library and the DSP-card interface. A DSI either hands out
// references that only its accessors read (the accessor flag is set) or
// plain records the library reads itself (the flag is clear). With the flag
// set a shim answers the DSI wrapper's status and leaves out-arguments alone
// when it fails; with it clear a shim cannot fail and answers 0 (a null
// reference answers paramErr instead of being read).

// Decided once, by DetectDsiAccessors, during group initialisation.
bool UsesDsiAccessors();
// A card of type 18 or an empty DSP list leaves the flag clear; otherwise a
// DSI that answers DsiGetDSPShell for the first DSP sets it. Always 0.
OSErr DetectDsiAccessors();
// Clears the flag, as unloading the bundle does.
void ResetDsiAccessors();

int16_t GetDSPInfoRecord(DsiDSP dsp, uint8_t info[kDsiInfoRecordBytes]);
int16_t GetDSPClientVal(DsiDSP dsp, HostWord* value);
int16_t SetDSPClientVal(DsiDSP dsp, HostWord value);
int16_t GetDSPClient(DsiDSP dsp, HostWord* client);
int16_t GetCardTypeFromDSP(DsiDSP dsp, int32_t* cardType);
int16_t GetNextDSP(DsiDSP dsp, DsiDSP* next);
int16_t GetDSPShell(DsiDSP dsp, DsiShell* shell);
int16_t GetDSPCoreType(DsiDSP dsp, uint32_t* coreType);
int16_t DSPToDriverType(DsiDSP dsp, int32_t* driverType);
int16_t SetShellID(DsiShell shell, uint32_t id);
int16_t SetShellIsStandard(DsiShell shell, uint8_t isStandard);
int16_t SetShellMaxLocation(DsiShell shell, uint32_t maxLocation);
int16_t SetShellDSPCode(DsiShell shell, HostWord code);
int16_t SetShellHostCodeHandler(DsiShell shell, HostWord handler);
// Flag set: 0. Flag clear: the word of the DSP's card. Always 0.
int16_t GetLegacyCardWord(DsiDSP dsp, uint32_t* value);
DsiShell NewDSPShell();
void DisposeDSPShell(DsiShell shell);

bool IsDSP321(DsiDSP dsp);
bool IsPrestoDSP(DsiDSP dsp);
bool IsCardType21DSP(DsiDSP dsp);
bool IsCardType18DSP(DsiDSP dsp);
bool IsDSP321Present();
bool IsTDM2Present();
// Starts the DSI first and throws CDAEError with its status when it does
// not start. Type 29 is answered from the DSP list.
bool IsCardTypePresent(int16_t cardType);

// The DSP object's host port, forwarded to the DSI.
int16_t DSPDoHostCommand(DsiDSP dsp, int16_t command, int32_t timeout);
int16_t DSPDoHostCommandOnEmptyHostPort(DsiDSP dsp, int32_t command, int32_t timeout);
int16_t DSPDoHostCommandWithDataList(DsiDSP dsp, int32_t command, uint8_t sendFirst, int32_t receiveCount,
                                     int32_t* receive, int32_t sendCount, const int32_t* send);
int16_t DSPSendLo24of32(DsiDSP dsp, int32_t value, int32_t timeout);
int16_t DSPGetLo24ofS32(DsiDSP dsp, int32_t* value, int32_t timeout);
int16_t DSPSendLo24of32Check(DsiDSP dsp, const int32_t* words, int32_t count, int32_t timeout);
int16_t DSPGetLo24ofS32Check(DsiDSP dsp, int32_t* words, int32_t count, int32_t timeout);
int16_t DSPSetHostBit(DsiDSP dsp, int16_t bit, int16_t value);
int16_t DSPGetHostBit(DsiDSP dsp, int16_t bit, int16_t* value);
// Waits for the host bit the flag mask names (1, 2, 4, 8, 16, 32 give bits
// 2, 1, 0, 7, 8, 9); -1 for any other mask, without waiting.
int16_t DSPWaitHostFlag(DsiDSP dsp, int32_t flagMask);
