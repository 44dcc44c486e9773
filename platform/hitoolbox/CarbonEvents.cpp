#include "platform/hitoolbox/CarbonEvents.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "platform/corefoundation/RunLoop.h"

struct OpaqueEventRef {
  int references = 1;
  uint32_t eventClass;
  uint32_t kind;
  EventTime when;
  struct Param {
    EventParamType type;
    std::vector<unsigned char> bytes;
  };
  std::map<EventParamName, Param> params;
};

struct OpaqueEventHandlerRef {
  EventTargetRef target;
  EventHandlerUPP proc;
  std::vector<EventTypeSpec> types;
  void* userData;
  bool live = true;

  bool Wants(uint32_t eventClass, uint32_t kind) const {
    return std::any_of(types.begin(), types.end(),
                       [&](const EventTypeSpec& t) { return t.eventClass == eventClass && t.eventKind == kind; });
  }
};

struct OpaqueEventTargetRef {
  const void* owner = nullptr;
  std::vector<OpaqueEventHandlerRef*> handlers;  // newest first
  EventTargetRef parent = nullptr;
  std::function<OSStatus(EventRef)> standard;
  bool live = true;
};

// Where dispatch of one event stands: the next handler to try.
struct OpaqueEventHandlerCallRef {
  EventTargetRef target;
  size_t next;
  bool forwarded;  // the handler ran the rest of the chain itself
};

struct OpaqueEventLoopRef {
  int unused;
};

struct OpaqueEventLoopTimerRef {
  platform::RunLoopTimer* timer;
};

namespace {

struct EventState {
  std::map<const void*, EventTargetRef> targets;
  std::vector<EventTargetRef> deadTargets;
  std::vector<EventHandlerRef> deadHandlers;
  std::vector<platform::HostEvent> hostEvents;
  int depth = 0;  // dispatches under way
};

// Kept for the life of the process (never destroyed), as the targets it
// owns may be asked for during exit.
EventState& State() {
  static EventState* state = new EventState;
  return *state;
}

const void* const kApplicationOwner = &kApplicationOwner;

EventTargetRef TargetOf(const void* owner) {
  if (!owner) return nullptr;
  EventTargetRef& target = State().targets[owner];
  if (!target) {
    target = new OpaqueEventTargetRef;
    target->owner = owner;
  }
  return target;
}

void Sweep() {
  EventState& s = State();
  if (s.depth > 0) return;
  for (EventHandlerRef h : s.deadHandlers) delete h;
  s.deadHandlers.clear();
  for (EventTargetRef t : s.deadTargets) delete t;
  s.deadTargets.clear();
}

OSStatus DispatchFrom(EventTargetRef target, EventRef event, size_t start) {
  EventTargetRef application = GetApplicationEventTarget();
  size_t from = start;
  for (EventTargetRef t = target; t;) {
    if (t->live) {
      // The list may change under a handler: walk a copy, skip the removed.
      const std::vector<EventHandlerRef> handlers = t->handlers;
      for (size_t i = from; i < handlers.size(); ++i) {
        EventHandlerRef h = handlers[i];
        if (!h->live || !h->Wants(event->eventClass, event->kind)) continue;
        OpaqueEventHandlerCallRef call{t, i + 1, false};
        const OSStatus result = h->proc(&call, event, h->userData);
        // After CallNextEventHandler the rest has had the event once.
        if (result != eventNotHandledErr || call.forwarded) return result;
      }
      if (t->live && t->standard) {
        const std::function<OSStatus(EventRef)> standard = t->standard;
        const OSStatus result = standard(event);
        if (result != eventNotHandledErr) return result;
      }
    }
    from = 0;
    if (t == application) break;
    // Every chain ends at the application.
    t = t->live && t->parent ? t->parent : application;
  }
  // Nothing of ours took it: the host's own handling has it.
  State().hostEvents.push_back(platform::HostEvent{event->eventClass, event->kind});
  return eventNotHandledErr;
}

OSStatus Dispatch(EventTargetRef target, EventRef event, size_t start) {
  EventState& s = State();
  ++s.depth;
  RetainEvent(event);
  const OSStatus result = DispatchFrom(target, event, start);
  ReleaseEvent(event);
  --s.depth;
  Sweep();
  return result;
}

}  // namespace

OSStatus CreateEvent(const void*, uint32_t eventClass, uint32_t kind, EventTime when, EventAttributes,
                     EventRef* outEvent) {
  if (!outEvent) return paramErr;
  *outEvent = new OpaqueEventRef{1, eventClass, kind, when, {}};
  return noErr;
}

EventRef RetainEvent(EventRef event) {
  if (event) ++event->references;
  return event;
}

void ReleaseEvent(EventRef event) {
  if (event && --event->references == 0) delete event;
}

uint32_t GetEventClass(EventRef event) { return event ? event->eventClass : 0; }
uint32_t GetEventKind(EventRef event) { return event ? event->kind : 0; }

OSStatus SetEventParameter(EventRef event, EventParamName name, EventParamType type, ByteCount size,
                           const void* data) {
  if (!event || (size > 0 && !data)) return paramErr;
  const auto* bytes = static_cast<const unsigned char*>(data);
  event->params[name] = OpaqueEventRef::Param{type, std::vector<unsigned char>(bytes, bytes + size)};
  return noErr;
}

OSStatus GetEventParameter(EventRef event, EventParamName name, EventParamType desiredType,
                           EventParamType* actualType, ByteCount bufferSize, ByteCount* actualSize, void* data) {
  if (!event) return paramErr;
  const auto found = event->params.find(name);
  if (found == event->params.end()) return eventParameterNotFoundErr;
  const OpaqueEventRef::Param& p = found->second;
  if (desiredType != typeWildCard && desiredType != p.type) return errAECoercionFail;
  if (actualType) *actualType = p.type;
  if (actualSize) *actualSize = p.bytes.size();
  if (data && !p.bytes.empty()) std::memcpy(data, p.bytes.data(), std::min<size_t>(bufferSize, p.bytes.size()));
  return noErr;
}

EventTime GetCurrentEventTime() { return platform::RunLoopTime(); }

EventTargetRef GetWindowEventTarget(WindowRef window) { return TargetOf(window); }
EventTargetRef GetControlEventTarget(ControlRef control) { return TargetOf(control); }
EventTargetRef GetApplicationEventTarget() { return TargetOf(kApplicationOwner); }

OSStatus InstallEventHandler(EventTargetRef target, EventHandlerUPP handler, ItemCount numTypes,
                             const EventTypeSpec* list, void* userData, EventHandlerRef* outRef) {
  if (!target || !handler || (numTypes > 0 && !list)) return paramErr;
  auto* h = new OpaqueEventHandlerRef{target, handler, std::vector<EventTypeSpec>(list, list + numTypes), userData};
  target->handlers.insert(target->handlers.begin(), h);
  if (outRef) *outRef = h;
  return noErr;
}

OSStatus RemoveEventHandler(EventHandlerRef handler) {
  if (!handler || !handler->live) return paramErr;
  handler->live = false;
  auto& list = handler->target->handlers;
  list.erase(std::remove(list.begin(), list.end(), handler), list.end());
  State().deadHandlers.push_back(handler);
  Sweep();
  return noErr;
}

OSStatus CallNextEventHandler(EventHandlerCallRef callRef, EventRef event) {
  if (!callRef || !event) return paramErr;
  callRef->forwarded = true;
  return Dispatch(callRef->target, event, callRef->next);
}

OSStatus SendEventToEventTarget(EventRef event, EventTargetRef target) {
  if (!event || !target) return paramErr;
  return Dispatch(target, event, 0);
}

EventLoopRef GetMainEventLoop() {
  static OpaqueEventLoopRef loop{0};
  return &loop;
}

OSStatus InstallEventLoopTimer(EventLoopRef loop, EventTimerInterval fireDelay, EventTimerInterval interval,
                               EventLoopTimerUPP upp, void* userData, EventLoopTimerRef* outTimer) {
  if (!loop || !upp || !outTimer) return paramErr;
  auto* timer = new OpaqueEventLoopTimerRef{nullptr};
  timer->timer = platform::AddRunLoopTimer(fireDelay, interval, [timer, upp, userData] { upp(timer, userData); });
  *outTimer = timer;
  return noErr;
}

OSStatus RemoveEventLoopTimer(EventLoopTimerRef timer) {
  if (!timer) return paramErr;
  platform::RemoveRunLoopTimer(timer->timer);
  delete timer;
  return noErr;
}

namespace platform {

void SetEventTargetParent(EventTargetRef target, EventTargetRef parent) {
  if (target && target != parent) target->parent = parent;
}

void SetStandardEventHandler(EventTargetRef target, std::function<OSStatus(EventRef)> handler) {
  if (target) target->standard = std::move(handler);
}

void DisposeEventTargetOf(const void* owner) {
  EventState& s = State();
  const auto found = s.targets.find(owner);
  if (found == s.targets.end()) return;
  EventTargetRef target = found->second;
  s.targets.erase(found);
  target->live = false;
  for (EventHandlerRef h : target->handlers) {
    h->live = false;
    s.deadHandlers.push_back(h);
  }
  target->handlers.clear();
  // Children that still point here go straight to the host.
  for (auto& entry : s.targets) {
    if (entry.second->parent == target) entry.second->parent = nullptr;
  }
  s.deadTargets.push_back(target);
  Sweep();
}

int InstalledHandlerCount(EventTargetRef target) { return target ? static_cast<int>(target->handlers.size()) : 0; }

const std::vector<HostEvent>& HostEvents() { return State().hostEvents; }
void ClearHostEvents() { State().hostEvents.clear(); }

EventRef MakeEvent(uint32_t eventClass, uint32_t kind) {
  EventRef event = nullptr;
  CreateEvent(nullptr, eventClass, kind, GetCurrentEventTime(), 0, &event);
  return event;
}

}  // namespace platform
