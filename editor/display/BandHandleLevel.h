#pragma once

// Where a band stands on the equaliser's gain scale, by its type: its gain
// for the peaks, shelves and tilts; for the cuts the resonance as
// 20 log10(Q / 0.7), so a neutral cut sits on 0 dB (-360 dB for a Q of 0);
// 0 dB for the band passes and the notch.
double HandleLevelDb(int type, double gainDb, double q);

// The far end of the line the curve of one band draws down (or up) from
// its curve to the band's level: as HandleLevelDb, except that peaks have
// no line (false).
bool MarkerLevelDb(int type, double gainDb, double q, double* levelDb);
