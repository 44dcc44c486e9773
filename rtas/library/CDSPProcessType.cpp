#include "rtas/library/CDSPProcessType.h"

#include <algorithm>

#include "rtas/library/CDAEError.h"
#include "rtas/library/CDSPProcess.h"
#include "rtas/library/CDSPProcessGroup.h"
#include "rtas/library/CProcessDSP.h"
#include "rtas/library/DSPManagerInterface.h"
#include "rtas/library/DsiShims.h"
#include "rtas/library/ErrorThrowers.h"
#include "rtas/library/FourCC.h"
#include "rtas/library/ResultCodes.h"

namespace {

constexpr int32_t kChipKindAttribute = 21;
constexpr int32_t kChipKind321Attribute = 29;
// Set when the host wants a DSP announced before it is given back.
constexpr int32_t kAnnounceReturnAttribute = 35;

// A host call as the engine makes it: nothing may escape, and only the
// library's own failures keep their code.
template <class Call>
int32_t Guarded(Call call, bool keepCodes) {
  try {
    return call();
  } catch (const CDAEError& error) {
    return keepCodes ? error.Code() : DAEResult::kUnexpected;
  } catch (...) {
    return DAEResult::kUnexpected;
  }
}

template <class T>
void EraseFrom(std::vector<T>* list, T entry) {
  if (!list) return;
  auto found = std::find(list->begin(), list->end(), entry);
  if (found != list->end()) list->erase(found);
}

}  // namespace

const DOA::SIID CDSPProcessType::kIID_IProcessType2 = {
    {0x62, 0x57, 0x7f, 0x29, 0x66, 0x23, 0xd2, 0x11, 0x81, 0x7a, 0x00, 0x60, 0x08, 0x9a, 0x89, 0x16}};
const DOA::SIID CDSPProcessType::kIID_IProcessType2Alternate = {
    {0x94, 0x1c, 0x81, 0x51, 0xd1, 0x80, 0xd3, 0x11, 0xa4, 0xb0, 0x00, 0x60, 0x94, 0xeb, 0x6d, 0x0a}};

int32_t CDSPProcessType::QueryInterface(const DOA::SIID& iid, void** object) {
  return GetControllingUnknown()->NonDelegatingQueryInterface(iid, object);
}

int32_t CDSPProcessType::AddRef() { return GetControllingUnknown()->NonDelegatingAddRef(); }

int32_t CDSPProcessType::Release() { return GetControllingUnknown()->NonDelegatingRelease(); }

int32_t CDSPProcessType::NonDelegatingQueryInterface(const DOA::SIID& iid, void** object) {
  if (object && (iid == kIID_IProcessType2 || iid == kIID_IProcessType2Alternate)) {
    return GetInterface(static_cast<IProcessType2*>(this), object);
  }
  return DOA::CUnknown::NonDelegatingQueryInterface(iid, object);
}

int32_t CDSPProcessType::GetTypeID(uint32_t* typeID) {
  if (typeID) *typeID = FourCC("swDS");
  return 0;
}

int32_t CDSPProcessType::GetTypeKind(uint32_t* kind) {
  if (kind) *kind = FourCC("swDS");
  return 0;
}

int32_t CDSPProcessType::ReleaseChipForEngine(CProcessDSP* chip) {
  return Guarded([&] { return ReleaseChip(chip); }, false);
}

int32_t CDSPProcessType::FindChipForEngine(HostWord word, CProcessDSP** chip) {
  return Guarded([&] { return FindOrMakeChip(word, chip); }, true);
}

int32_t CDSPProcessType::GetTypeNameForEngine(int32_t maxLength, char* text) {
  return Guarded([&] { return GetTypeName(maxLength, text); }, false);
}

int32_t CDSPProcessType::GiveBackChipIfUnused(void* chip) {
  return Guarded(
      [&] {
        if (mDSPGroup && mDSPGroup->IsChipInUse(reinterpret_cast<HostWord>(chip))) return 0;
        return GiveBackManagerChip(chip);
      },
      false);
}

int32_t CDSPProcessType::FindChipWithRoom(void** chip) {
  return Guarded(
      [&] {
        if (mChips) {
          for (void* candidate : *mChips) {
            if (ChipHasOutputRoom(candidate) && ChipHasCapacity(candidate)) {
              if (chip) *chip = candidate;
              return 0;
            }
          }
        }
        return AcquireManagerChip(chip);
      },
      false);
}

IProcessGroup* CDSPProcessType::GetProcessGroupInterface() {
  return mDSPGroup ? mDSPGroup->GetProcessGroupInterface() : nullptr;
}

int32_t CDSPProcessType::GroupHostCall035(int32_t* out, char** text) {
  return Guarded([&] { return mDSPGroup ? mDSPGroup->HostCall035(out, text) : 0; }, false);
}

int32_t CDSPProcessType::GroupAttribute(int16_t selector, int32_t* value, int32_t count, uint32_t* detail) {
  return Guarded([&] { return mDSPGroup ? mDSPGroup->GetGroupAttribute(selector, value, count, detail) : 0; },
                 false);
}

int32_t CDSPProcessType::GetChipAttribute() {
  int32_t value = 0;
  uint32_t detail = 0;
  GroupAttribute(static_cast<int16_t>(IsDSP321Present() ? kChipKind321Attribute : kChipKindAttribute), &value, 1,
                 &detail);
  return value;
}

int32_t CDSPProcessType::CreateProcessInstance(int32_t* instanceNumber) {
  CProcess* process = CallProcessCreator();
  if (!process) return DAEResult::kMissingObject;
  // The lowest number no live instance has: after a removal the freed
  // number is used again before a new one.
  int32_t number = 1;
  while (GetProcessByNumber(number)) ++number;
  try {
    AppendProcess(process);
    if (instanceNumber) *instanceNumber = number;
    process->SetProcessType(this);
    if (auto* dspProcess = dynamic_cast<CDSPProcess*>(process)) dspProcess->SetCreatingType(this);
    int16_t typeIndex = -1;
    GetTypeIndex(&typeIndex);
    process->SetTypeIndex(typeIndex);
    process->SetInstanceNumber(static_cast<int16_t>(number));
    process->InitProcess();
    process->SetSampleRate(GetSampleRate());
    process->SetSharedValue(GetSharedValue());
  } catch (...) {
    // A half-made instance leaves no trace: closed, out of the list,
    // released and deleted. A close that fails must not hide why.
    try {
      process->CloseProcess();
    } catch (...) {
    }
    RemoveProcess(process);
    throw;
  }
  return 0;
}

int32_t CDSPProcessType::CreateAndConnectProcess(int32_t* instanceNumber) {
  int32_t number = 0;
  if (const int32_t result = CProcessType::CreateProcess(&number)) return result;
  if (instanceNumber) *instanceNumber = number;
  CProcess* created = GetProcessByNumber(number);
  auto* dspProcess = dynamic_cast<CDSPProcess*>(created);
  void* engineInterface = dspProcess ? static_cast<void*>(dspProcess->GetProcessInterface()) : nullptr;
  // A creation the host is told failed must not leave an instance behind
  // that the group does not count.
  const auto undo = [&] {
    if (!created) return;
    try {
      created->CloseProcess();
    } catch (...) {
    }
    RemoveProcess(created);
  };
  SDSPManagerConnection* connection = GetDSPManagerInterface();
  if (!connection) {
    undo();
    return DAEResult::kNoDSPManager;
  }
  if (const int32_t result = connection->mVtbl->Connect(connection, engineInterface)) {
    undo();
    return result;
  }
  const int32_t result = connection->mVtbl->Activate(connection, engineInterface);
  if (result == 0) return 0;
  if (dspProcess) connection->mVtbl->Disconnect(connection, engineInterface);
  undo();
  return result;
}

int32_t CDSPProcessType::DisconnectAndDeleteProcess(int32_t instanceNumber) {
  if (auto* dspProcess = dynamic_cast<CDSPProcess*>(GetProcessByNumber(instanceNumber))) {
    uint8_t record[CProcess::kStoredRecordBytes] = {0};
    dspProcess->StoreRecord(record);
    CProcessDSP* chip = dspProcess->GetDSPObject();
    SDSPManagerConnection* connection = GetDSPManagerInterface();
    if (!connection) ThrowDAEError(DAEResult::kNoDSPManager);
    void* engineInterface = dspProcess->GetProcessInterface();
    connection->mVtbl->Deactivate(connection, engineInterface);
    connection->mVtbl->Disconnect(connection, engineInterface);
    if (chip) ReleaseChip(chip);
  }
  return CProcessType::DeleteProcessInstance(instanceNumber);
}

bool CDSPProcessType::IsChipFree(CProcessDSP* chip) { return chip && chip->GetUseCount() == 0; }

int32_t CDSPProcessType::ReleaseChip(CProcessDSP* chip) {
  if (!chip || chip->GetUseCount() != 0) return 0;
  const int32_t answer = mDSPGroup ? mDSPGroup->ChipReleased() : 0;
  EraseFrom(mChipObjects, chip);
  std::unique_ptr<CProcessDSP> owned(chip);
  const DsiDSP dsp = owned->GetDSP();
  owned->Detach();
  owned.reset();
  if (dsp) GiveBackDSP(dsp);
  return answer;
}

int32_t CDSPProcessType::FindOrMakeChip(HostWord, CProcessDSP** chip) {
  if (mChipObjects) {
    for (CProcessDSP* candidate : *mChipObjects) {
      if (ChipObjectHasRoom(candidate) && ChipObjectHasCapacity(candidate)) {
        if (chip) *chip = candidate;
        return 0;
      }
    }
  }
  return AcquireDSPChip(chip);
}

int32_t CDSPProcessType::GetChipUsage(HostWord, int16_t* a, int16_t* b) {
  if (a) *a = 0;
  if (b) *b = 0;
  return 0;
}

int32_t CDSPProcessType::GetOwnChipUsage(int16_t* a, int16_t* b) {
  if (a) *a = 0;
  if (b) *b = 0;
  return 0;
}

int32_t CDSPProcessType::GetChipRequirements(int32_t* a, int32_t* b, int32_t* c, int32_t* d) {
  if (a) *a = 1;
  if (b) *b = 1;
  if (c) *c = 0;
  if (d) *d = 0;
  return 0;
}

void CDSPProcessType::NumberInstances() {
  HostWord previous = 0;
  int16_t slot = 0;
  bool first = true;
  for (CProcess* process : GetInstances()) {
    if (!process) continue;
    HostWord chip = 0;
    process->GetTypeWord2(&chip);
    slot = (first || chip != previous) ? 1 : static_cast<int16_t>(slot + 1);
    if (auto* dspProcess = dynamic_cast<CDSPProcess*>(process)) dspProcess->SetDSPSlotNumber(slot);
    previous = chip;
    first = false;
  }
}

int32_t CDSPProcessType::AcquireDSPChip(CProcessDSP** chip) {
  if (chip) *chip = nullptr;
  if (!mDSPGroup) ThrowDAEError(DAEResult::kNoDSPManagerObject);
  HostWord given = 0;
  HostWord unused = 0;
  if (const int32_t result = mDSPGroup->HostCallback10or17(&given, &unused, 0, 0, 0, 0)) return result;
  if (!given) return DAEResult::kNoCreatedObject;
  const DsiDSP dsp = reinterpret_cast<DsiDSP>(given);
  // A DSP the host gives again is one entry still: giving it back erases
  // one, and a second would stay behind.
  if (mDSPs && std::find(mDSPs->begin(), mDSPs->end(), dsp) == mDSPs->end()) mDSPs->push_back(dsp);
  if (mChipObjects) {
    for (CProcessDSP* candidate : *mChipObjects) {
      if (candidate->GetDSP() == dsp) {
        if (chip) *chip = candidate;
        return 0;
      }
    }
  }
  return mDSPGroup->AllocateChip(dsp, chip, 0, 0);
}

int32_t CDSPProcessType::AcquireManagerChip(void** chip) {
  if (chip) *chip = nullptr;
  if (!mDSPGroup) ThrowDAEError(DAEResult::kNoDSPManagerObject);
  void* given = nullptr;
  if (const int32_t result = mDSPGroup->RequestManagerChip(&given)) return result;
  if (!given) return DAEResult::kNoCreatedObject;
  if (mChips) mChips->push_back(given);
  if (chip) *chip = given;
  return 0;
}

bool CDSPProcessType::ChipHasOutputRoom(void* chip) {
  if (!mDSPGroup) return false;
  int32_t outputs = GetOutputChannelCount();
  mDSPGroup->ForEachDSPInstance([&](CDSPProcess& process) {
    if (process.GetSettableWord() == reinterpret_cast<HostWord>(chip)) outputs += process.OutputCount();
  });
  return outputs <= mDSPGroup->GetInstancesPerChip();
}

bool CDSPProcessType::HasCapacity(HostWord chip) {
  if (!mDSPGroup) return false;
  int16_t a = 0, b = 0, ownA = 0, ownB = 0;
  mDSPGroup->GetChipUsage(&a, &b, chip);
  GetOwnChipUsage(&ownA, &ownB);
  return a + b + ownA + ownB < mDSPGroup->GetChipCapacity(chip);
}

bool CDSPProcessType::ChipObjectHasCapacity(CProcessDSP* chip) {
  return chip && HasCapacity(reinterpret_cast<HostWord>(chip->GetDSP()));
}

bool CDSPProcessType::ChipHasCapacity(void* chip) { return HasCapacity(reinterpret_cast<HostWord>(chip)); }

int32_t CDSPProcessType::GiveBackDSP(DsiDSP dsp) {
  int32_t result = 0;
  if (mDSPGroup) {
    int32_t announce = 0;
    QueryTypeFeature(kAnnounceReturnAttribute, &announce);
    if (announce) mDSPGroup->HostCallback20(reinterpret_cast<HostWord>(dsp), 0);
    result = mDSPGroup->HostCallback11(reinterpret_cast<HostWord>(dsp), 0);
  }
  SetDSPClientVal(dsp, 0);
  EraseFrom(mDSPs, dsp);
  return result;
}

int32_t CDSPProcessType::GiveBackManagerChip(void* chip) {
  if (mDSPGroup) {
    if (const int32_t result = mDSPGroup->ReturnManagerChip(chip)) return result;
  }
  EraseFrom(mChips, chip);
  return 0;
}
