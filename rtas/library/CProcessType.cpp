#include "rtas/library/CProcessType.h"

#include <algorithm>
#include <cstring>

#include "rtas/library/CDSPProcess.h"
#include "rtas/library/CProcess.h"
#include "rtas/library/CProcessGroupInterface.h"
#include "rtas/library/ErrorThrowers.h"
#include "rtas/library/FindInstanceByNumber.h"
#include "rtas/library/FourCC.h"
#include "rtas/library/ResultCodes.h"

namespace {

constexpr uint32_t kUnusedTag = FourCC("----");
// Never chosen for eviction: a way to pin an entry.
constexpr uint32_t kPinned = 0xFFFFFFFFu;

// Attributes asked of slot 94.
constexpr int32_t kCategoryAttribute = 21;
constexpr int32_t kStemFormatsAttribute = 29;

// The control-surface tables a type registers, in this order.
constexpr uint32_t kPageTableTags[CProcessType::kPageTableCount] = {
    FourCC("PgTL"), FourCC("MkTL"), FourCC("PcTL"), FourCC("FrTL"), FourCC("HgTL"),
    FourCC("DgEQ"), FourCC("DgCP"), FourCC("DgGT"), FourCC("BkCS"), FourCC("BkSF")};

const std::vector<CProcess*>& EmptyList() {
  static const std::vector<CProcess*> empty;
  return empty;
}

}  // namespace

CProcessType::CProcessType() : mInstances(std::make_unique<std::vector<CProcess*>>()) {
  // The group's settings as they stand when the type is made; the
  // broadcasts keep them current afterwards.
  CProcessGroupInterface* group = CProcessGroupInterface::GetGroupReference();
  mSampleRate = group ? group->GetGroupSampleRate() : 44100;
  if (group) {
    mTimeCode.mCode = static_cast<int8_t>(group->GetGroupTimeCodeCode());
    mTimeCode.mValue = group->GetGroupTimeCodeValue();
  }
  const uint32_t now = mClock();
  for (SPageTableEntry& entry : mPageTables) {
    entry.mTag = kUnusedTag;
    entry.mLastUse = now;
  }
}

CProcessType::~CProcessType() = default;

const std::vector<CProcess*>& CProcessType::GetInstances() const { return mInstances ? *mInstances : EmptyList(); }

void CProcessType::AppendProcess(CProcess* process) {
  if (!mInstances) mInstances = std::make_unique<std::vector<CProcess*>>();
  mInstances->push_back(process);
}

void CProcessType::ReleaseAllProcesses() {
  if (!mInstances) return;
  for (CProcess* process : *mInstances) {
    if (!process) continue;
    process->ReleaseProcess();
    delete process;
  }
  mInstances.reset();
}

int16_t CProcessType::CountInstances() const { return static_cast<int16_t>(GetInstances().size()); }

CProcess* CProcessType::GetProcessByNumber(int32_t n) const {
  if (n < 1) return nullptr;
  const std::vector<CProcess*>& list = GetInstances();
  auto found = FindInstanceByNumber(list.begin(), list.end(), n);
  return found == list.end() ? nullptr : *found;
}

void CProcessType::RemoveProcess(CProcess* process) {
  if (!process) return;
  if (mInstances) {
    auto found = std::find(mInstances->begin(), mInstances->end(), process);
    if (found != mInstances->end()) mInstances->erase(found);
  }
  process->ReleaseProcess();
  delete process;
}

int32_t CProcessType::DeleteProcessInstance(int32_t instanceNumber) {
  CProcess* process = GetProcessByNumber(instanceNumber);
  if (!process) return DAEResult::kNoInstance;
  RemoveProcess(process);
  return 0;
}

int32_t CProcessType::CreateProcess(int32_t* instanceNumber) {
  RegisterPageTables();
  return NewProcessInstance(instanceNumber);
}

void CProcessType::SetTypeIndex(int16_t index) {
  mTypeIndex = index;
  for (CProcess* process : GetInstances()) {
    if (process) process->SetTypeIndex(index);
  }
}

int32_t CProcessType::GetTypeIndex(int16_t* index) {
  if (index) *index = mTypeIndex;
  return 0;
}

int32_t CProcessType::GetTypeName(int32_t maxLength, char* text) {
  if (!text) return 0;
  static const char kUnnamed[] = "Unnamed";
  const int32_t length = std::clamp<int32_t>(maxLength, 0, static_cast<int32_t>(sizeof(kUnnamed) - 1));
  text[0] = static_cast<char>(length);
  std::memcpy(text + 1, kUnnamed, static_cast<size_t>(length));
  return 0;
}

int32_t CProcessType::GetTypeID(uint32_t* typeID) {
  if (typeID) *typeID = FourCC("swCl");
  return 0;
}

void CProcessType::GetTypeIDPString(uint8_t* text) {
  if (!text) return;
  uint32_t id = 0;
  if (GetTypeID(&id) != 0) {
    text[0] = 0;
    return;
  }
  text[0] = 4;
  for (int i = 0; i < 4; ++i) text[1 + i] = static_cast<uint8_t>(id >> (24 - 8 * i));
}

int32_t CProcessType::QueryTypeFeature(int32_t, int32_t* value) {
  if (value) *value = 0;
  return 0;
}

bool CProcessType::GetEngineProcessWord(int32_t instanceNumber, HostWord* word) {
  CDSPProcess* process = dynamic_cast<CDSPProcess*>(GetProcessByNumber(instanceNumber));
  if (!process || !word) return false;
  *word = process->GetSettableWord();
  return true;
}

int16_t CProcessType::GetInputChannelCount() {
  int16_t count = 0;
  if (const int32_t result = GetTypeInputCount(-1, &count)) ThrowDAEError(static_cast<int16_t>(result));
  return count;
}

int16_t CProcessType::GetOutputChannelCount() {
  int16_t count = 0;
  if (const int32_t result = GetTypeOutputCount(-1, &count)) ThrowDAEError(static_cast<int16_t>(result));
  return count;
}

int32_t CProcessType::HostCall025(int32_t* out) {
  if (out) *out = 0;
  return 0;
}

int32_t CProcessType::GetStemFormats(int32_t, SFicPlugInStemFormats* formats) {
  if (formats) std::fill(std::begin(formats->mFormat), std::end(formats->mFormat), -100);
  int32_t answer = 0;
  QueryTypeFeature(kStemFormatsAttribute, &answer);
  return answer != 0 ? DAEResult::kStemFormats : 0;
}

int32_t CProcessType::HostCall079(int16_t* out) {
  if (out) *out = 0;
  return 0;
}

int32_t CProcessType::HostCall166(int32_t, char* byte, int32_t* word) {
  if (!byte || !word) return DAEResult::kNullOutput;
  *byte = 0;
  *word = 0;
  return 0;
}

int32_t CProcessType::HostCall167(int32_t, int32_t* word) {
  if (!word) return DAEResult::kNullOutput;
  *word = 0;
  return 0;
}

int32_t CProcessType::HostCall134(int32_t, uint32_t* category) {
  int32_t answer = 0;
  const int32_t result = QueryTypeFeature(kCategoryAttribute, &answer);
  if (category) *category = static_cast<uint32_t>(answer);
  return result;
}

int32_t CProcessType::HostCall133(int32_t, uint32_t, uint32_t, int32_t* out) {
  if (out) *out = 1;
  return 0;
}

int32_t CProcessType::GetTypeKindCode(int32_t* kindCode) {
  if (kindCode) *kindCode = GetKindCode();
  return 0;
}

template <class Call>
int32_t CProcessType::Broadcast(Call call) {
  int32_t first = 0;
  for (CProcess* process : GetInstances()) {
    if (!process) continue;
    const int32_t result = call(*process);
    if (first == 0) first = result;
  }
  return first;
}

int32_t CProcessType::SetSampleRate(int32_t sampleRateHz) {
  mSampleRate = sampleRateHz;
  return Broadcast([&](CProcess& p) { return p.SetSampleRate(sampleRateHz); });
}

int32_t CProcessType::SetSharedValue(int32_t value) {
  mSharedValue = value;
  return Broadcast([&](CProcess& p) { return p.SetSharedValue(value); });
}

int32_t CProcessType::SetTimeCodeInfo(SFicTimeCodeInfo* info) {
  if (!info) return 0;
  mTimeCode.mCode = info->mCode;
  mTimeCode.mValue = info->mValue;
  return Broadcast([&](CProcess& p) { return p.SetTimeCodeInfo(info); });
}

int32_t CProcessType::HostCall069(uint8_t flag) {
  return Broadcast([&](CProcess& p) { return p.HostCall069(flag); });
}

int32_t CProcessType::HostCall072(uint8_t flag) {
  return Broadcast([&](CProcess& p) { return p.HostCall072(flag); });
}

int32_t CProcessType::SetSharedPair(int32_t a, int32_t b) {
  mSharedPair = b;
  return Broadcast([&](CProcess& p) { return p.SetSharedPair(a, b); });
}

const CProcessType::PageTable* CProcessType::RegisterPageTables() {
  const PageTable* last = nullptr;
  for (uint32_t tag : kPageTableTags) last = GetPageTable(tag);
  return last;
}

const CProcessType::PageTable* CProcessType::GetPageTable(uint32_t tag) {
  const uint32_t now = mClock();
  for (SPageTableEntry& entry : mPageTables) {
    if (entry.mTag == tag) {
      entry.mLastUse = now;
      return entry.mTable.get();
    }
  }
  // An entry never used goes first. Every entry is stamped when the type
  // is made, and the tables are loaded within the same tick: by time
  // alone the first entry, just filled, would tie with the empty ones
  // and be taken again for each next table.
  SPageTableEntry* oldest = nullptr;
  for (SPageTableEntry& entry : mPageTables) {
    if (entry.mLastUse == kPinned) continue;
    if (entry.mTag == kUnusedTag) {
      oldest = &entry;
      break;
    }
    if (!oldest || entry.mLastUse < oldest->mLastUse) oldest = &entry;
  }
  if (!oldest) return nullptr;
  oldest->mTable.reset();
  oldest->mTable = LoadPageTable(tag);
  oldest->mTag = tag;
  oldest->mLastUse = now;
  return oldest->mTable.get();
}
