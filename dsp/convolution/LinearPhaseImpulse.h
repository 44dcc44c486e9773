#pragma once

// Replaces the n samples of data by a linear-phase impulse of the same
// length with the same magnitude response: the spectrum (of data zero-padded
// to N, the smallest power of two not below n) keeps its magnitude and
// loses its phase, and the zero-phase result is centred on sample n / 2.
// A unit impulse anywhere becomes a unit impulse at n / 2.
//
// Returns false, leaving data untouched, when n is below 2 or above 2^19
// (the transform's limits) or when the work array cannot be had.
bool MakeLinearPhaseImpulse(double* data, int n);
