#pragma once

#include <cstdint>

#include "rtas/library/CWordList.h"

// The host's registry of shared structures, as the library's structures
// use it. Its answers are 16-bit codes that the callers ignore.
class CStructureRegistry {
 public:
  virtual int16_t Register(const void* object, uint8_t kind) = 0;
  virtual int16_t Unregister(const void* object) = 0;
  virtual int16_t Describe(const void* object, const SWordArray* description) = 0;

 protected:
  ~CStructureRegistry() = default;
};

// The registry new structures use; null (none) until the host gives one.
CStructureRegistry* GetStructureRegistry();
void SetStructureRegistry(CStructureRegistry* registry);
