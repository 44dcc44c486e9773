#include "rtas/binding/CEffectProcess.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "rtas/binding/CEffectGroup.h"
#include "rtas/library/CPluginControl_Continuous.h"
#include "rtas/library/CPluginControl_Discrete.h"
#include "rtas/library/CProcessType.h"
#include "rtas/library/ResultCodes.h"

namespace {

constexpr int32_t kControlsChunkStoredSize = -152;
constexpr uint8_t kMeterReader = 101;
constexpr int32_t kSideChainAttribute = 5;
constexpr int32_t kTextLength = 255;
constexpr int32_t kBypassOn = 0x7fffffff;
constexpr int32_t kBypassOff = static_cast<int32_t>(0x80000000u);

// A control's id as its record name: the four characters, most significant
// first.
std::string RecordName(uint32_t id) {
  const char name[4] = {static_cast<char>(id >> 24), static_cast<char>(id >> 16), static_cast<char>(id >> 8),
                        static_cast<char>(id)};
  return std::string(name, 4);
}

void CopyAsPString(const std::string& text, uint8_t* out) {
  if (!out) return;
  const size_t count = std::min<size_t>(text.size(), 255);
  out[0] = static_cast<uint8_t>(count);
  std::memcpy(out + 1, text.data(), count);
}

std::string ValueText(const CPluginControl& control, int32_t value) {
  char text[kTextLength + 1] = {};
  control.ConvertValueToString(text, kTextLength, value);
  return text;
}

}  // namespace

CEffectProcess::CEffectProcess() : mChunkList(std::make_unique<CChunkDescriptorList>()) {
  mChunkList->InitChunkList();
  mMeters.InitMeterSet();
  // The stored size of 'elck' is never used: its size is computed.
  AddChunk(kControlsChunkID, "Complete Controls State", kControlsChunkStoredSize);
}

CEffectProcess::~CEffectProcess() {
  mChunkList->FreeChunkList();
  mMeters.FreeMeterSet();
}

void CEffectProcess::AddChunk(uint32_t id, const char* name, int32_t size) {
  mChunks.emplace_back(id, name ? name : "");
  mChunkSizes.push_back(size);
  if (id != kControlsChunkID && id != kMIDIChunkID) mCustomChunks = 1;
}

bool CEffectProcess::SetMasterBypassControl(int32_t index) {
  mMasterBypass = index;
  if (!IsValidControlIndex(index)) return false;
  auto* discrete = dynamic_cast<CPluginControl_Discrete*>(GetControl(index));
  if (!discrete || discrete->GetID() == 0) return false;
  mExcluded.insert(discrete->GetID());
  return true;
}

void CEffectProcess::InitProcess() {
  if (auto* type = dynamic_cast<CDSPProcessType*>(GetProcessType())) {
    int16_t inputs = 0, outputs = 0;
    type->GetTypeInputCount(0, &inputs);
    type->GetTypeOutputCount(0, &outputs);
    mInputs = inputs;
    mOutputs = outputs;
    type->GetTypeKindCode(&mTypeKind);
    type->GetStemFormats(0, &mStems);
    type->QueryTypeFeature(kSideChainAttribute, &mSideChainAttribute);
  }
  mMeters.AttachMeterSet(this);
  SetUpControls();
  mMeterCount = mMeters.GetMeterCount();
  if (mMeterCount > 0) {
    mMeterValues = std::make_unique<int32_t[]>(static_cast<size_t>(mMeterCount));
    mClipFlags = std::make_unique<uint8_t[]>(static_cast<size_t>(mMeterCount));
  }
  CDSPProcess::InitProcess();
  mSavedControlCount = CountControls();
}

int32_t CEffectProcess::GetNumInputs(int16_t* count) {
  if (count) *count = mInputs;
  return 0;
}

int32_t CEffectProcess::GetNumOutputs(int16_t* count) {
  if (count) *count = mOutputs;
  return 0;
}

int32_t CEffectProcess::GetViewState(EventRecord* event, uint8_t* flag) {
  const int32_t result = CDSPProcess::GetViewState(event, flag);
  if (flag && *flag == 0) *flag = static_cast<uint8_t>(ControlFlagHook());
  return result;
}

int32_t CEffectProcess::GetMasterBypassControl(int32_t* control) {
  if (control) *control = mMasterBypass;
  return 0;
}

int32_t CEffectProcess::IsBypassed(int32_t, uint8_t* bypassed) {
  if (!bypassed) return 0;
  *bypassed = 0;
  if (mMasterBypass == 0) return 0;
  int32_t value = 0;
  const int32_t result = GetControlValue(mMasterBypass, &value);
  *bypassed = value >= 0 ? 1 : 0;
  return result;
}

int32_t CEffectProcess::SetBypass(int32_t, uint8_t bypass) {
  if (mMasterBypass == 0) return 0;
  return UpdateControlValue(mMasterBypass, bypass ? kBypassOn : kBypassOff);
}

int32_t CEffectProcess::FindChunk(uint32_t id) const {
  for (size_t i = 0; i < mChunks.size(); ++i) {
    if (mChunks[i].first == id) return static_cast<int32_t>(i);
  }
  return -1;
}

void CEffectProcess::CollectControls() {
  mParser.Clear();
  for (int32_t n = 1; n <= CountControls(); ++n) {
    CPluginControl* control = GetControl(n);
    if (!control || IsExcluded(control->GetID())) continue;
    if (auto* continuous = dynamic_cast<CPluginControl_Continuous*>(control)) {
      mParser.AddDoubleRecord(RecordName(control->GetID()), continuous->GetContinuousValue());
    } else if (auto* discrete = dynamic_cast<CPluginControl_Discrete*>(control)) {
      mParser.AddLongRecord(RecordName(control->GetID()), discrete->GetIntValue());
    }
  }
}

int32_t CEffectProcess::CountChunks(int32_t* count) {
  if (count) *count = static_cast<int32_t>(mChunks.size()) - (mSavedControlCount > 0 ? 0 : 1);
  return 0;
}

int32_t CEffectProcess::GetChunkIdAt(int32_t index, uint32_t* id) {
  const int32_t position = mSavedControlCount == 0 ? index + 1 : index;
  if (position >= 1 && position <= static_cast<int32_t>(mChunks.size())) {
    if (id) *id = mChunks[position - 1].first;
    return 0;
  }
  return CDSPProcess::GetChunkIdAt(index, id);
}

int32_t CEffectProcess::GetChunkName(uint32_t id, uint8_t* name) {
  const int32_t found = FindChunk(id);
  if (found >= 0) CopyAsPString(mChunks[found].second, name);
  return 0;
}

int32_t CEffectProcess::GetChunkSize(uint32_t id, int32_t* size) {
  if (id == kControlsChunkID) {
    if (mControlsChunkSize == 0) {
      CollectControls();
      mControlsChunkSize = mParser.GetDataSize() + SFicPlugInChunk::kHeaderBytes;
    }
    if (size) *size = mControlsChunkSize;
    return 0;
  }
  const int32_t found = FindChunk(id);
  if (mCustomChunks && found >= 0) {
    if (size) *size = mChunkSizes[found] + SFicPlugInChunk::kHeaderBytes;
    return 0;
  }
  return CDSPProcess::GetChunkSize(id, size);
}

int32_t CEffectProcess::GetChunk(uint32_t id, SFicPlugInChunk* chunk) {
  if (id != kControlsChunkID) return CDSPProcess::GetChunk(id, chunk);
  if (!chunk) return DAEResult::kMissingObject;
  CollectControls();
  const int32_t dataSize = mParser.GetDataSize();
  chunk->mSize = dataSize + SFicPlugInChunk::kHeaderBytes;
  std::memset(chunk->Data(), 0, static_cast<size_t>(dataSize));
  mParser.Write(chunk->Data());
  return 0;
}

int32_t CEffectProcess::ParseChunk(const SFicPlugInChunk* chunk) {
  mParser.Parse(chunk);
  return 0;
}

int32_t CEffectProcess::SetChunk(uint32_t id, SFicPlugInChunk* chunk) {
  if (id != kControlsChunkID || !chunk) return 0;
  ParseChunk(chunk);
  for (int32_t n = 1; n <= CountControls(); ++n) {
    if (n == mMasterBypass) continue;
    ApplyChunkRecord(n, false);
  }
  return 0;
}

int32_t CEffectProcess::ApplyChunkRecord(int32_t index, bool updateOnly) {
  CPluginControl* control = GetControl(index);
  const std::string name = RecordName(control->GetID());
  int32_t value;
  if (auto* continuous = dynamic_cast<CPluginControl_Continuous*>(control)) {
    const int32_t record = mParser.FindRecord(name);
    if (record < 0 || mParser.GetKind(record) != ChunkDataParser::kDouble) return 0;
    // A corrupt value is not a position on the control's range.
    if (!std::isfinite(mParser.GetDouble(record))) return 0;
    value = continuous->DoubleToValue(mParser.GetDouble(record));
  } else if (auto* discrete = dynamic_cast<CPluginControl_Discrete*>(control)) {
    const int32_t record = mParser.FindRecord(name);
    if (record < 0 || mParser.GetKind(record) != ChunkDataParser::kLong) return 0;
    value = discrete->IntToValue(mParser.GetLong(record));
  } else {
    return DAEResult::kUnexpected;
  }
  return updateOnly ? UpdateControlValue(index, value) : SetControlValue(index, value);
}

int32_t CEffectProcess::CompareChunk(SFicPlugInChunk* chunk, uint8_t* equal) {
  if (!chunk || chunk->mChunkID != kControlsChunkID) {
    if (equal) *equal = 1;
    return 0;
  }
  uint8_t same = 0;
  ParseChunk(chunk);
  if (CountControls() == 0) same = 1;
  bool differs = false;
  for (int32_t n = 1; n <= CountControls() && !differs; ++n) {
    if (n == mMasterBypass) continue;
    CPluginControl* control = GetControl(n);
    const int32_t record = mParser.FindRecord(RecordName(control->GetID()));
    if (record < 0) continue;
    if (auto* continuous = dynamic_cast<CPluginControl_Continuous*>(control)) {
      if (mParser.GetKind(record) != ChunkDataParser::kDouble || !std::isfinite(mParser.GetDouble(record))) continue;
      const int32_t stored = continuous->DoubleToValue(mParser.GetDouble(record));
      differs = ValueText(*control, stored) != ValueText(*control, control->GetValue());
    } else if (auto* discrete = dynamic_cast<CPluginControl_Discrete*>(control)) {
      if (mParser.GetKind(record) != ChunkDataParser::kLong) continue;
      differs = discrete->IntToValue(mParser.GetLong(record)) != discrete->IntToValue(discrete->GetIntValue());
    }
  }
  if (!differs) same = 1;
  if (equal) *equal = same;
  return 0;
}

int32_t CEffectProcess::GetProcessFolderPath(char* text) {
  if (!text) return 0;
  text[0] = 0;
  CProcessType* type = GetProcessType();
  if (auto* group = dynamic_cast<CEffectGroup*>(type ? type->GetProcessGroup() : nullptr)) {
    group->GetPlugInFolderPath(text);
  }
  return 0;
}

int32_t CEffectProcess::LookUpSecondaryName(uint32_t id, uint8_t* text) {
  for (const auto& entry : mSecondaryNames) {
    if (entry.first == id) {
      CopyAsPString(entry.second, text);
      break;
    }
  }
  return 0;
}

int32_t CEffectProcess::GetProcessMeterCount(int32_t* count) {
  if (count) *count = mMeters.GetMeterCount();
  return 0;
}

int32_t CEffectProcess::GetMeterValues(int32_t index, int32_t* values) {
  mMeters.UpdateMeterPeaks(kMeterReader, mMeterValues.get(), mClipFlags.get(), index, values, false);
  return 0;
}

int32_t CEffectProcess::GetMeterEntryFlag(int32_t n, char* flag) {
  if (flag) {
    const SMeterEntry* entry = mMeters.GetMeter(n);
    *flag = entry ? static_cast<char>(entry->mKind) : 0;
  }
  return 0;
}

int32_t CEffectProcess::GetMeterCountOfKind(char kind, int32_t* count) {
  if (count) *count = mMeters.CountMetersOfKind(static_cast<uint8_t>(kind));
  return 0;
}

int32_t CEffectProcess::GetNthMeterOfKind(char kind, int32_t n, int32_t* index) {
  if (index) *index = mMeters.FindNthMeterOfKind(static_cast<uint8_t>(kind), n);
  return 0;
}

int32_t CEffectProcess::IsClipped(uint8_t* clipped) {
  if (!mClipped && mMeterCount > 0) {
    mMeters.UpdateMeterPeaks(kMeterReader, mMeterValues.get(), mClipFlags.get(), -1, nullptr, false);
    mClipped = std::any_of(mClipFlags.get(), mClipFlags.get() + mMeterCount, [](uint8_t c) { return c != 0; });
  }
  if (clipped) *clipped = mClipped;
  return 0;
}

int32_t CEffectProcess::ClearClipIndicators() {
  if (mMeterCount > 0) {
    mMeters.UpdateMeterPeaks(kMeterReader, mMeterValues.get(), mClipFlags.get(), -1, nullptr, true);
  }
  mClipped = 0;
  return 0;
}

int32_t CEffectProcess::CountChunkDescriptors(int32_t* count) {
  if (count) *count = mChunkList->GetChunkListCount();
  return 0;
}

int32_t CEffectProcess::GetChunkDescriptor(int32_t n, SFicPlugInStemInfo* record) {
  mChunkList->GetChunkListEntry(n, record);
  return 0;
}

bool CEffectProcess::GetTypeKindCode(int32_t* kindCode) const {
  CProcessType* type = GetProcessType();
  if (!type) return false;
  return type->GetTypeKindCode(kindCode) == 0;
}

void CEffectProcess::FetchMeterValues(int32_t* values, uint8_t* clips) {
  for (int32_t i = 0; i < mMeterCount; ++i) {
    if (values) values[i] = 0;
    if (clips) clips[i] = 0;
  }
}
