#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <vector>
#include <type_traits>

#include "rtas/library/CProcessGroupInterface.h"
#include "rtas/library/HostRecords.h"
#include "rtas/library/SlotMacros.h"

// Arguments for calling any slot of the group tables: each pointer points
// into a buffer of its own, filled with a sentinel, so a write shows where
// it landed and how wide it was; each number is 100 + its position.
class GroupSlotProbe {
 public:
  static constexpr unsigned char kSentinel = 0xA5;
  static constexpr int kBufferBytes = 64;

  GroupSlotProbe() { std::memset(mBuffers, kSentinel, sizeof(mBuffers)); }

  template <class T>
  T Arg(int k) {
    if constexpr (std::is_pointer_v<T> && std::is_function_v<std::remove_pointer_t<T>>) {
      return &HostProc;
    } else if constexpr (std::is_pointer_v<T>) {
      return reinterpret_cast<T>(mBuffers[k]);
    } else if constexpr (std::is_reference_v<T>) {
      // Records passed by reference (a QuickDraw point) are only passed on.
      return *reinterpret_cast<std::remove_reference_t<T>*>(mBuffers[k]);
    } else {
      return static_cast<T>(100 + k);
    }
  }

  // The bits of argument k as a forwarded call should see them again.
  template <class T>
  uint64_t ArgBits(int k) {
    if constexpr (std::is_pointer_v<T> && std::is_function_v<std::remove_pointer_t<T>>) {
      return reinterpret_cast<uintptr_t>(&HostProc);
    } else if constexpr (std::is_pointer_v<T> || std::is_reference_v<T>) {
      return reinterpret_cast<uintptr_t>(mBuffers[k]);
    } else {
      return static_cast<uint64_t>(static_cast<int64_t>(static_cast<T>(100 + k)));
    }
  }

  const unsigned char* Buffer(int k) const { return mBuffers[k]; }

  static int16_t HostProc(int16_t, ComponentRecord*, char**) { return 0; }

 private:
  alignas(16) unsigned char mBuffers[8][kBufferBytes];
};

// The bits of any argument, to record what a forwarded call received.
template <class T>
uint64_t BitsOf(const T& value) {
  if constexpr (std::is_pointer_v<T>) {
    return reinterpret_cast<uintptr_t>(value);
  } else if constexpr (std::is_arithmetic_v<T>) {
    return static_cast<uint64_t>(static_cast<int64_t>(value));
  } else {
    return reinterpret_cast<uintptr_t>(&value);
  }
}

#define BRIMLOW_PROBE_ARGS_0()
#define BRIMLOW_PROBE_ARGS_1(T1) p.Arg<T1>(1)
#define BRIMLOW_PROBE_ARGS_2(T1, T2) p.Arg<T1>(1), p.Arg<T2>(2)
#define BRIMLOW_PROBE_ARGS_3(T1, T2, T3) p.Arg<T1>(1), p.Arg<T2>(2), p.Arg<T3>(3)
#define BRIMLOW_PROBE_ARGS_4(T1, T2, T3, T4) p.Arg<T1>(1), p.Arg<T2>(2), p.Arg<T3>(3), p.Arg<T4>(4)
#define BRIMLOW_PROBE_ARGS_5(T1, T2, T3, T4, T5) \
  p.Arg<T1>(1), p.Arg<T2>(2), p.Arg<T3>(3), p.Arg<T4>(4), p.Arg<T5>(5)
#define BRIMLOW_PROBE_ARGS_6(T1, T2, T3, T4, T5, T6) \
  p.Arg<T1>(1), p.Arg<T2>(2), p.Arg<T3>(3), p.Arg<T4>(4), p.Arg<T5>(5), p.Arg<T6>(6)
#define BRIMLOW_PROBE_ARGS_7(T1, T2, T3, T4, T5, T6, T7) \
  p.Arg<T1>(1), p.Arg<T2>(2), p.Arg<T3>(3), p.Arg<T4>(4), p.Arg<T5>(5), p.Arg<T6>(6), p.Arg<T7>(7)
// The probe's arguments for a row's types, in the row's order.
#define BRIMLOW_PROBE_ARGS(n, types) BRIMLOW_CAT(BRIMLOW_PROBE_ARGS_, n) types

#define BRIMLOW_PROBE_BITS_0()
#define BRIMLOW_PROBE_BITS_1(T1) p.ArgBits<T1>(1)
#define BRIMLOW_PROBE_BITS_2(T1, T2) p.ArgBits<T1>(1), p.ArgBits<T2>(2)
#define BRIMLOW_PROBE_BITS_3(T1, T2, T3) p.ArgBits<T1>(1), p.ArgBits<T2>(2), p.ArgBits<T3>(3)
#define BRIMLOW_PROBE_BITS_4(T1, T2, T3, T4) p.ArgBits<T1>(1), p.ArgBits<T2>(2), p.ArgBits<T3>(3), p.ArgBits<T4>(4)
#define BRIMLOW_PROBE_BITS_5(T1, T2, T3, T4, T5) \
  p.ArgBits<T1>(1), p.ArgBits<T2>(2), p.ArgBits<T3>(3), p.ArgBits<T4>(4), p.ArgBits<T5>(5)
#define BRIMLOW_PROBE_BITS_6(T1, T2, T3, T4, T5, T6) \
  p.ArgBits<T1>(1), p.ArgBits<T2>(2), p.ArgBits<T3>(3), p.ArgBits<T4>(4), p.ArgBits<T5>(5), p.ArgBits<T6>(6)
#define BRIMLOW_PROBE_BITS_7(T1, T2, T3, T4, T5, T6, T7)                                                       \
  p.ArgBits<T1>(1), p.ArgBits<T2>(2), p.ArgBits<T3>(3), p.ArgBits<T4>(4), p.ArgBits<T5>(5), p.ArgBits<T6>(6), \
      p.ArgBits<T7>(7)
// The bits of the probe's arguments, as a list for comparison.
#define BRIMLOW_PROBE_BITS(n, types) BRIMLOW_CAT(BRIMLOW_PROBE_BITS_, n) types

template <class Ret, class Call>
int64_t ResultOf(Call call) {
  if constexpr (std::is_void_v<Ret>) {
    call();
    return 0;
  } else if constexpr (std::is_pointer_v<Ret>) {
    return static_cast<int64_t>(reinterpret_cast<intptr_t>(call()));
  } else {
    return static_cast<int64_t>(call());
  }
}

using GroupSlotInvoker = std::function<int64_t(CProcessGroupInterface&, GroupSlotProbe&)>;

// One call of each group-interface slot with the probe's arguments, by
// slot number.
inline std::map<int, GroupSlotInvoker> GroupSlotInvokers() {
  std::map<int, GroupSlotInvoker> invokers;
#define BRIMLOW_INVOKER(slot, selector, Ret, Name, kind, result, w1, v1, w2, v2, group, typeSlot, TypeName, n, \
                        types)                                                                                 \
  invokers[slot] = [](CProcessGroupInterface& g, [[maybe_unused]] GroupSlotProbe& p) {                         \
    return ResultOf<Ret>([&] { return g.Name(BRIMLOW_PROBE_ARGS(n, types)); });                                 \
  };
  BRIMLOW_GROUP_INTERFACE_SLOTS(BRIMLOW_INVOKER)
#undef BRIMLOW_INVOKER
  return invokers;
}

// The bits of each slot's probe arguments, by slot number.
inline std::map<int, std::vector<uint64_t>> GroupSlotProbeBits(GroupSlotProbe& p) {
  std::map<int, std::vector<uint64_t>> bits;
#define BRIMLOW_PROBE_ROW(slot, selector, Ret, Name, kind, result, w1, v1, w2, v2, group, typeSlot, TypeName, n, \
                          types)                                                                                 \
  bits[slot] = std::vector<uint64_t>{BRIMLOW_PROBE_BITS(n, types)};
  BRIMLOW_GROUP_INTERFACE_SLOTS(BRIMLOW_PROBE_ROW)
#undef BRIMLOW_PROBE_ROW
  return bits;
}
