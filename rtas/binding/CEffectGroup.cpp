#include "rtas/binding/CEffectGroup.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "rtas/binding/CEffectType.h"
#include "rtas/library/FourCC.h"
#include "rtas/library/ResultCodes.h"
#include "rtas/library/SystemServices.h"

namespace {

constexpr int32_t kMIDIFeature = 28;
constexpr int32_t kPathPartLength = 127;
constexpr size_t kPathLength = 255;

std::string FittingLine(const std::string& name, int32_t length) {
  char line[256];
  CopyLineThatFits(line, name.c_str(), length);
  return line;
}

}  // namespace

CEffectGroup::CEffectGroup() = default;

CEffectGroup::~CEffectGroup() = default;

void CEffectGroup::SetManufacturer(const char* name, uint32_t id) {
  mManufacturerName = name ? name : "";
  mManufacturerID = id;
}

void CEffectGroup::SetProduct(const char* name, int32_t number) {
  mProductName = name ? name : "";
  mProductNumber = number;
}

void CEffectGroup::AddGroupFeature(int32_t feature) { mFeatures.insert(feature); }

void CEffectGroup::AddEffectType(std::unique_ptr<CEffectType> type) {
  if (type) {
    int32_t kind = 0;
    type->GetTypeKindCode(&kind);
    if (kind == 3) type->SetHostContextAddress(GetHostContextAddress());
  }
  AddProcessType(std::move(type));
}

void CEffectGroup::GetPlugInFolderPath(char* text) {
  if (mFolderPath.empty()) {
    char number[8];
    std::snprintf(number, sizeof(number), "%d", mProductNumber & 0xff);
    mFolderPath = "Plug-Ins/" + FittingLine(mManufacturerName, kPathPartLength) + "/" +
                  FittingLine(mProductName, kPathPartLength) + "/" + number;
  }
  if (!text) return;
  const size_t count = std::min(mFolderPath.size(), kPathLength);
  std::memcpy(text, mFolderPath.data(), count);
  text[count] = 0;
}

int32_t CEffectGroup::GetManufacturerName(int32_t maxLength, char* text) {
  CopyLineThatFitsAsPString(text, mManufacturerName.c_str(), maxLength);
  return 0;
}

int32_t CEffectGroup::GetProductName(char* text, int32_t maxLength) {
  CopyLineThatFitsAsPString(text, mProductName.c_str(), maxLength);
  return 0;
}

int32_t CEffectGroup::GetTypeIDs(int32_t typeIndex, uint32_t* manufacturerID, uint32_t* uniqueID,
                                 uint32_t* typeID) {
  auto* type = dynamic_cast<CEffectType*>(FindProcessType(static_cast<int16_t>(typeIndex)));
  if (!type) return DAEResult::kUnknownTypeNumber;
  uint32_t id = 0;
  if (const int32_t result = type->GetTypeID(&id)) return result;
  if (typeID) *typeID = id;
  if (uniqueID) *uniqueID = type->GetUniqueID();
  if (manufacturerID) *manufacturerID = mManufacturerID;
  return 0;
}

int32_t CEffectGroup::GetProcessChunk(uint32_t typeID, int32_t instance, uint32_t chunkID, SFicPlugInChunk* chunk) {
  if (!chunk) return DAEResult::kMissingObject;
  chunk->mProductNumber = static_cast<uint32_t>(mProductNumber);
  chunk->mManufacturerID = mManufacturerID;
  return CProcessGroup::GetProcessChunk(typeID, instance, chunkID, chunk);
}

int32_t CEffectGroup::SetProcessChunk(uint32_t typeID, int32_t instance, uint32_t chunkID, SFicPlugInChunk* chunk) {
  if (!chunk) return DAEResult::kMissingObject;
  if (chunk->mManufacturerID != mManufacturerID) return DAEResult::kUnknownChunk;
  return CProcessGroup::SetProcessChunk(typeID, instance, chunkID, chunk);
}

int32_t CEffectGroup::CompareProcessChunk(uint32_t typeID, int32_t instance, SFicPlugInChunk* chunk,
                                          uint8_t* equal) {
  if (!chunk) return DAEResult::kMissingObject;
  if (chunk->mManufacturerID != mManufacturerID) return DAEResult::kUnknownChunk;
  return CProcessGroup::CompareProcessChunk(typeID, instance, chunk, equal);
}

int32_t CEffectGroup::MatchPlugInSpec(SFicPlugInSpec* spec, int32_t a, int32_t b) {
  if (!spec) return DAEResult::kMissingObject;
  auto* type = dynamic_cast<CEffectType*>(GetProcessType(spec->mTypeID));
  if (!type) return DAEResult::kNoMatchingSpec;
  int32_t kind = 0;
  int32_t inputs = a;
  int32_t outputs = b;
  if (a != -3) {
    type->GetTypeKindCode(&kind);
  } else {
    kind = b;
    inputs = type->GetInputChannelCount();
    outputs = type->GetOutputChannelCount();
  }
  // Only mono and stereo have stems to match; any other layout matches
  // nothing.
  const auto isStemmed = [](int32_t channels) { return channels == 1 || channels == 2; };
  if (!isStemmed(inputs) || !isStemmed(outputs)) return DAEResult::kNoMatchingSpec;
  return MatchPlugInSpecFull(spec, kind, inputs, outputs, inputs == 1 ? 0 : 1, outputs == 1 ? 0 : 1);
}

int32_t CEffectGroup::MatchPlugInSpecFull(SFicPlugInSpec* spec, int32_t kind, int32_t inputs, int32_t outputs,
                                          int32_t inputStem, int32_t outputStem) {
  if (!spec || spec->mManufacturerID != mManufacturerID) return DAEResult::kNoMatchingSpec;
  auto* named = dynamic_cast<CEffectType*>(GetProcessType(spec->mTypeID));
  if (!named) return DAEResult::kNoMatchingSpec;
  const uint32_t groupID = named->GetGroupID();
  int16_t count = 0;
  CountProcessTypes(&count);
  if (count < 1) return DAEResult::kNoMatchingSpec;
  for (int16_t index = 1; index <= count; ++index) {
    auto* type = dynamic_cast<CEffectType*>(FindProcessType(index));
    if (!type) continue;
    type->GetTypeID(&spec->mTypeID);
    spec->mProductID = type->GetUniqueID();
    int32_t typeKind = 0;
    type->GetTypeKindCode(&typeKind);
    SFicPlugInStemFormats stems{};
    type->GetStemFormats(0, &stems);
    bool match = typeKind == kind && type->GetGroupID() == groupID && stems.mFormat[0] == inputStem &&
                 stems.mFormat[1] == outputStem;
    if (inputStem == -1 || outputStem == -1) {
      match = match && type->GetInputCount() == inputs && type->GetOutputCount() == outputs;
    }
    if (match) return 0;
  }
  return DAEResult::kNoMatchingSpec;
}

int32_t CEffectGroup::GetFeatureSupport(uint32_t typeID, int32_t feature, int32_t* value) {
  if (feature == kMIDIFeature) {
    if (value) *value = *value == static_cast<int32_t>(FourCC("midi")) ? 2 : 0;
    return 0;
  }
  if (HasGroupFeature(feature)) {
    if (value) *value = 1;
    return 0;
  }
  if (value) *value = 0;
  return CProcessGroup::GetFeatureSupport(typeID, feature, value);
}
