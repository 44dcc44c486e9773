#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/protools/DAE.h"
#include "platform/protools/FrameworkControl.h"

// The state of the audio-engine stand-in, shared by its exports and its
// control table. Private to platform/protools/dae.
namespace dae {

struct CriticalSection {
  std::recursive_mutex mMutex;
  std::atomic<std::thread::id> mOwner{};
  int32_t mDepth = 0;  // written only by the owner
};

struct EngineObject {
  enum class Kind { kServer, kType, kObject } mKind = Kind::kObject;
  FicRef mServer = 0;
  int16_t mStandardType = 0;
  SDAEListenerInfo mListener{};
};

using TokenBytes = std::vector<uint8_t>;

struct Delivery {
  FicRef mListener;
  std::unique_ptr<TokenBytes> mToken;
};

struct Engine {
  std::mutex mMutex;
  std::map<OSType, intptr_t> mGestalt;
  int32_t mQuantum = 0;
  int32_t mVersion = 0;
  bool mAlive = true;
  bool mPreparing = false;
  int32_t mHostServicesVersion = 1;
  FicRef mLastRef = 0;
  std::map<FicRef, EngineObject> mObjects;
  std::map<FicRef, std::shared_ptr<CriticalSection>> mSections;
  struct Name {
    int32_t mParent;
    std::string mText;
  };
  std::map<int32_t, Name> mNames;
  int32_t mLastNameID = 0;
  std::vector<TokenBytes> mDispatched;
  std::deque<Delivery> mQueue;
  std::map<const void*, std::unique_ptr<TokenBytes>> mHandedOut;
};

Engine& TheEngine();
// Back to the state after loading; the engine's lock must not be held.
void ResetEngine();
// Hands a token to every matching listener; false when it is malformed.
// The engine's lock must be held.
bool Deliver(Engine& engine, const void* token, bool fromPlugIn);
SHostServices* HostServicesObject();

// Recursive critical sections; the engine's lock must not be held.
int32_t EnterSection(FicRef section);
int32_t LeaveSection(FicRef section);
int32_t SectionDepth(FicRef section);

// The root of the name space: the empty name under 0.
constexpr int32_t kRootNameID = 1;

}  // namespace dae
