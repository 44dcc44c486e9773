#pragma once

#include <cstdint>

#include "platform/carboncore/MacTypes.h"
#include "platform/protools/HostWords.h"

// The host's audio engine (DAE) as the library calls it: the C shape of each
// function it resolves by name. Integer results are the engine's 32-bit
// status or value; the library's wrappers narrow them. References to the
// engine's objects are FicRef (pointer-sized, 0 for none).
extern "C" {

// The record that names a plug-in type to the engine (manufacturer,
// product and type ids); the engine fills the ids.
struct SFicPlugInSpec {
  uint8_t mHeader[32];
  uint32_t mManufacturerID;  // offset 32
  uint32_t mProductID;       // offset 36
  uint32_t mTypeID;          // offset 40
};

// The host-services object that answers gestalt 'pisi'. It is used only
// when GetVersion answers at least 1.
struct SHostServices;
struct SHostServicesVtbl {
  int32_t (*GetVersion)(SHostServices* self);
  int32_t (*AddRef)(SHostServices* self);
  int32_t (*Release)(SHostServices* self);
  int32_t (*EnterCriticalSection)(SHostServices* self, FicRef section);
  // Non-zero when the section was entered without waiting.
  uint8_t (*TryEnterCriticalSection)(SHostServices* self, FicRef section);
};
struct SHostServices {
  const SHostServicesVtbl* mVtbl;
};

typedef int32_t (*FicMainProc)(void);
typedef int32_t (*InitFicProc)(void);
typedef FicRef (*FicNewServerProc)(void);
typedef FicRef (*FicNewObjectProc)(FicRef server, FicRef type);
typedef int32_t (*FicDeleteProc)(FicRef object);
typedef FicRef (*FicFindStandardTypeProc)(FicRef server, int16_t standardType);
typedef int32_t (*FicCreatePlugInSpecProc)(uint32_t manufacturerID, uint32_t productID, uint32_t typeID,
                                           SFicPlugInSpec* spec);
typedef int32_t (*FicPrepareForConnectionsProc)(int32_t zero, int16_t begin);
typedef int32_t (*FicGetVersionProc)(void);
// Shared-data-space names, given as counted strings, known by 32-bit ids.
typedef int32_t (*FicSDSReserveNameProc)(int32_t parentNameID, ConstStr255Param name, int32_t* nameID);
typedef int32_t (*FicSDSFreeNameProc)(int32_t parentNameID, int32_t nameID);
typedef int32_t (*FicSDSGetNameIdProc)(int32_t parentNameID, ConstStr255Param name, int32_t* nameID);
typedef int32_t (*FicSDSSetListenerNameProc)(FicRef listener, int32_t nameID, int32_t zero);
typedef int32_t (*FicSDSSetListenerTypeProc)(FicRef listener, OSType type);
typedef int32_t (*FicSDSSetListenerSubTypeProc)(FicRef listener, OSType subType);
typedef int32_t (*FicSDSSetListenerGoalProc)(FicRef listener, int32_t goal);
typedef int32_t (*FicSDSSetListenerCriticalFlagProc)(FicRef listener, int16_t flag);
typedef int32_t (*FicSDSSetListenerLatestFlagProc)(FicRef listener, int16_t flag);
typedef int32_t (*FicSDSSetListenerTaskProc)(FicRef listener, FicRef task);
typedef int32_t (*FicSDSSetListenerTaskValProc)(FicRef listener, HostWord taskValue);
// The token is copied; the caller keeps its block.
typedef int32_t (*FicSDSDispatchTokenProc)(const void* token);
typedef int32_t (*FicSDSDoneWithTokenProc)(const void* token);
typedef void (*FicPersonalityDoIdleProc)(void);
typedef int32_t (*FicSDSSetListenerProtocolProc)(FicRef listener, OSType protocol);
typedef int32_t (*FicSDSSetListenerManufacturerProc)(FicRef listener, OSType manufacturer);
// The next token delivered to a listener of the task: the engine's copy
// (until FicSDSDoneWithToken), the listener's task value and the listener.
typedef int32_t (*FicSDSGetTokenAndTaskValProc)(FicRef task, void** token, HostWord* taskValue, HostWord* listener);
// A port of a connection: the record describing the process to the
// engine (a pointer, so pointer-sized) and the port's index.
typedef int32_t (*FicDeactivateTalkerProc)(HostWord conversant, int16_t index);
typedef int32_t (*FicReactivateTalkerProc)(HostWord conversant, int16_t index);
typedef int32_t (*FicDeactivateListenerProc)(HostWord conversant, int16_t index);
typedef int32_t (*FicReactivateListenerProc)(HostWord conversant, int16_t index);
typedef int32_t (*FicPrepareForConnectionsStatusProc)(int32_t zero);
typedef int32_t (*FicIsAliveProc)(void);
typedef FicRef (*FicCreateCriticalSectionProc)(void);
typedef int32_t (*FicDeleteCriticalSectionProc)(FicRef section);
typedef int32_t (*FicEnterCriticalSectionProc)(FicRef section);
typedef int32_t (*FicLeaveCriticalSectionProc)(FicRef section);
typedef int32_t (*FicGetMaximumRTASQuantumProc)(void);
// The answer is pointer-sized: 'pisi' and 'prec' answer with pointers.
typedef int32_t (*FicGestaltProc)(OSType selector, intptr_t* answer);
typedef int32_t (*FicUnRegisterDirectMIDIClientProc)(void* process);

}  // extern "C"

// The gestalt selectors the library asks.
namespace ficgestalt {
constexpr OSType kVariableQuantum = 0x76717461;  // 'vqta': the maximum quantum may be asked
constexpr OSType kHostServices = 0x70697369;     // 'pisi': the host-services object
constexpr OSType kPrecision = 0x70726563;        // 'prec': the processing-precision routine
constexpr OSType kConnections = 0x636d7663;      // 'cmvc': connections need preparing
constexpr OSType kLinkAllowed = 0x68736473;      // 'hsds': the engine link may be made
constexpr OSType kHardware = 0x66736877;         // 'fshw': callback 17 instead of 10
}  // namespace ficgestalt

// Every DAE export the library may resolve, for the stand-in to check its
// definitions against the shapes above.
#define BRIMLOW_DAE_EXPORTS(X)                                                                                 \
  X(FicMain) X(InitFic) X(FicNewServer) X(FicNewObject) X(FicDelete) X(FicFindStandardType)                   \
  X(FicCreatePlugInSpec) X(FicPrepareForConnections) X(FicGetVersion) X(FicSDSReserveName) X(FicSDSFreeName) \
  X(FicSDSGetNameId) X(FicSDSSetListenerName) X(FicSDSSetListenerType) X(FicSDSSetListenerSubType)          \
  X(FicSDSSetListenerGoal) X(FicSDSSetListenerCriticalFlag) X(FicSDSSetListenerLatestFlag)                   \
  X(FicSDSSetListenerTask) X(FicSDSSetListenerTaskVal) X(FicSDSDispatchToken) X(FicSDSDoneWithToken)          \
  X(FicPersonalityDoIdle) X(FicSDSSetListenerProtocol) X(FicSDSSetListenerManufacturer)                      \
  X(FicSDSGetTokenAndTaskVal) X(FicDeactivateTalker) X(FicReactivateTalker) X(FicDeactivateListener)         \
  X(FicReactivateListener) X(FicPrepareForConnectionsStatus) X(FicIsAlive) X(FicCreateCriticalSection)       \
  X(FicDeleteCriticalSection) X(FicEnterCriticalSection) X(FicLeaveCriticalSection)                          \
  X(FicGetMaximumRTASQuantum) X(FicGestalt) X(FicUnRegisterDirectMIDIClient)
