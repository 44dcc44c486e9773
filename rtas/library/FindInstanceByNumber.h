#pragma once

#include <cstdint>

// The first process in [first, last) whose instance number is `number`, or
// last. Each element is a pointer to a process with GetInstanceNumber();
// a null element is passed over rather than asked.
template <class Iterator>
Iterator FindInstanceByNumber(Iterator first, Iterator last, int32_t number) {
  for (; first != last; ++first) {
    if (*first && (*first)->GetInstanceNumber() == number) return first;
  }
  return last;
}
