#pragma once

#include <cstdint>

// The library's exception and control-value conversions as the views use
// them. Kept here until the library's own error header is in the tree; the
// names and behaviour are the library's, so callers do not change when this
// header gives way to it.

class CDAEError {
 public:
  explicit CDAEError(int code) : mCode(static_cast<int16_t>(code)) {}
  virtual ~CDAEError() = default;
  int32_t Code() const { return mCode; }

 private:
  int32_t mCode;
};

inline void ThrowIfFalse(bool condition) {
  if (!condition) throw CDAEError(-7400);
}

inline void ThrowIfNil(const void* pointer) {
  if (!pointer) throw CDAEError(-7053);
}

int32_t ControlValueToInt(int32_t value, int32_t minimum, int32_t maximum);
int32_t IntToControlValue(int32_t n, int32_t minimum, int32_t maximum);
