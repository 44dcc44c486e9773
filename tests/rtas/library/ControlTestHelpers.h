#pragma once

#include <cstring>
#include <functional>
#include <set>
#include <string>

#include "rtas/library/ErrorThrowers.h"
#include "rtas/library/CPluginControl.h"

// The text a control writes for a value, with a guard after the buffer so
// a write past maxLength + 1 bytes shows as a failure.
inline std::string ValueText(const CPluginControl& control, int32_t value, int32_t maxLength) {
  char buffer[300];
  std::memset(buffer, 0x7F, sizeof(buffer));
  control.ConvertValueToString(buffer, maxLength, value);
  const std::string text(buffer);
  for (size_t i = static_cast<size_t>(maxLength) + 1; i < sizeof(buffer); ++i) {
    if (buffer[i] != 0x7F) return "<overrun>";
  }
  return text;
}

// The code a call throws as a CDAEError, or 0 when it returns.
inline int32_t ThrownCode(const std::function<void()>& call) {
  try {
    call();
  } catch (const CDAEError& error) {
    return error.Code();
  }
  return 0;
}

// The key codes a control accepts, out of all 256.
inline std::set<int> AcceptedKeys(const CPluginControl& control) {
  std::set<int> keys;
  for (int key = 0; key < 256; ++key) {
    if (control.IsKeyAcceptable(static_cast<unsigned char>(key))) keys.insert(key);
  }
  return keys;
}

inline std::set<int> Digits() {
  std::set<int> keys;
  for (int key = '0'; key <= '9'; ++key) keys.insert(key);
  return keys;
}
