#include "editor/BandControlGreying.h"

#include "graphics/IGraphics.h"
#include "plugin/engine/BandTypes.h"
#include "plugin/engine/ParamIndex.h"

namespace BandControlGreying {

namespace {

// One row per offered type, in the order of the type parameter's texts.
// The cut types keep their Q: it sets their resonance.
constexpr GreyedFields kGreyedByType[kNumOfferedBandTypes] = {
    // slope  gain   q
    {true, false, false},   // "A - Peak"
    {false, true, false},   // "A - Low Cut"
    {false, true, false},   // "A - High Cut"
    {true, false, false},   // "A - Low Shelf"
    {true, false, false},   // "A - High Shelf"
    {true, false, false},   // "A - Tilt Shelf"
    {true, false, true},    // "A - Flat Tilt"
    {false, true, false},   // "A - Band Pass"
    {false, true, false},   // "A - Notch"
    {false, false, false},  // "D - Peak"
    {false, true, false},   // "D - Low Cut"
    {false, true, false},   // "D - High Cut"
    {false, false, true},   // "D - Low Shelf"
    {false, false, true},   // "D - High Shelf"
    {false, false, true},   // "D - Tilt Shelf"
    {false, true, false},   // "D - Band Pass"
};

}  // namespace

GreyedFields ForType(int type) {
  if (type < 0 || type >= kNumOfferedBandTypes) return GreyedFields();
  return kGreyedByType[type];
}

void UpdateBandControls(IGraphics* graphics, int band, int type) {
  if (!graphics || band < 0 || band >= kNumBands) return;
  const int slope = BandParamIndex(band, kBandSlope);
  const int gain = BandParamIndex(band, kBandGain);
  const int q = BandParamIndex(band, kBandQ);
  graphics->GrayOutControl(slope, false);
  graphics->GrayOutControl(gain, false);
  graphics->GrayOutControl(q, false);
  const GreyedFields greyed = ForType(type);
  if (greyed.slope) graphics->GrayOutControl(slope, true);
  if (greyed.gain) graphics->GrayOutControl(gain, true);
  if (greyed.q) graphics->GrayOutControl(q, true);
}

void UpdateAllBandControls(IGraphics* graphics, const int* bandTypes) {
  if (!bandTypes) return;
  for (int band = 0; band < kNumBands; ++band) UpdateBandControls(graphics, band, bandTypes[band]);
}

}  // namespace BandControlGreying
