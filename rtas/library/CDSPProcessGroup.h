#pragma once

#include <cstdint>
#include <memory>

#include "platform/protools/DSI.h"
#include "rtas/library/CDSPProcess.h"
#include "rtas/library/CDSPProcessType.h"
#include "rtas/library/CProcessGroup.h"
#include "rtas/library/CUnknown.h"

class CProcessDSP;

// The engine's interface on the group: its reference counting, then the
// group's slots 46 and 47.
class IProcessGroup : public DOA::IUnknown {
 public:
  virtual int32_t HostCall035(int32_t* out, char** text) = 0;
  virtual int32_t GetGroupAttribute(int16_t selector, int32_t* value, int32_t count, uint32_t* detail) = 0;

 protected:
  ~IProcessGroup() = default;
};

// The process group with the DSP side: a reference-counted object that
// answers for IProcessGroup, owns the three chip lists all its types share
// (the DSPs the host gave, the DSP manager's chips, the library's chip
// objects), and keeps the chips' bookkeeping: making a chip object for a
// DSP, its capacity and load, and deleting chip objects nobody uses once an
// instance goes. In host-based use only the initialisation, the instance
// removal and the interface answers run.
class CDSPProcessGroup : public CProcessGroup, public IProcessGroup, public DOA::CUnknown {
 public:
  // E01FF6A0-3865-11D2-B4BE-B87E918E1B5A, as stored in memory.
  static const DOA::SIID kIID_IProcessGroup;

  CDSPProcessGroup();
  // Closes and deletes every chip object and frees the lists.
  ~CDSPProcessGroup() override;

  int32_t QueryInterface(const DOA::SIID& iid, void** object) override;
  int32_t AddRef() override;
  int32_t Release() override;
  int32_t NonDelegatingQueryInterface(const DOA::SIID& iid, void** object) override;

  // 0: the chip lists, the DSP services (their failure thrown), the
  // process group, then the lists handed to every DSP type. A failure
  // frees the lists again.
  int32_t InitProcessGroup() override;
  // 29: the instance, then every chip object nobody uses any more;
  // -7150 (and nothing released) when a chip reports a negative count.
  int32_t RemoveInstance(uint32_t typeID, int32_t instanceNumber) override;
  // 46, 47
  int32_t HostCall035(int32_t* out, char** text) override;
  int32_t GetGroupAttribute(int16_t selector, int32_t* value, int32_t count, uint32_t* detail) override;
  // 110: kind 4 a chip's load, kind 1 the product name (16 bytes).
  int32_t QueryChip(HostWord chip, int32_t kind, void* out) override;

  // 176, also run by the destructor.
  virtual void ReleaseChipLists();
  // 190: the chip's capacity for this sample rate; 0 at rate 0.
  virtual int16_t GetChipCapacity(HostWord chip);
  // 191: the usage every type reports for the chip, summed.
  virtual int32_t GetChipUsage(int16_t* a, int16_t* b, HostWord chip);
  // 193: the DSP code's resource id for a card (0 here).
  virtual int16_t GetDSPCodeResource(int32_t, uint32_t, DsiDSP) { return 0; }
  // 194: a new chip object for the DSP's kind.
  virtual CProcessDSP* MakeChipObject(int32_t cardType, uint32_t coreType, DsiDSP dsp);
  // 195: a chip object for a DSP, set up with its code and kept in list C.
  // Failures throw, and leave nothing behind.
  virtual int32_t AllocateChip(DsiDSP dsp, CProcessDSP** chip, HostWord a3, HostWord a4);
  // 196: the chip's identity and the two words to the host.
  virtual int32_t RegisterChip(HostWord identity, HostWord a3, HostWord a4);
  // 197: the summed load of the instances on the chip, at most 100.
  virtual int16_t GetChipLoad(HostWord chip);
  // 198, 199: a chip from the DSP manager and back; 0 without it.
  virtual int32_t RequestManagerChip(void** chip);
  virtual int32_t ReturnManagerChip(void* chip);
  // 200: whether an instance has the chip as its settable word.
  virtual bool IsChipInUse(HostWord chip);
  // 201, 202
  virtual int32_t ChipReleased() { return 0; }
  virtual int32_t GetInstancesPerChip() { return 1; }

  CDSPProcessType::DSPList* GetDSPList() const { return mDSPs.get(); }
  CDSPProcessType::ChipList* GetChipList() const { return mChips.get(); }
  CDSPProcessType::ChipObjectList* GetChipObjectList() const { return mChipObjects.get(); }
  IProcessGroup* GetProcessGroupInterface() { return this; }

  // Every engine-connected instance of every DSP type, in type and
  // creation order.
  template <class Visit>
  void ForEachDSPInstance(Visit visit) {
    for (int32_t i = 0; i < GetProcessTypeCount(); ++i) {
      auto* type = dynamic_cast<CDSPProcessType*>(GetProcessTypeAt(i));
      if (!type) continue;
      for (CProcess* process : type->GetInstances()) {
        if (auto* dspProcess = dynamic_cast<CDSPProcess*>(process)) visit(*dspProcess);
      }
    }
  }

 private:

  std::unique_ptr<CDSPProcessType::DSPList> mDSPs;
  std::unique_ptr<CDSPProcessType::ChipObjectList> mChipObjects;
  std::unique_ptr<CDSPProcessType::ChipList> mChips;
};
