#pragma once

#include <cstdint>

// The library's exception: a host result code, always a negative 16-bit
// value widened to 32 bits. Thrown by value, caught by reference.
class CDAEError {
 public:
  explicit CDAEError(int32_t code) : mCode(code) {}
  virtual ~CDAEError() = default;

  int32_t GetCode() const { return mCode; }

 private:
  int32_t mCode;
};

// Stands where the host library threw a bare integer (the shared
// structures and the port model do). A `catch (int)` never sees a thrown
// short, so the two widths would slip past each other; one type with the
// 16-bit code keeps every catcher honest. It is deliberately not a
// CDAEError: at an entry point it counts as a foreign exception (-7401).
class CPlainCodeError {
 public:
  explicit CPlainCodeError(int16_t code) : mCode(code) {}

  int16_t GetCode() const { return mCode; }

 private:
  int16_t mCode;
};

[[noreturn]] void ThrowDAEError(int32_t code);
[[noreturn]] void ThrowPlainCode(int16_t code);

// -7400 when the condition is false.
void ThrowIfFalse(bool condition);
// -7053 when p is null.
void ThrowIfNil(const void* p);
// -7053 when the word is zero; the view code passes handles as words.
void ThrowIfNull(uintptr_t word);
// The code itself when it is not 0 (framework and Resource Manager codes
// pass through unchanged).
void ThrowIfError(int32_t code);
