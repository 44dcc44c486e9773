#pragma once

#include <cstdint>

// A four-character code ('bypa', 'SETV') as the host's 32-bit number: the
// first character in the most significant byte.
constexpr uint32_t FourCC(const char (&code)[5]) {
  return (static_cast<uint32_t>(static_cast<unsigned char>(code[0])) << 24) |
         (static_cast<uint32_t>(static_cast<unsigned char>(code[1])) << 16) |
         (static_cast<uint32_t>(static_cast<unsigned char>(code[2])) << 8) |
         static_cast<uint32_t>(static_cast<unsigned char>(code[3]));
}
