#pragma once

#include <cstdint>

#include "platform/carboncore/MacTypes.h"
#include "platform/protools/DAE.h"
#include "platform/protools/DSI.h"
#include "platform/protools/DSPManager.h"

// The control API of the framework stand-ins: how a host program or a test
// configures the loaded copy of a framework and looks at what the plug-in
// did with it. Each stand-in exports one function giving its table; look it
// up in the framework's bundle (CFBundleGetFunctionPointerForName) so the
// copy configured is the copy the plug-in reaches.
extern "C" {

// One call into a framework function, as recorded.
struct SStandInCall {
  char mName[48];
  int32_t mArgCount;
  intptr_t mArgs[7];
};

// What every stand-in offers.
struct SStandInCommon {
  // Back to the state after loading: default answers, nothing recorded,
  // every object freed.
  void (*Reset)(void);
  // The export is left out of the framework, as an older build would lack
  // it (the bundle's function lookup then finds nothing).
  void (*HideName)(const char* name);
  // The function answers this status instead of working (a reference
  // result answers 0).
  void (*FailFunction)(const char* name, int32_t status);
  // Calls of that name, or of all functions for null.
  int32_t (*CountCalls)(const char* name);
  // The index-th recorded call (from 0); false past the end.
  Boolean (*GetCall)(int32_t index, SStandInCall* call);
  void (*ClearCalls)(void);
};

// A listener of the engine as the plug-in set it up.
struct SDAEListenerInfo {
  FicRef mListener;
  int32_t mNameID;
  OSType mType, mSubType, mProtocol, mManufacturer;
  int32_t mGoal;
  int16_t mCriticalFlag, mLatestFlag;
  FicRef mTask;
  HostWord mTaskValue;
};

struct SDAEControl {
  SStandInCommon mCommon;
  // Gestalt answers: an answered selector gives 0 and the value; others
  // the engine's "unknown selector" status (kDAEUnknownSelector).
  void (*SetGestalt)(OSType selector, intptr_t answer);
  void (*RemoveGestalt)(OSType selector);
  void (*SetMaximumQuantum)(int32_t frames);
  void (*SetVersion)(int32_t version);
  void (*SetAlive)(Boolean alive);
  void (*SetHostServicesVersion)(int32_t version);
  SHostServices* (*HostServices)(void);
  // Tokens the plug-in posted with FicSDSDispatchToken, oldest first: the
  // length of the index-th, copied into the buffer as far as it fits; -1
  // past the end.
  int32_t (*CountDispatchedTokens)(void);
  int32_t (*GetDispatchedToken)(int32_t index, void* buffer, int32_t bufferBytes);
  // Posts a token as the engine would: it reaches every matching listener.
  int32_t (*PostToken)(const void* token);
  int32_t (*CountListeners)(void);
  Boolean (*GetListener)(int32_t index, SDAEListenerInfo* info);
  // The id of a reserved name, or 0.
  int32_t (*FindNameID)(int32_t parentNameID, const char* name);
  int32_t (*CountNames)(void);
  // Servers and objects not yet deleted.
  int32_t (*CountLiveObjects)(void);
  int32_t (*CountCriticalSections)(void);
  // How deep the calling thread holds the section; -1 for an unknown one.
  int32_t (*CriticalSectionDepth)(FicRef section);
};

struct SDSIControl {
  SStandInCommon mCommon;
  // Adds a card at the end of the card list; its DSPs are added with
  // AddDSP, at the end of the DSP list. Null when the index is unknown.
  DsiCard (*AddCard)(int16_t cardType, uint32_t legacyWord);
  DsiDSP (*AddDSP)(DsiCard card, int16_t dspNumber, uint32_t coreType, const uint8_t* info);
  // Words the DSP's host port gives to DsiGetLo24ofS32, in order.
  void (*QueueHostWord)(int32_t word);
  // Cards whose DSPs the stand-in counts as TDM2 when asked DsiIsTDM2.
  void (*SetTDM2CardType)(int16_t cardType, Boolean isTDM2);
};

struct SDSPManagerControl {
  SStandInCommon mCommon;
  // Whether GetDSPManager gives the manager, and whether the manager gives
  // the connection interface.
  void (*SetManagerPresent)(Boolean present);
  void (*SetConnectionPresent)(Boolean present);
  // The status Activate answers.
  void (*SetActivateStatus)(int32_t status);
  // References the manager and the interface hold beyond their own.
  int32_t (*ManagerReferences)(void);
  int32_t (*ConnectionReferences)(void);
  // The chip AllocateChip gives (none by default: there are no cards).
  void (*SetAllocatedChip)(void* chip);
};

constexpr int32_t kDAEUnknownSelector = -5551;
constexpr int32_t kDAEUnknownObject = -5552;
constexpr int32_t kDAENameInUse = -5553;
constexpr int32_t kDAEUnknownName = -5554;
constexpr int32_t kDAENoToken = -5555;
constexpr int32_t kDAEBadToken = -5556;
constexpr int32_t kDAENotOwner = -5557;
constexpr int32_t kDSIBadReference = -5561;

typedef const SDAEControl* (*DAEStandInControlProc)(void);
typedef const SDSIControl* (*DSIStandInControlProc)(void);
typedef const SDSPManagerControl* (*DSPManagerStandInControlProc)(void);

}  // extern "C"

namespace standin {
constexpr const char* kDAEControlName = "DAEStandInControl";
constexpr const char* kDSIControlName = "DSIStandInControl";
constexpr const char* kDSPManagerControlName = "DSPManagerStandInControl";
}  // namespace standin
