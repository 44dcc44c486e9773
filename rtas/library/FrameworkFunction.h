#pragma once

#include <cstdint>
#include <type_traits>

#include "platform/protools/HostWords.h"
#include "rtas/library/HostFrameworkAccess.h"

// The wrapper rule. A wrapper of function Index of a framework calls the
// resolved function with the caller's arguments and narrows its result;
// without the framework it answers NotLoaded, without the function Missing.
namespace frameworkfunction {

enum class Result { Status16, Value32, Byte8, Ref, Void };

struct DAE {
  static UDigiLibAccess* Access() { return DAELibAccess(); }
};
struct DSI {
  static UDigiLibAccess* Access() { return DSILibAccess(); }
};

template <Result R>
using ResultType = std::conditional_t<
    R == Result::Status16, int16_t,
    std::conditional_t<R == Result::Value32, int32_t,
                       std::conditional_t<R == Result::Byte8, uint8_t,
                                          std::conditional_t<R == Result::Ref, FicRef, void>>>>;

template <class Framework, int32_t Index, class Proc, Result R, int32_t NotLoaded, int32_t Missing>
struct Function;

template <class Framework, int32_t Index, class Ret, class... Args, Result R, int32_t NotLoaded, int32_t Missing>
struct Function<Framework, Index, Ret (*)(Args...), R, NotLoaded, Missing> {
  static constexpr int32_t kIndex = Index;
  using Value = ResultType<R>;

  Value operator()(Args... args) const {
    UDigiLibAccess* access = Framework::Access();
    if (!access) return Fallback(NotLoaded);
    auto function = reinterpret_cast<Ret (*)(Args...)>(access->GetLibraryFunction(Index));
    if (!function) return Fallback(Missing);
    if constexpr (R == Result::Void) {
      function(args...);
    } else {
      return Narrow(function(args...));
    }
  }

  // True when the framework is loaded and has the function.
  static bool Exists() {
    UDigiLibAccess* access = Framework::Access();
    return access && access->GetLibraryFunction(Index);
  }

 private:
  static Value Fallback(int32_t code) {
    if constexpr (R != Result::Void) return static_cast<Value>(code);
  }
  template <class T>
  static Value Narrow(T result) {
    if constexpr (R == Result::Status16) {
      return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(result) & 0xffffu));
    } else if constexpr (R == Result::Byte8) {
      return static_cast<uint8_t>(static_cast<uint32_t>(result) & 0xffu);
    } else {
      return static_cast<Value>(result);
    }
  }
};

}  // namespace frameworkfunction
