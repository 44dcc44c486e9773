#include "rtas/library/CDSPProcessGroup.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "rtas/library/CDSPProcess.h"
#include "rtas/library/CProcessDSP.h"
#include "rtas/library/DSPManagerInterface.h"
#include "rtas/library/DsiShims.h"
#include "rtas/library/ErrorThrowers.h"
#include "rtas/library/HostFrameworkAccess.h"
#include "rtas/library/HostRequests.h"
#include "rtas/library/NewProcessDSP.h"
#include "rtas/library/ResultCodes.h"

namespace {

// Selector 21 of the group attribute: the DSP kind the group runs on.
constexpr int16_t kChipKindAttribute = 21;
constexpr int32_t kChipKindDetail = 27;
constexpr int32_t kChipLoadQuery = 4;
constexpr int32_t kProductNameQuery = 1;
// The capacity word of a DSP's information record.
constexpr size_t kCapacityOffset = 68;

}  // namespace

const DOA::SIID CDSPProcessGroup::kIID_IProcessGroup = {
    {0xa0, 0xf6, 0x1f, 0xe0, 0x65, 0x38, 0xd2, 0x11, 0xb4, 0xbe, 0xb8, 0x7e, 0x91, 0x8e, 0x1b, 0x5a}};

CDSPProcessGroup::CDSPProcessGroup() = default;

CDSPProcessGroup::~CDSPProcessGroup() {
  // The instances let go of their chips before the chips go: a process
  // released after its chip was deleted would count down freed memory.
  DeleteProcessTypes();
  ReleaseChipLists();
}

int32_t CDSPProcessGroup::QueryInterface(const DOA::SIID& iid, void** object) {
  return GetControllingUnknown()->NonDelegatingQueryInterface(iid, object);
}

int32_t CDSPProcessGroup::AddRef() { return GetControllingUnknown()->NonDelegatingAddRef(); }

int32_t CDSPProcessGroup::Release() { return GetControllingUnknown()->NonDelegatingRelease(); }

int32_t CDSPProcessGroup::NonDelegatingQueryInterface(const DOA::SIID& iid, void** object) {
  if (object && iid == kIID_IProcessGroup) return GetInterface(static_cast<IProcessGroup*>(this), object);
  return DOA::CUnknown::NonDelegatingQueryInterface(iid, object);
}

int32_t CDSPProcessGroup::InitProcessGroup() {
  const auto handOut = [this](bool lists) {
    for (int32_t i = 0; i < GetProcessTypeCount(); ++i) {
      auto* type = dynamic_cast<CDSPProcessType*>(GetProcessTypeAt(i));
      if (!type) continue;
      type->SetDSPList(lists ? mDSPs.get() : nullptr);
      type->SetChipList(lists ? mChips.get() : nullptr);
      type->SetChipObjectList(lists ? mChipObjects.get() : nullptr);
      type->SetDSPProcessGroup(lists ? this : nullptr);
    }
  };
  try {
    mDSPs = std::make_unique<CDSPProcessType::DSPList>();
    mChipObjects = std::make_unique<CDSPProcessType::ChipObjectList>();
    mChips = std::make_unique<CDSPProcessType::ChipList>();
    ThrowIfError(StartDSI());
    const int32_t result = CProcessGroup::InitProcessGroup();
    handOut(true);
    return result;
  } catch (...) {
    handOut(false);
    mDSPs.reset();
    mChipObjects.reset();
    mChips.reset();
    throw;
  }
}

int32_t CDSPProcessGroup::RemoveInstance(uint32_t typeID, int32_t instanceNumber) {
  const int32_t result = CProcessGroup::RemoveInstance(typeID, instanceNumber);
  if (result != 0 || !mChipObjects) return result;
  std::vector<CProcessDSP*> unused;
  for (CProcessDSP* chip : *mChipObjects) {
    if (chip->GetUseCount() < 0) return DAEResult::kRemoveInstance;
    if (chip->GetUseCount() == 0) unused.push_back(chip);
  }
  int32_t answer = 0;
  for (CProcessDSP* chip : unused) {
    std::unique_ptr<CProcessDSP> owned(chip);
    mChipObjects->erase(std::find(mChipObjects->begin(), mChipObjects->end(), chip));
    owned->Detach();
    answer = ChipReleased();
  }
  return answer;
}

void CDSPProcessGroup::ReleaseChipLists() {
  if (mChipObjects) {
    for (CProcessDSP* chip : *mChipObjects) {
      // The list owns its chip objects; each is closed and deleted with
      // it, a chip that will not close included.
      std::unique_ptr<CProcessDSP> owned(chip);
      try {
        owned->Detach();
      } catch (...) {
      }
    }
  }
  mChipObjects.reset();
  mDSPs.reset();
  mChips.reset();
}

int32_t CDSPProcessGroup::HostCall035(int32_t* out, char**) {
  try {
    if (out) *out = 0;
    return 0;
  } catch (...) {
    return DAEResult::kUnexpected;
  }
}

int32_t CDSPProcessGroup::GetGroupAttribute(int16_t selector, int32_t* value, int32_t count, uint32_t* detail) {
  try {
    if (value) *value = 0;
    if (selector == kChipKindAttribute && count >= 1) {
      if (value) *value = 1;
      if (detail) *detail = kChipKindDetail;
    }
    return 0;
  } catch (...) {
    return DAEResult::kUnexpected;
  }
}

int32_t CDSPProcessGroup::QueryChip(HostWord chip, int32_t kind, void* out) {
  if (!out) return 0;
  if (kind == kChipLoadQuery) {
    const int16_t load = GetChipLoad(chip);
    std::memcpy(out, &load, sizeof load);
  } else if (kind == kProductNameQuery) {
    std::memset(out, 0, 16);
    GetProductName(static_cast<char*>(out), 15);
  } else {
    return -1;
  }
  return 0;
}

int16_t CDSPProcessGroup::GetChipCapacity(HostWord chip) {
  const int32_t sampleRateHz = GetGroupSampleRate();
  if (sampleRateHz == 0) return 0;
  uint8_t info[kDsiInfoRecordBytes] = {0};
  GetDSPInfoRecord(reinterpret_cast<DsiDSP>(chip), info);
  int32_t word = 0;
  std::memcpy(&word, info + kCapacityOffset, sizeof word);
  return static_cast<int16_t>(word / 2 / sampleRateHz);
}

int32_t CDSPProcessGroup::GetChipUsage(int16_t* a, int16_t* b, HostWord chip) {
  int32_t sumA = 0, sumB = 0;
  for (int32_t i = 0; i < GetProcessTypeCount(); ++i) {
    auto* type = dynamic_cast<CDSPProcessType*>(GetProcessTypeAt(i));
    if (!type) continue;
    int16_t typeA = 0, typeB = 0;
    type->GetChipUsage(chip, &typeA, &typeB);
    sumA += typeA;
    sumB += typeB;
  }
  if (a) *a = static_cast<int16_t>(sumA);
  if (b) *b = static_cast<int16_t>(sumB);
  return 0;
}

CProcessDSP* CDSPProcessGroup::MakeChipObject(int32_t, uint32_t, DsiDSP dsp) { return GetNewCProcessDSP(dsp); }

int32_t CDSPProcessGroup::RegisterChip(HostWord identity, HostWord a3, HostWord a4) {
  return RequestHost13(identity, a3, a4);
}

int32_t CDSPProcessGroup::AllocateChip(DsiDSP dsp, CProcessDSP** chip, HostWord a3, HostWord a4) {
  int32_t cardType = 0;
  uint32_t coreType = 0;
  GetCardTypeFromDSP(dsp, &cardType);
  GetDSPCoreType(dsp, &coreType);
  const int16_t codeResource = GetDSPCodeResource(cardType, coreType, dsp);
  std::unique_ptr<CProcessDSP> made(MakeChipObject(cardType, coreType, dsp));
  if (!made || !mChipObjects) ThrowDAEError(DAEResult::kMissingObject);
  bool listed = false;
  try {
    mChipObjects->push_back(made.get());
    listed = true;
    made->Attach(dsp);
    made->SetUserWord(a4);
    const HostWord identity = reinterpret_cast<HostWord>(made->GetShell());
    if (const int32_t result = RegisterChip(identity, a3, a4)) ThrowDAEError(static_cast<int16_t>(result));
    made->LoadDSPCode(GetBundleRef(), codeResource);
  } catch (...) {
    if (listed) {
      try {
        made->Detach();
      } catch (...) {
      }
      mChipObjects->erase(std::find(mChipObjects->begin(), mChipObjects->end(), made.get()));
    }
    if (chip) *chip = nullptr;
    throw;
  }
  if (chip) *chip = made.get();
  made.release();
  return 0;
}

int16_t CDSPProcessGroup::GetChipLoad(HostWord chip) {
  double load = 0;
  ForEachDSPInstance([&](CDSPProcess& process) {
    if (process.GetStoredValue() == chip) load += process.GetLoad();
  });
  return static_cast<int16_t>(std::min(std::lround(load), 100L));
}

int32_t CDSPProcessGroup::RequestManagerChip(void** chip) {
  if (chip) *chip = nullptr;
  SDSPManagerConnection* connection = GetDSPManagerInterface();
  if (!connection) return 0;
  return connection->mVtbl->AllocateChip(connection, static_cast<IProcessGroup*>(this), chip);
}

int32_t CDSPProcessGroup::ReturnManagerChip(void* chip) {
  SDSPManagerConnection* connection = GetDSPManagerInterface();
  if (!connection) return 0;
  return connection->mVtbl->ReleaseChip(connection, chip);
}

bool CDSPProcessGroup::IsChipInUse(HostWord chip) {
  bool inUse = false;
  ForEachDSPInstance([&](CDSPProcess& process) { inUse = inUse || process.GetSettableWord() == chip; });
  return inUse;
}
