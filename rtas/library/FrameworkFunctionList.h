#pragma once

// The host framework functions the library calls, one row each:
//   X(name, index, result, not-loaded answer, missing answer)
// result: Status16 (low 16 bits, signed), Value32 (the whole word), Byte8
// (low byte, unsigned), Ref (a reference; 0 when absent, so the callers'
// null checks catch a missing framework or function) or Void.
// The index is the function's slot in its framework's table; the name is
// both the export's and the wrapper's.

#define BRIMLOW_NOT_LOADED (-2812)
#define BRIMLOW_MISSING (-2802)

#define BRIMLOW_DAE_FUNCTIONS(X)                                                      \
  X(FicMain, 0, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)                        \
  X(FicNewServer, 2, Ref, 0, 0)                                                       \
  X(FicNewObject, 5, Ref, 0, 0)                                                       \
  X(FicDelete, 6, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)                      \
  X(FicFindStandardType, 162, Ref, 0, 0)                                              \
  X(FicCreatePlugInSpec, 197, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)          \
  X(FicPrepareForConnections, 234, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)     \
  X(FicGetVersion, 321, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)                \
  X(FicSDSReserveName, 327, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)            \
  X(FicSDSFreeName, 328, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)               \
  X(FicSDSGetNameId, 329, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)              \
  X(FicSDSSetListenerName, 341, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)        \
  X(FicSDSSetListenerType, 343, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)        \
  X(FicSDSSetListenerSubType, 345, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)     \
  X(FicSDSSetListenerGoal, 347, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)        \
  X(FicSDSSetListenerCriticalFlag, 349, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING) \
  X(FicSDSSetListenerLatestFlag, 351, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)  \
  X(FicSDSSetListenerTask, 353, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)        \
  X(FicSDSSetListenerTaskVal, 355, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)     \
  X(FicSDSDispatchToken, 357, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)          \
  X(FicSDSDoneWithToken, 359, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)          \
  X(FicPersonalityDoIdle, 366, Void, 0, 0)                                            \
  X(FicSDSSetListenerProtocol, 403, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)    \
  X(FicSDSSetListenerManufacturer, 405, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING) \
  X(FicSDSGetTokenAndTaskVal, 410, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)     \
  X(FicDeactivateTalker, 434, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)          \
  X(FicReactivateTalker, 435, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)          \
  X(FicDeactivateListener, 436, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)        \
  X(FicReactivateListener, 437, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)        \
  X(FicPrepareForConnectionsStatus, 479, Byte8, 4, 14)                                \
  X(FicIsAlive, 489, Byte8, 1, 1)                                                     \
  X(FicUnRegisterDirectMIDIClient, 488, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING) \
  X(FicCreateCriticalSection, 495, Ref, 0, 0)                                         \
  X(FicDeleteCriticalSection, 496, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)     \
  X(FicEnterCriticalSection, 497, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)      \
  X(FicLeaveCriticalSection, 498, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)      \
  X(FicGetMaximumRTASQuantum, 530, Value32, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)

// FicGestalt (302) is the one irregular DAE row: its answer is cleared
// before the call (DAEFunctions.h).
#define BRIMLOW_DAE_IRREGULAR_NAMES(X) X(FicGestalt, 302)

// Named in the table but called by no wrapper: resolved at load only.
#define BRIMLOW_DAE_UNCALLED_NAMES(X) X(InitFic, 1) X(FicGetCatalog, 3) X(FicFindNamedType, 4)

#define BRIMLOW_DSI_FUNCTIONS(X)                                                    \
  X(InitSADriver, 1, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)                 \
  X(GetShellList, 9, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)                 \
  X(GetCardList, 12, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)                 \
  X(GetDSPList, 15, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)                  \
  X(ResetDSP, 18, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)                    \
  X(DsiLoadShell, 20, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)                \
  X(SGetXWord, 73, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)                   \
  X(SGetYWord, 74, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)                   \
  X(SGetPWord, 75, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)                   \
  X(SChangeXBits, 76, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)                \
  X(SChangeYBits, 77, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)                \
  X(SChangePBits, 78, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)                \
  X(SExecute, 79, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)                    \
  X(SSetLeftRightBit, 80, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)            \
  X(SGetControlLatch, 81, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)            \
  X(SSetControlLatch, 82, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)            \
  X(SInitShell, 83, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)                  \
  X(SStartShell, 84, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)                 \
  X(SPauseShell, 85, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)                 \
  X(SResumeShell, 86, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)                \
  X(SSetInputDelay, 87, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)              \
  X(SSetOutputDelay, 88, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)             \
  X(SUpdateDSPPeripheral, 89, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)        \
  X(SGetDSPCodeInfo, 90, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)             \
  X(DsiSendLo24of32, 165, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)           \
  X(DsiSendLo24of32Check, 168, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)       \
  X(DsiGetLo24ofS32, 169, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)            \
  X(DsiGetLo24ofS32Check, 173, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)       \
  X(DsiDoHostCommand, 175, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)           \
  X(DsiSetHostBit, 176, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)              \
  X(DsiGetHostBit, 177, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)              \
  X(DsiWaitHostBit, 178, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)             \
  X(DsiGetNextCard, 181, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)             \
  X(DsiGetCardType, 186, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)             \
  X(DsiIsDSP321, 190, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)                \
  X(DsiIsPresto, 191, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)                \
  X(DsiIsTDM2, 192, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)                  \
  X(DsiGetCardTypeFromDSP, 193, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)      \
  X(DsiDSPToDriverType, 194, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)         \
  X(DsiGetNextDSP, 195, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)              \
  X(DsiGetDSPClient, 196, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)            \
  X(DsiGetDSPClientVal, 197, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)         \
  X(DsiSetDSPClientVal, 198, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)         \
  X(DsiGetDSPShell, 199, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)             \
  X(DsiGetDSPInfoRecord, 200, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)        \
  X(DsiGetDSPCoreType, 201, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)          \
  X(DsiCreateShell, 202, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)             \
  X(DsiDestroyShell, 203, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)            \
  X(DsiSetShellID, 206, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)              \
  X(DsiSetShellIsStandard, 208, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)      \
  X(DsiSetShellMaxLocation, 209, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)     \
  X(DsiSetShellDSPCode, 210, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)         \
  X(DsiSetShellHostCodeHandler, 212, Status16, BRIMLOW_NOT_LOADED, BRIMLOW_MISSING)

// The two composite wrappers (DSIFunctions.h) call these when present.
#define BRIMLOW_DSI_IRREGULAR_NAMES(X) X(DsiDoHostCommandOnEmptyHostPort, 223) X(DsiDoHostCommandWithDataList, 224)

// Index 0 carries the same name as 1; 2 is never called.
#define BRIMLOW_DSI_UNCALLED_NAMES(X) X(InitSADriver, 0) X(UnInitSADriver, 2)
