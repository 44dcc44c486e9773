#pragma once

#include <cstddef>
#include <cstdint>

// The group interface's rows as data, for the entry layer (which selector
// reaches which operation) and for reading the table at run time.
struct SGroupInterfaceSlot {
  enum EDefault { kAnswer, kCustom, kPure };
  // What the process group does with the slot.
  enum EGroup { kKeep, kOwn, kForward, kDefaultForward, kBroadcast };

  int32_t mSlot;
  int32_t mSelector;  // -1 when no selector reaches it
  const char* mName;
  EDefault mDefault;
  int32_t mResult;
  int32_t mWriteArg1, mWriteValue1, mWriteArg2, mWriteValue2;
  EGroup mGroup;
  int32_t mTypeSlot;  // -1 when nothing is forwarded or broadcast
  int32_t mArgumentCount;
};

extern const SGroupInterfaceSlot kGroupInterfaceSlots[];
extern const size_t kGroupInterfaceSlotCount;

// The row a selector reaches, or null.
const SGroupInterfaceSlot* FindGroupSlotForSelector(int32_t selector);
