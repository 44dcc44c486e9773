#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/carboncore/MacTypes.h"
#include "platform/coregraphics/CGGeometry.h"

// Stand-in for the Carbon Event Manager: event records with typed
// parameters, event targets holding stacks of handlers, dispatch with
// CallNextEventHandler, propagation from a control up to its window and on
// to the application (the host), and event-loop timers on the main run
// loop. Main thread only.
//
// Dispatch: the handlers of a target are tried newest first, each only for
// the (class, kind) pairs it was installed for; a handler that answers
// eventNotHandledErr passes the event on to the next (unless it already
// did so through CallNextEventHandler, whose answer it then returns). After the last
// handler comes the target's standard handler (what the toolkit does by
// itself, say an edit field inserting a character), then the parent
// target. An event no target handles reaches the application: the host's
// own handling, which the stand-in records (HostEvents below).
struct OpaqueWindowPtr;
typedef OpaqueWindowPtr* WindowRef;
struct OpaqueControlRef;
typedef OpaqueControlRef* ControlRef;

typedef struct OpaqueEventRef* EventRef;
typedef struct OpaqueEventHandlerRef* EventHandlerRef;
typedef struct OpaqueEventHandlerCallRef* EventHandlerCallRef;
typedef struct OpaqueEventTargetRef* EventTargetRef;
typedef struct OpaqueEventLoopRef* EventLoopRef;
typedef struct OpaqueEventLoopTimerRef* EventLoopTimerRef;

typedef OSStatus (*EventHandlerProcPtr)(EventHandlerCallRef callRef, EventRef event, void* userData);
typedef EventHandlerProcPtr EventHandlerUPP;
typedef void (*EventLoopTimerProcPtr)(EventLoopTimerRef timer, void* userData);
typedef EventLoopTimerProcPtr EventLoopTimerUPP;

typedef double EventTime;
typedef EventTime EventTimerInterval;
typedef uint32_t EventParamName;
typedef uint32_t EventParamType;
typedef unsigned long ByteCount;
typedef unsigned long ItemCount;
typedef uint32_t EventAttributes;
typedef CGPoint HIPoint;
typedef CGRect HIRect;
typedef uint16_t EventMouseButton;
typedef uint16_t EventMouseWheelAxis;

struct EventTypeSpec {
  uint32_t eventClass;
  uint32_t eventKind;
};

constexpr uint32_t FourCC(const char (&c)[5]) {
  return (static_cast<uint32_t>(static_cast<unsigned char>(c[0])) << 24) |
         (static_cast<uint32_t>(static_cast<unsigned char>(c[1])) << 16) |
         (static_cast<uint32_t>(static_cast<unsigned char>(c[2])) << 8) |
         static_cast<uint32_t>(static_cast<unsigned char>(c[3]));
}

enum : OSStatus {
  eventInternalErr = -9868,
  eventParameterNotFoundErr = -9870,
  eventNotHandledErr = -9874,
  errAECoercionFail = -1700,
};

enum : uint32_t {
  kEventClassMouse = FourCC("mous"),
  kEventClassKeyboard = FourCC("keyb"),
  kEventClassWindow = FourCC("wind"),
  kEventClassControl = FourCC("cntl"),
};

enum : uint32_t {
  kEventMouseDown = 1,
  kEventMouseUp = 2,
  kEventMouseMoved = 5,
  kEventMouseDragged = 6,
  kEventMouseWheelMoved = 10,
  kEventRawKeyDown = 1,
  kEventRawKeyRepeat = 2,
  kEventRawKeyUp = 3,
  kEventWindowDeactivated = 6,
  kEventControlDraw = 4,
};

enum : EventParamName {
  kEventParamDirectObject = FourCC("----"),
  kEventParamWindowMouseLocation = FourCC("wmou"),
  kEventParamMouseLocation = FourCC("mloc"),
  kEventParamKeyModifiers = FourCC("kmod"),
  kEventParamMouseButton = FourCC("mbtn"),
  kEventParamClickCount = FourCC("ccnt"),
  kEventParamMouseWheelAxis = FourCC("mwax"),
  kEventParamMouseWheelDelta = FourCC("mwdl"),
  kEventParamKeyCode = FourCC("kcod"),
  kEventParamKeyMacCharCodes = FourCC("kchr"),
  kEventParamCGContextRef = FourCC("cntx"),
  kEventParamRgnHandle = FourCC("rgnh"),
};

enum : EventParamType {
  typeWildCard = FourCC("****"),
  typeHIPoint = FourCC("hipt"),
  typeUInt32 = FourCC("magn"),
  typeSInt32 = FourCC("long"),
  typeMouseButton = FourCC("mbtn"),
  typeMouseWheelAxis = FourCC("mwax"),
  typeChar = FourCC("TEXT"),
  typeCGContextRef = FourCC("cntx"),
  typeWindowRef = FourCC("wind"),
  typeControlRef = FourCC("ctrl"),
  typeQDRgnHandle = FourCC("rgnh"),
};

enum : EventMouseButton { kEventMouseButtonPrimary = 1, kEventMouseButtonSecondary = 2 };
enum : EventMouseWheelAxis { kEventMouseWheelAxisX = 0, kEventMouseWheelAxisY = 1 };

// Bits of the key modifiers ('kmod').
enum : uint32_t {
  cmdKeyBit = 8,
  shiftKeyBit = 9,
  alphaLockBit = 10,
  optionKeyBit = 11,
  controlKeyBit = 12,
};

inline EventHandlerUPP NewEventHandlerUPP(EventHandlerProcPtr proc) { return proc; }
inline void DisposeEventHandlerUPP(EventHandlerUPP) {}
inline EventLoopTimerUPP NewEventLoopTimerUPP(EventLoopTimerProcPtr proc) { return proc; }
inline void DisposeEventLoopTimerUPP(EventLoopTimerUPP) {}

OSStatus CreateEvent(const void* allocator, uint32_t eventClass, uint32_t kind, EventTime when,
                     EventAttributes flags, EventRef* outEvent);
EventRef RetainEvent(EventRef event);
void ReleaseEvent(EventRef event);
uint32_t GetEventClass(EventRef event);
uint32_t GetEventKind(EventRef event);
OSStatus SetEventParameter(EventRef event, EventParamName name, EventParamType type, ByteCount size,
                           const void* data);
// The parameter of exactly that type (or any type with typeWildCard);
// errAECoercionFail for another type. Copies at most bufferSize bytes.
OSStatus GetEventParameter(EventRef event, EventParamName name, EventParamType desiredType,
                           EventParamType* actualType, ByteCount bufferSize, ByteCount* actualSize, void* data);
EventTime GetCurrentEventTime();

EventTargetRef GetWindowEventTarget(WindowRef window);
EventTargetRef GetControlEventTarget(ControlRef control);
EventTargetRef GetApplicationEventTarget();

OSStatus InstallEventHandler(EventTargetRef target, EventHandlerUPP handler, ItemCount numTypes,
                             const EventTypeSpec* list, void* userData, EventHandlerRef* outRef);
OSStatus RemoveEventHandler(EventHandlerRef handler);
OSStatus CallNextEventHandler(EventHandlerCallRef callRef, EventRef event);
OSStatus SendEventToEventTarget(EventRef event, EventTargetRef target);

EventLoopRef GetMainEventLoop();
// On the main run loop (platform/corefoundation/RunLoop.h); an interval of
// 0 fires once.
OSStatus InstallEventLoopTimer(EventLoopRef loop, EventTimerInterval fireDelay, EventTimerInterval interval,
                               EventLoopTimerUPP upp, void* userData, EventLoopTimerRef* outTimer);
OSStatus RemoveEventLoopTimer(EventLoopTimerRef timer);

namespace platform {

// The toolkit's side of a target: where an event goes when no handler
// takes it. The standard handler answers eventNotHandledErr to pass on.
void SetEventTargetParent(EventTargetRef target, EventTargetRef parent);
void SetStandardEventHandler(EventTargetRef target, std::function<OSStatus(EventRef)> handler);
// The window or control goes: its target is forgotten (once no dispatch is
// using it).
void DisposeEventTargetOf(const void* owner);
int InstalledHandlerCount(EventTargetRef target);

// The events that reached the host (no target handled them), in order.
struct HostEvent {
  uint32_t eventClass;
  uint32_t kind;
};
const std::vector<HostEvent>& HostEvents();
void ClearHostEvents();

// A new event of the class and kind with no parameters; the caller
// releases it.
EventRef MakeEvent(uint32_t eventClass, uint32_t kind);
template <typename T>
void SetParam(EventRef event, EventParamName name, EventParamType type, const T& value) {
  SetEventParameter(event, name, type, sizeof value, &value);
}

}  // namespace platform
