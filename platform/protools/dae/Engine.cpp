#include "platform/protools/dae/Engine.h"

#include <cstring>

namespace dae {

namespace {

constexpr int32_t kDefaultQuantum = 1024;
// 8.1.0 in the engine's digit layout.
constexpr int32_t kDefaultVersion = 0x0810;

int32_t ServicesVersion(SHostServices*) {
  std::lock_guard<std::mutex> lock(TheEngine().mMutex);
  return TheEngine().mHostServicesVersion;
}
int32_t ServicesAddRef(SHostServices*) { return 1; }
int32_t ServicesRelease(SHostServices*) { return 1; }
int32_t ServicesEnter(SHostServices*, FicRef section);
uint8_t ServicesTryEnter(SHostServices*, FicRef section);

const SHostServicesVtbl kServicesVtbl = {ServicesVersion, ServicesAddRef, ServicesRelease, ServicesEnter,
                                         ServicesTryEnter};
SHostServices gServices = {&kServicesVtbl};

std::shared_ptr<CriticalSection> FindSection(FicRef ref) {
  std::lock_guard<std::mutex> lock(TheEngine().mMutex);
  auto found = TheEngine().mSections.find(ref);
  return found == TheEngine().mSections.end() ? nullptr : found->second;
}

int32_t ServicesEnter(SHostServices*, FicRef section) { return EnterSection(section); }

uint8_t ServicesTryEnter(SHostServices*, FicRef ref) {
  std::shared_ptr<CriticalSection> section = FindSection(ref);
  if (!section || !section->mMutex.try_lock()) return 0;
  section->mOwner = std::this_thread::get_id();
  ++section->mDepth;
  return 1;
}

uint16_t TokenLength(const void* token) {
  uint16_t length;
  std::memcpy(&length, static_cast<const uint8_t*>(token) + hostwords::kTokenLength, sizeof length);
  return length;
}

uint32_t TokenWord(const TokenBytes& token, size_t offset) {
  uint32_t word;
  std::memcpy(&word, token.data() + offset, sizeof word);
  return word;
}

}  // namespace

int32_t EnterSection(FicRef ref) {
  std::shared_ptr<CriticalSection> section = FindSection(ref);
  if (!section) return kDAEUnknownObject;
  section->mMutex.lock();
  section->mOwner = std::this_thread::get_id();
  ++section->mDepth;
  return 0;
}

int32_t LeaveSection(FicRef ref) {
  std::shared_ptr<CriticalSection> section = FindSection(ref);
  if (!section) return kDAEUnknownObject;
  // Unlocking a mutex another thread holds is undefined: refuse it.
  if (section->mOwner.load() != std::this_thread::get_id() || section->mDepth == 0) return kDAENotOwner;
  if (--section->mDepth == 0) section->mOwner = std::thread::id();
  section->mMutex.unlock();
  return 0;
}

int32_t SectionDepth(FicRef ref) {
  std::shared_ptr<CriticalSection> section = FindSection(ref);
  if (!section) return -1;
  return section->mOwner.load() == std::this_thread::get_id() ? section->mDepth : 0;
}

Engine& TheEngine() {
  static Engine* engine = new Engine;  // calls may come during exit
  return *engine;
}

void ResetEngine() {
  Engine& e = TheEngine();
  std::lock_guard<std::mutex> lock(e.mMutex);
  e.mGestalt.clear();
  e.mGestalt[ficgestalt::kVariableQuantum] = 1;
  e.mGestalt[ficgestalt::kHostServices] = reinterpret_cast<intptr_t>(&gServices);
  e.mQuantum = kDefaultQuantum;
  e.mVersion = kDefaultVersion;
  e.mAlive = true;
  e.mPreparing = false;
  e.mHostServicesVersion = 1;
  e.mObjects.clear();
  e.mSections.clear();
  e.mNames.clear();
  e.mNames[kRootNameID] = Engine::Name{0, ""};
  e.mLastNameID = kRootNameID;
  e.mDispatched.clear();
  e.mQueue.clear();
  e.mHandedOut.clear();
}

bool Deliver(Engine& engine, const void* token, bool fromPlugIn) {
  if (!token) return false;
  const uint16_t length = TokenLength(token);
  if (length < hostwords::kTokenHeaderBytes) return false;
  const uint8_t* bytes = static_cast<const uint8_t*>(token);
  const TokenBytes copy(bytes, bytes + length);
  if (fromPlugIn) engine.mDispatched.push_back(copy);
  const int32_t destination = static_cast<int32_t>(TokenWord(copy, hostwords::kTokenDestination));
  const OSType type = TokenWord(copy, hostwords::kTokenType);
  const OSType subType = TokenWord(copy, hostwords::kTokenSubType);
  for (const auto& [ref, object] : engine.mObjects) {
    const SDAEListenerInfo& l = object.mListener;
    if (!l.mTask || l.mNameID != destination || l.mType != type || l.mSubType != subType) continue;
    // A listener that wants only the latest value drops what it has not read.
    if (l.mLatestFlag) {
      for (auto it = engine.mQueue.begin(); it != engine.mQueue.end();) {
        it = it->mListener == ref ? engine.mQueue.erase(it) : it + 1;
      }
    }
    engine.mQueue.push_back(Delivery{ref, std::make_unique<TokenBytes>(copy)});
  }
  return true;
}

SHostServices* HostServicesObject() { return &gServices; }

}  // namespace dae
