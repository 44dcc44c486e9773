#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "rtas/library/CDSPProcessGroup.h"

class CEffectType;

// The effect layer's process group: the plug-in file's identity
// (manufacturer and product), its group features, its effect types, the
// matching of the host's record naming a plug-in type against them, the per-product folder
// path, and the stamping and checking of the manufacturer and product words
// of state-chunk headers. The plug-in's group derives from it, sets the
// identity in its constructor and makes its types in CreateEffectTypes.
class CEffectGroup : public CDSPProcessGroup {
 public:
  CEffectGroup();
  ~CEffectGroup() override;

  void SetManufacturer(const char* name, uint32_t id);
  void SetProduct(const char* name, int32_t number);
  void AddGroupFeature(int32_t feature);
  // Kind-3 types learn where the group's host context lives; then the
  // group owns the type.
  void AddEffectType(std::unique_ptr<CEffectType> type);
  // "Plug-Ins/<manufacturer>/<product>/<number>", built once; at most 255
  // characters and a terminator into text.
  void GetPlugInFolderPath(char* text);

  uint32_t GetManufacturerID() const { return mManufacturerID; }
  int32_t GetProductNumberValue() const { return mProductNumber; }
  bool HasGroupFeature(int32_t feature) const { return mFeatures.count(feature) != 0; }

  int32_t GetProductNumber() override { return mProductNumber; }
  int32_t GetManufacturerName(int32_t maxLength, char* text) override;
  int32_t GetProductName(char* text, int32_t maxLength) override;
  // -7125 for an index without a type, -77 for a type that is not an
  // effect type.
  int32_t GetTypeIDs(int32_t typeIndex, uint32_t* manufacturerID, uint32_t* uniqueID, uint32_t* typeID) override;
  int32_t GetGroupVersion() override { return 3; }
  // Offsets 4 and 8 of the header, then the type and the process.
  int32_t GetProcessChunk(uint32_t typeID, int32_t instance, uint32_t chunkID, SFicPlugInChunk* chunk) override;
  // -7157 for a header of another manufacturer (offset 8).
  int32_t SetProcessChunk(uint32_t typeID, int32_t instance, uint32_t chunkID, SFicPlugInChunk* chunk) override;
  int32_t CompareProcessChunk(uint32_t typeID, int32_t instance, SFicPlugInChunk* chunk, uint8_t* equal) override;
  int32_t MatchPlugInSpec(SFicPlugInSpec* spec, int32_t a, int32_t b) override;
  int32_t MatchPlugInSpecFull(SFicPlugInSpec* spec, int32_t kind, int32_t inputs, int32_t outputs,
                              int32_t inputStem, int32_t outputStem) override;
  // QueryGroupFeature: feature 28 answers 2 for 'midi' (else 0); a group
  // feature 1; anything else the type's answer.
  int32_t GetFeatureSupport(uint32_t typeID, int32_t feature, int32_t* value) override;
  int32_t QueryGroupFeature(uint32_t typeID, int32_t feature, int32_t* value) {
    return GetFeatureSupport(typeID, feature, value);
  }

  void CreateProcessTypes() override { CreateEffectTypes(); }
  // The plug-in's group adds its types here.
  virtual void CreateEffectTypes() {}

 private:
  std::string mManufacturerName;
  uint32_t mManufacturerID = 0;
  std::string mProductName;
  int32_t mProductNumber = 0;
  std::set<int32_t> mFeatures;
  std::string mFolderPath;
};
