#pragma once

// The vector pass of RealFFTWithTables.cpp's two-channel transform (in
// RealFFTPairPassesAvx.cpp); not for other callers.
namespace RealFFTDetail {

// One radix-4 pass of Transform over two-channel points with partners s
// apart (s >= 2), two points a register: each double bit for bit as the
// scalar pass leaves it. z: m points, (re, re, im, im) each.
void Radix4PassPairsAvx512(double* z, int m, int s, const double* w, double sign);

bool HasAvx512();

}  // namespace RealFFTDetail
