#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "rtas/library/CDSPProcessType.h"

class CProcess;

// One channel configuration of the effect as a process type: its identity
// (type id, the plug-in's unique id, group id), name, category, stem
// formats and channel counts, type features, the function that makes its
// processes, and the type words of state-chunk headers.
class CEffectType : public CDSPProcessType {
 public:
  using ProcessCreator = CProcess* (*)();

  // The group id every type starts with.
  static constexpr uint32_t kDefaultGroupID = 0x67724944;  // 'grID'

  CEffectType(uint32_t typeID, uint32_t uniqueID, int32_t kindCode, int32_t category);
  ~CEffectType() override;

  void SetTypeName(const char* name);
  void SetTypeWord(int32_t value) { mTypeWord = value; }
  // Adds feature 29; a stem other than -1 also sets its channel count.
  void SetStemFormats(int32_t inputStem, int32_t outputStem, int32_t third);
  void SetProcessCreator(ProcessCreator creator) { mCreator = creator; }
  // Given by the group to kind-3 types.
  void SetHostContextAddress(void** address) { mHostContext = address; }

  // Feature 41 brings 30 with it.
  virtual void AddTypeFeature(int32_t feature);
  bool HasTypeFeature(int32_t feature) const { return mFeatures.count(feature) != 0; }

  uint32_t GetTypeIDValue() const { return mTypeID; }
  uint32_t GetUniqueID() const { return mUniqueID; }
  uint32_t GetGroupID() const { return mGroupID; }
  int32_t GetCategory() const { return mCategory; }
  int16_t GetInputCount() const { return mInputCount; }
  int16_t GetOutputCount() const { return mOutputCount; }
  int32_t GetInputStem() const { return mInputStem; }
  int32_t GetOutputStem() const { return mOutputStem; }
  HostWord GetHostContextValue() const;

  int32_t GetTypeID(uint32_t* typeID) override;
  CProcess* CallProcessCreator() override { return mCreator ? mCreator() : nullptr; }
  // 21 the category, 32 the type word; others 1 for a feature of the
  // type; and 5, when set, the input count + 1 (the side-chain port).
  int32_t QueryTypeFeature(int32_t feature, int32_t* value) override;
  int32_t GetTypeName(int32_t maxLength, char* text) override;
  int32_t GetTypeInputCount(int32_t channel, int16_t* count) override;
  int32_t GetTypeOutputCount(int32_t channel, int16_t* count) override;
  int32_t GetStemFormats(int32_t, SFicPlugInStemFormats* formats) override;
  // GetTypeLabel: the second name when there is one, else the type id.
  void GetTypeIDPString(uint8_t* text) override;
  // The control-key slot reaches the instance's effect-process hook.
  int32_t AcceptControlKey(int32_t instance, EventRecord*) override { return CallProcessHook(instance, 0); }
  int32_t CallProcessHook(int32_t instance, int32_t value);

  // Offsets 12 to 24 of the header, then the instance.
  int32_t GetInstanceChunk(int32_t instance, uint32_t chunkID, SFicPlugInChunk* chunk);
  // -7157 when offset 12 is not the unique id.
  int32_t SetInstanceChunk(int32_t instance, uint32_t chunkID, SFicPlugInChunk* chunk);
  int32_t CompareInstanceChunk(int32_t instance, SFicPlugInChunk* chunk, uint8_t* equal);
  int32_t GetProcessChunk(int32_t instance, uint32_t chunkID, SFicPlugInChunk* chunk) override {
    return GetInstanceChunk(instance, chunkID, chunk);
  }
  int32_t SetProcessChunk(int32_t instance, uint32_t chunkID, SFicPlugInChunk* chunk) override {
    return SetInstanceChunk(instance, chunkID, chunk);
  }
  int32_t CompareProcessChunk(int32_t instance, SFicPlugInChunk* chunk, uint8_t* equal) override {
    return CompareInstanceChunk(instance, chunk, equal);
  }

 private:
  std::set<int32_t> mFeatures;
  std::string mTypeName;
  uint32_t mTypeID;
  uint32_t mUniqueID;
  uint32_t mGroupID = kDefaultGroupID;
  int32_t mCategory;
  int16_t mInputCount = 0;
  int16_t mOutputCount = 0;
  int32_t mInputStem = 0;
  int32_t mOutputStem = 0;
  int32_t mThirdStem = 0;
  ProcessCreator mCreator = nullptr;
  std::string mSecondName;
  int32_t mTypeWord = 1;
  int32_t mCardAnswers[4] = {1, 1, 1, 1};
  void** mHostContext = nullptr;
};

// The host-based real-time variant: kind code 3. Its instance creation
// identifies the new instance and registers its render callback; an
// instance that cannot render is closed and removed again.
class CEffectTypeRTAS : public CEffectType {
 public:
  static constexpr int32_t kKindCode = 3;

  CEffectTypeRTAS(uint32_t typeID, uint32_t uniqueID, int32_t category);

  // Feature 41 also brings 38.
  void AddTypeFeature(int32_t feature) override;
  int32_t CreateProcess(int32_t* instanceNumber) override;
  int32_t DeleteProcessInstance(int32_t instanceNumber) override;
};
