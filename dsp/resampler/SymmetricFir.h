#pragma once

#include <cstdint>

// out[i] = sum over j < length of taps[j] s[i - j], for i in [0, count), with
// taps symmetric (taps[j] == taps[length - 1 - j]): each pair of mirrored
// inputs is added before its one product. s[-(length - 1)] must be
// readable. accumulate: add to out instead of writing it.
//
// The processor's widest vector unit (SSE2, AVX2 or AVX-512) computes
// several outputs side by side, each in the same order of operations, so
// every variant gives the same bits.
void SymmetricFir(const double* s, const double* taps, int32_t length, double* out, int32_t count,
                  bool accumulate);
