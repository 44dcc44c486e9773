#include "rtas/library/ErrorThrowers.h"

#include "rtas/library/ResultCodes.h"

void ThrowDAEError(int16_t code) { throw CDAEError(code); }

void ThrowPlainCode(int16_t code) { throw CPlainCodeError(code); }

void ThrowIfFalse(bool condition) {
  if (!condition) ThrowDAEError(DAEResult::kConditionFailed);
}

void ThrowIfNil(const void* p) {
  if (!p) ThrowDAEError(DAEResult::kMissingObject);
}

void ThrowIfNull(uintptr_t word) {
  if (!word) ThrowDAEError(DAEResult::kMissingObject);
}

void ThrowIfError(int16_t code) {
  if (code != 0) ThrowDAEError(code);
}
