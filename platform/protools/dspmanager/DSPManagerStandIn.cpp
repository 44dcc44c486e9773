// The DSP-manager stand-in: a manager object that gives a connection
// interface, both reference-counted; every operation of the interface is
// recorded and answers 0 (Activate answers the status set by the host).
#include <atomic>
#include <cstring>
#include <mutex>
#include <type_traits>

#include "platform/protools/standin/Recorder.h"

namespace {

struct Manager {
  std::mutex mMutex;
  bool mManagerPresent = true;
  bool mConnectionPresent = true;
  int32_t mActivateStatus = 0;
  void* mAllocatedChip = nullptr;
  std::atomic<int32_t> mManagerRefs{0};
  std::atomic<int32_t> mConnectionRefs{0};
};

Manager& TheManager() {
  static Manager* manager = new Manager;
  return *manager;
}

bool SameID(const SInterfaceID* a, const SInterfaceID& b) { return a && std::memcmp(a->mBytes, b.mBytes, 16) == 0; }

int32_t ConnectionQuery(SDSPManagerConnection* self, const SInterfaceID* iid, void** out);
uint32_t ConnectionAddRef(SDSPManagerConnection*) { return static_cast<uint32_t>(++TheManager().mConnectionRefs); }
uint32_t ConnectionRelease(SDSPManagerConnection*) { return static_cast<uint32_t>(--TheManager().mConnectionRefs); }

int32_t Connect(SDSPManagerConnection*, void* process) {
  if (auto failed = standin::Enter("Connect", process)) return *failed;
  return 0;
}
int32_t Disconnect(SDSPManagerConnection*, void* process) {
  if (auto failed = standin::Enter("Disconnect", process)) return *failed;
  return 0;
}
int32_t Activate(SDSPManagerConnection*, void* process) {
  if (auto failed = standin::Enter("Activate", process)) return *failed;
  std::lock_guard<std::mutex> lock(TheManager().mMutex);
  return TheManager().mActivateStatus;
}
int32_t Deactivate(SDSPManagerConnection*, void* process) {
  if (auto failed = standin::Enter("Deactivate", process)) return *failed;
  return 0;
}
int32_t AllocateChip(SDSPManagerConnection*, void* group, void** chip) {
  if (auto failed = standin::Enter("AllocateChip", group, chip)) return *failed;
  std::lock_guard<std::mutex> lock(TheManager().mMutex);
  if (chip) *chip = TheManager().mAllocatedChip;
  return 0;
}
int32_t ReleaseChip(SDSPManagerConnection*, void* chip) {
  if (auto failed = standin::Enter("ReleaseChip", chip)) return *failed;
  return 0;
}

const SDSPManagerConnectionVtbl kConnectionVtbl = {ConnectionQuery, ConnectionAddRef, ConnectionRelease, Connect,
                                                   Disconnect,      Activate,         Deactivate,        AllocateChip,
                                                   ReleaseChip};
SDSPManagerConnection gConnection = {&kConnectionVtbl};

int32_t ConnectionQuery(SDSPManagerConnection* self, const SInterfaceID* iid, void** out) {
  if (!out) return kNoInterface;
  *out = nullptr;
  if (!SameID(iid, kDSPManagerConnectionIID)) return kNoInterface;
  self->mVtbl->AddRef(self);
  *out = self;
  return 0;
}

int32_t ManagerQuery(SDSPManager*, const SInterfaceID* iid, void** out) {
  if (auto failed = standin::Enter("QueryInterface", iid, out)) return *failed;
  if (!out) return kNoInterface;
  *out = nullptr;
  {
    std::lock_guard<std::mutex> lock(TheManager().mMutex);
    if (!TheManager().mConnectionPresent || !SameID(iid, kDSPManagerConnectionIID)) return kNoInterface;
  }
  ConnectionAddRef(&gConnection);
  *out = &gConnection;
  return 0;
}
uint32_t ManagerAddRef(SDSPManager*) { return static_cast<uint32_t>(++TheManager().mManagerRefs); }
uint32_t ManagerRelease(SDSPManager*) { return static_cast<uint32_t>(--TheManager().mManagerRefs); }

const SDSPManagerVtbl kManagerVtbl = {ManagerQuery, ManagerAddRef, ManagerRelease};
SDSPManager gManager = {&kManagerVtbl};

void ResetManager() {
  Manager& m = TheManager();
  std::lock_guard<std::mutex> lock(m.mMutex);
  m.mManagerPresent = true;
  m.mConnectionPresent = true;
  m.mActivateStatus = 0;
  m.mAllocatedChip = nullptr;
  m.mManagerRefs = 0;
  m.mConnectionRefs = 0;
}

void SetManagerPresent(Boolean present) {
  std::lock_guard<std::mutex> lock(TheManager().mMutex);
  TheManager().mManagerPresent = present != 0;
}
void SetConnectionPresent(Boolean present) {
  std::lock_guard<std::mutex> lock(TheManager().mMutex);
  TheManager().mConnectionPresent = present != 0;
}
void SetActivateStatus(int32_t status) {
  std::lock_guard<std::mutex> lock(TheManager().mMutex);
  TheManager().mActivateStatus = status;
}
void SetAllocatedChip(void* chip) {
  std::lock_guard<std::mutex> lock(TheManager().mMutex);
  TheManager().mAllocatedChip = chip;
}
int32_t ManagerReferences() { return TheManager().mManagerRefs; }
int32_t ConnectionReferences() { return TheManager().mConnectionRefs; }

}  // namespace

extern "C" {

// The manager comes with a reference for the caller.
SDSPManager* GetDSPManager(void) {
  if (standin::Enter("GetDSPManager")) return nullptr;
  {
    std::lock_guard<std::mutex> lock(TheManager().mMutex);
    if (!TheManager().mManagerPresent) return nullptr;
  }
  ManagerAddRef(&gManager);
  return &gManager;
}

const SDSPManagerControl* DSPManagerStandInControl(void) {
  static const SDSPManagerControl control = {standin::CommonControl(ResetManager), SetManagerPresent,
                                             SetConnectionPresent, SetActivateStatus, ManagerReferences,
                                             ConnectionReferences, SetAllocatedChip};
  return &control;
}

}  // extern "C"

static_assert(std::is_same_v<decltype(&GetDSPManager), GetDSPManagerProc>);
static_assert(std::is_same_v<decltype(&DSPManagerStandInControl), DSPManagerStandInControlProc>);
