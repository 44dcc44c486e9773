#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <type_traits>

#include "platform/protools/FrameworkControl.h"

// What every framework stand-in keeps: the calls made, the names hidden and
// the functions made to fail. Each stand-in library links its own copy.
namespace standin {

std::optional<int32_t> EnterWords(const char* name, std::initializer_list<intptr_t> args);

template <class T>
intptr_t Word(T value) {
  if constexpr (std::is_pointer_v<T>) {
    return reinterpret_cast<intptr_t>(value);
  } else {
    return static_cast<intptr_t>(value);
  }
}

// Records the call; the status to answer instead when the function was made
// to fail.
template <class... Args>
std::optional<int32_t> Enter(const char* name, Args... args) {
  return EnterWords(name, {Word(args)...});
}

// The common part of the control table; its Reset also runs the stand-in's
// own reset.
SStandInCommon CommonControl(void (*resetFramework)());

}  // namespace standin
