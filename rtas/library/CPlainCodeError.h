#pragma once

#include <cstdint>

// Stands where the host library threw a bare integer (the shared
// structures and the port model do). A `catch (int)` never sees a thrown
// short, so the two widths would slip past each other; one type with the
// 16-bit code keeps every catcher honest. It is deliberately not a
// CDAEError: at an entry point it counts as a foreign exception (-7401).
class CPlainCodeError {
 public:
  explicit CPlainCodeError(int16_t code) : mCode(code) {}

  int16_t Code() const { return mCode; }

 private:
  int16_t mCode;
};
