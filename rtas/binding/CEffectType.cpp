#include "rtas/binding/CEffectType.h"

#include <algorithm>
#include <cstring>

#include "rtas/binding/CEffectGroup.h"
#include "rtas/binding/CEffectProcessRTAS.h"
#include "rtas/library/ResultCodes.h"
#include "rtas/library/SystemServices.h"

namespace {

constexpr int32_t kCategoryAttribute = 21;
constexpr int32_t kTypeWordAttribute = 32;
constexpr int32_t kSideChainAttribute = 5;
constexpr int32_t kBaseFeature = 7;
constexpr int32_t kStemFeature = 29;
constexpr int32_t kExtraStreamsFeature = 41;
constexpr int32_t kExtraStreamsCompanion = 30;
constexpr int32_t kRenderArgumentFeature = 38;

// An instance the host was told failed must not stay behind.
void CloseAndRemove(CProcessType& type, CProcess* process) {
  try {
    process->CloseProcess();
  } catch (...) {
  }
  type.RemoveProcess(process);
}

}  // namespace

CEffectType::CEffectType(uint32_t typeID, uint32_t uniqueID, int32_t kindCode, int32_t category)
    : mTypeID(typeID), mUniqueID(uniqueID), mCategory(category) {
  SetKindCode(kindCode);
  AddTypeFeature(kBaseFeature);
}

CEffectType::~CEffectType() = default;

void CEffectType::SetTypeName(const char* name) { mTypeName = name ? name : ""; }

void CEffectType::SetStemFormats(int32_t inputStem, int32_t outputStem, int32_t third) {
  AddTypeFeature(kStemFeature);
  mInputStem = inputStem;
  mOutputStem = outputStem;
  mThirdStem = third;
  if (inputStem != -1) mInputCount = static_cast<int16_t>(ChannelCountOfStemFormat(inputStem));
  if (outputStem != -1) mOutputCount = static_cast<int16_t>(ChannelCountOfStemFormat(outputStem));
}

void CEffectType::AddTypeFeature(int32_t feature) {
  mFeatures.insert(feature);
  if (feature == kExtraStreamsFeature) mFeatures.insert(kExtraStreamsCompanion);
}

HostWord CEffectType::GetHostContextValue() const {
  return mHostContext ? reinterpret_cast<HostWord>(*mHostContext) : 0;
}

int32_t CEffectType::GetTypeID(uint32_t* typeID) {
  if (typeID) *typeID = mTypeID;
  return 0;
}

int32_t CEffectType::QueryTypeFeature(int32_t feature, int32_t* value) {
  int32_t answer;
  if (feature == kCategoryAttribute) {
    answer = mCategory;
  } else if (feature == kTypeWordAttribute) {
    // Kind-0 types belong to DSP cards, which this plug-in does not make.
    answer = GetKindCode() != 0 ? mTypeWord : mCardAnswers[0];
  } else {
    answer = HasTypeFeature(feature) ? 1 : 0;
  }
  if (feature == kSideChainAttribute && answer == 1) answer = mInputCount + 1;
  if (value) *value = answer;
  return 0;
}

int32_t CEffectType::GetTypeName(int32_t maxLength, char* text) {
  CopyLineThatFitsAsPString(text, mTypeName.c_str(), maxLength);
  return 0;
}

int32_t CEffectType::GetTypeInputCount(int32_t, int16_t* count) {
  if (count) *count = mInputCount;
  return 0;
}

int32_t CEffectType::GetTypeOutputCount(int32_t, int16_t* count) {
  if (count) *count = mOutputCount;
  return 0;
}

int32_t CEffectType::GetStemFormats(int32_t, SFicPlugInStemFormats* formats) {
  if (formats) {
    formats->mFormat[0] = mInputStem;
    formats->mFormat[1] = mOutputStem;
    formats->mFormat[2] = mThirdStem;
  }
  return 0;
}

void CEffectType::GetTypeIDPString(uint8_t* text) {
  if (mSecondName.empty()) {
    CProcessType::GetTypeIDPString(text);
    return;
  }
  if (!text) return;
  const size_t count = std::min<size_t>(mSecondName.size(), 255);
  text[0] = static_cast<uint8_t>(count);
  std::memcpy(text + 1, mSecondName.data(), count);
}

int32_t CEffectType::CallProcessHook(int32_t instance, int32_t) {
  auto* process = dynamic_cast<CEffectProcess*>(GetProcessByNumber(instance));
  if (!process) return DAEResult::kNoInstance;
  return process->ProcessHook();
}

int32_t CEffectType::GetInstanceChunk(int32_t instance, uint32_t chunkID, SFicPlugInChunk* chunk) {
  if (!chunk) return DAEResult::kMissingObject;
  chunk->mUniqueID = mUniqueID;
  chunk->mTypeID = mTypeID;
  chunk->mChunkID = chunkID;
  chunk->mReserved = 0;
  return CProcessType::GetProcessChunk(instance, chunkID, chunk);
}

int32_t CEffectType::SetInstanceChunk(int32_t instance, uint32_t chunkID, SFicPlugInChunk* chunk) {
  if (!chunk) return DAEResult::kMissingObject;
  if (chunk->mUniqueID != mUniqueID) return DAEResult::kUnknownChunk;
  return CProcessType::SetProcessChunk(instance, chunkID, chunk);
}

int32_t CEffectType::CompareInstanceChunk(int32_t instance, SFicPlugInChunk* chunk, uint8_t* equal) {
  if (!chunk) return DAEResult::kMissingObject;
  if (chunk->mUniqueID != mUniqueID) return DAEResult::kUnknownChunk;
  return CProcessType::CompareProcessChunk(instance, chunk, equal);
}

CEffectTypeRTAS::CEffectTypeRTAS(uint32_t typeID, uint32_t uniqueID, int32_t category)
    : CEffectType(typeID, uniqueID, kKindCode, category) {}

void CEffectTypeRTAS::AddTypeFeature(int32_t feature) {
  CEffectType::AddTypeFeature(feature);
  if (feature == kExtraStreamsFeature) CEffectType::AddTypeFeature(kRenderArgumentFeature);
}

int32_t CEffectTypeRTAS::CreateProcess(int32_t* instanceNumber) {
  int32_t number = 0;
  if (const int32_t result = CProcessType::CreateProcess(&number)) return result;
  if (instanceNumber) *instanceNumber = number;

  SInstanceIdentification identification{};
  int16_t typeIndex = -1;
  GetTypeIndex(&typeIndex);
  CProcessGroup* group = GetProcessGroup();
  CProcess* process = GetProcessByNumber(number);
  try {
    if (auto* effectGroup = dynamic_cast<CEffectGroup*>(group)) {
      effectGroup->GetTypeIDs(typeIndex, &identification.mManufacturerID, &identification.mUniqueID,
                              &identification.mTypeID);
    }
    identification.mHostContext = group ? reinterpret_cast<HostWord>(group->GetHostContext()) : 0;
    identification.mInstanceNumber = number;

    auto* rtasProcess = dynamic_cast<CEffectProcessRTAS*>(process);
    const int32_t result =
        rtasProcess ? rtasProcess->RegisterRenderCallback(identification) : DAEResult::kUnknownTypeNumber;
    if (result != 0 && process) CloseAndRemove(*this, process);
    return result;
  } catch (...) {
    if (process) CloseAndRemove(*this, process);
    throw;
  }
}

int32_t CEffectTypeRTAS::DeleteProcessInstance(int32_t instanceNumber) {
  return CProcessType::DeleteProcessInstance(instanceNumber);
}
