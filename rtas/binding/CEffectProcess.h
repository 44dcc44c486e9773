#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "rtas/binding/ChunkDataParser.h"
#include "rtas/library/CChunkDescriptorList.h"
#include "rtas/library/CDSPProcess.h"
#include "rtas/library/CMeterSet.h"

// The effect layer's process: a registry of named state chunks with the
// library's own controls-state chunk 'elck' ("Complete Controls State",
// every continuous and discrete control's value), the master bypass
// control, the process's meters, its channel counts taken from the type,
// and hooks the plug-in's process overrides. The plug-in's process replaces
// the chunk operations with its own chunk, so 'elck' is registered but not
// offered to the host there.
class CEffectProcess : public CDSPProcess, public CMeterSetOwner {
 public:
  static constexpr uint32_t kControlsChunkID = 0x656c636b;  // 'elck'
  static constexpr uint32_t kMIDIChunkID = 0x6d696469;      // 'midi'

  CEffectProcess();
  ~CEffectProcess() override;

  void AddChunk(uint32_t id, const char* name, int32_t size);
  // True when control `index` is a discrete control with a non-zero id,
  // which is then left out of the controls-state chunk.
  bool SetMasterBypassControl(int32_t index);
  int32_t GetMasterBypassIndex() const { return mMasterBypass; }

  // The type's counts, kind code, stems and attribute 5; the meter set;
  // SetUpControls; the meter arrays; the process's own initialisation.
  void InitProcess() override;
  // The plug-in's process builds its controls here.
  virtual void SetUpControls() {}
  // Hooks the plug-in's process may answer.
  virtual int32_t ProcessHook() { return 0; }
  virtual int32_t ControlFlagHook() { return 0; }
  virtual void SideChainConnected() { mSideChain = 1; }
  virtual void SideChainDisconnected() { mSideChain = 0; }
  // Sets control `index` from the parsed chunk's record of its id, when it
  // has one of its kind; -7401 for a control neither continuous nor
  // discrete.
  virtual int32_t ApplyChunkRecord(int32_t index, bool updateOnly);
  virtual int32_t ParseChunk(const SFicPlugInChunk* chunk);
  virtual int32_t GetProcessFolderPath(char* text);
  virtual int32_t LookUpSecondaryName(uint32_t id, uint8_t* text);

  int32_t GetNumInputs(int16_t* count) override;
  int32_t GetNumOutputs(int16_t* count) override;
  int32_t GetViewState(EventRecord* event, uint8_t* flag) override;
  int32_t GetMasterBypassControl(int32_t* control) override;
  int32_t IsBypassed(int32_t, uint8_t* bypassed) override;
  int32_t SetBypass(int32_t, uint8_t bypass) override;

  int32_t CountChunks(int32_t* count) override;
  int32_t GetChunkIdAt(int32_t index, uint32_t* id) override;
  int32_t GetChunkName(uint32_t id, uint8_t* name) override;
  int32_t GetChunkSize(uint32_t id, int32_t* size) override;
  int32_t GetChunk(uint32_t id, SFicPlugInChunk* chunk) override;
  int32_t SetChunk(uint32_t id, SFicPlugInChunk* chunk) override;
  int32_t CompareChunk(SFicPlugInChunk* chunk, uint8_t* equal) override;

  int32_t GetProcessMeterCount(int32_t* count) override;
  int32_t GetMeterValues(int32_t index, int32_t* values) override;
  int32_t GetMeterEntryFlag(int32_t n, char* flag) override;
  int32_t GetMeterCountOfKind(char kind, int32_t* count) override;
  int32_t GetNthMeterOfKind(char kind, int32_t n, int32_t* index) override;
  int32_t IsClipped(uint8_t* clipped) override;
  int32_t ClearClipIndicators() override;
  int32_t CountChunkDescriptors(int32_t* count) override;
  int32_t GetChunkDescriptor(int32_t n, SFicPlugInStemInfo* record) override;

  // CMeterSetOwner: the values come from FetchMeters, which the plug-in's
  // process fills; here every meter reads 0.
  bool GetTypeKindCode(int32_t* kindCode) const override;
  void FetchMeterValues(int32_t* values, uint8_t* clips) override;
  int16_t GetMeterRefreshFlag() const override { return CProcess::GetMeterRefreshFlag(); }
  void SetMeterRefreshFlag(int16_t flag) override { CProcess::SetMeterRefreshFlag(flag); }

  CMeterSet& GetMeterSet() { return mMeters; }
  ChunkDataParser& GetParser() { return mParser; }
  CChunkDescriptorList& GetChunkDescriptorList() { return *mChunkList; }
  uint8_t GetSideChainFlag() const { return mSideChain; }
  int16_t GetInputChannels() const { return mInputs; }
  int16_t GetOutputChannels() const { return mOutputs; }
  int32_t GetTypeKind() const { return mTypeKind; }
  // The type's attribute 5: the side-chain port's number, 0 for none.
  int32_t GetSideChainPortID() const { return mSideChainAttribute; }
  const SFicPlugInStemFormats& GetStemRecord() const { return mStems; }
  int32_t GetSavedControlCount() const { return mSavedControlCount; }
  bool HasCustomChunks() const { return mCustomChunks != 0; }
  bool GetClipByte() const { return mClipped != 0; }

 protected:
  // Gathers the 'elck' records from the controls, in control order.
  void CollectControls();
  void SetChannelCounts(int16_t inputs, int16_t outputs) {
    mInputs = inputs;
    mOutputs = outputs;
  }

 private:
  bool IsExcluded(uint32_t id) const { return mExcluded.count(id) != 0; }
  int32_t FindChunk(uint32_t id) const;

  ChunkDataParser mParser;
  uint8_t mSideChain = 0;
  int32_t mMasterBypass = 0;
  int32_t mMeterCount = 0;
  std::unique_ptr<int32_t[]> mMeterValues;
  std::unique_ptr<uint8_t[]> mClipFlags;
  std::unique_ptr<CChunkDescriptorList> mChunkList;
  std::vector<std::pair<uint32_t, std::string>> mChunks;
  std::vector<int32_t> mChunkSizes;
  uint8_t mCustomChunks = 0;
  CMeterSet mMeters;
  int32_t mControlsChunkSize = 0;
  std::set<uint32_t> mExcluded;
  int32_t mSavedControlCount = 0;
  int32_t mTypeKind = 0;
  SFicPlugInStemFormats mStems{};
  int32_t mSideChainAttribute = 0;
  std::vector<std::pair<uint32_t, std::string>> mSecondaryNames;
  int16_t mInputs = 0;
  int16_t mOutputs = 0;
  uint8_t mClipped = 0;
};
