#pragma once

#include <cstdint>

// A library failure carrying the host result code it reports: always a
// 16-bit code, sign-extended. Thrown by value, caught by reference; the
// host entry layer turns it into the code.
class CDAEError {
 public:
  explicit CDAEError(int16_t code) : mCode(code) {}
  virtual ~CDAEError();

  int32_t Code() const { return mCode; }

 private:
  int32_t mCode;
};
