#pragma once

#include <cstdint>
#include <vector>

#include "platform/protools/DSI.h"
#include "rtas/library/CProcessType.h"
#include "rtas/library/CUnknown.h"

class CDSPProcess;
class CDSPProcessGroup;
class CProcessDSP;
class IProcessGroup;

// The engine's interface on a process type: its reference counting.
class IProcessType2 : public DOA::IUnknown {
 protected:
  ~IProcessType2() = default;
};

// A process type that makes its instances: it numbers each new instance
// with the lowest free number, initialises it and, for the DSP manager,
// connects it; it answers the engine's interface queries; and it keeps the
// bookkeeping of the DSP chips that every type of the group shares (which
// chips are in use, by whom, and when one can be given back). In
// host-based use only creation, numbering, removal and the interface
// answers run; the chip bookkeeping serves DSP cards.
//
// The chip lists belong to the group (CDSPProcessGroup), which hands them
// to each type after its own initialisation: A the DSPs the host gave,
// B the chips the DSP manager gave, C the library's chip objects.
class CDSPProcessType : public IProcessType2, public DOA::CUnknown, public CProcessType {
 public:
  using DSPList = std::vector<DsiDSP>;
  using ChipList = std::vector<void*>;
  using ChipObjectList = std::vector<CProcessDSP*>;

  // The two identifiers of IProcessType2, as stored in memory.
  static const DOA::SIID kIID_IProcessType2;
  static const DOA::SIID kIID_IProcessType2Alternate;

  CDSPProcessType() = default;
  ~CDSPProcessType() override = default;

  // 0 to 2, and the non-delegating answer behind them (12).
  int32_t QueryInterface(const DOA::SIID& iid, void** object) override;
  int32_t AddRef() override;
  int32_t Release() override;
  int32_t NonDelegatingQueryInterface(const DOA::SIID& iid, void** object) override;

  // 3 to 11: the chip operations as the engine calls them; a failure is
  // its code (-7401 for anything but CDAEError).
  virtual int32_t ReleaseChipForEngine(CProcessDSP* chip);
  virtual int32_t FindChipForEngine(HostWord word, CProcessDSP** chip);
  virtual int32_t GetTypeNameForEngine(int32_t maxLength, char* text);
  // Gives a manager chip back unless some instance still sits on it.
  virtual int32_t GiveBackChipIfUnused(void* chip);
  // The first manager chip with room for this type, or a new one.
  virtual int32_t FindChipWithRoom(void** chip);
  virtual IProcessGroup* GetProcessGroupInterface();
  // 9: 'swDS'.
  virtual int32_t GetTypeKind(uint32_t* kind);
  virtual int32_t GroupHostCall035(int32_t* out, char** text);
  virtual int32_t GroupAttribute(int16_t selector, int32_t* value, int32_t count, uint32_t* detail);

  // 14, 15 (the type's creation and removal): see the .cpp.
  virtual int32_t CreateAndConnectProcess(int32_t* instanceNumber);
  virtual int32_t DisconnectAndDeleteProcess(int32_t instanceNumber);
  // 16, 17: a chip object without users is erased from list C, closed,
  // deleted and its DSP given back.
  virtual bool IsChipFree(CProcessDSP* chip);
  virtual int32_t ReleaseChip(CProcessDSP* chip);
  // 18: a chip object with room, or the one for a DSP the host gives.
  virtual int32_t FindOrMakeChip(HostWord word, CProcessDSP** chip);
  // 19 to 22
  virtual void SetDSPProcessGroup(CDSPProcessGroup* group) { mDSPGroup = group; }
  virtual void SetDSPList(DSPList* list) { mDSPs = list; }
  virtual void SetChipList(ChipList* list) { mChips = list; }
  virtual void SetChipObjectList(ChipObjectList* list) { mChipObjects = list; }
  // 23, 37: what the type uses of a chip (nothing here).
  virtual int32_t GetChipUsage(HostWord chip, int16_t* a, int16_t* b);
  virtual int32_t GetOwnChipUsage(int16_t* a, int16_t* b);
  // 24
  virtual int32_t GetChipRequirements(int32_t* a, int32_t* b, int32_t* c, int32_t* d);
  // 25: slot numbers on each chip, from 1 for each run of instances that
  // share a chip word.
  virtual void NumberInstances();
  // 26, 27
  virtual int32_t GetTypeAnswer26() { return 0; }
  virtual int32_t GetChipAttribute();
  // 28: the new instance (see the .cpp).
  virtual int32_t CreateProcessInstance(int32_t* instanceNumber);
  // 31, 32: a chip from the host (through the group's DSP request) or
  // from the DSP manager; -7077 when none is given.
  virtual int32_t AcquireDSPChip(CProcessDSP** chip);
  virtual int32_t AcquireManagerChip(void** chip);
  // 33 to 36: whether a chip has room for this type.
  virtual bool ChipObjectHasRoom(CProcessDSP*) { return false; }
  virtual bool ChipHasOutputRoom(void* chip);
  virtual bool ChipObjectHasCapacity(CProcessDSP* chip);
  virtual bool ChipHasCapacity(void* chip);
  // 38: the new process object; none in this class.
  virtual CProcess* CallProcessCreator() { return nullptr; }
  // 40, 41: a DSP or a manager chip given back, and out of its list.
  virtual int32_t GiveBackDSP(DsiDSP dsp);
  virtual int32_t GiveBackManagerChip(void* chip);
  // 42 to 44
  DSPList* GetDSPList() const { return mDSPs; }
  ChipList* GetChipList() const { return mChips; }
  ChipObjectList* GetChipObjectList() const { return mChipObjects; }
  CDSPProcessGroup* GetDSPProcessGroup() const { return mDSPGroup; }

  // The CProcessType slots this class replaces.
  int32_t GetTypeID(uint32_t* typeID) override;
  int32_t CreateProcess(int32_t* instanceNumber) override { return CreateAndConnectProcess(instanceNumber); }
  int32_t DeleteProcessInstance(int32_t instanceNumber) override {
    return DisconnectAndDeleteProcess(instanceNumber);
  }
  int32_t NewProcessInstance(int32_t* instanceNumber) override { return CreateProcessInstance(instanceNumber); }

 private:
  // Sums of the usage the group's types report for a chip and this type's
  // own, against its capacity.
  bool HasCapacity(HostWord chip);

  DSPList* mDSPs = nullptr;
  ChipList* mChips = nullptr;
  ChipObjectList* mChipObjects = nullptr;
  CDSPProcessGroup* mDSPGroup = nullptr;
};
