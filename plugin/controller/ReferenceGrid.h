#pragma once

// Lays a reference spectrum (count points of frequency in Hz and linear
// magnitude) on the analyser's bin grid: curveCount values, value i
// standing for i x halfBandHz / (curveCount - 1) Hz, the spacing the
// analyser maps its own bins with. Every caller passes half the host
// sample rate; a reference laid with any other half band is drawn at the
// wrong frequencies.
//
// Each grid frequency is held to 10 .. 20000 Hz (the display's range) and
// takes the straight line through the reference points either side of it.
// Outside the points the curve holds the nearest end value instead of
// extending a line through two equal frequencies, so a reference that was
// never loaded (all zeros) gives zeros and never 0/0. The points should rise;
// points that do not still give finite values.
void LayReferenceOnGrid(const double* frequencies, const double* magnitudes, int count, double halfBandHz,
                        double* curve, int curveCount);
