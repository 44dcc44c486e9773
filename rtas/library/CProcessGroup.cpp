#include "rtas/library/CProcessGroup.h"

#include <algorithm>
#include <cstring>

#include "platform/carboncore/Resources.h"
#include "platform/protools/DAE.h"
#include "rtas/library/DAEFunctions.h"
#include "rtas/library/DsiShims.h"
#include "rtas/library/ErrorThrowers.h"
#include "rtas/library/FourCC.h"
#include "rtas/library/HostFrameworkAccess.h"
#include "rtas/library/HostServices.h"
#include "rtas/library/ResultCodes.h"

namespace {

// One set per loaded bundle, touched on the host's main thread only.
FicRef gDAEServer = 0;
FicRef gDAEObject = 0;
uint16_t gCreationCount = 0;
int16_t gResourceNesting = 0;
int16_t gResourceMap = 0;
int16_t gSavedResourceFile = 0;
CFBundleRef gBundle = nullptr;
bool gViewsDisabled = false;

// The engine's object type the link is made of.
constexpr int16_t kLinkObjectType = 57;

// Type id '????': the plug-in as a whole.
constexpr uint32_t kAnyType = FourCC("????");

// Marks a request for an engine-connected process's own word.
constexpr HostWord kProcessWordRequest = 0x47892354;

bool HostServicesTooOld(SHostServices* services) {
  return services && services->mVtbl->GetVersion(services) < 1;
}

}  // namespace

CProcessGroup::CProcessGroup() {
  gDAEServer = 0;
  gDAEObject = 0;
  gCreationCount = 0;
}

CProcessGroup::~CProcessGroup() {
  DeleteProcessTypes();
  // Instances the host never removed went with their types; the map kept
  // open for them must not outlive the group.
  if (mInstanceCount > 0) {
    mInstanceCount = 0;
    try {
      RestoreResourceFile(gSavedResourceFile);
    } catch (...) {
    }
  }
  ReleaseDAELink();
  DeleteGroupLock();
  ReleaseHostServices();
  ReleaseDAELibAccess();
  ReleaseDSILibAccess();
  ReleaseDSPMgrLibAccess();
}

int32_t CProcessGroup::InitProcessGroup() {
  // Neither status matters here: without the engine every later call
  // answers its fallback.
  InitDAELibAccess();
  DetectDsiAccessors();
  // A second initialisation must not drop the first one's types with
  // their instances still alive.
  DeleteProcessTypes();
  mTypes = std::make_unique<TypeList>();
  CProcessGroupInterface::InitProcessGroup();
  CreateProcessTypes();
  ArrangeProcessTypes();
  return CreateGroupLock();
}

void CProcessGroup::AddProcessType(std::unique_ptr<CProcessTypeInterface> type) {
  if (!type || !mTypes) throw AddProcessTypeEx();
  type->InitProcessType();
  mTypes->push_back(std::move(type));
}

CProcessTypeInterface* CProcessGroup::GetProcessTypeAt(int32_t position) const {
  if (position < 0 || position >= GetProcessTypeCount()) return nullptr;
  return (*mTypes)[position].get();
}

void CProcessGroup::ArrangeProcessTypes() {
  if (!mTypes) return;
  std::stable_partition(mTypes->begin(), mTypes->end(), [](const std::unique_ptr<CProcessTypeInterface>& type) {
    return !type->IsWaitingToBeEnabled();
  });
  NumberProcessTypes();
}

void CProcessGroup::NumberProcessTypes() {
  if (!mTypes) return;
  int16_t index = 0;
  for (const auto& type : *mTypes) {
    type->SetProcessGroup(this);
    type->SetTypeIndex(++index);
  }
}

void CProcessGroup::DeleteProcessTypes() {
  if (!mTypes) return;
  for (auto& type : *mTypes) {
    if (!type) continue;
    type->ReleaseAllProcesses();
    type.reset();
  }
  mTypes.reset();
}

CProcessTypeInterface* CProcessGroup::FindProcessTypeByID(uint32_t typeID) {
  if (!mTypes) return nullptr;
  for (const auto& type : *mTypes) {
    uint32_t id = FourCC("    ");
    type->GetTypeID(&id);
    if (id == typeID) return type.get();
  }
  return nullptr;
}

CProcessTypeInterface* CProcessGroup::GetProcessType(uint32_t typeID) {
  CProcessTypeInterface* type = FindProcessTypeByID(typeID);
  if (!type) ThrowDAEError(DAEResult::kUnknownType);
  return type;
}

CProcessTypeInterface* CProcessGroup::FindProcessType(int16_t index) {
  if (mTypes) {
    for (const auto& type : *mTypes) {
      int16_t typeIndex = -1;
      type->GetTypeIndex(&typeIndex);
      if (typeIndex == index) return type.get();
    }
  }
  ThrowDAEError(DAEResult::kUnknownType);
}

int32_t CProcessGroup::CountProcessTypes(int16_t* count) {
  int16_t n = 0;
  if (mTypes) {
    for (const auto& type : *mTypes) n += !type->IsWaitingToBeEnabled();
  }
  if (count) *count = n;
  return 0;
}

int32_t CProcessGroup::EnableProcessTypes(int32_t kindCode) {
  bool changed = false;
  if (mTypes) {
    for (const auto& type : *mTypes) {
      if (type->GetKindCode() == kindCode && !type->IsEnabled()) {
        type->SetEnabled(true);
        changed = true;
      }
    }
  }
  if (changed) ArrangeProcessTypes();
  return 0;
}

int32_t CProcessGroup::GetProcessTypeName(uint32_t typeID, int32_t maxLength, char* text) {
  if (typeID == kAnyType) return GetProductName(text, maxLength);
  return GetProcessType(typeID)->GetTypeName(maxLength, text);
}

int32_t CProcessGroup::GetFeatureSupport(uint32_t typeID, int32_t feature, int32_t* value) {
  CProcessTypeInterface* type = FindProcessTypeByID(typeID);
  if (!type) return DAEResult::kUnknownType;
  return type->QueryTypeFeature(feature, value);
}

int32_t CProcessGroup::GetStemFormatName(uint32_t typeID, int32_t a, int32_t b, uint8_t* text) {
  CProcessTypeInterface* type = GetProcessType(typeID);
  const int32_t result = type->GetStemFormatName(a, b, text);
  if (result == 0 || b != 2) return result;
  int16_t inputs = 0, outputs = 0;
  if (type->GetTypeInputCount(a, &inputs) != 0 || inputs != 2) return result;
  if (type->GetTypeOutputCount(a, &outputs) != 0 || outputs != 2) return result;
  static const char kStereo[] = "stereo mode";
  if (text) {
    text[0] = sizeof(kStereo) - 1;
    std::memcpy(text + 1, kStereo, sizeof(kStereo) - 1);
  }
  return 0;
}

int32_t CProcessGroup::GetProcessObjects(HostWord* p, HostWord* q, uint32_t typeID, int32_t instanceNumber,
                                         int32_t) {
  if (q && *q == kProcessWordRequest) {
    HostWord word = 0;
    if (GetProcessType(typeID)->GetEngineProcessWord(instanceNumber, &word)) *q = word;
    return 0;
  }
  if (p) *p = 0;
  if (q) *q = 0;
  CProcessTypeInterface* type = GetProcessType(typeID);
  if (const int32_t result = type->GetProcessWord1(instanceNumber, p)) return result;
  return type->GetProcessWord2(instanceNumber, q);
}

int32_t CProcessGroup::GetProcessObjects2(HostWord* p, HostWord* q, uint32_t typeID, int32_t instanceNumber,
                                          int32_t unused) {
  return GetProcessObjects(p, q, typeID, instanceNumber, unused);
}

template <class Call>
int32_t CProcessGroup::BroadcastToTypes(Call call) {
  int32_t first = 0;
  if (!mTypes) return 0;
  for (const auto& type : *mTypes) {
    const int32_t result = call(*type);
    if (first == 0) first = result;
  }
  return first;
}

// Broadcast and forwarded rows of the group-interface table.
#define BRIMLOW_GROUP_BODY_KEEP(Ret, Name, TypeName, n, types)
#define BRIMLOW_GROUP_BODY_OWN(Ret, Name, TypeName, n, types)
#define BRIMLOW_GROUP_BODY_FORWARD(Ret, Name, TypeName, n, types) \
  Ret CProcessGroup::Name(BRIMLOW_PARAMS(n, types)) { return GetProcessType(a1)->Name(BRIMLOW_TAIL_ARGS(n)); }
#define BRIMLOW_GROUP_BODY_DEFAULT_FORWARD(Ret, Name, TypeName, n, types) \
  Ret CProcessGroup::Name(BRIMLOW_PARAMS(n, types)) {                    \
    CProcessGroupInterface::Name(BRIMLOW_ARGS(n));                        \
    return GetProcessType(a1)->Name(BRIMLOW_TAIL_ARGS(n));                \
  }
// The default stores whatever the group keeps of the value (the sample
// rate, the time code, the shared pair) before the types hear of it.
#define BRIMLOW_GROUP_BODY_BROADCAST(Ret, Name, TypeName, n, types)                                       \
  Ret CProcessGroup::Name(BRIMLOW_PARAMS(n, types)) {                                                     \
    CProcessGroupInterface::Name(BRIMLOW_ARGS(n));                                                        \
    return BroadcastToTypes([&](CProcessTypeInterface& type) { return type.TypeName(BRIMLOW_ARGS(n)); }); \
  }
#define BRIMLOW_DEFINE_GROUP_BODY(slot, selector, Ret, Name, kind, result, w1, v1, w2, v2, group, typeSlot, \
                                  TypeName, n, types)                                                       \
  BRIMLOW_CAT(BRIMLOW_GROUP_BODY_, group)(Ret, Name, TypeName, n, types)
BRIMLOW_GROUP_INTERFACE_SLOTS(BRIMLOW_DEFINE_GROUP_BODY)
#undef BRIMLOW_DEFINE_GROUP_BODY
#undef BRIMLOW_GROUP_BODY_KEEP
#undef BRIMLOW_GROUP_BODY_OWN
#undef BRIMLOW_GROUP_BODY_FORWARD
#undef BRIMLOW_GROUP_BODY_DEFAULT_FORWARD
#undef BRIMLOW_GROUP_BODY_BROADCAST

int32_t CProcessGroup::NewInstance(uint32_t typeID, int32_t* instanceNumber) {
  if (gDAEServer == 0) {
    if (const int16_t status = StartDAE()) return status;
    AttachDAELink();
  }
  if (mInstanceCount == 0) {
    // The bundle's map stays open while instances exist, but the host's
    // file stays the current one.
    try {
      gSavedResourceFile = UseResourceFile();
    } catch (...) {
      ReleaseDAELink();
      throw;
    }
    UseResFile(gSavedResourceFile);
  }
  int32_t result;
  try {
    result = GetProcessType(typeID)->CreateProcess(instanceNumber);
  } catch (...) {
    // An unknown type or a throwing creation is a failed creation too: the
    // first one must not leave the link and the map behind.
    if (mInstanceCount == 0) ReleaseInstanceResources();
    throw;
  }
  if (result == 0) {
    ++gCreationCount;
    ++mInstanceCount;
  } else if (mInstanceCount == 0) {
    ReleaseInstanceResources();
  }
  return result;
}

int32_t CProcessGroup::RemoveInstance(uint32_t typeID, int32_t instanceNumber) {
  const int32_t result = GetProcessType(typeID)->DeleteProcessInstance(instanceNumber);
  // Only a removed instance counts: a refused removal (no such instance)
  // must not let the count reach 0 while instances live, which would take
  // the engine link and the resource map from under them.
  if (result == 0 && mInstanceCount > 0 && --mInstanceCount == 0) ReleaseInstanceResources();
  return result;
}

void CProcessGroup::ReleaseInstanceResources() {
  ReleaseDAELink();
  RestoreResourceFile(gSavedResourceFile);
}

int16_t CProcessGroup::UseResourceFile() {
  const int16_t current = CurResFile();
  if (gResourceNesting == 0) {
    ThrowIfFalse(gBundle != nullptr);
    const int16_t map = CFBundleOpenBundleResourceMap(gBundle);
    ThrowIfFalse(map >= 1);
    gResourceMap = map;
    UseResFile(map);
  } else if (current != gResourceMap) {
    UseResFile(gResourceMap);
  }
  ++gResourceNesting;
  return current;
}

void CProcessGroup::RestoreResourceFile(int16_t previous) {
  // An unmatched restore finds nothing open and must not close the map a
  // second time.
  if (gResourceNesting > 0 && --gResourceNesting == 0) {
    ThrowIfFalse(gBundle != nullptr);
    CFBundleCloseBundleResourceMap(gBundle, gResourceMap);
    gResourceMap = 0;
  }
  UseResFile(previous);
}

int32_t CProcessGroup::GetResourceNesting() { return gResourceNesting; }

CFBundleRef CProcessGroup::GetBundleRef() { return gBundle; }

CFBundleRef CProcessGroup::GetBundleRef(CFBundleRef* bundle) {
  if (bundle) *bundle = gBundle;
  return gBundle;
}

void CProcessGroup::SetBundleRef(CFBundleRef bundle) { gBundle = bundle; }

bool CProcessGroup::AreViewsDisabled() { return gViewsDisabled; }

FicRef CProcessGroup::GetDAEServer() { return gDAEServer; }

FicRef CProcessGroup::GetDAEObject() { return gDAEObject; }

uint16_t CProcessGroup::GetCreationCount() { return gCreationCount; }

int32_t CProcessGroup::AttachDAELink() {
  intptr_t answer = 0;
  if (FicGestalt(ficgestalt::kLinkAllowed, &answer) != 0 || !FicIsAlive()) return 0;
  gDAEServer = FicNewServer();
  if (gDAEServer) gDAEObject = FicNewObject(gDAEServer, FicFindStandardType(gDAEServer, kLinkObjectType));
  return 0;
}

int32_t CProcessGroup::ReleaseDAELink() {
  if (gDAEObject) {
    FicDelete(gDAEObject);
    gDAEObject = 0;
  }
  if (gDAEServer) {
    FicDelete(gDAEServer);
    gDAEServer = 0;
  }
  return 0;
}

int32_t CProcessGroup::CreateGroupLock() {
  mLockDepth = 0;
  if (HostServicesTooOld(GetHostServices())) return DAEResult::kLockVersion;
  mLockHandle = FicCreateCriticalSection();
  return mLockHandle ? 0 : DAEResult::kLockCreate;
}

void CProcessGroup::DeleteGroupLock() {
  if (!mLockHandle) return;
  FicDeleteCriticalSection(mLockHandle);
  mLockHandle = 0;
}

int32_t CProcessGroup::EnterGroupLock() {
  if (mLockHandle) FicEnterCriticalSection(mLockHandle);
  return ++mLockDepth;
}

int32_t CProcessGroup::TryEnterGroupLock() {
  SHostServices* services = GetHostServices();
  if (!mLockHandle || !services || HostServicesTooOld(services)) return 0;
  if (!services->mVtbl->TryEnterCriticalSection(services, mLockHandle)) return 0;
  ++mLockDepth;
  return 1;
}

int32_t CProcessGroup::LeaveGroupLock() {
  --mLockDepth;
  if (mLockHandle) FicLeaveCriticalSection(mLockHandle);
  return mLockDepth;
}

int16_t CProcessGroupUseResourceFile(void) {
  try {
    return CProcessGroup::UseResourceFile();
  } catch (...) {
    return CurResFile();
  }
}

void CProcessGroupRestoreResourceFile(int16_t previous) {
  try {
    CProcessGroup::RestoreResourceFile(previous);
  } catch (...) {
    UseResFile(previous);
  }
}

CFBundleRef CProcessGroupGetBundleRef(void) { return CProcessGroup::GetBundleRef(); }
