#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "rtas/library/CProcessTypeInterface.h"
#include "rtas/library/ProcessTypeForwardingSlots.h"
#include "rtas/library/TickClock.h"

class CProcess;

// One kind of processing the plug-in offers (one channel configuration).
// It owns the live instances of that kind, numbers them from 1, and relays
// the host's per-instance requests (type, instance number, arguments) to
// the right process, the group-wide settings to all of them. It also keeps
// the bundle's control-surface page tables, read by name from the type id,
// in a small cache.
//
// The forwarding operations are the rows of BRIMLOW_TYPE_FORWARDING_SLOTS;
// the rest are written out here. Instance creation is the DSP process
// type's (NewProcessInstance creates nothing in this class).
class CProcessType : public CProcessTypeInterface {
 public:
  static constexpr int kPageTableCount = 10;
  using PageTable = std::vector<uint8_t>;

  CProcessType();
  // Frees the cached page tables; the instances went with
  // ReleaseAllProcesses.
  ~CProcessType() override;

  // 0, 1: releases and deletes every instance, then the list itself.
  void InitProcessType() override {}
  void ReleaseAllProcesses() override;
  // 2 to 4
  void SetProcessGroup(CProcessGroup* group) override { mGroup = group; }
  virtual int16_t CountInstances() const;
  void SetTypeIndex(int16_t index) override;
  int32_t GetTypeIndex(int16_t* index) override;
  // 14: "Unnamed" as a Pascal string of at most maxLength characters.
  int32_t GetTypeName(int32_t maxLength, char* text) override;
  // 18: 'swCl'.
  int32_t GetTypeID(uint32_t* typeID) override;
  // 27: the page tables, then NewProcessInstance.
  int32_t CreateProcess(int32_t* instanceNumber) override;
  // 29: removes and deletes instance n (the host closed it first).
  int32_t DeleteProcessInstance(int32_t instanceNumber) override;
  int32_t QueryTypeFeature(int32_t feature, int32_t* value) override;
  bool GetEngineProcessWord(int32_t instanceNumber, HostWord* word) override;

  // Own slots that the group reaches by number, with the group's names.
  int32_t AcceptControlKey(int32_t, EventRecord*) override { return 0; }     // 8
  int32_t HostCall025(int32_t* out) override;                                 // 13
  int32_t GetStemFormats(int32_t, SFicPlugInStemFormats* formats) override;  // 21
  int32_t HostCall079(int16_t* out) override;                                 // 32
  int32_t HostCall166(int32_t, char* byte, int32_t* word) override;           // 56
  int32_t HostCall167(int32_t, int32_t* word) override;                       // 57
  int32_t HostCall134(int32_t, uint32_t* category) override;                  // 61
  int32_t HostCall133(int32_t, uint32_t, uint32_t, int32_t* out) override;    // 63
  int32_t GetTypeKindCode(int32_t* kindCode) override;                        // 93
  int32_t HostCall059(int32_t, int32_t, int32_t, int16_t*) override { return 0; }  // 120

  // The broadcasts: stored (not the two bytes), then given to every
  // instance in list order; the first failure is the answer, and no
  // failure stops the walk.
  int32_t SetSampleRate(int32_t sampleRateHz) override;        // 15
  int32_t SetSharedValue(int32_t value) override;              // 16
  int32_t SetTimeCodeInfo(SFicTimeCodeInfo* info) override;    // 17
  int32_t HostCall016() override { return 0; }                 // 25
  int32_t HostCall018() override { return 0; }                 // 26
  int32_t HostCall069(uint8_t flag) override;                  // 87
  int32_t HostCall072(uint8_t flag) override;                  // 89
  int32_t SetSharedPair(int32_t a, int32_t b) override;        // 121

#define BRIMLOW_DECLARE_TYPE_FORWARD(typeSlot, processSlot, Ret, TypeName, ProcessName, missing, result, n, types) \
  Ret TypeName(BRIMLOW_PARAMS(n, types)) override;
  BRIMLOW_TYPE_FORWARDING_SLOTS(BRIMLOW_DECLARE_TYPE_FORWARD)
#undef BRIMLOW_DECLARE_TYPE_FORWARD

  // 122: each of the ten page tables into the cache; the last one's.
  virtual const PageTable* RegisterPageTables();
  // 123: the bundle's resource of that type whose name is the type id,
  // plus a 16-bit zero; null when there is none.
  virtual std::unique_ptr<PageTable> LoadPageTable(uint32_t tag);
  // 124: the cached table, loaded on a miss into the entry used longest
  // ago. A table that was missing stays missing until evicted.
  virtual const PageTable* GetPageTable(uint32_t tag);
  // 125: the type id as a 4-character Pascal string; empty when unknown.
  virtual void GetTypeIDPString(uint8_t* text);
  // 127: creates nothing here.
  virtual int32_t NewProcessInstance(int32_t*) { return 0; }

  // Instance n (1-based), null for none.
  CProcess* GetProcessByNumber(int32_t n) const;
  // Takes the process out of the list when it is there, releases it and
  // deletes it.
  void RemoveProcess(CProcess* process);
  // Slots 22 and 23 for the whole type; a non-zero answer throws.
  int16_t GetInputChannelCount();
  int16_t GetOutputChannelCount();

  CProcessGroup* GetProcessGroup() const { return mGroup; }
  int32_t GetSampleRate() const { return mSampleRate; }
  int32_t GetSharedValue() const { return mSharedValue; }
  int32_t GetSharedPairValue() const { return mSharedPair; }
  const SFicTimeCodeInfo& GetTimeCodeInfo() const { return mTimeCode; }
  // The live instances in creation order (empty after ReleaseAllProcesses).
  const std::vector<CProcess*>& GetInstances() const;
  bool HasInstanceList() const { return mInstances != nullptr; }

  // The clock of the page-table cache's last-use times.
  void SetTickClock(TickClock clock) { mClock = clock; }
  // The tag each cache entry holds ("----" while unused).
  uint32_t GetCachedPageTableTag(int entry) const { return mPageTables[entry].mTag; }

 protected:
  // Appends a new instance (remaking the list if it was released).
  void AppendProcess(CProcess* process);

 private:
  struct SPageTableEntry {
    std::unique_ptr<PageTable> mTable;
    uint32_t mTag;
    uint32_t mLastUse;
  };

  // Calls one process operation on every instance; the first non-zero
  // answer.
  template <class Call>
  int32_t Broadcast(Call call);

  int32_t mSampleRate;
  int32_t mSharedPair = 0;
  int32_t mSharedValue = 0;
  SFicTimeCodeInfo mTimeCode;
  CProcessGroup* mGroup = nullptr;
  int16_t mTypeIndex = -1;
  std::unique_ptr<std::vector<CProcess*>> mInstances;
  TickClock mClock = SystemTickCount;
  SPageTableEntry mPageTables[kPageTableCount];
};

// The type forwarding rows as data, for reading the table and checking it.
struct STypeForwardingSlot {
  int32_t mTypeSlot;
  int32_t mProcessSlot;
  const char* mName;
  int32_t mMissingAnswer;
  bool mAnswersZero;
};
extern const STypeForwardingSlot kTypeForwardingSlots[];
extern const size_t kTypeForwardingSlotCount;
