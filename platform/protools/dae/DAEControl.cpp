#include <algorithm>
#include <cstring>

#include "platform/protools/dae/Engine.h"
#include "platform/protools/standin/Recorder.h"

using dae::Engine;
using dae::TheEngine;

namespace {

template <class Change>
void Locked(Change change) {
  std::lock_guard<std::mutex> lock(TheEngine().mMutex);
  change(TheEngine());
}

void SetGestalt(OSType selector, intptr_t answer) {
  Locked([&](Engine& e) { e.mGestalt[selector] = answer; });
}
void RemoveGestalt(OSType selector) {
  Locked([&](Engine& e) { e.mGestalt.erase(selector); });
}
void SetMaximumQuantum(int32_t frames) {
  Locked([&](Engine& e) { e.mQuantum = frames; });
}
void SetVersion(int32_t version) {
  Locked([&](Engine& e) { e.mVersion = version; });
}
void SetAlive(Boolean alive) {
  Locked([&](Engine& e) { e.mAlive = alive != 0; });
}
void SetHostServicesVersion(int32_t version) {
  Locked([&](Engine& e) { e.mHostServicesVersion = version; });
}

int32_t CountDispatchedTokens() {
  int32_t count = 0;
  Locked([&](Engine& e) { count = static_cast<int32_t>(e.mDispatched.size()); });
  return count;
}

int32_t GetDispatchedToken(int32_t index, void* buffer, int32_t bufferBytes) {
  int32_t length = -1;
  Locked([&](Engine& e) {
    if (index < 0 || static_cast<size_t>(index) >= e.mDispatched.size()) return;
    const dae::TokenBytes& token = e.mDispatched[static_cast<size_t>(index)];
    length = static_cast<int32_t>(token.size());
    if (buffer && bufferBytes > 0) std::memcpy(buffer, token.data(), std::min<size_t>(token.size(), bufferBytes));
  });
  return length;
}

int32_t PostToken(const void* token) {
  bool ok = false;
  Locked([&](Engine& e) { ok = dae::Deliver(e, token, false); });
  return ok ? 0 : kDAEBadToken;
}

std::vector<const dae::EngineObject*> Listeners(Engine& e) {
  std::vector<const dae::EngineObject*> listeners;
  for (const auto& [ref, object] : e.mObjects) {
    if (object.mKind == dae::EngineObject::Kind::kObject) listeners.push_back(&object);
  }
  return listeners;
}

int32_t CountListeners() {
  int32_t count = 0;
  Locked([&](Engine& e) { count = static_cast<int32_t>(Listeners(e).size()); });
  return count;
}

Boolean GetListener(int32_t index, SDAEListenerInfo* info) {
  bool found = false;
  Locked([&](Engine& e) {
    const auto listeners = Listeners(e);
    if (index < 0 || static_cast<size_t>(index) >= listeners.size() || !info) return;
    *info = listeners[static_cast<size_t>(index)]->mListener;
    found = true;
  });
  return found;
}

int32_t FindNameID(int32_t parentNameID, const char* name) {
  int32_t id = 0;
  Locked([&](Engine& e) {
    for (const auto& [nameID, entry] : e.mNames) {
      if (entry.mParent == parentNameID && name && entry.mText == name) id = nameID;
    }
  });
  return id;
}

int32_t CountNames() {
  int32_t count = 0;
  Locked([&](Engine& e) { count = static_cast<int32_t>(e.mNames.size()) - 1; });  // the root is always there
  return count;
}

int32_t CountLiveObjects() {
  int32_t count = 0;
  Locked([&](Engine& e) {
    count = static_cast<int32_t>(std::count_if(e.mObjects.begin(), e.mObjects.end(), [](const auto& entry) {
      return entry.second.mKind != dae::EngineObject::Kind::kType;
    }));
  });
  return count;
}

int32_t CountCriticalSections() {
  int32_t count = 0;
  Locked([&](Engine& e) { count = static_cast<int32_t>(e.mSections.size()); });
  return count;
}

const SDAEControl& Control() {
  static const SDAEControl control = {standin::CommonControl(dae::ResetEngine),
                                      SetGestalt,
                                      RemoveGestalt,
                                      SetMaximumQuantum,
                                      SetVersion,
                                      SetAlive,
                                      SetHostServicesVersion,
                                      dae::HostServicesObject,
                                      CountDispatchedTokens,
                                      GetDispatchedToken,
                                      PostToken,
                                      CountListeners,
                                      GetListener,
                                      FindNameID,
                                      CountNames,
                                      CountLiveObjects,
                                      CountCriticalSections,
                                      dae::SectionDepth};
  return control;
}

// The engine starts in its default state when the library is loaded.
const bool gStarted = (dae::ResetEngine(), true);

}  // namespace

extern "C" const SDAEControl* DAEStandInControl(void) {
  (void)gStarted;
  return &Control();
}

static_assert(std::is_same_v<decltype(&DAEStandInControl), DAEStandInControlProc>);
