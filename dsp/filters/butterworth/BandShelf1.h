#pragma once

#include "dsp/filters/BandPassMapping.h"
#include "dsp/filters/Filter.h"
#include "dsp/filters/ParamInfo.h"
#include "dsp/filters/butterworth/DesignStorage.h"
#include "dsp/filters/butterworth/ShelfPrototype.h"

namespace Dsp {
namespace Butterworth {
namespace Design {

// The gain at the centre, half of it (in dB) at the edges, 1 at DC and
// Nyquist; 2N poles in N stages.
template <int MaxOrder>
class BandShelf1 : public DesignStorage<ShelfPrototype, MaxOrder, MaxOrder, 2 * MaxOrder> {
  static constexpr double kPi = 3.141592653589793;

 public:
  static constexpr int kKind = 6;
  static constexpr const char* kName = "Butterworth Band Shelf";
  static constexpr ParamInfoMaker kParamMakers[] = {
      MakeSampleRateParamInfo,
      MakeOrderParamInfo,
      MakeCenterFrequencyParamInfo,
      MakeBandwidthHzParamInfo,
      MakeGainParamInfo,
  };
  static constexpr int kNumParams = static_cast<int>(sizeof kParamMakers / sizeof kParamMakers[0]);

  static ParamInfo getParamInfo(int index) { return ParamInfoAt(kParamMakers, index); }

  void configure(int order, double sampleRate, double centerFrequency, double width, double gainDb) {
    this->analog.design(this->ClampOrder(order, MaxOrder), gainDb);
    BandPassMapping(sampleRate, centerFrequency, width).transform(this->analog, this->digital);
    // Normalised at whichever end of the spectrum lies further from the centre.
    this->digital.setNormal(centerFrequency / sampleRate < 0.25 ? kPi : 0.0, 1.0);
    this->cascade.setLayout(this->digital);
  }

  // Order is params[1]; the others are read as getParamInfo lists them.
  void designFromParams(const Params& p) {
    configure(this->OrderFromParam(p[1], MaxOrder), p[0], p[2], p[3], p[4]);
  }
};

}  // namespace Design
}  // namespace Butterworth
}  // namespace Dsp
