#pragma once

#include <cstdint>

#include "rtas/library/CDAEError.h"
#include "rtas/library/CPlainCodeError.h"

// The library's throwing routines: each returns when there is nothing to
// report.

[[noreturn]] void ThrowDAEError(int16_t code);
[[noreturn]] void ThrowPlainCode(int16_t code);

// -7400 when the condition is false.
void ThrowIfFalse(bool condition);
// -7053 when p is null.
void ThrowIfNil(const void* p);
// -7053 when the word is zero; the view code passes handles as words.
void ThrowIfNull(uintptr_t word);
// The code itself when it is not 0 (framework and Resource Manager codes
// pass through unchanged).
void ThrowIfError(int16_t code);
