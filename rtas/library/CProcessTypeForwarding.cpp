// The process type's forwarding operations, generated from the rows of
// BRIMLOW_TYPE_FORWARDING_SLOTS, and the rows as data.
#include <type_traits>

#include "rtas/library/CProcess.h"
#include "rtas/library/CProcessType.h"

namespace {

template <class Ret>
Ret MissingAnswer(int32_t code) {
  if constexpr (std::is_pointer_v<Ret>) {
    return nullptr;
  } else {
    return static_cast<Ret>(code);
  }
}

}  // namespace

#define BRIMLOW_FORWARD_RESULT_PASS(call) return call;
#define BRIMLOW_FORWARD_RESULT_ZERO(call) \
  call;                                   \
  return 0;
#define BRIMLOW_DEFINE_TYPE_FORWARD(typeSlot, processSlot, Ret, TypeName, ProcessName, missing, result, n, types) \
  Ret CProcessType::TypeName(BRIMLOW_PARAMS(n, types)) {                                                          \
    CProcess* process = GetProcessByNumber(a1);                                                                   \
    if (!process) return MissingAnswer<Ret>(missing);                                                             \
    BRIMLOW_CAT(BRIMLOW_FORWARD_RESULT_, result)(process->ProcessName(BRIMLOW_TAIL_ARGS(n)))                      \
  }
BRIMLOW_TYPE_FORWARDING_SLOTS(BRIMLOW_DEFINE_TYPE_FORWARD)
#undef BRIMLOW_DEFINE_TYPE_FORWARD
#undef BRIMLOW_FORWARD_RESULT_PASS
#undef BRIMLOW_FORWARD_RESULT_ZERO

const STypeForwardingSlot kTypeForwardingSlots[] = {
#define BRIMLOW_TYPE_FORWARD_ROW(typeSlot, processSlot, Ret, TypeName, ProcessName, missing, result, n, types) \
  {typeSlot, processSlot, #TypeName, missing, BRIMLOW_CAT(BRIMLOW_ANSWERS_ZERO_, result)},
#define BRIMLOW_ANSWERS_ZERO_PASS false
#define BRIMLOW_ANSWERS_ZERO_ZERO true
    BRIMLOW_TYPE_FORWARDING_SLOTS(BRIMLOW_TYPE_FORWARD_ROW)
#undef BRIMLOW_ANSWERS_ZERO_PASS
#undef BRIMLOW_ANSWERS_ZERO_ZERO
#undef BRIMLOW_TYPE_FORWARD_ROW
};

const size_t kTypeForwardingSlotCount = sizeof(kTypeForwardingSlots) / sizeof(kTypeForwardingSlots[0]);
