#include "rtas/library/GroupInterfaceSlotTable.h"

#include "rtas/library/GroupInterfaceSlots.h"

namespace {

using Row = SGroupInterfaceSlot;

}  // namespace

const SGroupInterfaceSlot kGroupInterfaceSlots[] = {
#define BRIMLOW_GROUP_KIND_KEEP Row::kKeep
#define BRIMLOW_GROUP_KIND_OWN Row::kOwn
#define BRIMLOW_GROUP_KIND_FORWARD Row::kForward
#define BRIMLOW_GROUP_KIND_DEFAULT_FORWARD Row::kDefaultForward
#define BRIMLOW_GROUP_KIND_BROADCAST Row::kBroadcast
#define BRIMLOW_DEFAULT_KIND_ANSWER Row::kAnswer
#define BRIMLOW_DEFAULT_KIND_CUSTOM Row::kCustom
#define BRIMLOW_DEFAULT_KIND_PURE Row::kPure
#define BRIMLOW_SLOT_ROW(slot, selector, Ret, Name, kind, result, w1, v1, w2, v2, group, typeSlot, TypeName, n, types) \
  {slot,          selector, #Name, BRIMLOW_DEFAULT_KIND_##kind, result, w1, v1, w2, v2, BRIMLOW_GROUP_KIND_##group,     \
   typeSlot, n},
    BRIMLOW_GROUP_INTERFACE_SLOTS(BRIMLOW_SLOT_ROW)
#undef BRIMLOW_SLOT_ROW
};

const size_t kGroupInterfaceSlotCount = sizeof(kGroupInterfaceSlots) / sizeof(kGroupInterfaceSlots[0]);

const SGroupInterfaceSlot* FindGroupSlotForSelector(int32_t selector) {
  if (selector < 0) return nullptr;
  for (size_t i = 0; i < kGroupInterfaceSlotCount; ++i) {
    if (kGroupInterfaceSlots[i].mSelector == selector) return &kGroupInterfaceSlots[i];
  }
  return nullptr;
}
