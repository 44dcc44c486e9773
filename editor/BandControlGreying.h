#pragma once

class IGraphics;

// Not every filter type uses every band setting: a cut has no gain, a peak
// no slope, the digital shelves no Q. The band's unused Slope, Gain and Q
// are greyed wherever a control shows them.
namespace BandControlGreying {

struct GreyedFields {
  bool slope = false;
  bool gain = false;
  bool q = false;
};

// What a band type (0..15) leaves unused; any other value greys nothing.
GreyedFields ForType(int type);

// Ungreys the band's Slope, Gain and Q, then greys what the type leaves
// unused. No graphics object, nothing to do.
void UpdateBandControls(IGraphics* graphics, int band, int type);

// bandTypes holds the twelve bands' types.
void UpdateAllBandControls(IGraphics* graphics, const int* bandTypes);

}  // namespace BandControlGreying
