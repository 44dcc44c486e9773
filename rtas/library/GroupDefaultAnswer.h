#pragma once

#include <cstdint>
#include <tuple>
#include <type_traits>

// The generic default of a group-interface slot: write the row's values
// through the chosen arguments, each at the width of what it points to,
// and answer the row's result. A null pointer is left alone: the host
// library wrote through whatever it was given.
namespace groupdefault {

// What a default can write through: a pointer to a number or to a pointer.
template <class T>
constexpr bool kWritable = std::is_pointer_v<T> && !std::is_const_v<std::remove_pointer_t<T>> &&
                           (std::is_arithmetic_v<std::remove_pointer_t<T>> ||
                            std::is_pointer_v<std::remove_pointer_t<T>>);

template <int kArg, class... Args>
constexpr bool ArgumentIsWritable() {
  if constexpr (kArg == 0) {
    return true;
  } else if constexpr (kArg > static_cast<int>(sizeof...(Args))) {
    return false;
  } else {
    return kWritable<std::decay_t<std::tuple_element_t<kArg - 1, std::tuple<Args...>>>>;
  }
}

template <class P>
P ValueOf(int32_t value) {
  if constexpr (std::is_pointer_v<P>) {
    return nullptr;
  } else {
    return static_cast<P>(value);
  }
}

template <int kArg1, int32_t kValue1, int kArg2, int32_t kValue2, class T>
void WriteIfChosen(int index, const T& arg) {
  if constexpr (kWritable<T>) {
    if (!arg) return;
    using P = std::remove_pointer_t<T>;
    if (index == kArg1) *arg = ValueOf<P>(kValue1);
    if (index == kArg2) *arg = ValueOf<P>(kValue2);
  }
}

template <class Ret, int32_t kResult, int kArg1, int32_t kValue1, int kArg2, int32_t kValue2, class... Args>
Ret Answer(const Args&... args) {
  static_assert(ArgumentIsWritable<kArg1, Args...>() && ArgumentIsWritable<kArg2, Args...>(),
                "a default writes only through a pointer to a number or a pointer");
  int index = 0;
  (WriteIfChosen<kArg1, kValue1, kArg2, kValue2>(++index, args), ...);
  (void)index;
  if constexpr (std::is_pointer_v<Ret>) {
    static_assert(kResult == 0, "a pointer result can only default to null");
    return nullptr;
  } else {
    return static_cast<Ret>(kResult);
  }
}

}  // namespace groupdefault
