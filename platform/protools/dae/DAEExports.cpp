// The audio-engine stand-in's exports: the functions the library resolves
// by name. Each records its call and answers a status set by the control
// table's FailFunction when there is one.
#include <cstring>
#include <type_traits>

#include "platform/protools/dae/Engine.h"
#include "platform/protools/standin/Recorder.h"

using dae::Engine;
using dae::TheEngine;

namespace {

FicRef NewRef(Engine& e) { return ++e.mLastRef + 0x1000; }

bool IsKind(Engine& e, FicRef ref, dae::EngineObject::Kind kind) {
  auto found = e.mObjects.find(ref);
  return found != e.mObjects.end() && found->second.mKind == kind;
}

// Applies a change to a live object's listener fields.
template <class Change>
int32_t SetListener(FicRef listener, Change change) {
  Engine& e = TheEngine();
  std::lock_guard<std::mutex> lock(e.mMutex);
  auto found = e.mObjects.find(listener);
  if (found == e.mObjects.end() || found->second.mKind != dae::EngineObject::Kind::kObject) {
    return kDAEUnknownObject;
  }
  change(found->second.mListener);
  return 0;
}

std::string TextOf(ConstStr255Param name) {
  return name ? std::string(reinterpret_cast<const char*>(name + 1), name[0]) : std::string();
}

int32_t FindName(Engine& e, int32_t parent, const std::string& text) {
  for (const auto& [id, name] : e.mNames) {
    if (name.mParent == parent && name.mText == text) return id;
  }
  return 0;
}

}  // namespace

extern "C" {

int32_t FicMain(void) {
  if (auto failed = standin::Enter("FicMain")) return *failed;
  return 0;
}

int32_t InitFic(void) {
  if (auto failed = standin::Enter("InitFic")) return *failed;
  return 0;
}

FicRef FicNewServer(void) {
  if (standin::Enter("FicNewServer")) return 0;
  Engine& e = TheEngine();
  std::lock_guard<std::mutex> lock(e.mMutex);
  const FicRef ref = NewRef(e);
  e.mObjects[ref].mKind = dae::EngineObject::Kind::kServer;
  return ref;
}

FicRef FicFindStandardType(FicRef server, int16_t standardType) {
  if (standin::Enter("FicFindStandardType", server, standardType)) return 0;
  Engine& e = TheEngine();
  std::lock_guard<std::mutex> lock(e.mMutex);
  if (!IsKind(e, server, dae::EngineObject::Kind::kServer)) return 0;
  for (const auto& [ref, object] : e.mObjects) {
    if (object.mKind == dae::EngineObject::Kind::kType && object.mServer == server &&
        object.mStandardType == standardType) {
      return ref;
    }
  }
  const FicRef ref = NewRef(e);
  dae::EngineObject& type = e.mObjects[ref];
  type.mKind = dae::EngineObject::Kind::kType;
  type.mServer = server;
  type.mStandardType = standardType;
  return ref;
}

FicRef FicNewObject(FicRef server, FicRef type) {
  if (standin::Enter("FicNewObject", server, type)) return 0;
  Engine& e = TheEngine();
  std::lock_guard<std::mutex> lock(e.mMutex);
  if (!IsKind(e, server, dae::EngineObject::Kind::kServer) || !IsKind(e, type, dae::EngineObject::Kind::kType)) {
    return 0;
  }
  const FicRef ref = NewRef(e);
  dae::EngineObject& object = e.mObjects[ref];
  object.mKind = dae::EngineObject::Kind::kObject;
  object.mServer = server;
  object.mListener.mListener = ref;
  return ref;
}

int32_t FicDelete(FicRef object) {
  if (auto failed = standin::Enter("FicDelete", object)) return *failed;
  Engine& e = TheEngine();
  std::lock_guard<std::mutex> lock(e.mMutex);
  auto found = e.mObjects.find(object);
  if (found == e.mObjects.end() || found->second.mKind == dae::EngineObject::Kind::kType) return kDAEUnknownObject;
  e.mObjects.erase(found);
  for (auto it = e.mQueue.begin(); it != e.mQueue.end();) it = it->mListener == object ? e.mQueue.erase(it) : it + 1;
  return 0;
}

int32_t FicCreatePlugInSpec(uint32_t manufacturerID, uint32_t productID, uint32_t typeID, SFicPlugInSpec* spec) {
  if (auto failed = standin::Enter("FicCreatePlugInSpec", manufacturerID, productID, typeID, spec)) return *failed;
  if (!spec) return paramErr;
  std::memset(spec, 0, sizeof *spec);
  spec->mManufacturerID = manufacturerID;
  spec->mProductID = productID;
  spec->mTypeID = typeID;
  return 0;
}

int32_t FicPrepareForConnections(int32_t zero, int16_t begin) {
  if (auto failed = standin::Enter("FicPrepareForConnections", zero, begin)) return *failed;
  std::lock_guard<std::mutex> lock(TheEngine().mMutex);
  TheEngine().mPreparing = begin != 0;
  return 0;
}

int32_t FicPrepareForConnectionsStatus(int32_t zero) {
  if (auto failed = standin::Enter("FicPrepareForConnectionsStatus", zero)) return *failed;
  std::lock_guard<std::mutex> lock(TheEngine().mMutex);
  return TheEngine().mPreparing ? 1 : 0;
}

int32_t FicGetVersion(void) {
  if (auto failed = standin::Enter("FicGetVersion")) return *failed;
  std::lock_guard<std::mutex> lock(TheEngine().mMutex);
  return TheEngine().mVersion;
}

int32_t FicSDSReserveName(int32_t parentNameID, ConstStr255Param name, int32_t* nameID) {
  if (auto failed = standin::Enter("FicSDSReserveName", parentNameID, name, nameID)) return *failed;
  if (!name || !nameID) return paramErr;
  Engine& e = TheEngine();
  std::lock_guard<std::mutex> lock(e.mMutex);
  if (parentNameID != 0 && !e.mNames.count(parentNameID)) return kDAEUnknownName;
  if (FindName(e, parentNameID, TextOf(name))) return kDAENameInUse;
  *nameID = ++e.mLastNameID;
  e.mNames[*nameID] = Engine::Name{parentNameID, TextOf(name)};
  return 0;
}

int32_t FicSDSFreeName(int32_t parentNameID, int32_t nameID) {
  if (auto failed = standin::Enter("FicSDSFreeName", parentNameID, nameID)) return *failed;
  Engine& e = TheEngine();
  std::lock_guard<std::mutex> lock(e.mMutex);
  auto found = e.mNames.find(nameID);
  if (nameID == dae::kRootNameID || found == e.mNames.end() || found->second.mParent != parentNameID) {
    return kDAEUnknownName;
  }
  e.mNames.erase(found);
  return 0;
}

int32_t FicSDSGetNameId(int32_t parentNameID, ConstStr255Param name, int32_t* nameID) {
  if (auto failed = standin::Enter("FicSDSGetNameId", parentNameID, name, nameID)) return *failed;
  if (!name || !nameID) return paramErr;
  Engine& e = TheEngine();
  std::lock_guard<std::mutex> lock(e.mMutex);
  const int32_t id = FindName(e, parentNameID, TextOf(name));
  if (!id) return kDAEUnknownName;
  *nameID = id;
  return 0;
}

int32_t FicSDSSetListenerName(FicRef listener, int32_t nameID, int32_t zero) {
  if (auto failed = standin::Enter("FicSDSSetListenerName", listener, nameID, zero)) return *failed;
  return SetListener(listener, [&](SDAEListenerInfo& l) { l.mNameID = nameID; });
}

int32_t FicSDSSetListenerType(FicRef listener, OSType type) {
  if (auto failed = standin::Enter("FicSDSSetListenerType", listener, type)) return *failed;
  return SetListener(listener, [&](SDAEListenerInfo& l) { l.mType = type; });
}

int32_t FicSDSSetListenerSubType(FicRef listener, OSType subType) {
  if (auto failed = standin::Enter("FicSDSSetListenerSubType", listener, subType)) return *failed;
  return SetListener(listener, [&](SDAEListenerInfo& l) { l.mSubType = subType; });
}

int32_t FicSDSSetListenerGoal(FicRef listener, int32_t goal) {
  if (auto failed = standin::Enter("FicSDSSetListenerGoal", listener, goal)) return *failed;
  return SetListener(listener, [&](SDAEListenerInfo& l) { l.mGoal = goal; });
}

int32_t FicSDSSetListenerCriticalFlag(FicRef listener, int16_t flag) {
  if (auto failed = standin::Enter("FicSDSSetListenerCriticalFlag", listener, flag)) return *failed;
  return SetListener(listener, [&](SDAEListenerInfo& l) { l.mCriticalFlag = flag; });
}

int32_t FicSDSSetListenerLatestFlag(FicRef listener, int16_t flag) {
  if (auto failed = standin::Enter("FicSDSSetListenerLatestFlag", listener, flag)) return *failed;
  return SetListener(listener, [&](SDAEListenerInfo& l) { l.mLatestFlag = flag; });
}

int32_t FicSDSSetListenerTask(FicRef listener, FicRef task) {
  if (auto failed = standin::Enter("FicSDSSetListenerTask", listener, task)) return *failed;
  return SetListener(listener, [&](SDAEListenerInfo& l) { l.mTask = task; });
}

int32_t FicSDSSetListenerTaskVal(FicRef listener, HostWord taskValue) {
  if (auto failed = standin::Enter("FicSDSSetListenerTaskVal", listener, taskValue)) return *failed;
  return SetListener(listener, [&](SDAEListenerInfo& l) { l.mTaskValue = taskValue; });
}

int32_t FicSDSSetListenerProtocol(FicRef listener, OSType protocol) {
  if (auto failed = standin::Enter("FicSDSSetListenerProtocol", listener, protocol)) return *failed;
  return SetListener(listener, [&](SDAEListenerInfo& l) { l.mProtocol = protocol; });
}

int32_t FicSDSSetListenerManufacturer(FicRef listener, OSType manufacturer) {
  if (auto failed = standin::Enter("FicSDSSetListenerManufacturer", listener, manufacturer)) return *failed;
  return SetListener(listener, [&](SDAEListenerInfo& l) { l.mManufacturer = manufacturer; });
}

int32_t FicSDSDispatchToken(const void* token) {
  if (auto failed = standin::Enter("FicSDSDispatchToken", token)) return *failed;
  std::lock_guard<std::mutex> lock(TheEngine().mMutex);
  return dae::Deliver(TheEngine(), token, true) ? 0 : kDAEBadToken;
}

int32_t FicSDSGetTokenAndTaskVal(FicRef task, void** token, HostWord* taskValue, HostWord* listener) {
  if (auto failed = standin::Enter("FicSDSGetTokenAndTaskVal", task, token, taskValue, listener)) return *failed;
  if (!token) return paramErr;
  *token = nullptr;
  Engine& e = TheEngine();
  std::lock_guard<std::mutex> lock(e.mMutex);
  for (auto it = e.mQueue.begin(); it != e.mQueue.end(); ++it) {
    auto object = e.mObjects.find(it->mListener);
    if (object == e.mObjects.end() || object->second.mListener.mTask != task) continue;
    *token = it->mToken->data();
    if (taskValue) *taskValue = object->second.mListener.mTaskValue;
    if (listener) *listener = it->mListener;
    e.mHandedOut[*token] = std::move(it->mToken);
    e.mQueue.erase(it);
    return 0;
  }
  return kDAENoToken;
}

int32_t FicSDSDoneWithToken(const void* token) {
  if (auto failed = standin::Enter("FicSDSDoneWithToken", token)) return *failed;
  std::lock_guard<std::mutex> lock(TheEngine().mMutex);
  return TheEngine().mHandedOut.erase(token) ? 0 : kDAEBadToken;
}

void FicPersonalityDoIdle(void) { standin::Enter("FicPersonalityDoIdle"); }

int32_t FicDeactivateTalker(HostWord conversant, int16_t index) {
  if (auto failed = standin::Enter("FicDeactivateTalker", conversant, index)) return *failed;
  return 0;
}

int32_t FicReactivateTalker(HostWord conversant, int16_t index) {
  if (auto failed = standin::Enter("FicReactivateTalker", conversant, index)) return *failed;
  return 0;
}

int32_t FicDeactivateListener(HostWord conversant, int16_t index) {
  if (auto failed = standin::Enter("FicDeactivateListener", conversant, index)) return *failed;
  return 0;
}

int32_t FicReactivateListener(HostWord conversant, int16_t index) {
  if (auto failed = standin::Enter("FicReactivateListener", conversant, index)) return *failed;
  return 0;
}

int32_t FicIsAlive(void) {
  if (auto failed = standin::Enter("FicIsAlive")) return *failed;
  std::lock_guard<std::mutex> lock(TheEngine().mMutex);
  return TheEngine().mAlive ? 1 : 0;
}

FicRef FicCreateCriticalSection(void) {
  if (standin::Enter("FicCreateCriticalSection")) return 0;
  Engine& e = TheEngine();
  std::lock_guard<std::mutex> lock(e.mMutex);
  const FicRef ref = NewRef(e);
  e.mSections[ref] = std::make_shared<dae::CriticalSection>();
  return ref;
}

int32_t FicDeleteCriticalSection(FicRef section) {
  if (auto failed = standin::Enter("FicDeleteCriticalSection", section)) return *failed;
  std::lock_guard<std::mutex> lock(TheEngine().mMutex);
  return TheEngine().mSections.erase(section) ? 0 : kDAEUnknownObject;
}

int32_t FicEnterCriticalSection(FicRef section) {
  if (auto failed = standin::Enter("FicEnterCriticalSection", section)) return *failed;
  return dae::EnterSection(section);
}

int32_t FicLeaveCriticalSection(FicRef section) {
  if (auto failed = standin::Enter("FicLeaveCriticalSection", section)) return *failed;
  return dae::LeaveSection(section);
}

int32_t FicGetMaximumRTASQuantum(void) {
  if (auto failed = standin::Enter("FicGetMaximumRTASQuantum")) return *failed;
  std::lock_guard<std::mutex> lock(TheEngine().mMutex);
  return TheEngine().mQuantum;
}

int32_t FicGestalt(OSType selector, intptr_t* answer) {
  if (auto failed = standin::Enter("FicGestalt", selector, answer)) return *failed;
  std::lock_guard<std::mutex> lock(TheEngine().mMutex);
  auto found = TheEngine().mGestalt.find(selector);
  if (found == TheEngine().mGestalt.end()) return kDAEUnknownSelector;
  if (!answer) return paramErr;
  *answer = found->second;
  return 0;
}

int32_t FicUnRegisterDirectMIDIClient(void* process) {
  if (auto failed = standin::Enter("FicUnRegisterDirectMIDIClient", process)) return *failed;
  return 0;
}

}  // extern "C"

// Every export has the shape the library calls it with.
#define BRIMLOW_CHECK_EXPORT(name) static_assert(std::is_same_v<decltype(&name), name##Proc>, #name);
BRIMLOW_DAE_EXPORTS(BRIMLOW_CHECK_EXPORT)
#undef BRIMLOW_CHECK_EXPORT
