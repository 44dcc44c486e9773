#pragma once

#include <cstdint>

#include "rtas/library/GroupInterfaceSlots.h"
#include "rtas/library/HostRecords.h"
#include "rtas/library/SlotMacros.h"

class CProcessGroup;

// What the process group asks of a process type: the operations it
// forwards (the group's own, without the type id it used to find the
// type) and broadcasts, both generated from the group interface's rows,
// and the few the group calls itself. CProcessType implements them.
//
// The kind code and the enabled flag are the two bookkeeping values the
// group reads directly: a type with a kind code and no enabled flag waits
// for the host to enable its kind.
class CProcessTypeInterface {
 public:
  CProcessTypeInterface() = default;
  virtual ~CProcessTypeInterface() = default;
  CProcessTypeInterface(const CProcessTypeInterface&) = delete;
  CProcessTypeInterface& operator=(const CProcessTypeInterface&) = delete;

  // Type slot 0.
  virtual void InitProcessType() = 0;
  // Type slot 1: releases and deletes every instance.
  virtual void ReleaseAllProcesses() = 0;
  // Type slots 2 and 4, given in the group's numbering pass.
  virtual void SetProcessGroup(CProcessGroup* group) = 0;
  virtual void SetTypeIndex(int16_t index) = 0;
  // Type slot 90: the 1-based place the group numbered the type with.
  virtual int32_t GetTypeIndex(int16_t* index) = 0;
  // Type slot 14: the type's name in at most maxLength characters.
  virtual int32_t GetTypeName(int32_t maxLength, char* text) = 0;
  // Type slot 18: the four-character type id.
  virtual int32_t GetTypeID(uint32_t* typeID) = 0;
  // Type slots 27 and 29.
  virtual int32_t CreateProcess(int32_t* instanceNumber) = 0;
  virtual int32_t DeleteProcessInstance(int32_t instanceNumber) = 0;
  // Type slots 40 and 41: the two words a process keeps for its type.
  virtual int32_t GetProcessWord1(int32_t instanceNumber, HostWord* word) = 0;
  virtual int32_t GetProcessWord2(int32_t instanceNumber, HostWord* word) = 0;
  // Type slot 94: a feature's support (attribute, out value).
  virtual int32_t QueryTypeFeature(int32_t feature, int32_t* value) = 0;
  // Type slot 95: a stem format's name (a, b, text out).
  virtual int32_t GetStemFormatName(int32_t a, int32_t b, uint8_t* text) = 0;
  // When instance n exists and is an engine-connected process, its
  // settable word (its process slot 19); false otherwise.
  virtual bool GetEngineProcessWord(int32_t instanceNumber, HostWord* word) = 0;

#define BRIMLOW_TYPE_SLOT_KEEP(Ret, Name, TypeName, n, types)
#define BRIMLOW_TYPE_SLOT_OWN(Ret, Name, TypeName, n, types)
#define BRIMLOW_TYPE_SLOT_FORWARD(Ret, Name, TypeName, n, types) virtual Ret Name(BRIMLOW_TAIL_PARAMS(n, types)) = 0;
#define BRIMLOW_TYPE_SLOT_DEFAULT_FORWARD BRIMLOW_TYPE_SLOT_FORWARD
#define BRIMLOW_TYPE_SLOT_BROADCAST(Ret, Name, TypeName, n, types) \
  virtual int32_t TypeName(BRIMLOW_PARAMS(n, types)) = 0;
#define BRIMLOW_DECLARE_TYPE_SLOT(slot, selector, Ret, Name, kind, result, w1, v1, w2, v2, group, typeSlot, \
                                  TypeName, n, types)                                                       \
  BRIMLOW_CAT(BRIMLOW_TYPE_SLOT_, group)(Ret, Name, TypeName, n, types)
  BRIMLOW_GROUP_INTERFACE_SLOTS(BRIMLOW_DECLARE_TYPE_SLOT)
#undef BRIMLOW_DECLARE_TYPE_SLOT
#undef BRIMLOW_TYPE_SLOT_KEEP
#undef BRIMLOW_TYPE_SLOT_OWN
#undef BRIMLOW_TYPE_SLOT_FORWARD
#undef BRIMLOW_TYPE_SLOT_DEFAULT_FORWARD
#undef BRIMLOW_TYPE_SLOT_BROADCAST

  int32_t GetKindCode() const { return mKindCode; }
  void SetKindCode(int32_t kindCode) { mKindCode = kindCode; }
  bool IsEnabled() const { return mEnabled != 0; }
  void SetEnabled(bool enabled) { mEnabled = enabled ? 1 : 0; }
  bool IsWaitingToBeEnabled() const { return mKindCode != 0 && mEnabled == 0; }

 private:
  int16_t mEnabled = 0;
  int32_t mKindCode = 0;
};
